#include <gtest/gtest.h>

#include <memory>

#include "Recorders.h"
#include "model/Exceptions.h"
#include "model/ParameterSet.h"
#include "model/Transaction.h"
#include "support/RecordingProtocol.h"

namespace {

// A small set: control parameters 0x0301, 0x0302, status parameters 0x0301 (both maps),
// 0x2701, 0x2702 and one application-local control parameter 0x4301.
class SmallSet : public ParameterSet {
public:
    explicit SmallSet(GenericProtocol* unit) : ParameterSet(unit, std::make_unique<RecordingProtocol>())
    {
        for (int id : {0x0301, 0x0302})
            controlParameters_.emplace(ParameterId(id),
                                      ControlParameter(protocol_, ParameterId(id), v(0), v(50)));
        controlParameters_.emplace(ParameterId(0x4301),
                                  ControlParameter(localAdapter_.get(), ParameterId(0x4301), v(0), v(50)));
        for (int id : {0x0301, 0x2701, 0x2702})
            statusParameters_.emplace(ParameterId(id), Parameter(protocol_, ParameterId(id), v(0), v(1023)));
    }

    std::deque<uint8_t>& queue() { return statusGroups_; }
    GenericProtocol* local() { return localAdapter_.get(); }

    template <class Rule> Rule* addRule(const ParameterId& id)
    {
        auto rule = std::make_unique<Rule>(findParameter(id), &statusParameters_, &controlParameters_);
        Rule* raw = rule.get();
        rules_.push_back(std::move(rule));
        return raw;
    }
};

class ParameterSetTest : public ::testing::Test {
protected:
    std::vector<int> polledGroups() const
    {
        std::vector<int> groups;
        for (const RecordedCall& call : unit_.callsOf("getValues"))
            groups.push_back(call.ids.empty() ? -1 : call.ids[0].group());
        return groups;
    }

    RecordingProtocol unit_;
    SmallSet set_{&unit_};
};

// Counts the hooks of a rule and checks what it sees.
class CountingRule : public ParameterDependencies {
public:
    using ParameterDependencies::ParameterDependencies;
    void apply(Transaction* hint) override { calls.push_back(hint ? "apply hinted" : "apply"); }
    void valueChanged(Transaction* hint) override { calls.push_back(hint ? "changed hinted" : "changed"); }
    std::vector<std::string> calls;
};

} // namespace

TEST_F(ParameterSetTest, PollingRotatesTheQueue)
{
    set_.queue() = {0x27, 0x01, 0x27, 0x03};
    for (int i = 0; i < 4; ++i)
        set_.pollStatusGroup();
    // 0x01 has no status parameters: an empty request.
    EXPECT_EQ(polledGroups(), (std::vector<int>{0x27, -1, 0x27, 0x03}));
    EXPECT_EQ(unit_.callsOf("getValues")[0].ids,
              (std::vector<ParameterId>{ParameterId(0x2701), ParameterId(0x2702)}));
    EXPECT_EQ(set_.pollQueue(), (std::deque<uint8_t>{0x27, 0x01, 0x27, 0x03}));
}

TEST_F(ParameterSetTest, AFailedPollLeavesTheGroupInFront)
{
    set_.queue() = {0x27, 0x03};
    unit_.throwOnNextCall(ProtocolException("no reply"));
    EXPECT_THROW(set_.pollStatusGroup(), ProtocolException);
    EXPECT_EQ(set_.pollQueue(), (std::deque<uint8_t>{0x27, 0x03}));
    set_.pollStatusGroup();
    EXPECT_EQ(set_.pollQueue(), (std::deque<uint8_t>{0x03, 0x27}));
}

TEST_F(ParameterSetTest, AnEmptyQueuePollsNothing)
{
    set_.pollStatusGroup();
    EXPECT_TRUE(unit_.calls.empty());
}

TEST_F(ParameterSetTest, FindAndAttach)
{
    EXPECT_TRUE(dynamic_cast<ControlParameter*>(set_.findParameter(ParameterId(0x0301))) != nullptr);
    EXPECT_EQ(set_.findParameter(ParameterId(0x2702))->id(), ParameterId(0x2702));
    EXPECT_THROW(set_.findParameter(ParameterId(0x1D1F)), VormoException);

    RecordingObserver<ControlParameter> control;
    EXPECT_THROW(set_.attachControlObserver(ParameterId(0x2701), &control), VormoException);
    EXPECT_EQ(control.getSubject(), nullptr);
    set_.attachControlObserver(ParameterId(0x0302), &control);
    EXPECT_EQ(control.seen, (std::vector<Seen>{{v(0), nullptr}})); // updated at once

    RecordingObserver<Parameter> status;
    set_.attachStatusObserver(ParameterId(0x2701), &status);
    EXPECT_EQ(status.seen.size(), 1u);
    // Moving the observer detaches it from its previous parameter.
    set_.attachStatusObserver(ParameterId(0x2702), &status);
    EXPECT_EQ(status.getSubject()->id(), ParameterId(0x2702));
}

