#include <gtest/gtest.h>

#include "device/RetryingProtocol.h"
#include "model/Exceptions.h"
#include "support/RecordingProtocol.h"

namespace {

class Retrying : public ::testing::Test {
protected:
    RecordingProtocol inner_;
    RetryingProtocol protocol_{&inner_, 5};
};

} // namespace

TEST_F(Retrying, SucceedsOnTheFifthTry)
{
    inner_.values[ParameterId(0x1501)] = ParameterValue(8);
    inner_.throwOnNextCall(ProtocolException("no reply"), 4);
    ParameterValueMap result;
    protocol_.getValues({ParameterId(0x1501)}, result);
    EXPECT_EQ(inner_.countOf("getValues"), 5u);
    EXPECT_EQ(result.at(ParameterId(0x1501)), ParameterValue(8));
}

TEST_F(Retrying, GivesUpAfterFiveTriesWithTheLastFailure)
{
    inner_.throwOnNextCall(HostException("Unit says no"), 100);
    try {
        protocol_.setValue(ParameterId(0x0410), ParameterValue(1), 0);
        FAIL() << "no exception";
    } catch (const HostException& failure) {
        EXPECT_STREQ(failure.what(), "Unit says no");
    }
    EXPECT_EQ(inner_.countOf("setValue"), 5u);
}

TEST_F(Retrying, ReturnsTheValueOfTheFirstSuccessfulTry)
{
    inner_.throwOnNextCall(ProtocolException("no acknowledge"), 2);
    EXPECT_EQ(protocol_.setValueAndRead(ParameterId(0x0511), ParameterValue(12), 0), ParameterValue(12));
    EXPECT_EQ(inner_.countOf("setValueAndRead"), 3u);
}

TEST_F(Retrying, OtherExceptionsPassAtOnce)
{
    inner_.throwOnNextCall(VormoException("Download not implemented for this protocol"), 100);
    const unsigned char block[2] = {1, 2};
    EXPECT_THROW(protocol_.sendFlashBlock(block, 2, 1, false), VormoException);
    EXPECT_EQ(inner_.countOf("sendFlashBlock"), 1u);

    inner_.throwOnNextCall(std::runtime_error("bug"), 100);
    EXPECT_THROW(protocol_.getValue(ParameterId(0x0101)), std::runtime_error);
    EXPECT_EQ(inner_.countOf("getValue"), 1u);
}

TEST_F(Retrying, EveryRetriedOperationRepeatsAndTheOthersRunOnce)
{
    const unsigned char block[1] = {0};
    std::string text;
    ParameterValueMap result;
    const ParameterValueMap values{{ParameterId(0x0301), ParameterValue(1)}};
    struct Case {
        const char* operation;
        std::function<void()> call;
        std::size_t calls;
    };
    const std::vector<Case> cases = {
        {"setValue", [&] { protocol_.setValue(ParameterId(0x0200), ParameterValue(1), 0); }, 5},
        {"setValues", [&] { protocol_.setValues(values, 0); }, 5},
        {"setValuesAndRead", [&] { protocol_.setValuesAndRead(values, result, 0); }, 5},
        {"getValue", [&] { protocol_.getValue(ParameterId(0x0301)); }, 5},
        {"getValues", [&] { protocol_.getValues({ParameterId(0x0301)}, result); }, 5},
        {"setValueAndRead", [&] { protocol_.setValueAndRead(ParameterId(0x0301), ParameterValue(1), 0); }, 5},
        {"sendFlashBlock", [&] { protocol_.sendFlashBlock(block, 1, 1, true); }, 5},
        {"getEventLog", [&] { protocol_.getEventLog(text); }, 5},
        {"getErrorLog", [&] { protocol_.getErrorLog(text); }, 5},
        {"getStatus", [&] { protocol_.getStatus(); }, 1},
        {"setIdleHandler", [&] { protocol_.setIdleHandler(nullptr); }, 1},
        {"isMessageBased", [&] { protocol_.isMessageBased(); }, 1},
        {"downloadFirmware", [&] { protocol_.downloadFirmware("image.bin", nullptr); }, 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.operation);
        inner_.clearCalls();
        inner_.throwOnNextCall(ProtocolException("no reply"), 100);
        EXPECT_THROW(test.call(), ProtocolException);
        EXPECT_EQ(inner_.countOf(test.operation), test.calls);
        EXPECT_EQ(inner_.calls.size(), test.calls);
    }
}

TEST(RetryingAttempts, ZeroOrOneAttemptTriesOnce)
{
    for (unsigned attempts : {0u, 1u}) {
        RecordingProtocol inner;
        RetryingProtocol protocol(&inner, attempts);
        inner.throwOnNextCall(ProtocolException("no reply"), 100);
        EXPECT_THROW(protocol.getValue(ParameterId(0x0101)), ProtocolException);
        EXPECT_EQ(inner.countOf("getValue"), 1u) << attempts << " attempts";
    }
}

TEST(RetryingAttempts, ForwardsWhetherTheInnerLinkIsMessageBased)
{
    RecordingProtocol inner;
    RetryingProtocol protocol(&inner, 5);
    EXPECT_FALSE(protocol.isMessageBased());
    inner.messageBased = true;
    EXPECT_TRUE(protocol.isMessageBased());
}
