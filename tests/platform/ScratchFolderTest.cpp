#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
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

void makeFolder(const std::string& path, std::vector<std::string> files = {})
{
    fs::create_directory(path);
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
        const char* what;
        const char* name;
        std::function<void(const Parent&)> make;
        bool removed;
        // What must be left whatever becomes of the entry.
        std::vector<std::string> untouched;
    };
    std::vector<Case> cases = {
        {"an ended run's folder, with the toolkit's state and a folder in it",
         "qz347remote.ended",
         [](const Parent& p) {
             makeFolder(p / "qz347remote.ended", {"lock", "QtProject.conf"});
             makeFolder(p / "qz347remote.ended/inner", {"file"});
         },
         true,
         {}},
        {"a running copy's folder",
         "qz347remote.running",
         [](const Parent& p) {
             makeFolder(p / "qz347remote.running", {"lock", "QtProject.conf"});
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
         "qz347remote.link",
         [](const Parent& p) {
             makeFolder(p / "target", {"lock", "data"});
             fs::create_directory_symlink(p / "target", p / "qz347remote.link");
         },
         false,
         {"target/lock", "target/data"}},
        {"a folder whose lock is a symbolic link",
         "qz347remote.linkedlock",
         [](const Parent& p) {
             makeFolder(p / "elsewhere", {"file"});
             makeFolder(p / "qz347remote.linkedlock");
             fs::create_symlink(p / "elsewhere/file", p / "qz347remote.linkedlock/lock");
         },
         false,
         {"elsewhere/file"}},
        {"a folder whose lock is a pipe",
         "qz347remote.pipelock",
         [](const Parent& p) {
             makeFolder(p / "qz347remote.pipelock");
             ::mkfifo((p / "qz347remote.pipelock/lock").c_str(), 0600);
         },
         false,
         {}},
        {"an ended run's folder holding a symbolic link out of it",
         "qz347remote.linkout",
         [](const Parent& p) {
             makeFolder(p / "outside", {"precious"});
             makeFolder(p / "qz347remote.linkout", {"lock"});
             fs::create_directory_symlink(p / "outside", p / "qz347remote.linkout/out");
         },
         true,
         {"outside/precious"}},
        {"a file with the name of a folder",
         "qz347remote.file",
         [](const Parent& p) { makeFile(p / "qz347remote.file"); },
         false,
         {}},
        {"a folder of another name",
         "other.ended",
         [](const Parent& p) { makeFolder(p / "other.ended", {"lock"}); },
         false,
         {}},
    };
    if (::geteuid() == 0) { // only the superuser can give a folder to another user
        cases.push_back({"another user's folder",
                         "qz347remote.foreign",
                         [](const Parent& p) {
                             makeFolder(p / "qz347remote.foreign", {"lock"});
                             EXPECT_EQ(::chown((p / "qz347remote.foreign").c_str(), 65534, 65534), 0);
                             EXPECT_EQ(::chown((p / "qz347remote.foreign/lock").c_str(), 65534, 65534), 0);
                         },
                         false,
                         {"qz347remote.foreign/lock"}});
    }
    for (const Case& c : cases) {
        c.make(parent);
    }
    {
        HeldLock running(parent / "qz347remote.running/lock");
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

TEST(ScratchFolderTest, CopiesRunningAtOnceKeepEachTheirsUntilTheirEnd)
{
    Parent parent;
    makeFolder(parent / "qz347remote.ended", {"lock"});
    auto first = std::make_unique<ScratchFolder>(parent.path());
    EXPECT_FALSE(exists(parent / "qz347remote.ended"));
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
