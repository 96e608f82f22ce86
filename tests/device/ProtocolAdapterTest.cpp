#include <gtest/gtest.h>

#include <vector>

#include "device/DeviceConnection.h"
#include "device/ProtocolAdapter.h"
#include "device/RetryingProtocol.h"
#include "model/Exceptions.h"

namespace {

// A connection whose single operations are logged and whose batch read answers
// whatever the test scripts, so the adapter's checks can be driven.
class ScriptedConnection : public DeviceConnection {
public:
    std::vector<std::string> log;
    ParameterValueMap reads;
    bool scriptedBatch = false;
    ParameterValueMap batchReply;
    int failOnWrite = -1;      // index of the write that throws, or -1
    int incompleteReplies = 0; // batch reads that leave out the last identifier first
    int batchReads = 0;

    ConnectionStatus getStatus() override { return BusyStatus(); }
    void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) override
    {
        if (failOnWrite == writes_++)
            throw ProtocolException("no acknowledge");
        log.push_back("set " + std::to_string(writeId.toInt()) + "=" + std::to_string(value.toInt16()) +
                      " delay " + std::to_string(delayMs));
    }
    ParameterValue getValue(const ParameterId& id) override
    {
        log.push_back("get " + std::to_string(id.toInt()));
        auto found = reads.find(id);
        return found == reads.end() ? ParameterValue(0) : found->second;
    }
    void getValues(const ParameterIdList& ids, ParameterValueMap& result) override
    {
        ++batchReads;
        if (incompleteReplies > 0) {
            --incompleteReplies;
            for (std::size_t i = 0; i + 1 < ids.size(); ++i)
                result[ids[i]] = ParameterValue(1);
            return;
        }
        if (!scriptedBatch) {
            DeviceConnection::getValues(ids, result);
            return;
        }
        for (const auto& entry : batchReply)
            result.insert_or_assign(entry.first, entry.second);
    }
    void getEventLog(std::string& text) override { text = "events"; }
    void getErrorLog(std::string& text) override { text = "errors"; }

private:
    int writes_ = 0;
};

class Adapter : public ::testing::Test {
protected:
    ScriptedConnection connection_;
    ProtocolAdapter adapter_{&connection_};
};

const ParameterId a(0x1500), b(0x1501), c(0x1502), d(0x1503);

} // namespace

struct ReplyCase {
    const char* name;
    ParameterIdList asked;
    ParameterValueMap before;
    ParameterValueMap reply;
    const char* error; // nullptr: the check passes
};

TEST_F(Adapter, BatchReadMustAnswerExactlyTheRequestedIdentifiers)
{
    const ParameterValue v(1);
    const std::vector<ReplyCase> cases = {
        {"nothing asked, nothing answered", {}, {}, {}, nullptr},
        {"exact, reordered reply", {c, a, b}, {}, {{a, v}, {b, v}, {c, v}}, nullptr},
        {"one missing",
         {a, b, c},
         {},
         {{a, v}, {b, v}},
         "The device did not return all of the requested parameters"},
        {"one extra",
         {a, b},
         {},
         {{a, v}, {b, v}, {c, v}},
         "The device returned some unasked for parameters"},
        {"one swapped",
         {a, b, c},
         {},
         {{a, v}, {b, v}, {d, v}},
         "The device returned some parameters that were not asked for."},
        {"duplicate in the list",
         {a, a},
         {},
         {{a, v}},
         "The device did not return all of the requested parameters"},
        {"stale entry left in the result",
         {a},
         {{d, v}},
         {{a, v}},
         "The device returned some unasked for parameters"},
    };
    for (const ReplyCase& test : cases) {
        SCOPED_TRACE(test.name);
        connection_.scriptedBatch = true;
        connection_.batchReply = test.reply;
        ParameterValueMap result = test.before;
        if (test.error == nullptr) {
            EXPECT_NO_THROW(adapter_.getValues(test.asked, result));
            continue;
        }
        try {
            adapter_.getValues(test.asked, result);
            ADD_FAILURE() << "the reply was accepted";
        } catch (const ProtocolException& failure) {
            EXPECT_STREQ(failure.what(), test.error);
            // The result keeps what the connection put into it.
            for (const auto& entry : test.reply)
                EXPECT_EQ(result.count(entry.first), 1u);
        }
    }
}

