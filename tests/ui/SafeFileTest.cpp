#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AppTestSupport.h"
#include "model/Exceptions.h"
#include "support/ChildProcess.h"
#include "ui/SafeFile.h"

using namespace apptest;

namespace {

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::size_t filesIn(const std::string& folder)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

// From here on the process's fallocate system call fails with the error given, as
// on a file system that has none: the C library then takes the room itself.
bool failFallocate(int error)
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fallocate, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<unsigned>(error)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::ofstream(target, std::ios::binary) << "the user's old file"; }

    // The failure's text, or empty when there was none.
    std::string failureOf(const std::function<void(std::ostream&)>& write, const std::string& path)
    {
        try {
            writeFileSafely(path, write);
        } catch (const VormoException& error) {
            return error.what();
        }
        return "";
    }

    TemporaryFolder folder;
    std::string target = folder.file("settings.347");
};

TEST_F(SafeFileTest, ReplacesTheFileWholeAndKeepsItsPermissions)
{
    ::chmod(target.c_str(), 0640);
    writeFileSafely(target, [](std::ostream& out) { out << std::string("new\0bytes", 9); });
    EXPECT_EQ(contents(target), std::string("new\0bytes", 9));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

TEST_F(SafeFileTest, WritesThroughLinksAndKeepsOwnerAndMode)
{
    const std::string link = folder.file("link.347");
    const std::string secondName = folder.file("second.347");
    const std::string missing = folder.file("missing.347");
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::string savedAs;
        std::string written; // the file that must hold the new content
    };
    const Case cases[] = {
        {"symbolic link", [&] { std::filesystem::create_symlink("settings.347", link); }, link, target},
        {"symbolic link to a file not there yet", [&] { std::filesystem::create_symlink("missing.347", link); },
         link, missing},
        {"hard link", [&] { std::filesystem::create_hard_link(target, secondName); }, target, secondName},
        {"another user's file", [&] { ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0); }, target, target},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ::chmod(target.c_str(), 0664);
        c.prepare();
        struct stat before {};
        ASSERT_EQ(::stat(target.c_str(), &before), 0);

        writeFileSafely(c.savedAs, [](std::ostream& out) { out << "new"; });
        EXPECT_EQ(contents(c.written), "new");
        struct stat after {};
        ASSERT_EQ(::stat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, 0664u);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        if (c.savedAs == link) {
            EXPECT_TRUE(std::filesystem::is_symlink(link));
        }
        std::filesystem::remove(link);
        std::filesystem::remove(secondName);
        std::filesystem::remove(missing);
        std::filesystem::remove(target);
    }
}

TEST_F(SafeFileTest, AWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace)
{
    // As a user who may write the file but not its folder: a child process
    // drops to "nobody", saves, and reports through its exit code.
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
    const std::string created = folder.file("new.347");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(10);
        try {
            writeFileSafely(target, [](std::ostream& out) { out << "saved by nobody"; });
        } catch (...) {
            ::_exit(11);
        }
        // A new file in that folder still cannot be made, and says why.
        try {
            writeFileSafely(created, [](std::ostream& out) { out << "x"; });
            ::_exit(12);
        } catch (const VormoException& error) {
            if (error.what() != "Error opening " + created + ": Permission denied")
                ::_exit(13);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(contents(target), "saved by nobody");
    EXPECT_FALSE(std::filesystem::exists(created));
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

TEST_F(SafeFileTest, AFailureLeavesTheOldFileAndNoTemporaryFile)
{
    struct Case {
        const char* name;
        std::function<void(std::ostream&)> write;
        std::string expected;
    };
    const Case cases[] = {
        // The stream fails while the writer believes it succeeded (a count or checksum
        // that could not be written).
        {"silent stream failure",
         [](std::ostream& out) {
             out << "half";
             out.setstate(std::ios::badbit);
         },
         "Error writing " + target},
        {"writer notices the stream failed",
         [](std::ostream& out) {
             out.setstate(std::ios::failbit);
             throw VormoException("Error formatting a parameter as text.");
         },
         "Error writing " + target},
        {"writer's own failure",
         [](std::ostream& out) {
             out << "partial";
             throw VormoException("Couldn't find parameter 1");
         },
         "Couldn't find parameter 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(failureOf(c.write, target), c.expected);
        EXPECT_EQ(contents(target), "the user's old file");
        EXPECT_EQ(filesIn(folder.path()), 1u);
    }
}

TEST_F(SafeFileTest, ADiskThatRefusesTheBytesLeavesTheOldFile)
{
    // A file size limit makes the writes themselves fail, as a full disk would.
    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string failure = failureOf([](std::ostream& out) { out << std::string(100000, 'x'); }, target);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(failure, "Error writing " + target + ": File too large");
    EXPECT_EQ(contents(target), "the user's old file");
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

TEST_F(SafeFileTest, AFullDiskLeavesTheOldContentOfAFileWrittenInPlace)
{
    // A file written in place has no temporary copy to fall back on: the room for
    // content longer than the old must be there before the old bytes are overwritten.
    // A file size limit in a child process stands for the full disk.
    constexpr rlim_t room = 16384;
    const std::string secondName = folder.file("second.347");
    const std::string tooLong(100000, 'x');
    // Where the file system has no fallocate, the C library reads a byte in each block
    // it takes that the file already has: with this length the first it takes is the
    // block at 0, whatever its size, which the old content has.
    const std::string longerThanOld(8192 + 1, 'y');
    const std::string old = "the user's old file";
    const std::string tooLarge = "Error writing " + target + ": File too large";
    struct Case {
        const char* name;
        bool asNobody;         // as a user who may write the file but not its folder
        bool withoutFallocate; // as on a file system that cannot reserve room itself
        mode_t mode;
        std::string content;
        std::string failure;
        std::string left; // in the file afterwards
    };
    const Case cases[] = {
        {"file with a second name", false, false, 0666, tooLong, tooLarge, old},
        {"folder that takes no new file", true, false, 0666, tooLong, tooLarge, old},
        {"room enough, more than the old file held", false, false, 0666, longerThanOld, "", longerThanOld},
        {"file system without fallocate", false, true, 0666, tooLong, tooLarge, old},
        {"file system without fallocate, room enough", false, true, 0666, longerThanOld, "", longerThanOld},
        // The C library cannot take the room in a file it may not read: saved as before.
        {"file the user may write but not read", true, true, 0602, longerThanOld, "", longerThanOld},
    };
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
        std::filesystem::remove(secondName);
        if (!c.asNobody)
            std::filesystem::create_hard_link(target, secondName);

        const std::string failure = textFromChild([&] {
            if (c.asNobody && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                return std::string("(still privileged)");
            if (c.withoutFallocate && !failFallocate(EOPNOTSUPP))
                return std::string("(fallocate still there)");
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit {};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = room;
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return std::string("(no file size limit)");
            return failureOf([&](std::ostream& out) { out << c.content; }, target);
        });
        EXPECT_EQ(failure, c.failure);
        EXPECT_EQ(contents(target), c.left);
        if (!c.asNobody) {
            EXPECT_EQ(contents(secondName), c.left);
        }
    }
}

TEST_F(SafeFileTest, AFileThatCannotBeCreatedIsAnErrorOpeningIt)
{
    std::string path = folder.file("missing/settings.347");
    EXPECT_EQ(failureOf([](std::ostream& out) { out << "x"; }, path),
              "Error opening " + path + ": No such file or directory");
}

} // namespace
