#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "Recorders.h"
#include "model/Exceptions.h"
#include "model/Parameter.h"
#include "model/ParameterMap.h"
#include "model/Transaction.h"
#include "support/RecordingProtocol.h"

namespace {

// Three parameters on the unit's protocol and one on a second (local) protocol.
class TransactionTest : public ::testing::Test {
protected:
    TransactionTest()
    {
        for (ControlParameter* parameter : {&low_, &middle_, &high_, &local_})
            parameter->updateFrom({{parameter->id(), v(1)}});
        int i = 0;
        for (ControlParameter* parameter : {&low_, &middle_, &high_, &local_})
            observers_[i++].watch(*parameter);
    }

    RecordingProtocol unit_;
    RecordingProtocol application_;
    ControlParameter high_{&unit_, ParameterId(0x0520), v(0), v(9)};
    ControlParameter low_{&unit_, ParameterId(0x0301), v(0), v(9)};
    ControlParameter middle_{&unit_, ParameterId(0x0502), v(0), v(9)};
    ControlParameter local_{&application_, ParameterId(0x4301), v(0), v(9)};
    std::array<RecordingObserver<ControlParameter>, 4> observers_;
};

} // namespace

TEST_F(TransactionTest, CommitSendsOneBatchPerProtocolInIdentifierOrder)
{
    {
        ParameterTransaction transaction;
        high_.setPending(v(4), &transaction);
        low_.setPending(v(2), &transaction);
        local_.setPending(v(7), &transaction);
        high_.setPending(v(5), &transaction); // twice: sent once with the last value
        transaction.commit();
        EXPECT_TRUE(transaction.empty());
        for (auto& observer : observers_)
            observer.seen.clear();
    }
    for (auto& observer : observers_)
        EXPECT_TRUE(observer.seen.empty()); // a committed transaction reverts nothing

    ASSERT_EQ(unit_.countOf("setValues"), 1u);
    const RecordedCall batch = unit_.callsOf("setValues")[0];
    EXPECT_EQ(batch.ids, (std::vector<ParameterId>{low_.id(), high_.id()}));
    EXPECT_EQ(batch.values, (std::vector<ParameterValue>{v(2), v(5)}));
    EXPECT_EQ(batch.delayMs, 0);
    ASSERT_EQ(application_.countOf("setValues"), 1u);
    EXPECT_EQ(application_.callsOf("setValues")[0].ids, (std::vector<ParameterId>{local_.id()}));
    EXPECT_EQ(unit_.calls.size() + application_.calls.size(), 2u);

    // Nothing is read back: current stays until the unit reports.
    EXPECT_EQ(high_.current(), v(1));
    EXPECT_EQ(high_.pending(), v(5));
}

TEST_F(TransactionTest, EmptyCommitSendsNothing)
{
    ParameterTransaction transaction;
    transaction.commit();
    EXPECT_TRUE(unit_.calls.empty());
}

TEST_F(TransactionTest, EndingWithoutCommitRevertsEveryEntry)
{
    {
        ParameterTransaction transaction;
        middle_.setPending(v(3), &transaction);
        middle_.setPending(v(4), &transaction);
        local_.setPending(v(6), &transaction);
        for (auto& observer : observers_)
            observer.seen.clear();
    }
    EXPECT_EQ(middle_.pending(), v(1));
    EXPECT_EQ(local_.pending(), v(1));
    // Added twice, reverted twice.
    EXPECT_EQ(observers_[1].seen, (std::vector<Seen>{{v(1), nullptr}, {v(1), nullptr}}));
    EXPECT_EQ(observers_[3].seen, (std::vector<Seen>{{v(1), nullptr}}));
    EXPECT_TRUE(observers_[0].seen.empty());
    EXPECT_TRUE(unit_.calls.empty());
}

TEST_F(TransactionTest, AFailedCommitLeavesEveryPendingValueAtCurrent)
{
    // Whichever protocol is served second fails, so one batch has already gone out.
    for (RecordingProtocol* failing : {&unit_, &application_}) {
        SCOPED_TRACE(failing == &unit_ ? "unit fails" : "application fails");
        failing->throwOnNextCall(ProtocolException("no acknowledge"));
        try {
            ParameterTransaction transaction;
            low_.setPending(v(2), &transaction);
            high_.setPending(v(3), &transaction);
            local_.setPending(v(4), &transaction);
            transaction.commit();
            FAIL() << "commit did not throw";
        } catch (const ProtocolException& e) {
            EXPECT_STREQ(e.what(), "no acknowledge");
        }
        for (ControlParameter* parameter : {&low_, &middle_, &high_, &local_})
            EXPECT_EQ(parameter->pending(), parameter->current());
        failing->clearFailure();
    }
}

TEST_F(TransactionTest, AddCountsPerProtocolAndTakesOnlyControlParameters)
{
    ParameterTransaction transaction;
    EXPECT_EQ(transaction.add(&low_), 1);
    EXPECT_EQ(transaction.add(&middle_), 2);
    EXPECT_EQ(transaction.add(&high_), 3);
    EXPECT_EQ(transaction.add(&local_), 1);
    Parameter status(&unit_, ParameterId(0x0F01), v(0), v(1));
    EXPECT_EQ(transaction.add(&status), 0);
    transaction.commit();
}

TEST_F(TransactionTest, ConfirmationAfterCommitLeavesCurrentUpToDate)
{
    ControlParameterMap map;
    map.emplace(middle_.id(), ControlParameter(&unit_, middle_.id(), v(0), v(9)));
    ControlParameter& parameter = map.find(middle_.id());
    RecordingObserver<ControlParameter> observer;
    observer.watch(parameter);
    {
        ParameterTransaction transaction;
        parameter.setPending(v(6), &transaction);
        transaction.commit();
    }
    observer.seen.clear();
    map.refreshAll(&unit_); // the unit reports the committed value
    EXPECT_TRUE(observer.seen.empty());
    EXPECT_EQ(parameter.current(), v(6));
    {
        // A later action that is abandoned goes back to the confirmed value, not the old one.
        ParameterTransaction transaction;
        parameter.setPending(v(8), &transaction);
    }
    EXPECT_EQ(parameter.pending(), v(6));
}
