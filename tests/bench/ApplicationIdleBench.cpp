// The application idle in its own message loop: the main window connected over TCP
// to the fake unit on loopback (1 ms poll timer), off line, and off line after a TCP
// connection failed. Reported per second of wall time: the CPU time of the whole
// process and of the user-interface thread, the poll ticks, the status polls (two per
// tick) and the paint events.
//
// It runs under the platform plugin a user has: a real X server (a private Xvfb,
// whose own CPU time is not counted) where Xvfb is installed, offscreen otherwise.
// QT_QPA_PLATFORM set in the environment wins.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "platform/Application.h"
#include "support/FakeUnit.h"
#include "support/gui/TestScreen.h"
#include "support/gui/UserInput.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"

namespace {

constexpr unsigned settledTimerId = 98;
constexpr unsigned endTimerId = 99;
// The first showing paints every control once; the idle state begins after it.
constexpr int settleMilliseconds = 500;
constexpr int idleMilliseconds = 4000;

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The readings the idle figures are differences of.
struct Readings {
    std::chrono::steady_clock::time_point wall;
    double processCpu = 0;
    double threadCpu = 0;
    uint32_t ticks = 0;
    unsigned long paints = 0;

    static Readings now()
    {
        return Readings{std::chrono::steady_clock::now(), processCpuSeconds(), threadCpuSeconds(),
                        CRemoteDlg::tickCount(), paintEventCount()};
    }
};

// The main window run modally, as the application runs it: once settled it takes the
// first readings, and the last ones when a timer of its own ends it.
class IdleWindow : public CRemoteDlg {
public:
    using CRemoteDlg::CRemoteDlg;

    Readings first;
    Readings last;

protected:
    void timerElapsed(unsigned timerId) override
    {
        if (timerId == settledTimerId) {
            killTimer(settledTimerId);
            first = Readings::now();
            setTimer(endTimerId, idleMilliseconds);
            return;
        }
        if (timerId == endTimerId) {
            last = Readings::now();
            endDialog(IDCANCEL);
            return;
        }
        CRemoteDlg::timerElapsed(timerId);
    }
};

// Idles in the connection the window ends up with: `connectionType` is the one it
// asks for, `settledType` the one it must have once shown (off line after a fall-back,
// whose Error dialog is closed as the user would).
void idle(benchmark::State& state, int connectionType, const std::string& address, int settledType)
{
    double wall = 0, processCpu = 0, threadCpu = 0, ticks = 0, paints = 0;
    for (auto _ : state) {
        IdleWindow window(connectionType, address, 1);
        user::onModal([&](Window& shown) {
            if (&shown != &window) {
                shown.postClose();
                return;
            }
            if (window.connectionType() != settledType) {
                state.SkipWithError("the window did not connect");
            }
            window.setTimer(settledTimerId, settleMilliseconds);
        });
        window.runModal();
        user::onModal(nullptr);
        wall += std::chrono::duration<double>(window.last.wall - window.first.wall).count();
        processCpu += window.last.processCpu - window.first.processCpu;
        threadCpu += window.last.threadCpu - window.first.threadCpu;
        ticks += double(window.last.ticks - window.first.ticks);
        paints += double(window.last.paints - window.first.paints);
        DialogStack::destroy();
    }
    state.counters["process_cpu_per_wall_s"] = processCpu / wall;
    state.counters["ui_thread_cpu_per_wall_s"] = threadCpu / wall;
    state.counters["ticks_per_s"] = ticks / wall;
    state.counters["polls_per_s"] = 2 * ticks / wall;
    state.counters["paints_per_s"] = paints / wall;
}

void IdleOnTcp(benchmark::State& state)
{
    FakeUnit unit("127.0.0.30", CRemoteDlg::unitPort);
    unit.withEngine([](FakeUnitEngine& engine) {
        engine.store = unitCatalogueDefaults();
        engine.store[ParameterId(0x090A)] = ParameterValue(2); // controlled over Ethernet
    });
    idle(state, CRemoteDlg::ethernet, unit.address(), CRemoteDlg::ethernet);
}

void IdleOffLine(benchmark::State& state)
{
    idle(state, CRemoteDlg::offLine, "", CRemoteDlg::offLine);
}

// Nothing listens on this loopback address: the connection fails and falls back to off line.
void IdleAfterTcpFallBack(benchmark::State& state)
{
    idle(state, CRemoteDlg::ethernet, "127.0.0.31", CRemoteDlg::offLine);
}

} // namespace

BENCHMARK(IdleOnTcp)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(IdleOffLine)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(IdleAfterTcpFallBack)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

namespace {

// A private X server for the run, on a display number it picks itself; stopped at the end.
class PrivateXServer {
public:
    PrivateXServer()
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            return;
        }
        // Xvfb takes its low descriptors for itself; the pipe goes in well above them.
        constexpr int displayFdInChild = 9;
        std::string displayFd = std::to_string(displayFdInChild);
        char* argv[] = {const_cast<char*>("Xvfb"),
                        const_cast<char*>("-displayfd"),
                        displayFd.data(),
                        const_cast<char*>("-noreset"),
                        const_cast<char*>("-nolisten"),
                        const_cast<char*>("tcp"),
                        const_cast<char*>("-screen"),
                        const_cast<char*>("0"),
                        const_cast<char*>("1280x1024x24"),
                        nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], displayFdInChild);
        bool spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        // Xvfb writes its display number and a line feed once it accepts clients; an
        // end of file first means it failed.
        std::string number;
        char c = 0;
        while (spawned && read(pipeEnds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(pipeEnds[0]);
        if (!number.empty() && c == '\n') {
            display_ = ":" + number;
        } else if (spawned) {
            stop();
        }
    }
    ~PrivateXServer() { stop(); }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool running() const { return !display_.empty(); }
    const std::string& display() const { return display_; }

private:
    void stop()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = 0;
        }
    }

    pid_t pid_ = 0;
    std::string display_;
};

} // namespace

int main(int argc, char** argv)
{
    std::unique_ptr<PrivateXServer> xServer;
    if (getenv("QT_QPA_PLATFORM") == nullptr) {
        xServer = std::make_unique<PrivateXServer>();
        if (xServer->running()) {
            setenv("DISPLAY", xServer->display().c_str(), 1);
            setenv("QT_QPA_PLATFORM", "xcb", 1);
        } else {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
    }
    useTestScreen(); // a headless screen as large as the tests'
    std::printf("platform plugin: %s\n", getenv("QT_QPA_PLATFORM"));
    WindowSystem windowSystem;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