TEST_F(ParameterSetTest, RefreshReadsOnlyTheProtocolsControlParameters)
{
    unit_.values[ParameterId(0x0302)] = v(7);
    set_.refresh();
    ASSERT_EQ(unit_.countOf("getValues"), 1u);
    EXPECT_EQ(unit_.callsOf("getValues")[0].ids,
              (std::vector<ParameterId>{ParameterId(0x0301), ParameterId(0x0302)}));
    EXPECT_EQ(set_.controls().find(ParameterId(0x0302)).current(), v(7));
}

TEST_F(ParameterSetTest, SetValueRefreshesFirstThenSends)
{
    EXPECT_EQ(set_.setValue(ParameterId(0x0301), v(9)), v(9));
    ASSERT_EQ(unit_.calls.size(), 2u);
    EXPECT_EQ(unit_.calls[0].operation, "getValues");
    EXPECT_EQ(unit_.calls[1].operation, "setValueAndRead");
    EXPECT_EQ(set_.setValue(ParameterId(0x0301), v(99)), v(9)); // out of range: not sent
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 1u);
    EXPECT_THROW(set_.setValue(ParameterId(0x2701), v(1)), VormoException);

    // The local parameter is written through the set's own store, not the unit.
    set_.setValue(ParameterId(0x4301), v(3));
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 1u);
    EXPECT_EQ(set_.local()->getValue(ParameterId(0x4301)), v(3));
}

TEST_F(ParameterSetTest, SetValuesAppliesWhatTheUnitReported)
{
    unit_.readBack = [](const ParameterId&, const ParameterValue&) { return v(5); };
    RecordingObserver<ControlParameter> a, b;
    set_.attachControlObserver(ParameterId(0x0301), &a);
    set_.attachControlObserver(ParameterId(0x0302), &b);
    a.seen.clear();
    b.seen.clear();
    ParameterValueMap result;
    set_.setValues({{ParameterId(0x0301), v(20)}, {ParameterId(0x0302), v(30)}}, result, 15);
    EXPECT_EQ(unit_.calls[0].operation, "getValues");
    EXPECT_EQ(unit_.callsOf("setValuesAndRead")[0].delayMs, 15);
    EXPECT_EQ(result.size(), 2u);
    EXPECT_EQ(a.seen, (std::vector<Seen>{{v(5), nullptr}}));
    EXPECT_EQ(b.seen, (std::vector<Seen>{{v(5), nullptr}}));
    EXPECT_FALSE(set_.isMessageBased());
    unit_.messageBased = true;
    EXPECT_TRUE(set_.isMessageBased());
}

TEST_F(ParameterSetTest, RulesSeeChangesOfTheirOwnSubjectOnly)
{
    auto* rule = set_.addRule<CountingRule>(ParameterId(0x2701));
    // The update of attach runs while the rule is still only the base: its own hooks are not reached.
    EXPECT_TRUE(rule->calls.empty());

    Parameter& meter = *set_.findParameter(ParameterId(0x2701));
    meter.setAlwaysNotify(true);
    meter.updateFrom({{meter.id(), v(0)}}); // same value again
    meter.updateFrom({{meter.id(), v(0)}});
    EXPECT_EQ(rule->calls, (std::vector<std::string>{"apply", "apply"}));

    rule->calls.clear();
    meter.updateFrom({{meter.id(), v(4)}});
    EXPECT_EQ(rule->calls, (std::vector<std::string>{"changed", "apply"}));

    // A hinted notification passes the hint to both hooks.
    rule->calls.clear();
    ControlParameter& control = *dynamic_cast<ControlParameter*>(set_.findParameter(ParameterId(0x0301)));
    auto* controlRule = set_.addRule<CountingRule>(ParameterId(0x0301));
    controlRule->calls.clear();
    {
        ParameterTransaction transaction;
        control.setPending(v(3), &transaction);
        EXPECT_EQ(controlRule->calls, (std::vector<std::string>{"changed hinted", "apply hinted"}));
    }

    // A notification from another subject is ignored.
    rule->calls.clear();
    control.attach(rule);
    EXPECT_TRUE(rule->calls.empty());
    control.detach(rule);
}

TEST(ParameterSetLifetime, ObserversOutliveTheSet)
{
    RecordingProtocol unit;
    RecordingObserver<ControlParameter> control;
    RecordingObserver<Parameter> status;
    {
        SmallSet set(&unit);
        set.attachControlObserver(ParameterId(0x0301), &control);
        set.attachStatusObserver(ParameterId(0x2701), &status);
        set.addRule<CountingRule>(ParameterId(0x0302));
    }
    EXPECT_EQ(control.getSubject(), nullptr);
    EXPECT_EQ(status.getSubject(), nullptr);
}
