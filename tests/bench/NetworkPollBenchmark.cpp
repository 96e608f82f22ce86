// One full pass of the status poll schedule (62 polls) over the TCP link:
// socket transport, bridge, message connection and adapter, against the fake
// unit on loopback. Reported per pass: the frames and bytes each side sent.

#include <benchmark/benchmark.h>

#include <memory>

#include "device/NetworkDeviceConnection.h"
#include "device/ProtocolAdapter.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32Socket.h"
#include "support/FakeUnit.h"
#include "unit/UnitParameterSet.h"

namespace {

struct Link {
    FakeUnit unit;
    std::unique_ptr<Win32Socket> socket;
    std::unique_ptr<SerialDevice> device;
    Packet packet;
    std::unique_ptr<NetworkDeviceConnection> connection;
    std::unique_ptr<ProtocolAdapter> adapter;
    std::unique_ptr<UnitParameterSet> set;

    Link()
    {
        unit.withEngine([](FakeUnitEngine& engine) {
            engine.store = unitCatalogueDefaults();
            engine.store[ParameterId(0x090A)] = ParameterValue(2); // controlled over Ethernet
        });
        socket = std::make_unique<Win32Socket>(unit.address(), unit.port());
        device = std::make_unique<SerialDevice>(socket.get());
        // A clock that stands still: no keep-alive ping falls inside the measurement.
        connection =
            std::make_unique<NetworkDeviceConnection>(device.get(), &packet, [] { return std::time_t(0); });
        adapter = std::make_unique<ProtocolAdapter>(connection.get());
        set = std::make_unique<UnitParameterSet>(adapter.get(), true);
    }
};

void report(benchmark::State& state, Link& link, uint64_t appBytes, uint64_t unitBytes, uint64_t unitFrames)
{
    using benchmark::Counter;
    state.counters["app_bytes"] =
        Counter(static_cast<double>(link.unit.bytesReceived() - appBytes), Counter::kAvgIterations);
    state.counters["unit_bytes"] =
        Counter(static_cast<double>(link.unit.bytesSent() - unitBytes), Counter::kAvgIterations);
    state.counters["unit_msgs"] =
        Counter(static_cast<double>(link.unit.framesSent() - unitFrames), Counter::kAvgIterations);
}

// The unit reports nothing on its own: every poll finds nothing waiting.
void BM_PollCycleQuietUnit(benchmark::State& state)
{
    Link link;
    const std::size_t polls = link.set->pollQueue().size();
    const uint64_t appBytes = link.unit.bytesReceived();
    const uint64_t unitBytes = link.unit.bytesSent();
    const uint64_t unitFrames = link.unit.framesSent();
    for (auto _ : state) {
        for (std::size_t i = 0; i < polls; ++i)
            link.set->pollStatusGroup();
    }
    report(state, link, appBytes, unitBytes, unitFrames);
    state.counters["polls"] = static_cast<double>(polls);
}
BENCHMARK(BM_PollCycleQuietUnit)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The unit reports the ten output meters before every poll, as a playing unit
// keeps its meters moving; each poll handles at most one waiting report.
void BM_PollCycleReportingUnit(benchmark::State& state)
{
    Link link;
    const std::size_t polls = link.set->pollQueue().size();
    ParameterValueMap meters;
    for (int index = 0; index < 10; ++index)
        meters[ParameterId(static_cast<int8_t>(0x27), static_cast<int8_t>(index))] =
            ParameterValue(index * 100);
    const uint64_t appBytes = link.unit.bytesReceived();
    const uint64_t unitBytes = link.unit.bytesSent();
    const uint64_t unitFrames = link.unit.framesSent();
    for (auto _ : state) {
        for (std::size_t i = 0; i < polls; ++i) {
            link.unit.sendStatus(meters);
            link.set->pollStatusGroup();
        }
    }
    report(state, link, appBytes, unitBytes, unitFrames);
    state.counters["polls"] = static_cast<double>(polls);
}
BENCHMARK(BM_PollCycleReportingUnit)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// For comparison: one user change (Set, then the unit's confirming Status).
void BM_WriteRoundTrip(benchmark::State& state)
{
    Link link;
    const ParameterId volume(0x0511);
    const uint64_t appBytes = link.unit.bytesReceived();
    const uint64_t unitBytes = link.unit.bytesSent();
    const uint64_t unitFrames = link.unit.framesSent();
    int value = 0;
    for (auto _ : state)
        link.adapter->setValueAndRead(volume, ParameterValue(2 + ++value % 200), 0);
    report(state, link, appBytes, unitBytes, unitFrames);
}
BENCHMARK(BM_WriteRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
