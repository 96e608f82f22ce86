#include "device/SmpteDeviceConnection.h"

#include <gtest/gtest.h>

#include "device/ProtocolAdapter.h"
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

ParameterId id(int number)
{
    return ParameterId(static_cast<int16_t>(number));
}

// A reply frame as the unit sends it.
std::string replyFrame(const std::string& body)
{
    std::string lengthAndBody(1, static_cast<char>(body.size()));
    lengthAndBody += body;
    unsigned sum = 0;
    for (char byte : lengthAndBody)
        sum += static_cast<unsigned char>(byte);
    return "\x02" + lengthAndBody + static_cast<char>(0x100 - (sum & 0xFF));
}

class SmpteConnectionTest : public ::testing::Test {
protected:
    SmpteDeviceConnection& connect(int address = 0x8280)
    {
        connection_ = std::make_unique<SmpteDeviceConnection>(address, &device_);
        return *connection_;
    }

    std::string failureOf(auto&& action)
    {
        try {
            action();
        } catch (const ProtocolException& error) {
            return error.what();
        }
        return "(no failure)";
    }

    ScriptedSerialLine line_;
    SerialDevice device_{&line_};
    std::unique_ptr<SmpteDeviceConnection> connection_;
};

TEST_F(SmpteConnectionTest, ConstructionSetsTheTimeoutAndFlushesButSendsNothing)
{
    line_.answer(std::string(600, 'x')); // left over on the line from before
    connect();
    EXPECT_EQ(line_.timeouts, "200;");
    EXPECT_EQ(line_.incoming.size(), 100u); // one read of up to 500 bytes
    EXPECT_EQ(line_.written, "");

    try {
        SmpteDeviceConnection none(0x8280, nullptr);
        FAIL() << "built without a serial device";
    } catch (const ProtocolException& error) {
        EXPECT_STREQ(error.what(), "NULL serial device.");
    }
}

TEST_F(SmpteConnectionTest, AGetExchangeOnTheWire)
{
    auto& connection = connect();
    line_.answer(bytes({0x04, 0x08}) + replyFrame(bytes({0x05, 0x11, 0x12, 0x34})));
    EXPECT_EQ(connection.getValue(id(0x0511)), ParameterValue(0x1234));
    EXPECT_EQ(line_.written, bytes({0xFB, 0x82, 0x80, 0x02, 0x02, 0x05, 0x11, 0xE8, // select, request
                                    0xFB, 0x82, 0x81,                               // poll
                                    0xFB, 0x82, 0x80, 0x09,                         // authorize
                                    0x04}));                                        // acknowledge
}

