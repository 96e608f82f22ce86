// The TCP link against a misbehaving unit on loopback: every fault ends in the
// failure the link defines, without a hang, and leaves the values it had whole.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "device/NetworkDeviceConnection.h"
#include "device/ProtocolAdapter.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32Socket.h"
#include "model/Exceptions.h"
#include "support/FakeUnit.h"
#include "support/LoopbackTcpChain.h"

using unitframes::bytes;
using unitframes::frame;

namespace {

const ParameterId masterVolume(0x0511);
const ParameterId unitName(0x0B00);
const ParameterId inputStatus(0x3D06);

std::string lengthField(uint32_t length)
{
    return bytes({static_cast<int>(length >> 24), static_cast<int>(length >> 16),
                  static_cast<int>(length >> 8), static_cast<int>(length)});
}

class NetworkLinkFaults : public LoopbackTcpChain {
protected:
    void SetUp() override
    {
        unit_.withEngine([](FakeUnitEngine& engine) {
            engine.store = unitCatalogueDefaults();
            engine.store[masterVolume] = ParameterValue(-30);
            engine.store[unitName] = ParameterValue(std::string("Studio B"));
        });
    }

    // The socket alone; the unit is connected once this returns.
    void openSocket(std::size_t queueCapacity = ByteQueue::defaultCapacity,
                    int producerWaitMs = ByteQueue::defaultProducerWaitMs)
    {
        buildSocket(queueCapacity, producerWaitMs);
        ASSERT_TRUE(unit_.waitForConnection());
    }

    void connect()
    {
        openSocket();
        startConnection();
    }

    // The failure text of a ProtocolException thrown by the operation.
    template <typename Operation> std::string protocolFailure(Operation operation)
    {
        try {
            operation();
        } catch (const ProtocolException& failure) {
            return failure.what();
        } catch (const std::exception& other) {
            return std::string("not a ProtocolException: ") + other.what();
        }
        return "no exception";
    }
};

} // namespace

TEST_F(NetworkLinkFaults, UnitFallingSilentInTheMiddleOfTheGetAllReplyRefusesTheConnection)
{
    unit_.withEngine([](FakeUnitEngine& engine) { engine.answerGetAll = false; });
    openSocket();
    const std::string reply = frame(unitframes::status(unitCatalogueDefaults(), 15));
    ASSERT_TRUE(unit_.sendRaw(reply.substr(0, reply.size() / 2)));
    EXPECT_EQ(protocolFailure([this] { startConnection(); }),
              "packet length received but packet data missing");
}

TEST_F(NetworkLinkFaults, UnitFallingSilentInTheMiddleOfAConfirmationLeavesTheCacheAsItWas)
{
    connect();
    unit_.withEngine([](FakeUnitEngine& engine) { engine.confirmSets = false; });
    // Half of a Status that would change both parameters, then nothing.
    const std::string confirmation = frame(unitframes::status(
        {{masterVolume, ParameterValue(-5)}, {unitName, ParameterValue(std::string("Torn"))}}));
    ASSERT_TRUE(unit_.sendRaw(confirmation.substr(0, confirmation.size() - 3)));
    EXPECT_EQ(protocolFailure([this] {
                  adapter_->setValues(
                      {{masterVolume, ParameterValue(-5)}, {unitName, ParameterValue(std::string("Torn"))}},
                      0);
              }),
              "packet length received but packet data missing");
    EXPECT_EQ(connection_->getValue(masterVolume), ParameterValue(-30));
    EXPECT_EQ(connection_->getValue(unitName), ParameterValue(std::string("Studio B")));
}

TEST_F(NetworkLinkFaults, ConnectionClosedInTheMiddleOfAFrameFailsThePollAndThenTheWrites)
{
    connect();
    const std::string report = frame(unitframes::status({{masterVolume, ParameterValue(-5)}}));
    ASSERT_TRUE(unit_.sendRaw(report.substr(0, report.size() - 1)));
    unit_.disconnect();
    // The first polls may come before the bytes do.
    EXPECT_EQ(protocolFailure([&] { pollUntilAFailure({masterVolume}); }),
              "packet length received but packet data missing");
    EXPECT_EQ(connection_->getValue(masterVolume), ParameterValue(-30));
    // The transport knows the peer is gone: requests are refused as failures of the platform.
    EXPECT_THROW(adapter_->setValue(masterVolume.previousGroup(), ParameterValue(1), 0), VormoException);
    std::string log = "untouched";
    EXPECT_THROW(adapter_->getEventLog(log), VormoException);
    EXPECT_EQ(log, "untouched");
}

