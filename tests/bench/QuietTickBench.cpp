// The poll work of one quiet tick of the main window's timer, without the window:
// two status polls and, every tenth tick, the rotating refresh of the control
// parameters and preset names. Off line against the factory defaults, where
// nothing ever changes, so every tick is a quiet one. Reported per tick.

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "device/ProtocolAdapter.h"
#include "unit/DefaultDeviceConnection.h"
#include "unit/UnitParameterSet.h"

namespace {

struct OffLineSet {
    DefaultDeviceConnection store;
    ProtocolAdapter adapter{&store};
    UnitParameterSet set{&adapter, false};
    uint32_t ticks = 0;

    void tick()
    {
        set.pollStatusGroup();
        if (ticks++ % 10 == 0)
            set.refresh();
        set.pollStatusGroup();
    }
};

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Ticks back to back: everything they touch stays in the caches.
void OffLineQuietTick(benchmark::State& state)
{
    OffLineSet offLine;
    for (auto _ : state)
        offLine.tick();
}

// Ticks a millisecond apart, as the timer runs them: the thread sleeps in between,
// so each tick finds in the caches only what the pause left there. The time is the
// thread's own CPU time for the tick.
void OffLineQuietTickPaced(benchmark::State& state)
{
    OffLineSet offLine;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const double before = threadCpuSeconds();
        offLine.tick();
        state.SetIterationTime(threadCpuSeconds() - before);
    }
}

} // namespace

BENCHMARK(OffLineQuietTick)->Unit(benchmark::kNanosecond)->MinTime(1.0);
BENCHMARK(OffLineQuietTickPaced)->UseManualTime()->Unit(benchmark::kNanosecond)->Iterations(4000);
BENCHMARK_MAIN();
