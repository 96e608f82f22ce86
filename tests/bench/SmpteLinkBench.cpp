// Efficiency of the serial link: the bytes on the line for one full poll cycle and
// for one read of all control parameters, the time those bytes take at 115200 baud
// (10 bit times per byte), next to the time measured over a pseudo-terminal to the
// fake unit (which has no baud rate of its own, so it shows the protocol's turn-arounds).
#include <benchmark/benchmark.h>

#include <memory>

#include "device/ProtocolAdapter.h"
#include "device/RetryingProtocol.h"
#include "device/SmpteDeviceConnection.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32SerialPort.h"
#include "support/FakeSerialUnit.h"
#include "unit/UnitParameterSet.h"
#include "unit/catalogue/Catalogue.h"

namespace {

constexpr int address = 0x8280;

struct Link {
    Link()
        : unit(address), port(1, 115200), device(&port), connection(address, &device), adapter(&connection),
          protocol(&adapter, 5)
    {
        for (const GroupCatalogue* group : allCatalogueGroups())
            for (const ParameterDefinition& row : *group)
                if ((row.id >> 8) != 0x43)
                    unit.setValue(ParameterId(static_cast<int16_t>(row.id)), row.defaultValue);
        unit.setValue(ParameterId(0x090A), ParameterValue(2)); // remote mode
        set = std::make_unique<UnitParameterSet>(&protocol, true);
        unit.resetCounters();
    }

    void report(benchmark::State& state)
    {
        const double bytes = static_cast<double>(unit.bytesFromHost() + unit.bytesToHost()) /
                             static_cast<double>(state.iterations());
        state.counters["bytes_from_host"] =
            static_cast<double>(unit.bytesFromHost()) / static_cast<double>(state.iterations());
        state.counters["bytes_to_host"] =
            static_cast<double>(unit.bytesToHost()) / static_cast<double>(state.iterations());
        state.counters["exchanges"] = unit.requestsSeen() / static_cast<double>(state.iterations());
        state.counters["ms_at_115200"] = bytes * 10.0 / 115200.0 * 1000.0;
    }

    FakeSerialUnit unit;
    Win32SerialPort port;
    SerialDevice device;
    SmpteDeviceConnection connection;
    ProtocolAdapter adapter;
    RetryingProtocol protocol;
    std::unique_ptr<UnitParameterSet> set;
};

// Every entry of the poll schedule once.
void fullPollCycle(benchmark::State& state)
{
    Link link;
    const std::size_t entries = link.set->pollQueue().size();
    for (auto _ : state)
        for (std::size_t i = 0; i < entries; ++i)
            link.set->pollStatusGroup();
    link.report(state);
    state.counters["schedule_entries"] = static_cast<double>(entries);
}
BENCHMARK(fullPollCycle)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The control step of the refresh rotation: every control parameter but the preset names.
void readAllControlParameters(benchmark::State& state)
{
    Link link;
    ParameterIdList ids;
    for (const auto& [id, control] : link.set->controls())
        if (id.group() != 0x43)
            ids.push_back(id);
    for (auto _ : state) {
        ParameterValueMap values;
        link.protocol.getValues(ids, values);
    }
    link.report(state);
    state.counters["parameters"] = static_cast<double>(ids.size());
}
BENCHMARK(readAllControlParameters)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// One half of the preset names, the rotation's other two steps.
void readSixteenPresetNames(benchmark::State& state)
{
    Link link;
    ParameterIdList ids;
    for (int index = 0; index < 16; ++index)
        ids.push_back(ParameterId(0x1D, static_cast<int8_t>(index)));
    for (auto _ : state) {
        ParameterValueMap values;
        link.protocol.getValues(ids, values);
    }
    link.report(state);
}
BENCHMARK(readSixteenPresetNames)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
