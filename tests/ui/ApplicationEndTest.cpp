// The program's end: a whole program is started, ended as a user's session or terminal
// ends it, or as the toolkit ends it when the display goes, and must then end cleanly: at
// once, with the status that ending gives, no report of the sanitizers (when built with
// them) and nothing left in the temporary folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/HttpTestServer.h"
#include "tests/ui/AppTestSupport.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Long enough for any machine, however loaded: a program still there after it has not
// ended at all.
constexpr int patienceMs = 60000;

bool waitFor(const std::function<bool()>& condition)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(patienceMs);
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The name of an environment entry "NAME=value", or of "NAME" alone.
std::string nameOf(const std::string& entry)
{
    return entry.substr(0, entry.find('='));
}

// One run of a program, with a temporary folder (unless it is given one to share) and a
// settings profile of its own; what it writes to its standard error is kept in a file, and
// its standard input is a pipe the test writes to. Its environment is the test's, with the
// `changes` made: "NAME=value" sets a variable, "NAME" alone takes it away.
class Program {
public:
    explicit Program(const std::vector<std::string>& arguments, const std::string& sharedTemporaryFolder = {},
                     const std::vector<std::string>& changes = {})
        : temporaryPath_(sharedTemporaryFolder.empty() ? temporary_.path() : sharedTemporaryFolder)
    {
        std::vector<std::string> set = {"TMPDIR=" + temporaryPath_, "XDG_CONFIG_HOME=" + profile_.path()};
        for (const std::string& change : changes) {
            set.push_back(change);
        }
        std::vector<std::string> environment;
        for (const std::string& entry : set) {
            if (entry.find('=') != std::string::npos) {
                environment.push_back(entry);
            }
        }
        for (char** entry = environ; *entry != nullptr; ++entry) {
            std::string text = *entry;
            bool changed = false;
            for (const std::string& change : set) {
                changed = changed || nameOf(change) == nameOf(text);
            }
            if (!changed) {
                environment.push_back(text);
            }
        }
        int output[2];
        int input[2];
        if (::pipe2(output, O_CLOEXEC) != 0 || ::pipe2(input, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsPath().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> argv = pointers(arguments);
        std::vector<char*> envp = pointers(environment);
        int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(output[1]);
        ::close(input[0]);
        output_ = output[0];
        input_ = input[1];
        if (failed != 0) {
            pid_ = -1;
            ADD_FAILURE() << "cannot start " << arguments[0];
        }
    }
    ~Program()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        for (int end : {output_, input_}) {
            if (end >= 0) {
                ::close(end);
            }
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return pid_ > 0; }

    // The program has taken over the signals that end a session or a terminal.
    bool catchesEndSignals() const
    {
        return waitFor([this] {
            unsigned long long wanted = 0;
            for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
                wanted |= 1ULL << (signal - 1);
            }
            return (caughtSignals() & wanted) == wanted;
        });
    }

    // The program's handler has taken the signal: it catches the signal no more, as its
    // handler holds for one signal only.
    bool tookSignal(int number) const
    {
        return waitFor([&] { return (caughtSignals() & (1ULL << (number - 1))) == 0; });
    }

    // The program wrote the line to its standard output.
    bool says(const std::string& line)
    {
        return waitFor([&] {
            pollfd ready{output_, POLLIN, 0};
            char bytes[256];
            if (::poll(&ready, 1, 0) == 1) {
                ssize_t count = ::read(output_, bytes, sizeof bytes);
                if (count > 0) {
                    said_.append(bytes, std::size_t(count));
                }
            }
            return said_.find(line + "\n") != std::string::npos;
        });
    }

    // What the program has written to its standard output; once it has ended, all of it.
    const std::string& said()
    {
        char bytes[256];
        ssize_t count = 0;
        while (pid_ < 0 && (count = ::read(output_, bytes, sizeof bytes)) > 0) {
            said_.append(bytes, std::size_t(count));
        }
        return said_;
    }

    // Writes the line to the program's standard input.
    void tell(const std::string& line) const
    {
        std::string text = line + "\n";
        EXPECT_EQ(::write(input_, text.data(), text.size()), ssize_t(text.size()));
    }

    void signal(int number) const { ::kill(pid_, number); }

    // Ends the program as a kill, a crash or a time limit does: nothing of its own runs.
    void kill()
    {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    // The program's status once it has ended, or nothing when it did not end.
    std::optional<int> end()
    {
        int status = 0;
        bool ended = waitFor([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; });
        if (!ended) {
            return std::nullopt;
        }
        pid_ = -1;
        return status;
    }

    std::string errors() const
    {
        std::ifstream file(errorsPath());
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // The folders of the program's own left in its temporary folder (the toolkit may keep
    // a runtime folder of its own there when the session names none).
    std::vector<std::string> leftInTemporaryFolder() const
    {
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(temporaryPath_)) {
            std::string name = entry.path().filename().string();
            if (name.rfind("qz347remote", 0) == 0) {
                left.push_back(name);
            }
        }
        return left;
    }

private:
    unsigned long long caughtSignals() const
    {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("SigCgt:", 0) == 0) {
                return std::stoull(line.substr(7), nullptr, 16);
            }
        }
        return 0;
    }
    static std::vector<char*> pointers(const std::vector<std::string>& texts)
    {
        std::vector<char*> result;
        for (const std::string& text : texts) {
            result.push_back(const_cast<char*>(text.c_str()));
        }
        result.push_back(nullptr);
        return result;
    }
    std::string errorsPath() const { return logs_.file("errors.txt"); }