TEST_F(Adapter, AReadAgainRefusesAReplyThatLeavesOutAnIdentifierTheOldMapStillHolds)
{
    ParameterValueMap values;
    adapter_.getValues({a, b}, values);
    connection_.reads[b] = ParameterValue(7);
    connection_.incompleteReplies = 1; // b is left out; its old value must not pass for an answer
    EXPECT_THROW(adapter_.rereadValues({a, b}, values), ProtocolException);
    adapter_.rereadValues({a, b}, values);
    EXPECT_EQ(values, (ParameterValueMap{{a, ParameterValue(0)}, {b, ParameterValue(7)}}));
}

TEST_F(Adapter, SetValueAndReadWritesUnderTheWriteIdentifierAndReadsTheParameter)
{
    connection_.reads[ParameterId(0x0511)] = ParameterValue(42);
    EXPECT_EQ(adapter_.setValueAndRead(ParameterId(0x0511), ParameterValue(40), 30), ParameterValue(42));
    EXPECT_EQ(connection_.log, (std::vector<std::string>{"set 1041=40 delay 30", "get 1297"}));
}

TEST_F(Adapter, SetValueForwardsTheWriteIdentifierUnchanged)
{
    adapter_.setValue(ParameterId(0x0410), ParameterValue(3), 0);
    EXPECT_EQ(connection_.log, (std::vector<std::string>{"set 1040=3 delay 0"}));
}

TEST_F(Adapter, BatchWritesRunInAscendingOrderAndStopAtTheFirstFailure)
{
    adapter_.setValues({}, 0);
    EXPECT_TRUE(connection_.log.empty());

    const ParameterValueMap values{{ParameterId(0x0702), ParameterValue(2)},
                                   {ParameterId(0x0301), ParameterValue(1)},
                                   {ParameterId(0x0503), ParameterValue(3)}};
    adapter_.setValues(values, 5);
    EXPECT_EQ(connection_.log,
              (std::vector<std::string>{"set 513=1 delay 5", "set 1027=3 delay 5", "set 1538=2 delay 5"}));

    connection_.log.clear();
    connection_.failOnWrite = 4; // the second write of the next batch (three writes so far)
    ParameterValueMap result;
    EXPECT_THROW(adapter_.setValuesAndRead(values, result, 0), ProtocolException);
    EXPECT_EQ(connection_.log, (std::vector<std::string>{"set 513=1 delay 0", "get 769"}));
    EXPECT_EQ(result.size(), 1u) << "the value read before the failure stays";
}

TEST_F(Adapter, ForwardsStatusLogsAndRefusesFirmwareOnAConnectionWithout)
{
    ConnectionStatus status = adapter_.getStatus();
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.text, "Busy");
    EXPECT_FALSE(adapter_.isMessageBased());
    std::string text;
    adapter_.getEventLog(text);
    EXPECT_EQ(text, "events");
    adapter_.getErrorLog(text);
    EXPECT_EQ(text, "errors");

    try {
        adapter_.downloadFirmware("image.bin", nullptr);
        FAIL() << "no exception";
    } catch (const ProtocolException&) {
        FAIL() << "must not be a ProtocolException, or it would be retried";
    } catch (const VormoException& failure) {
        EXPECT_STREQ(failure.what(), "Download not implemented for this protocol");
    }
    const unsigned char block[1] = {0};
    EXPECT_THROW(adapter_.sendFlashBlock(block, 1, 1, true), VormoException);
}

TEST(ConnectionStatusKinds, CarryTheirTextAndFlag)
{
    const std::vector<ConnectionStatus> kinds = {OkStatus(), BusyStatus(), ErrorStatus(),
                                                 NotRespondingStatus()};
    const std::vector<std::pair<std::string, bool>> expected = {
        {"Ok", true}, {"Busy", false}, {"Error", false}, {"Not Responding", false}};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(kinds[i].text, expected[i].first);
        EXPECT_EQ(kinds[i].ok, expected[i].second);
    }
}

TEST_F(Adapter, RetryingProtocolRepeatsABatchReadWhoseReplyFailsTheCheck)
{
    RetryingProtocol retrying(&adapter_, 5);
    connection_.incompleteReplies = 4;
    ParameterValueMap result;
    retrying.getValues({a, b}, result);
    EXPECT_EQ(connection_.batchReads, 5);
    EXPECT_EQ(result.size(), 2u);

    connection_.batchReads = 0;
    connection_.incompleteReplies = 5;
    ParameterValueMap second;
    EXPECT_THROW(retrying.getValues({c, d}, second), ProtocolException);
    EXPECT_EQ(connection_.batchReads, 5);
}