TEST_F(SmpteConnectionTest, AddressesAtTheEndsOfTheRange)
{
    struct Case {
        int address;
        std::string select;
        std::string poll;
    };
    const Case cases[] = {
        {0x8280, bytes({0xFB, 0x82, 0x80}), bytes({0xFB, 0x82, 0x81})},
        {0x12FF, bytes({0xFB, 0x12, 0xFF}), bytes({0xFB, 0x12, 0x00})}, // no carry into the high byte
        {0x0000, bytes({0xFB, 0x00, 0x00}), bytes({0xFB, 0x00, 0x01})},
        {0xFFFF, bytes({0xFB, 0xFF, 0xFF}), bytes({0xFB, 0xFF, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        line_.written.clear();
        auto& connection = connect(c.address);
        line_.answer(bytes({0x04, 0x04})); // ACK of the set, then a poll answer that is not busy
        connection.setValue(id(0x0411), ParameterValue(0x0010), 0);
        EXPECT_EQ(line_.written, c.select + bytes({0x02, 0x04, 0x04, 0x11, 0x00, 0x10, 0xD7}) + c.poll);
    }
}

TEST_F(SmpteConnectionTest, PollsUntilTheReplyIsReady)
{
    struct CountingIdle : IdleHandler {
        void onIdle() override { ++calls; }
        int calls = 0;
    } idle;
    auto& connection = connect();
    connection.setIdleHandler(&idle);
    line_.answer(bytes({0x04, 0x07, 0x07, 0x06, 0x08}) + replyFrame(bytes({0x05, 0x11, 0x00, 0x01})));
    connection.getValue(id(0x0511));
    const std::string poll = bytes({0xFB, 0x82, 0x81});
    std::size_t polls = 0;
    for (auto at = line_.written.find(poll); at != std::string::npos; at = line_.written.find(poll, at + 1))
        ++polls;
    EXPECT_EQ(polls, 4u);
    EXPECT_GT(idle.calls, 0); // the pause after the busy answer lets the application breathe
}

TEST_F(SmpteConnectionTest, GetValuesSendsOneRequestPerGroup)
{
    auto& connection = connect();
    line_.answer(bytes({0x04, 0x08}) + replyFrame(bytes({0x03, 0x02, 0x00, 0x07})));
    line_.answer(bytes({0x04, 0x08}) +
                 replyFrame(bytes({0x05, 0x11, 0x00, 0x01, 0xFF, 0x12, 0x02, 0x41, 0x42})));
    ParameterValueMap result{{id(0x0511), ParameterValue(99)}};
    connection.getValues({id(0x0511), id(0x0302), id(0x0512)}, result);
    EXPECT_EQ(result, (ParameterValueMap{{id(0x0302), ParameterValue(7)},
                                         {id(0x0511), ParameterValue(1)},
                                         {id(0x0512), ParameterValue(std::string("AB"))}}));
    EXPECT_NE(line_.written.find(bytes({0x02, 0x02, 0x03, 0x02, 0xF9})), std::string::npos);
    EXPECT_GT(line_.written.find(bytes({0x02, 0x03, 0x05, 0x11, 0x12, 0xD5})),
              line_.written.find(bytes({0x02, 0x02, 0x03, 0x02, 0xF9})));
}

TEST_F(SmpteConnectionTest, GetValueOfAParameterTheReplyLacksIsZero)
{
    auto& connection = connect();
    line_.answer(bytes({0x04, 0x08}) + replyFrame(bytes({0x05})));
    EXPECT_EQ(connection.getValue(id(0x0511)), ParameterValue(0));
}

TEST_F(SmpteConnectionTest, AReplyForAnotherRequestIsReportedAndDoesNotSpoilTheResult)
{
    auto& connection = connect();
    ProtocolAdapter adapter(&connection);
    line_.answer(bytes({0x04, 0x08}) + replyFrame(bytes({0x07, 0x11, 0x00, 0x01}))); // group 7, not 5
    ParameterValueMap result;
    EXPECT_EQ(failureOf([&] { adapter.getValues({id(0x0511)}, result); }),
              "The device did not return all of the requested parameters");
    EXPECT_TRUE(result.empty());

    // So the next attempt, with the same result map, can succeed.
    line_.answer(bytes({0x04, 0x08}) + replyFrame(bytes({0x05, 0x11, 0x00, 0x01, 0x12, 0x00, 0x02})));
    adapter.getValues({id(0x0511)}, result);
    EXPECT_EQ(result, (ParameterValueMap{{id(0x0511), ParameterValue(1)}}));
}

TEST_F(SmpteConnectionTest, ExchangeFailuresGiveTheirTexts)
{
    struct Case {
        std::string unit;
        const char* text;
    };
    const Case cases[] = {
        {"", "No response when expecting an ACK."},
        {bytes({0x15}), "The device returned 21 instead of ACK"},
        {bytes({0x04}), "There was no response to a poll."},
        {bytes({0x04, 0x07, 0x04}), "The device returned 4 instead of 8"},
        {bytes({0x04, 0x05}), "The device returned 5 instead of 8"},
        {bytes({0x04, 0x08}), "The device didn't transmit after receiving authorization."},
        {bytes({0x04, 0x08, 0x02, 0x02, 0x05, 0x11, 0xE7}), "Incorrect checksum"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto& connection = connect();
        line_.answer(c.unit);
        EXPECT_EQ(failureOf([&] { connection.getValue(id(0x0511)); }), c.text);
    }
}

TEST_F(SmpteConnectionTest, AfterASetThePollEndsWhenTheUnitIsNoLongerBusy)
{
    auto& connection = connect();
    struct Case {
        std::string unit;
        std::size_t polls;
    };
    const Case cases[] = {
        {bytes({0x04}), 1},                   // no answer to the poll: done, no error
        {bytes({0x04, 0x06, 0x07, 0x04}), 3}, // busy, not yet, then something else
        {bytes({0x04, 0x05}), 1},             // any other byte ends the wait too
    };
    for (const Case& c : cases) {
        line_.written.clear();
        line_.answer(c.unit);
        EXPECT_NO_THROW(connection.setValue(id(0x0411), ParameterValue(1), 5));
        EXPECT_EQ(line_.written.size(), 3 + 7 + 3 * c.polls);
    }
}

TEST_F(SmpteConnectionTest, AUnitStuckBusyFailsTheSetAfter750Polls)
{
    auto& connection = connect();
    line_.answer(bytes({0x04}) + std::string(750, '\x06') + std::string(10, '\x04'));
    EXPECT_EQ(failureOf([&] { connection.setValue(id(0x0411), ParameterValue(1), 0); }),
              "The device seems to be stuck in the busy state.");
    EXPECT_EQ(line_.written.size(), 3 + 7 + 3 * 750u);
}

TEST_F(SmpteConnectionTest, StatusIsOnePollAndNeverThrows)
{
    auto& connection = connect();
    struct Case {
        std::string answer;
        bool ok;
        const char* text;
    };
    const Case cases[] = {
        {"", false, "Not Responding"},  {bytes({0x04}), true, "Ok"},     {bytes({0x05}), false, "Error"},
        {bytes({0x06}), false, "Busy"}, {bytes({0x41}), false, "Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        line_.written.clear();
        line_.answer(c.answer);
        const ConnectionStatus status = connection.getStatus();
        EXPECT_EQ(status.ok, c.ok);
        EXPECT_EQ(status.text, c.text);
        EXPECT_EQ(line_.written, bytes({0xFB, 0x82, 0x81}));
    }
    line_.failWrites = true;
    EXPECT_EQ(connection.getStatus().text, "Error");
}

TEST_F(SmpteConnectionTest, WhatTheLinkCannotDo)
{
    auto& connection = connect();
    try {
        connection.downloadFirmware("image.bin", nullptr);
        FAIL();
    } catch (const VormoException& error) {
        EXPECT_STREQ(error.what(), "Download not implemented for this protocol");
    }
    std::string text = "old";
    connection.getEventLog(text);
    EXPECT_EQ(text, "");
    text = "old";
    connection.getErrorLog(text);
    EXPECT_EQ(text, "");
    EXPECT_FALSE(connection.isMessageBased());

    // Requests that do not fit the one-byte length are refused before anything is written,
    // as a plain failure that no retry repeats.
    ParameterIdList wholeGroup;
    for (int index = 0; index < 256; ++index)
        wholeGroup.push_back(ParameterId(0x05, static_cast<int8_t>(index)));
    wholeGroup.insert(wholeGroup.begin(), id(0x0301));
    ParameterValueMap result;
    const auto plainFailure = [](auto&& action) {
        try {
            action();
        } catch (const ProtocolException&) {
            return false;
        } catch (const VormoException&) {
            return true;
        }
        return false;
    };
    EXPECT_TRUE(plainFailure([&] { connection.getValues(wholeGroup, result); }));
    EXPECT_TRUE(
        plainFailure([&] { connection.setValue(id(0x1C00), ParameterValue(std::string(252, 'x')), 0); }));
    EXPECT_EQ(line_.written, "");
}

} // namespace
