#include "device/SmpteMessage.h"

#include <gtest/gtest.h>

#include "device/transport/SerialDevice.h"
#include "model/Exceptions.h"
#include "support/FakeSerialUnit.h"

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string result;
    for (int value : values)
        result.push_back(static_cast<char>(value));
    return result;
}

std::string sent(const SmpteMessage& message)
{
    ScriptedSerialLine line;
    SerialDevice device(&line);
    message.send(device);
    return line.written;
}

ParameterId id(int number)
{
    return ParameterId(static_cast<int16_t>(number));
}

TEST(SmpteMessageTest, FramesCarryLengthAndNegatedSum)
{
    SmpteMessage get = SmpteMessage::start();
    get.appendId(id(0x0511));
    EXPECT_EQ(sent(get), bytes({0x02, 0x02, 0x05, 0x11, 0xE8}));

    // A sum that is 0 mod 256 gives a checksum of 0, not 0x100.
    SmpteMessage zero = SmpteMessage::start();
    zero.appendId(id(0x7F7E));
    zero.appendId(id(0x7F00));
    EXPECT_EQ(sent(zero), bytes({0x02, 0x03, 0x7F, 0x7E, 0x00, 0x00}));
    EXPECT_EQ(sent(SmpteMessage::start()), bytes({0x02, 0x00, 0x00}));
}

TEST(SmpteMessageTest, SetBodiesUseShortFormForIntegersOnly)
{
    struct Case {
        int writeId;
        ParameterValue value;
        std::string body;
    };
    const Case cases[] = {
        {0x0411, ParameterValue(0x0010), bytes({0x04, 0x11, 0x00, 0x10})},
        {0x1C00, ParameterValue(std::string("abc")), bytes({0x1C, 0xFF, 0x00, 0x03, 'a', 'b', 'c'})},
        {0x1C01, ParameterValue(std::string()), bytes({0x1C, 0xFF, 0x01, 0x00})},
        {0x0480, ParameterValue(-1), bytes({0x04, 0x80, 0xFF, 0xFF})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.writeId);
        const std::string frame = sent(SmpteMessage::forSet(id(c.writeId), c.value));
        ASSERT_EQ(frame.size(), c.body.size() + 3);
        EXPECT_EQ(frame.substr(2, c.body.size()), c.body);
        EXPECT_EQ(static_cast<unsigned char>(frame[1]), c.body.size());
    }
}

TEST(SmpteMessageTest, GetRequestsAreGroupedAndOrderedBySignedGroup)
{
    const auto requests =
        SmpteMessage::requestsByGroup({id(0x0511), id(0x0302), id(0x0512), id(0x8101), id(0x0303)});
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].bytes(), bytes({0x02, 0x00, 0x81, 0x01})); // 0x81 is a negative group
    EXPECT_EQ(requests[1].bytes(), bytes({0x02, 0x00, 0x03, 0x02, 0x03}));
    EXPECT_EQ(requests[2].bytes(), bytes({0x02, 0x00, 0x05, 0x11, 0x12}));
    EXPECT_TRUE(SmpteMessage::requestsByGroup({}).empty());
}

TEST(SmpteMessageTest, TooLongABodyIsRefusedBeforeAnythingIsWritten)
{
    ScriptedSerialLine line;
    SerialDevice device(&line);

    // Long form: group, 0xFF, index and length besides the longest value sent.
    EXPECT_NO_THROW(SmpteMessage::forSet(id(0x1C00), ParameterValue(std::string(127, 'x'))).send(device));
    line.written.clear();
    // No value sent makes a set request pass LEN; a request for every index of a group does.
    ParameterIdList everyIndex;
    for (int index = 0; index < 255; ++index)
        everyIndex.push_back(id(0x1C00 + index));
    const SmpteMessage tooLong = SmpteMessage::requestsByGroup(everyIndex).front();
    try {
        tooLong.send(device);
        FAIL() << "sent a frame of 256 body bytes";
    } catch (const ProtocolException&) {
        FAIL() << "a frame that can never be sent must not be retried";
    } catch (const VormoException&) {
    }
    EXPECT_EQ(line.written, "");
    EXPECT_THROW(SmpteMessage::forSet(id(0x1C00), ParameterValue(std::string(128, 'x'))), VormoException);
}

class ReceiveTest : public ::testing::Test {
protected:
    std::string receiveFailure(const std::string& unitBytes)
    {
        line_.answer(unitBytes);
        try {
            message_.receive(device_);
        } catch (const ProtocolException& error) {
            return error.what();
        }
        return "(received)";
    }