TEST_F(NetworkLinkFaults, ImpossibleFrameLengthsAreRefusedBeforeThePayloadIsRead)
{
    struct Case {
        uint32_t length;
        const char* failure;
    };
    const Case cases[] = {
        {16u * 1024 * 1024, "packet size too large: 16777212"},
        {0xFFFFFFFFu, "packet size too large: 4294967291"},
        {Packet::maximumPayload + 5, "packet size too large: 16385"},
        {3, "packet size too small: 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        FakeUnit liar;
        liar.withEngine([](FakeUnitEngine& engine) { engine.answerGetAll = false; });
        Win32Socket liarSocket(liar.address(), liar.port());
        SerialDevice liarDevice(&liarSocket);
        ASSERT_TRUE(liar.waitForConnection());
        // Only a few payload bytes follow; the refusal must not wait for the rest.
        ASSERT_TRUE(liar.sendRaw(lengthField(c.length) + bytes({0x0F, 0x05, 0x11, 0x00})));
        Packet liarPacket;
        EXPECT_EQ(protocolFailure([&] { NetworkDeviceConnection refused(&liarDevice, &liarPacket); }),
                  c.failure);
    }
}

TEST_F(NetworkLinkFaults, SixteenMebibyteLengthDuringPollingEndsThePoll)
{
    connect();
    ASSERT_TRUE(unit_.sendRaw(lengthField(16u * 1024 * 1024 + 4) + std::string(64, '\x04')));
    EXPECT_EQ(protocolFailure([&] { pollUntilAFailure({masterVolume}); }), "packet size too large: 16777216");
    EXPECT_EQ(connection_->getValue(masterVolume), ParameterValue(-30));
}

TEST_F(NetworkLinkFaults, StatusFloodIsReadInOrderThroughABoundedQueue)
{
    // A queue far smaller than the flood, so that the read thread has to wait for room.
    openSocket(4096);
    startConnection();
    constexpr int reports = 3000;
    std::thread flood([this] {
        for (int i = 1; i <= reports; ++i)
            ASSERT_TRUE(unit_.sendStatus({{inputStatus, ParameterValue(i)}}));
    });
    // A write in the middle of the flood: its confirmation comes behind the reports.
    adapter_->setValue(masterVolume.previousGroup(), ParameterValue(-12), 0);
    int last = 0;
    bool inOrder = true;
    for (int poll = 0; poll < 20 * reports && last < reports; ++poll) {
        ParameterValueMap result;
        adapter_->getValues({inputStatus}, result);
        const int reported = result.at(inputStatus).toInt16();
        inOrder = inOrder && reported >= last;
        last = reported;
    }
    flood.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(last, reports);
    EXPECT_TRUE(pollUntil({}, [&](const ParameterValueMap&) {
        return connection_->getValue(masterVolume) == ParameterValue(-12);
    }));
}

TEST_F(NetworkLinkFaults, StatusFloodThatIsNotReadEndsTheLinkInsteadOfGrowingTheQueue)
{
    // A small queue and a short producer wait stand in for the application's 32768 bytes and
    // ten seconds; the unit holds few values, so that its Get All reply fits the queue.
    unit_.withEngine([](FakeUnitEngine& engine) {
        engine.store = {{masterVolume, ParameterValue(-30)}, {inputStatus, ParameterValue(0)}};
    });
    openSocket(1024, 100);
    startConnection();
    std::string flood;
    for (int i = 1; i <= 2000; ++i)
        flood += frame(unitframes::status({{inputStatus, ParameterValue(i)}}));
    ASSERT_TRUE(unit_.sendRaw(flood));
    // The read thread finds the queue full for a whole producer wait and ends the link:
    // the unit sees it hang up.
    ASSERT_TRUE(unit_.waitForHangUp());

    // What was queued is still read in order; then the link has ended and says so.
    int last = 0;
    bool inOrder = true;
    std::string failure;
    for (int poll = 0; poll < 2000 && failure.empty(); ++poll) {
        try {
            ParameterValueMap result;
            adapter_->getValues({inputStatus}, result);
            const int reported = result.at(inputStatus).toInt16();
            inOrder = inOrder && reported >= last;
            last = reported;
        } catch (const ProtocolException& e) {
            failure = e.what(); // a frame cut where the queue stopped
        }
    }
    EXPECT_TRUE(inOrder);
    EXPECT_GT(last, 0);
    EXPECT_LT(last, 2000) << "the queue kept growing";
    EXPECT_THROW(adapter_->setValue(masterVolume.previousGroup(), ParameterValue(1), 0), VormoException);
    EXPECT_EQ(connection_->getValue(masterVolume), ParameterValue(-30));
}
