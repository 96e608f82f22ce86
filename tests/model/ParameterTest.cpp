#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "Recorders.h"
#include "model/Exceptions.h"
#include "model/Parameter.h"
#include "model/ParameterFormatter.h"
#include "model/Transaction.h"
#include "support/RecordingProtocol.h"

namespace {

const ParameterId volume(0x0511);

class ParameterTest : public ::testing::Test {
protected:
    ControlParameter control(int minimum, int maximum)
    {
        return ControlParameter(&unit_, volume, v(minimum), v(maximum));
    }

    RecordingProtocol unit_;
    RecordingObserver<ControlParameter> observer_;
};

} // namespace

TEST_F(ParameterTest, NewParametersStartAtMinimumAndControlsPendAtZero)
{
    ControlParameter parameter = control(1, 5);
    EXPECT_EQ(parameter.current(), v(1));
    EXPECT_EQ(parameter.pending(), v(0));
    EXPECT_EQ(parameter.value(), v(0));
    EXPECT_TRUE(parameter.available());
    EXPECT_TRUE(parameter.saved());
    EXPECT_EQ(parameter.delayMs(), 0);
    Parameter status(&unit_, volume, v(-3), v(3));
    EXPECT_EQ(status.value(), v(-3));
}

TEST_F(ParameterTest, SetPendingInsideATransactionChecksRangeAndEquality)
{
    struct Case {
        int value;
        bool taken;
    };
    for (const Case& c : {Case{-3, true}, Case{-10, true}, Case{10, true}, Case{11, false}, Case{-11, false},
                          Case{0, false} /* already pending */}) {
        SCOPED_TRACE(c.value);
        ControlParameter parameter = control(-10, 10);
        observer_.watch(parameter);
        ParameterTransaction transaction;
        parameter.setPending(v(c.value), &transaction);
        EXPECT_EQ(transaction.empty(), !c.taken);
        EXPECT_EQ(parameter.pending(), c.taken ? v(c.value) : v(0));
        EXPECT_EQ(parameter.current(), v(-10));
        if (c.taken)
            EXPECT_EQ(observer_.seen, (std::vector<Seen>{{v(c.value), &transaction}}));
        else
            EXPECT_TRUE(observer_.seen.empty());
        transaction.commit();
    }
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 0u);
}

TEST_F(ParameterTest, SetPendingWithoutTransactionSendsAtOnce)
{
    ControlParameter parameter = control(-10, 10);
    parameter.setDelayMs(40);
    observer_.watch(parameter);
    parameter.setPending(v(-3), nullptr);
    ASSERT_EQ(unit_.countOf("setValueAndRead"), 1u);
    const RecordedCall call = unit_.callsOf("setValueAndRead")[0];
    EXPECT_EQ(call.ids[0], volume);
    EXPECT_EQ(call.values[0], v(-3));
    EXPECT_EQ(call.delayMs, 40);
    EXPECT_EQ(parameter.current(), v(-3));
    EXPECT_EQ(observer_.seen, (std::vector<Seen>{{v(-3), nullptr}}));
}

TEST_F(ParameterTest, SetValueSendsOnlyChangedValuesInRange)
{
    ControlParameter parameter = control(-10, 10);
    observer_.watch(parameter);
    parameter.setValue(v(0));                                       // equals pending
    parameter.setValue(v(11));                                      // out of range
    parameter.setValue(ParameterValue(std::string("\xFF\xF0", 2))); // -16, signed reading
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 0u);
    EXPECT_TRUE(observer_.seen.empty());

    parameter.setValue(v(-5));
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 1u);
    EXPECT_EQ(parameter.pending(), v(-5));
    EXPECT_EQ(parameter.current(), v(-5));
    EXPECT_EQ(observer_.seen, (std::vector<Seen>{{v(-5), nullptr}}));
}

TEST_F(ParameterTest, SendAdoptsTheReplyAndTellsOnlyWhenItMoved)
{
    ControlParameter parameter = control(0, 100);
    observer_.watch(parameter);
    // The unit clamps to 50.
    unit_.readBack = [](const ParameterId&, const ParameterValue& value) {
        return value.toInt16() > 50 ? v(50) : value;
    };
    parameter.send(v(70));
    EXPECT_EQ(parameter.pending(), v(50));
    EXPECT_EQ(observer_.seen, (std::vector<Seen>{{v(50), nullptr}}));

    // A transaction left the pending value unconfirmed; the unit keeps it: nobody told, current confirmed.
    ParameterTransaction transaction;
    parameter.setPending(v(20), &transaction);
    transaction.commit();
    observer_.seen.clear();
    unit_.readBack = [](const ParameterId&, const ParameterValue&) { return v(20); };
    parameter.send(v(30));
    EXPECT_TRUE(observer_.seen.empty());
    EXPECT_EQ(parameter.pending(), v(20));
    EXPECT_EQ(parameter.current(), v(20));
}

TEST_F(ParameterTest, SendAlwaysResendsAndUsesTheSignedRangeCheck)
{
    ControlParameter parameter = control(-5, 5);
    observer_.watch(parameter);
    parameter.sendAlways(v(0)); // the pending value: sent again and told
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 1u);
    EXPECT_EQ(observer_.seen, (std::vector<Seen>{{v(0), nullptr}}));

    parameter.sendAlways(v(-5)); // negative but within the signed range
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 2u);
    EXPECT_EQ(parameter.pending(), v(-5));

    parameter.sendAlways(v(6));
    parameter.sendAlways(v(-6));
    parameter.sendAlways(v(0xFFFF8000)); // -32768
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 2u);
}