    ScriptedSerialLine line_;
    SerialDevice device_{&line_};
    SmpteMessage message_;
};

TEST_F(ReceiveTest, AReplyFrameIsCheckedAndKeptWithoutItsChecksum)
{
    line_.answer(bytes({0x02, 0x04, 0x05, 0x11, 0x00, 0x01, 0xE5}));
    message_.receive(device_);
    EXPECT_EQ(message_.bytes(), bytes({0x02, 0x04, 0x05, 0x11, 0x00, 0x01}));
    EXPECT_EQ(message_.checksum(), 0xE5);
}

TEST_F(ReceiveTest, DamagedFramesFailWithTheirTexts)
{
    struct Case {
        std::string unit;
        const char* text;
    };
    const Case cases[] = {
        {"", "The device didn't transmit after receiving authorization."},
        {bytes({0x03, 0x02, 0x05, 0x11, 0xE8}), "The Smpte keyword is not STX"},
        {bytes({0x02}), "The message length is missing."},
        {bytes({0x02, 0x05, 0x05, 0x11, 0xE8}), "Some of the message data is missing."},
        {bytes({0x02, 0xFF, 0x05}), "Some of the message data is missing."},
        {bytes({0x02, 0x02, 0x05, 0x11}), "Some of the message data is missing."},
        {bytes({0x02, 0x02, 0x05, 0x11, 0xE9}), "Incorrect checksum"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        line_.incoming.clear();
        EXPECT_EQ(receiveFailure(c.unit), c.text);
    }
}

TEST_F(ReceiveTest, AFailureDrainsWhatTheUnitStillSends)
{
    // Up to 256 bytes after the damaged frame are read and thrown away.
    EXPECT_EQ(receiveFailure(bytes({0x02, 0x02, 0x05, 0x11, 0xE9}) + std::string(300, 'z')),
              "Incorrect checksum");
    EXPECT_EQ(line_.incoming, std::string(300 - 256, 'z'));
}

ParameterValueMap parsed(const std::string& body)
{
    SmpteMessage message;
    ScriptedSerialLine line;
    SerialDevice device(&line);
    std::string lengthAndBody(1, static_cast<char>(body.size()));
    lengthAndBody += body;
    unsigned sum = 0;
    for (char byte : lengthAndBody)
        sum += static_cast<unsigned char>(byte);
    line.answer("\x02" + lengthAndBody + static_cast<char>(0x100 - (sum & 0xFF)));
    message.receive(device);
    ParameterValueMap values;
    message.parseValues(values);
    return values;
}

TEST(SmpteMessageParseTest, ItemsOfShortAndLongFormAreStoredUnderTheReplyGroup)
{
    const ParameterValueMap values = parsed(bytes({0x05, 0x11, 0x00, 0x01, 0xFF, 0x12, 0x02, 0x41, 0x42}));
    EXPECT_EQ(values, (ParameterValueMap{{id(0x0511), ParameterValue(1)},
                                         {id(0x0512), ParameterValue(std::string("AB"))}}));
}

TEST(SmpteMessageParseTest, UntrustedLengthsNeverReadPastTheReply)
{
    struct Case {
        const char* what;
        std::string body;
        ParameterValueMap expected;
    };
    const std::string long200(200, 'L');
    const Case cases[] = {
        {"a body of three bytes holds no item", bytes({0x05, 0x11, 0x00}), {}},
        {"a group alone", bytes({0x05}), {}},
        {"a length of 0x80 or more counts up to 255",
         bytes({0x1D, 0xFF, 0x00, 0xC8}) + long200 + bytes({0x01, 0x00, 0x07}),
         {{id(0x1D00), ParameterValue(long200)}, {id(0x1D01), ParameterValue(7)}}},
        {"a length running past the end is cut there",
         bytes({0x1D, 0xFF, 0x02, 0xF0, 'a', 'b'}),
         {{id(0x1D02), ParameterValue(std::string("ab"))}}},
        {"a long item with no value bytes",
         bytes({0x1D, 0xFF, 0x03, 0x05}),
         {{id(0x1D03), ParameterValue(std::string())}}},
        {"a short item cut by the end is dropped",
         bytes({0x05, 0x11, 0x00, 0x01, 0x12, 0x00}),
         {{id(0x0511), ParameterValue(1)}}},
        {"a later item replaces an earlier one",
         bytes({0x05, 0x11, 0x00, 0x01, 0x11, 0x00, 0x02}),
         {{id(0x0511), ParameterValue(2)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parsed(c.body), c.expected);
    }
}

} // namespace
