#include <gtest/gtest.h>

#include "device/Packet.h"
#include "model/Exceptions.h"
#include "support/FakeUnit.h"

using unitframes::bytes;

namespace {

std::string length(uint32_t value)
{
    return bytes({static_cast<int>(value >> 24), static_cast<int>(value >> 16), static_cast<int>(value >> 8),
                  static_cast<int>(value)});
}

std::string receiveFailure(FakeUnitLink& link, Packet& packet)
{
    try {
        packet.receive(link);
    } catch (const ProtocolException& failure) {
        return failure.what();
    }
    return "no ProtocolException";
}

} // namespace

TEST(PacketSend, WritesTheLengthThenThePayload)
{
    FakeUnitLink link;
    link.unit.answerGetAll = false;
    SetMessage set(ParameterId(0x0401), ParameterValue(0x10));
    Packet packet(&set);
    packet.send(link);
    EXPECT_EQ(link.writes,
              (std::vector<std::string>{length(10), bytes({0x02, 0x05, 0x01, 0x00, 0x00, 0x10})}));
    EXPECT_EQ(packet.length(), 6u);
    EXPECT_EQ(packet.decodeMessage(), &set);

    GetAllMessage getAll;
    packet.setMessage(&getAll);
    link.writes.clear();
    packet.send(link);
    EXPECT_EQ(link.writes, (std::vector<std::string>{bytes({0, 0, 0, 5}), bytes({3})}));
}

TEST(PacketSend, AMessageThatCannotBeEncodedLeavesThePacketEmpty)
{
    SetMessage fits(ParameterId(0x0401), ParameterValue(0x10));
    SetMessage tooLong(ParameterId(0x2501), ParameterValue(std::string(256, 'x')));
    Packet packet(&fits);
    EXPECT_THROW(packet.setMessage(&tooLong), VormoException);
    EXPECT_EQ(packet.length(), 0u);
    // Neither the message that failed nor the one before it is still held.
    EXPECT_THROW(packet.decodeMessage(), VormoException);
}

TEST(PacketReceive, SilenceIsNoFrameAndNoError)
{
    FakeUnitLink link;
    Packet packet;
    EXPECT_FALSE(packet.receive(link));
    EXPECT_EQ(packet.length(), 0u);
    EXPECT_TRUE(link.timeouts.empty()) << "a receive that got nothing leaves the time-out alone";
}

TEST(PacketReceive, LengthBoundaries)
{
    struct Case {
        const char* name;
        uint32_t frameLength;
        std::string failure; // empty: accepted
    };
    const std::vector<Case> cases = {
        {"zero", 0, "packet size too small: 0"},
        {"three", 3, "packet size too small: 3"},
        {"empty payload", 4, ""},
        {"largest payload", 16384 + 4, ""},
        {"one over", 16384 + 5, "packet size too large: 16385"},
        {"largest length field", 0xFFFFFFFFu, "packet size too large: 4294967291"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeUnitLink link;
        link.push(length(test.frameLength));
        if (test.failure.empty())
            link.push(std::string(test.frameLength - 4, '\x04'));
        Packet packet;
        if (test.failure.empty()) {
            EXPECT_TRUE(packet.receive(link));
            EXPECT_EQ(packet.length(), test.frameLength - 4);
        } else {
            EXPECT_EQ(receiveFailure(link, packet), test.failure);
            EXPECT_EQ(link.incoming.size(), 0u) << "nothing read past the length field";
        }
        EXPECT_EQ(link.timeouts, std::vector<int>{10000});
    }
}

TEST(PacketReceive, ShortLengthOrPayload)
{
    for (unsigned got = 1; got <= 3; ++got) {
        FakeUnitLink link;
        link.partialReads = true;
        link.push(std::string(got, '\0'));
        Packet packet;
        EXPECT_EQ(receiveFailure(link, packet),
                  "error receiving packet length value: numBytesReceived==" + std::to_string(got));
    }
    FakeUnitLink link;
    link.push(length(10) + bytes({0x04, 0x05}));
    Packet packet;
    EXPECT_EQ(receiveFailure(link, packet), "packet length received but packet data missing");
    EXPECT_EQ(packet.length(), 0u);
    EXPECT_THROW(packet.decodeMessage(), VormoException) << "nothing left behind to decode";
}

TEST(PacketDecode, RefusedKindsAndEmptyPayload)
{
    struct Case {
        std::string payload;
        std::string failure;
    };
    std::vector<Case> cases = {{"", "missing command type in buffer"},
                               {bytes({18}), "unrecognized command type"},
                               {bytes({0x80}), "unrecognized command type"},
                               {bytes({0xFF}), "unrecognized command type"}};
    for (int code : {2, 3, 5, 6, 7, 9, 11, 16, 17})
        cases.push_back({bytes({code}), "unrecognized message"});
    for (const Case& test : cases) {
        SCOPED_TRACE(test.failure + " for " + std::to_string(test.payload.empty() ? -1 : test.payload[0]));
        FakeUnitLink link;
        link.pushFrame(test.payload);
        Packet packet;
        ASSERT_TRUE(packet.receive(link));
        try {
            packet.decodeMessage();
            ADD_FAILURE() << "decoded";
        } catch (const ProtocolException&) {
            ADD_FAILURE() << "must not be a ProtocolException";
        } catch (const VormoException& failure) {
            EXPECT_EQ(failure.what(), test.failure);
        }
    }
}

TEST(PacketDecode, SameMessageTwiceAndEachReceiveStartsAfresh)
{
    FakeUnitLink link;
    link.pushFrame(bytes({0x04, 0x05, 0x01, 0x00, 0x00, 0x10}));
    link.pushFrame(bytes({0x01}));
    Packet packet;
    ASSERT_TRUE(packet.receive(link));
    Message* first = packet.decodeMessage();
    EXPECT_EQ(packet.decodeMessage(), first);
    ASSERT_TRUE(packet.receive(link));
    EXPECT_EQ(packet.decodeMessage()->type().name(), "Ping Response");
    EXPECT_FALSE(packet.receive(link));
    EXPECT_THROW(packet.decodeMessage(), VormoException) << "silence discards the previous frame";
}