TEST_F(ParameterTest, RevertAlwaysTells)
{
    ControlParameter parameter = control(0, 10);
    parameter.revert();
    EXPECT_EQ(parameter.pending(), v(0));
    observer_.watch(parameter);
    parameter.revert();
    EXPECT_EQ(observer_.seen, (std::vector<Seen>{{v(0), nullptr}}));
}

TEST_F(ParameterTest, RefreshTellsOnChangeOrWhenAlwaysNotify)
{
    Parameter status(&unit_, volume, v(0), v(100));
    RecordingObserver<Parameter> statusObserver;
    statusObserver.watch(status);
    unit_.values[volume] = v(7);
    status.refresh();
    status.refresh();
    EXPECT_EQ(statusObserver.seen, (std::vector<Seen>{{v(7), nullptr}}));
    status.setAlwaysNotify(true);
    status.refresh();
    EXPECT_EQ(statusObserver.seen.size(), 2u);

    // A control parameter drops its unconfirmed pending value and shows the unit's.
    ControlParameter parameter = control(0, 100);
    parameter.refresh();
    EXPECT_EQ(parameter.current(), v(7));
    observer_.watch(parameter);
    ParameterTransaction transaction;
    parameter.setPending(v(9), &transaction);
    transaction.commit();
    observer_.seen.clear();
    unit_.values[volume] = v(7); // the unit refused 9
    parameter.refresh();
    EXPECT_EQ(parameter.pending(), v(7));
    EXPECT_EQ(observer_.seen, (std::vector<Seen>{{v(7), nullptr}}));
}

TEST_F(ParameterTest, UpdateFromABatch)
{
    const ParameterValueMap other{{ParameterId(0x0512), v(3)}};
    const ParameterValueMap five{{volume, v(5)}};

    ControlParameter parameter = control(0, 10);
    observer_.watch(parameter);
    EXPECT_FALSE(parameter.updateFrom(other));
    EXPECT_TRUE(parameter.updateFrom(five));
    EXPECT_EQ(parameter.pending(), v(5));
    EXPECT_EQ(parameter.current(), v(5));
    EXPECT_TRUE(observer_.seen.empty()); // the control map tells afterwards

    // The unit confirms a committed pending value: no change to show, but current follows.
    ParameterTransaction transaction;
    parameter.setPending(v(8), &transaction);
    transaction.commit();
    EXPECT_EQ(parameter.current(), v(5));
    EXPECT_FALSE(parameter.updateFrom({{volume, v(8)}}));
    EXPECT_EQ(parameter.current(), v(8));
    parameter.revert();
    EXPECT_EQ(parameter.pending(), v(8));

    Parameter status(&unit_, volume, v(0), v(10));
    RecordingObserver<Parameter> statusObserver;
    statusObserver.watch(status);
    EXPECT_TRUE(status.updateFrom(five));
    EXPECT_FALSE(status.updateFrom(five));
    status.setAlwaysNotify(true);
    EXPECT_TRUE(status.updateFrom(five));
    EXPECT_EQ(statusObserver.seen, (std::vector<Seen>{{v(5), nullptr}, {v(5), nullptr}}));
}

TEST_F(ParameterTest, SetMaximumChecksCurrentAndTellsOnlyOnChange)
{
    EnumeratedFormatter formatter("Delay");
    Parameter parameter(&unit_, volume, v(0), v(20), &formatter);
    Parameter cause(&unit_, ParameterId(0x2B04), v(0), v(100));
    parameter.updateFrom({{volume, v(12)}});
    RecordingObserver<Parameter> watcher;
    watcher.watch(parameter);

    try {
        parameter.setMaximum(v(10), &cause);
        FAIL() << "no exception";
    } catch (const VormoException& e) {
        EXPECT_STREQ(e.what(),
                     "The device appears to be in an inconsistent state.  Delay: 12 is incompatible with "
                     "another parameter value.");
    }
    EXPECT_EQ(parameter.maximum(), v(20));
    EXPECT_EQ(parameter.boundBy().count(&cause), 1u);

    parameter.setMaximum(v(12), nullptr);
    EXPECT_EQ(parameter.maximum(), v(12));
    parameter.setMaximum(v(12), nullptr);
    EXPECT_EQ(watcher.seen.size(), 1u);
}

TEST_F(ParameterTest, FormatPrefersTheGivenFormatterThenItsOwnThenUnsigned)
{
    EnumeratedFormatter own("Own");
    own.add(v(1), "one");
    EnumeratedFormatter given("Given");
    given.add(v(1), "uno");
    Parameter plain(&unit_, volume, v(0), v(1));
    Parameter labelled(&unit_, volume, v(0), v(1), &own);
    struct Case {
        const Parameter& parameter;
        ParameterValue value;
        const ParameterFormatter* formatter;
        std::string text;
    };
    for (const Case& c : {Case{plain, v(-1), nullptr, "65535"}, Case{plain, v(0x0102), nullptr, "258"},
                          Case{labelled, v(1), nullptr, "one"}, Case{labelled, v(1), &given, "uno"},
                          Case{plain, v(1), &given, "uno"}}) {
        std::ostringstream out;
        EXPECT_TRUE(c.parameter.format(out, c.value, c.formatter));
        EXPECT_EQ(out.str(), c.text);
    }
    EXPECT_EQ(labelled.setFormatter(&given), &own);
    EXPECT_EQ(labelled.formatter(), &given);
}

TEST_F(ParameterTest, CopiesShareNoObservers)
{
    auto original = std::make_unique<ControlParameter>(control(0, 10));
    std::unique_ptr<ControlParameter> copy;
    {
        RecordingObserver<ControlParameter> brief;
        brief.watch(*original);
        copy = std::make_unique<ControlParameter>(*original);
        copy->revert();
        EXPECT_TRUE(brief.seen.empty());
    }
    copy->revert(); // the observer is gone: the copy must not reach it
    copy.reset();
    original.reset();
}
