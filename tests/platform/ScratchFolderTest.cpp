#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

// A folder of the test's own, removed with all in it at the end.
class Parent {
public:
    Parent()
    {
        std::string pattern = (fs::temp_directory_path() / "qz347scratchtest.XXXXXX").string();
        EXPECT_NE(::mkdtemp(pattern.data()), nullptr);
        path_ = pattern;
    }
    ~Parent()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void makeFile(const std::string& path)
{
    std::ofstream(path) << "kept state";
}

// Made with the mode a run gives its folder, whatever the umask.
void makeFolder(const std::string& path, std::vector<std::string> files = {})
{
    ::mkdir(path.c_str(), 0700);
    ::chmod(path.c_str(), 0700);
    for (const std::string& file : files) {
        makeFile(path + "/" + file);
    }
}

bool exists(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// The lock of a run still going: held through a descriptor of its own, as another
// process would hold it.
class HeldLock {
public:
    explicit HeldLock(const std::string& path) : descriptor_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        EXPECT_EQ(::flock(descriptor_, LOCK_EX | LOCK_NB), 0);
    }
    ~HeldLock() { ::close(descriptor_); }

private:
    int descriptor_;
};

TEST(ScratchFolderTest, AStartRemovesOnlyTheFoldersOfRunsThatEnded)
{
    Parent parent;
    struct Case {
        std::string what;
        std::string name;
        std::function<void(const Parent&)> make;
        bool removed;
        // What must be left whatever becomes of the entry.
        std::vector<std::string> untouched;
    };
    std::vector<Case> cases = {
        {"an ended run's folder, with the toolkit's state and a folder in it",
         "qz347remote.ended0",
         [](const Parent& p) {
             makeFolder(p / "qz347remote.ended0", {"lock", "QtProject.conf"});
             makeFolder(p / "qz347remote.ended0/inner", {"file"});
         },
         true,
         {}},
        {"a running copy's folder",
         "qz347remote.runnin",
         [](const Parent& p) {
             makeFolder(p / "qz347remote.runnin", {"lock", "QtProject.conf"});
         },
         false,
         {}},
        {"a folder without a lock",
         "qz347remote.nolock",
         [](const Parent& p) { makeFolder(p / "qz347remote.nolock", {"QtProject.conf"}); },
         false,
         {}},
        {"a folder still being made",
         "qz347remote.making",
         [](const Parent& p) { makeFolder(p / "qz347remote.making", {"lock.new"}); },
         false,
         {}},
        {"a symbolic link to a folder with a free lock",
         "qz347remote.symlnk",
         [](const Parent& p) {
             makeFolder(p / "target", {"lock", "data"});
             fs::create_directory_symlink(p / "target", p / "qz347remote.symlnk");
         },
         false,
         {"target/lock", "target/data"}},
        {"a folder whose lock is a symbolic link",
         "qz347remote.lnlock",
         [](const Parent& p) {
             makeFolder(p / "elsewhere", {"file"});
             makeFolder(p / "qz347remote.lnlock");
             fs::create_symlink(p / "elsewhere/file", p / "qz347remote.lnlock/lock");
         },
         false,
         {"elsewhere/file"}},
        {"a folder whose lock is a pipe",
         "qz347remote.fifolk",
         [](const Parent& p) {
             makeFolder(p / "qz347remote.fifolk");
             ::mkfifo((p / "qz347remote.fifolk/lock").c_str(), 0600);
         },
         false,
         {}},
        {"an ended run's folder holding a symbolic link out of it",
         "qz347remote.outlnk",
         [](const Parent& p) {
             makeFolder(p / "outside", {"precious"});
             makeFolder(p / "qz347remote.outlnk", {"lock"});
             fs::create_directory_symlink(p / "outside", p / "qz347remote.outlnk/out");
         },
         true,
         {"outside/precious"}},
        {"a file with the name of a folder",
         "qz347remote.afile0",
         [](const Parent& p) { makeFile(p / "qz347remote.afile0"); },
         false,
         {}},
        {"a folder of another name",
         "other.ended",
         [](const Parent& p) { makeFolder(p / "other.ended", {"lock"}); },
         false,
         {}},
        // A run's folder is named with a suffix of six letters and digits; a user may keep
        // a folder of the same prefix, even with a file named "lock" in it.
        {"a user's notes with a file named lock",
         "qz347remote.notes",
         [](const Parent& p) {
             makeFolder(p / "qz347remote.notes", {"todo.txt", "lock"});
         },
         false,
         {"qz347remote.notes/todo.txt", "qz347remote.notes/lock"}},
        {"a suffix of seven characters",
         "qz347remote.ended00",
         [](const Parent& p) { makeFolder(p / "qz347remote.ended00", {"lock"}); },
         false,
         {"qz347remote.ended00/lock"}},
        {"a suffix with a character a made one never has",
         "qz347remote.end-e0",
         [](const Parent& p) { makeFolder(p / "qz347remote.end-e0", {"lock"}); },
         false,
         {"qz347remote.end-e0/lock"}},
    };
    // Nor is one whose mode differs by any bit from the one a run gives its folder.
    for (mode_t mode : {0755, 0711, 0770, 0701, 01700, 02700}) {
        char octal[8];
        std::snprintf(octal, sizeof octal, "%05o", unsigned(mode));
        const std::string name = std::string("qz347remote.m") + octal;
        cases.push_back({std::string("a folder of mode ") + octal,
                         name,
                         [name, mode](const Parent& p) {
                             makeFolder(p / name, {"lock"});
                             EXPECT_EQ(::chmod((p / name).c_str(), mode), 0);
                         },
                         false,
                         {name + "/lock"}});
    }
    if (::geteuid() == 0) { // only the superuser can give a folder to another user
        cases.push_back({"another user's folder",
                         "qz347remote.foreig",
                         [](const Parent& p) {
                             makeFolder(p / "qz347remote.foreig", {"lock"});
                             EXPECT_EQ(::chown((p / "qz347remote.foreig").c_str(), 65534, 65534), 0);
                             EXPECT_EQ(::chown((p / "qz347remote.foreig/lock").c_str(), 65534, 65534), 0);
                         },
                         false,
                         {"qz347remote.foreig/lock"}});
    }
    for (const Case& c : cases) {
        c.make(parent);
    }
    {
        HeldLock running(parent / "qz347remote.runnin/lock");
        removeFoldersOfEndedRuns(parent.path());
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(exists(parent / c.name), !c.removed);
        for (const std::string& path : c.untouched) {
            EXPECT_TRUE(exists(parent / path)) << path;
        }
    }
}

// Runs `steps` in a child process as a user without the superuser's powers, to whom
// `folder` is given when the test runs as the superuser: there a folder without write
// access holds on to what is in it for anyone. Returns what the steps reported.
std::string asOrdinaryUser(const std::string& folder, const std::function<std::string()>& steps)
{
    const uid_t nobody = 65534;
    const bool superuser = ::geteuid() == 0;
    if (superuser && ::chown(folder.c_str(), nobody, nobody) != 0) {
        return "cannot give the folder to the ordinary user";
    }
    int report[2];
    if (::pipe(report) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        std::string said;
        if (superuser && (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)) {
            said = "cannot become the ordinary user";
        } else if (::access(folder.c_str(), W_OK | X_OK) != 0) {
            said = "the ordinary user cannot reach " + folder;
        } else {
            said = steps();
        }
        [[maybe_unused]] ssize_t written = ::write(report[1], said.data(), said.size());
        ::_exit(0); // nothing of the test program's own end runs twice
    }
    ::close(report[1]);
    std::string said;
    char bytes[256];
    ssize_t count = 0;
    while ((count = ::read(report[0], bytes, sizeof bytes)) > 0) {
        said.append(bytes, std::size_t(count));
    }
    ::close(report[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        said += "the child did not end normally";
    }
    return said;
}

// A removal that stops midway keeps the folder's lock, so a later start tries again
// rather than taking what is left for a folder being made.
TEST(ScratchFolderTest, AFolderWhoseRemovalFailedIsRemovedByALaterStart)
{
    Parent parent;
    const std::string folder = parent / "qz347remote.stale0";
    const std::string stuck = folder + "/inner";
    std::string report = asOrdinaryUser(parent.path(), [&] {
        std::ostringstream said;
        makeFolder(folder, {"QtProject.conf", "lock"});
        makeFolder(stuck, {"file"});
        ::chmod(stuck.c_str(), 0500); // what is in it cannot be removed
        removeFoldersOfEndedRuns(parent.path());
        if (!exists(stuck + "/file")) {
            said << "the first removal did not fail; ";
        }
        if (!exists(folder + "/lock")) {
            said << "the lock went with the first removal; ";
        }
        ::chmod(stuck.c_str(), 0700);
        removeFoldersOfEndedRuns(parent.path());
        if (exists(folder)) {
            said << "a later start left the folder; ";
        }
        return said.str();
    });
    EXPECT_EQ(report, "");
}

TEST(ScratchFolderTest, CopiesRunningAtOnceKeepEachTheirsUntilTheirEnd)
{
    Parent parent;
    makeFolder(parent / "qz347remote.ended0", {"lock"});
    auto first = std::make_unique<ScratchFolder>(parent.path());
    EXPECT_FALSE(exists(parent / "qz347remote.ended0"));
    ScratchFolder second(parent.path());
    ASSERT_FALSE(first->path().empty());
    ASSERT_FALSE(second.path().empty());
    EXPECT_NE(first->path(), second.path());
    const std::string firstPath = first->path();
    EXPECT_TRUE(exists(firstPath + "/lock"));
    EXPECT_TRUE(exists(second.path() + "/lock"));

    makeFile(firstPath + "/QtProject.conf");
    first.reset();
    EXPECT_FALSE(exists(firstPath));
    EXPECT_TRUE(exists(second.path()));
    const std::string secondPath = second.path();
    second.remove();
    EXPECT_FALSE(exists(secondPath));
    EXPECT_TRUE(second.path().empty());
}

TEST(ScratchFolderTest, NoFolderWhereNoneCanBeMade)
{
    Parent parent;
    for (const std::string& where : {std::string(), parent / "missing"}) {
        SCOPED_TRACE(where);
        ScratchFolder folder(where);
        EXPECT_TRUE(folder.path().empty());
    }
}

} // namespace
