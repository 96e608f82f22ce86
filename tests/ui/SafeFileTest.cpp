#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AppTestSupport.h"
#include "model/Exceptions.h"
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

    EXPECT_EQ(failure, "Error writing " + target);
    EXPECT_EQ(contents(target), "the user's old file");
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

TEST_F(SafeFileTest, AFileThatCannotBeCreatedIsAnErrorOpeningIt)
{
    std::string path = folder.file("missing/settings.347");
    EXPECT_EQ(failureOf([](std::ostream& out) { out << "x"; }, path), "Error opening " + path);
}

} // namespace
