// The poll work of one quiet tick of the main window's timer, without the window:
// two status polls and, every tenth tick, the rotating refresh of the control
// parameters and preset names. Off line against the factory defaults, where
// nothing ever changes, so every tick is a quiet one. Reported per tick.

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK(OffLineQuietTick)->Unit(benchmark::kNanosecond)->MinTime(1.0);
BENCHMARK_MAIN();
