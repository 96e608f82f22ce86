#include <gtest/gtest.h>

#include <memory>

#include "device/NetworkDeviceConnection.h"
#include "device/ProtocolAdapter.h"
#include "model/Exceptions.h"
#include "support/FakeUnit.h"

using unitframes::bytes;

namespace {

const std::string getAllFrame = bytes({0, 0, 0, 5, 3});
const std::string pingFrame = bytes({0, 0, 0, 5, 0});

// A connection over the in-process fake unit, with a clock the test moves.
class MessageConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        link().unit.store = {{ParameterId(0x0501), ParameterValue(10)},
                             {ParameterId(0x0503), ParameterValue("ABC")},
                             {ParameterId(0x1501), ParameterValue(2)}};
    }

    NetworkDeviceConnection& connect()
    {
        connection_ = std::make_unique<NetworkDeviceConnection>(&link(), &packet_, [this] { return now_; });
        link().timeouts.clear();
        link().writes.clear();
        return *connection_;
    }

    std::string connectFailure()
    {
        try {
            connect();
        } catch (const ProtocolException& failure) {
            return failure.what();
        }
        return "connected";
    }

    // The payloads the application wrote, in order.
    std::vector<std::string> sentPayloads() const
    {
        std::vector<std::string> payloads;
        for (std::size_t i = 1; i < link().writes.size(); i += 2)
            payloads.push_back(link().writes[i]);
        return payloads;
    }

    FakeUnitLink& link() const { return *link_; }
    void freshLink()
    {
        connection_.reset();
        link_ = std::make_unique<FakeUnitLink>();
    }

    std::unique_ptr<FakeUnitLink> link_ = std::make_unique<FakeUnitLink>();
    Packet packet_;
    std::time_t now_ = 100000;
    std::unique_ptr<NetworkDeviceConnection> connection_;
};

std::string largeStatus(std::size_t payloadBytes)
{
    // Entries of 5 bytes (identifier and integer), then one text entry to reach the exact size.
    ParameterValueMap values;
    std::size_t size = 1;
    int index = 0;
    while (payloadBytes - size >= 5 + 4 || payloadBytes - size == 5) {
        values[ParameterId(static_cast<int8_t>(0x13), static_cast<int8_t>(index++))] = ParameterValue(1);
        size += 5;
    }
    if (payloadBytes > size)
        values[ParameterId(0x1480)] = ParameterValue(std::string(payloadBytes - size - 4, 'x'));
    std::string payload = unitframes::status(values);
    EXPECT_EQ(payload.size(), payloadBytes);
    return payload;
}

} // namespace

TEST_F(MessageConnection, StartUpAsksForEverythingAndFillsTheCache)
{
    NetworkDeviceConnection& unit = connect();
    EXPECT_EQ(link().unit.received, std::vector<std::string>{bytes({3})});
    EXPECT_EQ(unit.getValue(ParameterId(0x0503)), ParameterValue("ABC"));
    EXPECT_EQ(unit.getValue(ParameterId(0x0501)), ParameterValue(10));
    EXPECT_TRUE(unit.isMessageBased());
    EXPECT_TRUE(unit.getStatus().ok);
    EXPECT_TRUE(link().writes.empty()) << "reads are answered from the cache";
}

