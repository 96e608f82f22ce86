#include <gtest/gtest.h>

#include <memory>

#include "device/NetworkDeviceConnection.h"
#include "device/ProtocolAdapter.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32Socket.h"
#include "model/Exceptions.h"
#include "model/ParameterSet.h"
#include "support/FakeUnit.h"
#include "support/LoopbackTcpChain.h"
#include "unit/UnitParameterSet.h"
#include "unit/catalogue/Catalogue.h"

namespace {

const ParameterId masterVolume(0x0511);
const ParameterId unitName(0x0B00);
const ParameterId remoteSource(0x090A);

// The whole chain of a TCP connection, against a fake unit that holds the factory defaults.
class NetworkLink : public LoopbackTcpChain {
protected:
    void SetUp() override
    {
        unit_.withEngine([](FakeUnitEngine& engine) {
            engine.store = unitCatalogueDefaults();
            engine.store[remoteSource] = ParameterValue(2); // controlled over Ethernet
        });
    }

    ProtocolAdapter& connect()
    {
        buildSocket();
        startConnection();
        return *adapter_;
    }

    std::size_t unitReceived(uint8_t code)
    {
        return unit_.withEngine([code](FakeUnitEngine& engine) { return engine.countReceived(code); });
    }
};

} // namespace

TEST_F(NetworkLink, ReadsEveryParameterTheUnitReportedAtConnection)
{
    unit_.withEngine([](FakeUnitEngine& engine) {
        engine.store[masterVolume] = ParameterValue(180);
        engine.store[unitName] = ParameterValue(std::string("Studio B"));
    });
    const ParameterValueMap expected = unit_.withEngine([](FakeUnitEngine& engine) { return engine.store; });
    ProtocolAdapter& protocol = connect();
    ParameterIdList ids;
    for (const auto& entry : expected)
        ids.push_back(entry.first);
    ParameterValueMap result;
    protocol.getValues(ids, result);
    ASSERT_EQ(result.size(), expected.size());
    EXPECT_EQ(result, expected);
    EXPECT_EQ(result.at(masterVolume), ParameterValue(180));
    EXPECT_EQ(result.at(unitName), ParameterValue(std::string("Studio B")));
    EXPECT_EQ(unitReceived(3), 1u) << "one Get All";
}

TEST_F(NetworkLink, UserChangesReachTheUnitsStore)
{
    ProtocolAdapter& protocol = connect();
    EXPECT_EQ(protocol.setValueAndRead(masterVolume, ParameterValue(60), 0), ParameterValue(60));
    protocol.setValues(
        {{unitName, ParameterValue(std::string("Rack 2"))}, {ParameterId(0x0301), ParameterValue(1)}}, 0);
    const ParameterValueMap store = unit_.withEngine([](FakeUnitEngine& engine) { return engine.store; });
    EXPECT_EQ(store.at(masterVolume), ParameterValue(60));
    EXPECT_EQ(store.at(unitName), ParameterValue(std::string("Rack 2")));
    EXPECT_EQ(store.at(ParameterId(0x0301)), ParameterValue(1));
    EXPECT_EQ(protocol.getValue(unitName), ParameterValue(std::string("Rack 2")))
        << "confirmed into the cache";
}

TEST_F(NetworkLink, KeepAlivePingAfterFifteenSeconds)
{
    ProtocolAdapter& protocol = connect();
    ParameterValueMap result;
    now_ += 15;
    protocol.getValues({}, result);
    now_ += 1;
    protocol.getValues({}, result);
    EXPECT_TRUE(unit_.waitForReceived(2));
    EXPECT_EQ(unitReceived(0), 1u);
}

TEST_F(NetworkLink, ErrorMessageBecomesAHostException)
{
    ProtocolAdapter& protocol = connect();
    unit_.withEngine([](FakeUnitEngine& engine) { engine.errorOnNextMessage = 12; });
    try {
        protocol.setValueAndRead(masterVolume, ParameterValue(50), 0);
        FAIL() << "no exception";
    } catch (const HostException& failure) {
        EXPECT_STREQ(failure.what(), "Error: Host Error");
    }

    ASSERT_TRUE(unit_.sendError(4));
    EXPECT_THROW(pollUntilAFailure({masterVolume}), HostException);
}