    apptest::TemporaryFolder temporary_;
    apptest::TemporaryFolder profile_;
    apptest::TemporaryFolder logs_;
    std::string temporaryPath_;
    pid_t pid_ = -1;
    int output_ = -1;
    int input_ = -1;
    std::string said_;
};

// The program ends with the status, and no report of the sanitizers.
void expectEndWith(Program& program, int expected)
{
    std::optional<int> status = program.end();
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WIFEXITED(*status) ? WEXITSTATUS(*status) : -1, expected);
    std::string errors = program.errors();
    for (const char* report : {"Sanitizer", "runtime error"}) {
        EXPECT_EQ(errors.find(report), std::string::npos) << errors;
    }
}

// Ends the program with the signals, sent one right after the other, and checks that
// it ended cleanly.
void expectCleanEnd(Program& program, const std::vector<int>& signals)
{
    for (int signal : signals) {
        program.signal(signal);
    }
    expectEndWith(program, 0);
    EXPECT_EQ(program.leftInTemporaryFolder(), std::vector<std::string>{});
}

TEST(ApplicationEnd, TheSignalsThatEndASessionCloseTheApplicationAsFileExitDoes)
{
    // A desktop's logout sends SIGTERM and then at once SIGHUP.
    const std::vector<std::vector<int>> endings = {{SIGTERM}, {SIGHUP}, {SIGINT}, {SIGTERM, SIGHUP}};
    for (const std::vector<int>& signals : endings) {
        SCOPED_TRACE(std::string(strsignal(signals.front())) + (signals.size() > 1 ? ", then SIGHUP" : ""));
        Program application({QZ_APPLICATION_PROGRAM});
        ASSERT_TRUE(application.started());
        // The connection dialog is open, or about to be.
        ASSERT_TRUE(application.catchesEndSignals());
        expectCleanEnd(application, signals);
    }
}

