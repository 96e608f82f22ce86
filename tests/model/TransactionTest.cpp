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
        for (ControlParameter* parameter : {&low, &middle, &high, &local})
            parameter->updateFrom({{parameter->id(), v(1)}});
        int i = 0;
        for (ControlParameter* parameter : {&low, &middle, &high, &local})
            observers[i++].watch(*parameter);
    }

    RecordingProtocol unit;
    RecordingProtocol application;
    ControlParameter high{&unit, ParameterId(0x0520), v(0), v(9)};
    ControlParameter low{&unit, ParameterId(0x0301), v(0), v(9)};
    ControlParameter middle{&unit, ParameterId(0x0502), v(0), v(9)};
    ControlParameter local{&application, ParameterId(0x4301), v(0), v(9)};
    std::array<RecordingObserver<ControlParameter>, 4> observers;
};

} // namespace

TEST_F(TransactionTest, CommitSendsOneBatchPerProtocolInIdentifierOrder)
{
    {
        ParameterTransaction transaction;
        high.setPending(v(4), &transaction);
        low.setPending(v(2), &transaction);
        local.setPending(v(7), &transaction);
        high.setPending(v(5), &transaction); // twice: sent once with the last value
        transaction.commit();
        EXPECT_TRUE(transaction.empty());
        for (auto& observer : observers)
            observer.seen.clear();
    }
    for (auto& observer : observers)
        EXPECT_TRUE(observer.seen.empty()); // a committed transaction reverts nothing

    ASSERT_EQ(unit.countOf("setValues"), 1u);
    const RecordedCall batch = unit.callsOf("setValues")[0];
    EXPECT_EQ(batch.ids, (std::vector<ParameterId>{low.id(), high.id()}));
    EXPECT_EQ(batch.values, (std::vector<ParameterValue>{v(2), v(5)}));
    EXPECT_EQ(batch.delayMs, 0);
    ASSERT_EQ(application.countOf("setValues"), 1u);
    EXPECT_EQ(application.callsOf("setValues")[0].ids, (std::vector<ParameterId>{local.id()}));
    EXPECT_EQ(unit.calls.size() + application.calls.size(), 2u);

    // Nothing is read back: current stays until the unit reports.
    EXPECT_EQ(high.current(), v(1));
    EXPECT_EQ(high.pending(), v(5));
}

TEST_F(TransactionTest, EmptyCommitSendsNothing)
{
    ParameterTransaction transaction;
    transaction.commit();
    EXPECT_TRUE(unit.calls.empty());
}

TEST_F(TransactionTest, EndingWithoutCommitRevertsEveryEntry)
{
    {
        ParameterTransaction transaction;
        middle.setPending(v(3), &transaction);
        middle.setPending(v(4), &transaction);
        local.setPending(v(6), &transaction);
        for (auto& observer : observers)
            observer.seen.clear();
    }
    EXPECT_EQ(middle.pending(), v(1));
    EXPECT_EQ(local.pending(), v(1));
    // Added twice, reverted twice.
    EXPECT_EQ(observers[1].seen, (std::vector<Seen>{{v(1), nullptr}, {v(1), nullptr}}));
    EXPECT_EQ(observers[3].seen, (std::vector<Seen>{{v(1), nullptr}}));
    EXPECT_TRUE(observers[0].seen.empty());
    EXPECT_TRUE(unit.calls.empty());
}

TEST_F(TransactionTest, AFailedCommitLeavesEveryPendingValueAtCurrent)
{
    // Whichever protocol is served second fails, so one batch has already gone out.
    for (RecordingProtocol* failing : {&unit, &application}) {
        SCOPED_TRACE(failing == &unit ? "unit fails" : "application fails");
        failing->throwOnNextCall(ProtocolException("no acknowledge"));
        try {
            ParameterTransaction transaction;
            low.setPending(v(2), &transaction);
            high.setPending(v(3), &transaction);
            local.setPending(v(4), &transaction);
            transaction.commit();
            FAIL() << "commit did not throw";
        } catch (const ProtocolException& e) {
            EXPECT_STREQ(e.what(), "no acknowledge");
        }
        for (ControlParameter* parameter : {&low, &middle, &high, &local})
            EXPECT_EQ(parameter->pending(), parameter->current());
        failing->clearFailure();
    }
}

TEST_F(TransactionTest, AddCountsPerProtocolAndTakesOnlyControlParameters)
{
    ParameterTransaction transaction;
    EXPECT_EQ(transaction.add(&low), 1);
    EXPECT_EQ(transaction.add(&middle), 2);
    EXPECT_EQ(transaction.add(&high), 3);
    EXPECT_EQ(transaction.add(&local), 1);
    Parameter status(&unit, ParameterId(0x0F01), v(0), v(1));
    EXPECT_EQ(transaction.add(&status), 0);
    transaction.commit();
}

TEST_F(TransactionTest, ConfirmationAfterCommitLeavesCurrentUpToDate)
{
    ControlParameterMap map;
    map.emplace(middle.id(), ControlParameter(&unit, middle.id(), v(0), v(9)));
    ControlParameter& parameter = map.find(middle.id());
    RecordingObserver<ControlParameter> observer;
    observer.watch(parameter);
    {
        ParameterTransaction transaction;
        parameter.setPending(v(6), &transaction);
        transaction.commit();
    }
    observer.seen.clear();
    map.refreshAll(&unit); // the unit reports the committed value
    EXPECT_TRUE(observer.seen.empty());
    EXPECT_EQ(parameter.current(), v(6));
    {
        // A later action that is abandoned goes back to the confirmed value, not the old one.
        ParameterTransaction transaction;
        parameter.setPending(v(8), &transaction);
    }
    EXPECT_EQ(parameter.pending(), v(6));
}
