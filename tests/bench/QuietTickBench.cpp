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

void OffLineQuietTick(benchmark::State& state)
{
    DefaultDeviceConnection store;
    ProtocolAdapter adapter(&store);
    UnitParameterSet set(&adapter, false);
    uint32_t tick = 0;
    for (auto _ : state) {
        set.pollStatusGroup();
        if (tick++ % 10 == 0)
            set.refresh();
        set.pollStatusGroup();
    }
}

// The same ticks a millisecond apart, as the timer runs them: the thread sleeps in
// between, so each tick starts with what the pause left in the caches.
void OffLineQuietTickPaced(benchmark::State& state)
{
    DefaultDeviceConnection store;
    ProtocolAdapter adapter(&store);
    UnitParameterSet set(&adapter, false);
    uint32_t tick = 0;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        timespec before{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
        if (state.range(0) == 3) {} else {
        if (state.range(0) != 2) set.pollStatusGroup();
        if (state.range(0) == 2 || (state.range(0) == 0 && tick++ % 10 == 0))
            set.refresh();
        if (state.range(0) != 2) set.pollStatusGroup();
        }
        timespec after{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
        state.SetIterationTime(double(after.tv_sec - before.tv_sec) + double(after.tv_nsec - before.tv_nsec) / 1e9);
    }
}

} // namespace

BENCHMARK(OffLineQuietTickPaced)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->UseManualTime()->Unit(benchmark::kNanosecond)->Iterations(20000);
BENCHMARK(OffLineQuietTick)->Unit(benchmark::kNanosecond)->MinTime(1.0);
BENCHMARK_MAIN();