// A file list still on its way when the program ends is dropped: nothing waits for the
// server or for the name lookup, and nothing of the exchange is left running.
TEST(ApplicationEnd, AFileListOnItsWayNeitherHoldsNorBreaksTheEnd)
{
    struct Case {
        const char* what;
        std::function<std::string(HttpTestServer&)> server;
        std::vector<std::string> options;
        // What shows that the exchange is on its way.
        std::function<bool(Program&, HttpTestServer&)> underWay;
    };
    const Case cases[] = {
        {"a server that takes the request and answers slowly",
         [](HttpTestServer& s) {
             s.setReply("HTTP/1.1 200 OK\r\n\r\nfiles!a.ac3!");
             s.setDelay(patienceMs);
             return s.address();
         },
         {},
         [](Program&, HttpTestServer& s) { return waitFor([&] { return !s.requests().empty(); }); }},
        {"a server that sends a byte a second",
         [](HttpTestServer& s) {
             s.setReply("HTTP/1.1 200 OK\r\n\r\nfiles!a.ac3!");
             s.setTrickle('z', 1000);
             return s.address();
         },
         {},
         [](Program&, HttpTestServer& s) { return waitFor([&] { return !s.requests().empty(); }); }},
        // The lookup fails at once here: the exchange has most likely ended already, or
        // ends as the program does.
        {"a name that does not resolve", [](HttpTestServer&) { return std::string("nowhere.invalid"); }, {},
         [](Program&, HttpTestServer&) {
             std::this_thread::sleep_for(std::chrono::milliseconds(300));
             return true;
         }},
        {"a name server that never answers", [](HttpTestServer&) { return std::string("streaming.example"); },
         {"--lookup-never-answers"}, [](Program& p, HttpTestServer&) { return p.says("looking up"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HttpTestServer server;
        std::vector<std::string> arguments = {QZ_PROGRAM_ApplicationEnd, c.server(server)};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        Program program(arguments);
        ASSERT_TRUE(program.started());
        ASSERT_TRUE(program.catchesEndSignals());
        ASSERT_TRUE(c.underWay(program, server));
        expectCleanEnd(program, {SIGTERM});
    }
}

// The sanitizers' options with whole stacks for every allocation. The toolkit's libraries
// keep no frame pointers, so the quick unwinder stops inside them, and a leak's stack would
// no longer show whether it is the toolkit's, which the program leaves out of its report
// by the toolkit's own functions, or the program's.
std::string withWholeStacks()
{
    const char* options = std::getenv("ASAN_OPTIONS");
    return std::string("ASAN_OPTIONS=") + (options != nullptr ? std::string(options) + ":" : "") +
           "fast_unwind_on_malloc=0";
}

// The toolkit ends a program that has lost its display (the X server gone, a remote
// session dropped) with exit(1), from inside the loop of whatever window runs then.
TEST(ApplicationEnd, TheToolkitEndingTheProgramFromInsideAWindowsRunLeavesNothingBehind)
{
    struct Case {
        const char* window;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"connection dialog", {}},
        {"main window", {}},
        {"about box", {"--about"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        std::vector<std::string> arguments = {QZ_PROGRAM_ScriptedApplication, "--exit-in", c.window};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        Program program(arguments, {}, {withWholeStacks()});
        ASSERT_TRUE(program.started());
        expectEndWith(program, 1);
        EXPECT_NE(program.said().find(std::string(c.window) + "\n"), std::string::npos) << program.said();
        EXPECT_EQ(program.leftInTemporaryFolder(), std::vector<std::string>{});
    }
}

// A request to end that comes while the main window is still connecting, before its own
// run has begun, ends the program as one in the main window does: no window opens after it.
TEST(ApplicationEnd, ARequestToEndWhileTheMainWindowConnectsOpensNoFurtherWindow)
{
    struct Case {
        const char* what;
        std::vector<std::string> options;
        int signal;
        // What the program says once it is there.
        const char* there;
        // The window's thread is held there until it has taken the signal.
        bool heldThere;
    };
    const Case cases[] = {
        {"the connect's error box is up", {"--ethernet", "127.0.0.9"}, SIGTERM, "error box", false},
        {"the connect's error box is up", {"--ethernet", "127.0.0.9"}, SIGHUP, "error box", false},
        {"the connect's error box is up", {"--ethernet", "127.0.0.9"}, SIGINT, "error box", false},
        {"the unit's name is being looked up",
         {"--ethernet", "unit.example", "--lookup-waits"},
         SIGTERM,
         "looking up",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ", " + strsignal(c.signal));
        std::vector<std::string> arguments = {QZ_PROGRAM_ScriptedApplication};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        Program program(arguments);
        ASSERT_TRUE(program.started());
        ASSERT_TRUE(program.says(c.there));
        const std::size_t saidBefore = program.said().size();
        program.signal(c.signal);
        if (c.heldThere) {
            ASSERT_TRUE(program.tookSignal(c.signal));
            program.tell("the lookup fails");
        }
        expectEndWith(program, 0);
        EXPECT_EQ(program.said().substr(saidBefore), "") << "windows that opened after the request to end";
        EXPECT_EQ(program.leftInTemporaryFolder(), std::vector<std::string>{});
    }
}

// A display number no X server serves: no socket of that number, named or abstract.
std::string absentDisplay()
{
    std::ifstream sockets("/proc/net/unix");
    std::ostringstream listing;
    listing << sockets.rdbuf();
    for (int number = 4000;; ++number) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        std::error_code ignored;
        if (!std::filesystem::exists(socket, ignored) &&
            listing.str().find("@" + socket + "\n") == std::string::npos) {
            return ":" + std::to_string(number);
        }
    }
}

// While it lives, the programs started make no core file when they abort.
class NoCoreFiles {
public:
    NoCoreFiles()
    {
        ::getrlimit(RLIMIT_CORE, &previous_);
        rlimit none = previous_;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_CORE, &none);
    }
    ~NoCoreFiles() { ::setrlimit(RLIMIT_CORE, &previous_); }
    NoCoreFiles(const NoCoreFiles&) = delete;
    NoCoreFiles& operator=(const NoCoreFiles&) = delete;

private:
    rlimit previous_{};
};

// A start that fails before the window system runs leaves no folder, whatever status the
// toolkit ends it with (it aborts when it finds no display).
TEST(ApplicationEnd, AStartWithNoDisplayLeavesNoFolder)
{
    NoCoreFiles noCoreFiles;
    struct Case {
        const char* what;
        std::vector<std::string> environment;
    };
    const Case cases[] = {
        {"a display that does not exist", {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + absentDisplay()}},
        {"no display named", {"QT_QPA_PLATFORM=xcb", "DISPLAY"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program application({QZ_APPLICATION_PROGRAM}, {}, c.environment);
        ASSERT_TRUE(application.started());
        ASSERT_TRUE(application.end().has_value()) << "the program did not end";
        EXPECT_EQ(application.leftInTemporaryFolder(), std::vector<std::string>{});
    }
}

// An end signal at any moment of the start ends the program: by the signal's default until
// it catches the signal, through its own path from then on; and it catches the signal
// before its folder appears. Either way no folder is left.
TEST(ApplicationEnd, AnEndSignalDuringTheStartLeavesNoFolder)
{
    struct Case {
        std::string when;
        std::function<bool(const Program&)> wait;
        bool caught;
    };
    std::vector<Case> cases;
    for (int afterMs : {0, 5, 10, 20, 30, 50, 100}) {
        cases.push_back({std::to_string(afterMs) + " ms after the start",
                         [afterMs](const Program&) {
                             std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
                             return true;
                         },
                         false});
    }
    cases.push_back({"the moment its folder appears",
                     [](const Program& program) {
                         const auto deadline = Clock::now() + std::chrono::milliseconds(patienceMs);
                         while (program.leftInTemporaryFolder().empty()) {
                             if (Clock::now() > deadline) {
                                 return false;
                             }
                             std::this_thread::sleep_for(std::chrono::microseconds(100));
                         }
                         return true;
                     },
                     true});
    for (const Case& c : cases) {
        SCOPED_TRACE("SIGTERM " + c.when);
        Program application({QZ_APPLICATION_PROGRAM});
        ASSERT_TRUE(application.started());
        ASSERT_TRUE(c.wait(application));
        application.signal(SIGTERM);
        std::optional<int> status = application.end();
        ASSERT_TRUE(status.has_value()) << "the program did not end";
        const bool throughItsPath = WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
        const bool bySignal = WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM;
        EXPECT_TRUE(throughItsPath || (bySignal && !c.caught)) << "status " << *status;
        std::string errors = application.errors();
        for (const char* report : {"Sanitizer", "runtime error"}) {
            EXPECT_EQ(errors.find(report), std::string::npos) << errors;
        }
        EXPECT_EQ(application.leftInTemporaryFolder(), std::vector<std::string>{});
    }
}

// A run that was killed (by SIGKILL, a crash, a time limit) leaves its scratch folder; the
// next start removes it, but never the folder of a copy that is still running.
TEST(ApplicationEnd, AStartRemovesTheFolderOfAKilledRunButNotThatOfARunningCopy)
{
    // A start makes its folder once it catches the end signals.
    apptest::TemporaryFolder temporary;
    std::vector<std::string> leftByTheKilledRun;
    {
        Program killed({QZ_APPLICATION_PROGRAM}, temporary.path());
        ASSERT_TRUE(killed.catchesEndSignals());
        // Killed once its folder is whole, lock and all: a run killed while it makes the
        // folder leaves one that no start can tell from a folder being made.
        ASSERT_TRUE(waitFor([&] {
            std::vector<std::string> left = killed.leftInTemporaryFolder();
            return left.size() == 1 && std::filesystem::exists(temporary.file(left.front() + "/lock"));
        }));
        killed.kill();
        leftByTheKilledRun = killed.leftInTemporaryFolder();
        ASSERT_EQ(leftByTheKilledRun.size(), 1u);
    }
    Program running({QZ_APPLICATION_PROGRAM}, temporary.path());
    ASSERT_TRUE(running.catchesEndSignals());
    std::vector<std::string> ofTheRunningCopy;
    EXPECT_TRUE(waitFor([&] {
        ofTheRunningCopy = running.leftInTemporaryFolder();
        return ofTheRunningCopy.size() == 1 && ofTheRunningCopy != leftByTheKilledRun;
    })) << "the killed run's folder is left, or the running copy made none";
    ASSERT_EQ(ofTheRunningCopy.size(), 1u);

    Program another({QZ_APPLICATION_PROGRAM}, temporary.path());
    ASSERT_TRUE(another.catchesEndSignals());
    EXPECT_TRUE(waitFor([&] { return another.leftInTemporaryFolder().size() == 2; }));
    another.signal(SIGTERM);
    expectEndWith(another, 0);
    EXPECT_EQ(running.leftInTemporaryFolder(), ofTheRunningCopy);
    expectCleanEnd(running, {SIGTERM});
}

} // namespace