TEST_F(MessageConnection, StartUpEndsOnlyOnAGetAllResponseOrALargeStatus)
{
    struct Case {
        const char* name;
        std::vector<std::string> arrivals; // frames already waiting when it starts
        bool answerGetAll;
        std::string result;
    };
    std::vector<std::string> nineteen(19, unitframes::status({{ParameterId(0x2700), ParameterValue(1)}}));
    std::vector<std::string> twenty(20, unitframes::status({{ParameterId(0x2700), ParameterValue(1)}}));
    const std::vector<Case> cases = {
        {"silent unit", {}, false, "No response to 'Get All' request"},
        {"status of 99 bytes", {largeStatus(99)}, false, "No response to 'Get All' request"},
        {"status of 100 bytes", {largeStatus(100)}, false, "connected"},
        {"get all response is the 20th message", nineteen, true, "connected"},
        {"twenty small statuses", twenty, true, "No response to 'Get All' request"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        freshLink();
        link().unit.answerGetAll = test.answerGetAll;
        for (const std::string& payload : test.arrivals)
            link().pushFrame(payload);
        connection_.reset();
        EXPECT_EQ(connectFailure(), test.result);
    }
}

TEST_F(MessageConnection, ErrorAtStartUpIsAHostException)
{
    link().unit.errorOnNextMessage = 7;
    try {
        connect();
        FAIL() << "connected";
    } catch (const HostException& failure) {
        EXPECT_STREQ(failure.what(), "Error: Host Error");
    }
}

TEST_F(MessageConnection, ReadingAParameterNeverReportedGivesZeroAndCachesIt)
{
    NetworkDeviceConnection& unit = connect();
    ParameterValueMap result;
    unit.getValues({ParameterId(0x3D00), ParameterId(0x0501)}, result);
    EXPECT_EQ(result.at(ParameterId(0x3D00)).toString(), std::string(2, '\0'));
    EXPECT_EQ(result.at(ParameterId(0x0501)), ParameterValue(10));
}

TEST_F(MessageConnection, PollHandlesAtMostOneWaitingMessageAndSendsNothing)
{
    NetworkDeviceConnection& unit = connect();
    ParameterValueMap result;
    unit.getValues({ParameterId(0x1501)}, result);
    EXPECT_EQ(link().timeouts, (std::vector<int>{1, 2000}));
    EXPECT_TRUE(link().writes.empty());

    link().pushFrame(unitframes::status({{ParameterId(0x1501), ParameterValue(5)}}));
    link().pushFrame(unitframes::status({{ParameterId(0x1501), ParameterValue(6)}}));
    link().timeouts.clear();
    unit.getValues({ParameterId(0x1501)}, result);
    EXPECT_EQ(result.at(ParameterId(0x1501)), ParameterValue(5));
    EXPECT_EQ(link().timeouts, (std::vector<int>{1, 10000, 2000, 1, 2000}));
    unit.getValues({ParameterId(0x1501)}, result);
    EXPECT_EQ(result.at(ParameterId(0x1501)), ParameterValue(6));
    EXPECT_TRUE(link().writes.empty());
}

TEST_F(MessageConnection, KeepAlivePingOnlyAfterMoreThanFifteenSeconds)
{
    NetworkDeviceConnection& unit = connect();
    ParameterValueMap result;
    now_ += 15;
    unit.getValues({}, result);
    EXPECT_TRUE(link().writes.empty());

    now_ += 1;
    unit.getValues({}, result);
    EXPECT_EQ(link().writes, (std::vector<std::string>{bytes({0, 0, 0, 5}), bytes({0})}));
    EXPECT_EQ(link().unit.countReceived(0), 1u);
    EXPECT_TRUE(link().incoming.empty()) << "the ping's answer was handled";

    // The clock restarts at the ping; a unit that does not answer is no error.
    link().writes.clear();
    link().unit.answerPings = false;
    now_ += 15;
    unit.getValues({}, result);
    EXPECT_TRUE(link().writes.empty());
    now_ += 1;
    EXPECT_NO_THROW(unit.getValues({}, result));
    EXPECT_EQ(link().unit.countReceived(0), 2u);
}

TEST_F(MessageConnection, WritesCarryTheParametersOwnIdentifiersAndReadTheConfirmation)
{
    ProtocolAdapter adapter(&connect());
    link().unit.store.clear();
    EXPECT_EQ(adapter.setValueAndRead(ParameterId(0x0501), ParameterValue(0x10), 0), ParameterValue(0x10));
    EXPECT_EQ(sentPayloads(), std::vector<std::string>{bytes({0x02, 0x05, 0x01, 0x00, 0x00, 0x10})});
    EXPECT_EQ(link().unit.store.at(ParameterId(0x0501)), ParameterValue(0x10));

    link().writes.clear();
    const ParameterValueMap two{{ParameterId(0x0301), ParameterValue(1)},
                                {ParameterId(0x0503), ParameterValue(2)}};
    adapter.setValues(two, 0);
    EXPECT_EQ(sentPayloads().size(), 1u) << "one Set holds the whole batch";
    EXPECT_EQ(unitframes::parseEntries(sentPayloads()[0]), two);

    link().writes.clear();
    ParameterValueMap result;
    adapter.setValuesAndRead(two, result, 0);
    EXPECT_EQ(sentPayloads().size(), 2u) << "one Set per entry";
    EXPECT_EQ(result, two);
}

TEST_F(MessageConnection, WriteWaitsPastUnrelatedStatusesUntilTheConfirmation)
{
    NetworkDeviceConnection& unit = connect();
    link().unit.unrelatedStatusesPerSet = 3;
    link().pushFrame(bytes({0x00})); // the unit pings during the wait
    unit.setValue(ParameterId(0x0400), ParameterValue(4), 0);
    EXPECT_EQ(unit.getValue(ParameterId(0x0500)), ParameterValue(4));
    EXPECT_EQ(unit.getValue(ParameterId(0x3D06)), ParameterValue(2)) << "unrelated reports are executed too";
    EXPECT_TRUE(link().incoming.empty());
    // The ping was answered on a packet of its own, after the Set.
    EXPECT_EQ(link().unit.countReceived(1), 1u);
    EXPECT_EQ(link().unit.received.back(), bytes({0x01}));
}

TEST_F(MessageConnection, UnconfirmedWriteIsNoErrorAndTheCacheKeepsTheOldValue)
{
    NetworkDeviceConnection& unit = connect();
    link().unit.confirmSets = false;
    EXPECT_EQ(unit.setValueAndRead(ParameterId(0x0501), ParameterValue(77), 0), ParameterValue(10));
}

TEST_F(MessageConnection, WriteWaitIsBoundedWhenTheUnitNeverConfirms)
{
    NetworkDeviceConnection& unit = connect();
    link().unit.confirmSets = false;
    link().unit.unrelatedStatusesPerSet = 1000;
    EXPECT_NO_THROW(unit.setValue(ParameterId(0x0400), ParameterValue(4), 0));
    // 300 messages were read; the rest are still waiting for later reads.
    EXPECT_EQ(link().incoming.size(), 700u * 10u);
}

TEST_F(MessageConnection, ErrorFromTheUnitDuringAPollOrAWrite)
{
    NetworkDeviceConnection& unit = connect();
    ParameterValueMap result;
    link().pushFrame(unitframes::error(42));
    EXPECT_THROW(unit.getValues({ParameterId(0x0501)}, result), HostException);
    link().unit.errorOnNextMessage = 3;
    try {
        unit.setValue(ParameterId(0x0400), ParameterValue(1), 0);
        FAIL() << "no exception";
    } catch (const HostException& failure) {
        EXPECT_STREQ(failure.what(), "Error: Host Error");
    }
}

TEST_F(MessageConnection, BadFramesDuringAPoll)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string failure;
    };
    const std::vector<Case> cases = {
        {"length below the minimum", bytes({0, 0, 0, 2}), "packet size too small: 2"},
        {"length above the limit", bytes({0, 0, 0x40, 0x05}), "packet size too large: 16385"},
        {"payload cut short", bytes({0, 0, 0, 9, 4, 5}), "packet length received but packet data missing"},
        {"unknown command code", unitframes::frame(bytes({0x30})), "unrecognized command type"},
        {"refused kind", unitframes::frame(bytes({0x02})), "unrecognized message"},
        {"status with a trailing byte", unitframes::frame(bytes({0x04, 0x05})), "id not found in buffer"},
        {"status value missing", unitframes::frame(bytes({0x04, 0x05, 0x01, 0x00})),
         "value not found in buffer"},
        {"short error", unitframes::frame(bytes({0x08, 0x00})), "error type id not found in buffer"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        freshLink();
        NetworkDeviceConnection& unit = connect();
        link().push(test.bytes);
        ParameterValueMap result;
        try {
            unit.getValues({}, result);
            ADD_FAILURE() << "accepted";
        } catch (const VormoException& failure) {
            EXPECT_EQ(failure.what(), test.failure);
        }
    }
}

TEST_F(MessageConnection, LogsAreFetchedOnRequest)
{
    NetworkDeviceConnection& unit = connect();
    link().unit.eventLog = "boot\nlink up";
    link().unit.errorLog = "fan stalled";
    std::string text;
    unit.getEventLog(text);
    EXPECT_EQ(text, "boot\nlink up");
    unit.getErrorLog(text);
    EXPECT_EQ(text, "fan stalled");

    // A log of the other kind arriving first is replaced by the awaited one.
    link().pushFrame(unitframes::log(14, "stale error log"));
    unit.getEventLog(text);
    EXPECT_EQ(text, "boot\nlink up");
}

TEST_F(MessageConnection, LogRequestWithoutAnswerFails)
{
    NetworkDeviceConnection& unit = connect();
    link().beforeRead = [](FakeUnitLink& self) { self.incoming.clear(); };
    std::string text = "unchanged";
    try {
        unit.getErrorLog(text);
        FAIL() << "no exception";
    } catch (const ProtocolException& failure) {
        EXPECT_STREQ(failure.what(), "Expected response not received");
    }
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(link().timeouts.front(), 2000);
}
