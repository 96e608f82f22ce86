// The application idle in its own message loop: the main window connected over TCP
// to the fake unit on loopback (1 ms poll timer), and off line. Reported per second
// of wall time: the CPU time of the whole process and of the user-interface thread,
// the poll ticks and the status polls (two per tick).

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "platform/Application.h"
#include "support/gui/UserInput.h"
#include "support/FakeUnit.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"

namespace {

constexpr unsigned endTimerId = 99;
constexpr int idleMilliseconds = 2000;

// The main window run modally, as the application runs it, until a timer of its own ends it.
class IdleWindow : public CRemoteDlg {
public:
    using CRemoteDlg::CRemoteDlg;

protected:
    void onTimer(unsigned timerId) override
    {
        if (timerId == endTimerId) {
            endDialog(IDCANCEL);
            return;
        }
        CRemoteDlg::onTimer(timerId);
    }
};

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

void idle(benchmark::State& state, int connectionType, const std::string& address)
{
    double wall = 0, processCpu = 0, threadCpu = 0;
    uint32_t ticks = 0;
    for (auto _ : state) {
        IdleWindow window(connectionType, address, 1);
        std::chrono::steady_clock::time_point start;
        double processStart = 0, threadStart = 0;
        uint32_t ticksStart = 0;
        user::onModal([&](Window& shown) {
            if (&shown != &window) {
                return;
            }
            if (window.connectionType() != connectionType) {
                state.SkipWithError("the window did not connect");
            }
            start = std::chrono::steady_clock::now();
            processStart = processCpuSeconds();
            threadStart = threadCpuSeconds();
            ticksStart = CRemoteDlg::tickCount();
            window.setTimer(endTimerId, idleMilliseconds);
        });
        window.runModal();
        user::onModal(nullptr);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        processCpu += processCpuSeconds() - processStart;
        threadCpu += threadCpuSeconds() - threadStart;
        ticks += CRemoteDlg::tickCount() - ticksStart;
        DialogStack::destroy();
    }
    state.counters["process_cpu_per_wall_s"] = processCpu / wall;
    state.counters["ui_thread_cpu_per_wall_s"] = threadCpu / wall;
    state.counters["ticks_per_s"] = ticks / wall;
    state.counters["polls_per_s"] = 2 * ticks / wall;
}

void IdleOnTcp(benchmark::State& state)
{
    FakeUnit unit("127.0.0.30", CRemoteDlg::unitPort);
    unit.withEngine([](FakeUnitEngine& engine) {
        engine.store = unitCatalogueDefaults();
        engine.store[ParameterId(0x090A)] = ParameterValue(2); // controlled over Ethernet
    });
    idle(state, CRemoteDlg::ethernet, unit.address());
}

void IdleOffLine(benchmark::State& state)
{
    idle(state, CRemoteDlg::offLine, "");
}

} // namespace

BENCHMARK(IdleOnTcp)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(IdleOffLine)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ensureApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
