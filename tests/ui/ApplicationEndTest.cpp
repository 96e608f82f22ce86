// The program's end: a whole program is started, ended as a user's session or terminal
// ends it, and must then end cleanly: at once, with a status of 0, no report of the
// sanitizers (when built with them) and nothing left in the temporary folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
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

// One run of a program, with a temporary folder and a settings profile of its own; what it
// writes to its standard error is kept in a file.
class Program {
public:
    explicit Program(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> environment = {"TMPDIR=" + temporary_.path(),
                                                "XDG_CONFIG_HOME=" + profile_.path()};
        for (char** entry = environ; *entry != nullptr; ++entry) {
            std::string text = *entry;
            if (text.rfind("TMPDIR=", 0) != 0 && text.rfind("XDG_CONFIG_HOME=", 0) != 0) {
                environment.push_back(text);
            }
        }
        int output[2];
        if (::pipe2(output, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsPath().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> argv = pointers(arguments);
        std::vector<char*> envp = pointers(environment);
        int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(output[1]);
        output_ = output[0];
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
        if (output_ >= 0) {
            ::close(output_);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return pid_ > 0; }

    // The program has taken over the signals that end a session or a terminal.
    bool catchesEndSignals() const
    {
        return waitFor([this] {
            std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
            std::string line;
            while (std::getline(status, line)) {
                if (line.rfind("SigCgt:", 0) == 0) {
                    unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
                    unsigned long long wanted = 0;
                    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
                        wanted |= 1ULL << (signal - 1);
                    }
                    return (caught & wanted) == wanted;
                }
            }
            return false;
        });
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

    void signal(int number) const { ::kill(pid_, number); }

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
        for (const auto& entry : std::filesystem::directory_iterator(temporary_.path())) {
            std::string name = entry.path().filename().string();
            if (name.rfind("qz347remote", 0) == 0) {
                left.push_back(name);
            }
        }
        return left;
    }

private:
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
    pid_t pid_ = -1;
    int output_ = -1;
    std::string said_;
};

// Ends the program with the signal and checks that it ended cleanly.
void expectCleanEnd(Program& program, int signal)
{
    program.signal(signal);
    std::optional<int> status = program.end();
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WIFEXITED(*status) ? WEXITSTATUS(*status) : -1, 0);
    std::string errors = program.errors();
    for (const char* report : {"Sanitizer", "runtime error"}) {
        EXPECT_EQ(errors.find(report), std::string::npos) << errors;
    }
    EXPECT_EQ(program.leftInTemporaryFolder(), std::vector<std::string>{});
}

TEST(ApplicationEnd, TheSignalsThatEndASessionCloseTheApplicationAsFileExitDoes)
{
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        Program application({QZ_APPLICATION_PROGRAM});
        ASSERT_TRUE(application.started());
        // The connection dialog is open, or about to be.
        ASSERT_TRUE(application.catchesEndSignals());
        expectCleanEnd(application, signal);
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
        std::vector<std::string> arguments = {QZ_APPLICATION_END_PROGRAM, c.server(server)};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        Program program(arguments);
        ASSERT_TRUE(program.started());
        ASSERT_TRUE(program.catchesEndSignals());
        ASSERT_TRUE(c.underWay(program, server));
        expectCleanEnd(program, SIGTERM);
    }
}

} // namespace