TEST_F(NetworkLink, UnitDroppingTheConnectionIsAFailureNotAHang)
{
    ProtocolAdapter& protocol = connect();
    unit_.dropAfter(1);
    std::string log;
    try {
        protocol.getEventLog(log);
        FAIL() << "no exception";
    } catch (const ProtocolException& failure) {
        EXPECT_STREQ(failure.what(), "Expected response not received");
    }
    // Polls go on answering from the cache; a write is refused by the closed transport.
    ParameterValueMap result;
    EXPECT_NO_THROW(protocol.getValues({masterVolume}, result));
    EXPECT_THROW(protocol.setValue(masterVolume.previousGroup(), ParameterValue(1), 0), VormoException);
}

TEST_F(NetworkLink, NoAnswerToGetAllMeansNoConnection)
{
    unit_.withEngine([](FakeUnitEngine& engine) { engine.answerGetAll = false; });
    try {
        connect();
        FAIL() << "connected";
    } catch (const ProtocolException& failure) {
        EXPECT_STREQ(failure.what(), "No response to 'Get All' request");
    }
}

TEST(NetworkLinks, SeveralUnitsOnTheirOwnLoopbackAddresses)
{
    FakeUnit first("127.0.0.2");
    FakeUnit second("127.0.0.3", first.port());
    first.withEngine([](FakeUnitEngine& engine) { engine.store[masterVolume] = ParameterValue(2); });
    second.withEngine([](FakeUnitEngine& engine) { engine.store[masterVolume] = ParameterValue(3); });

    Win32Socket firstSocket(first.address(), first.port());
    Win32Socket secondSocket(second.address(), second.port());
    SerialDevice firstDevice(&firstSocket);
    SerialDevice secondDevice(&secondSocket);
    Packet firstPacket;
    Packet secondPacket;
    NetworkDeviceConnection firstConnection(&firstDevice, &firstPacket);
    NetworkDeviceConnection secondConnection(&secondDevice, &secondPacket);
    EXPECT_EQ(firstConnection.getValue(masterVolume), ParameterValue(2));
    EXPECT_EQ(secondConnection.getValue(masterVolume), ParameterValue(3));
    secondConnection.setValue(masterVolume.previousGroup(), ParameterValue(30), 0);
    EXPECT_EQ(second.withEngine([](FakeUnitEngine& e) { return e.store.at(masterVolume); }),
              ParameterValue(30));
    EXPECT_EQ(first.withEngine([](FakeUnitEngine& e) { return e.store.at(masterVolume); }),
              ParameterValue(2));
}

namespace {

class CountingObserver : public Observer<Parameter> {
public:
    int updates = 0;
    ParameterValue last;
    void update(Subject* changed, Transaction*) override
    {
        if (!isOwnSubject(changed))
            return;
        ++updates;
        last = subject_->value();
    }
};

} // namespace

TEST_F(NetworkLink, UnitParameterSetOnTheLinkReadsControlsAndFollowsTheUnit)
{
    unit_.withEngine([](FakeUnitEngine& engine) {
        engine.store[masterVolume] = ParameterValue(150);
        engine.store[unitName] = ParameterValue(std::string("Booth 3"));
    });
    ProtocolAdapter& protocol = connect();
    UnitParameterSet set(&protocol, true);
    const ParameterValueMap store = unit_.withEngine([](FakeUnitEngine& engine) { return engine.store; });
    std::size_t read = 0;
    for (const auto& [id, parameter] : set.controls()) {
        if (parameter.owner() != &protocol)
            continue; // the application's own parameters live in its store, not in the unit
        EXPECT_EQ(parameter.current(), store.at(id)) << id;
        ++read;
    }
    EXPECT_GT(read, 100u);
    EXPECT_EQ(set.controls().find(unitName).current(), ParameterValue(std::string("Booth 3")));

    // A user change reaches the unit's store.
    EXPECT_EQ(set.setValue(masterVolume, ParameterValue(120)), ParameterValue(120));
    EXPECT_EQ(unit_.withEngine([](FakeUnitEngine& e) { return e.store.at(masterVolume); }),
              ParameterValue(120));

    // A Status message from the unit updates the status parameter and notifies its observers.
    const ParameterId meter(0x2700);
    CountingObserver observer;
    set.attachStatusObserver(meter, &observer);
    for (std::size_t poll = 0; poll < set.pollQueue().size(); ++poll)
        set.pollStatusGroup();
    const int before = observer.updates;
    ASSERT_TRUE(unit_.sendStatus({{meter, ParameterValue(512)}}));
    for (int poll = 0; poll < 5000 && observer.last != ParameterValue(512); ++poll)
        set.pollStatusGroup();
    EXPECT_EQ(observer.last, ParameterValue(512));
    EXPECT_GT(observer.updates, before);
}
