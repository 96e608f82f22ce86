#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "Recorders.h"
#include "model/Exceptions.h"
#include "model/ParameterMap.h"
#include "support/RecordingProtocol.h"

namespace {

const ParameterId first(0x0301);
const ParameterId second(0x0302);
const ParameterId otherGroup(0x0501);
const ParameterId localOne(0x4301);

class ParameterMapTest : public ::testing::Test {
protected:
    ParameterMapTest()
    {
        for (ParameterId id : {first, second, otherGroup}) {
            controls_.emplace(id, ControlParameter(&unit_, id, v(0), v(100)));
            statuses_.emplace(id, Parameter(&unit_, id, v(0), v(100)));
        }
        controls_.emplace(localOne, ControlParameter(&application_, localOne, v(0), v(100)));
    }

    // Polls the status map's group 0x03 once; the identifiers that poll asked for.
    std::vector<ParameterId> pollGroup03()
    {
        unit_.clearCalls();
        statuses_.refreshGroup(&unit_, 0x03);
        const auto calls = unit_.callsOf("getValues");
        EXPECT_EQ(calls.size(), 1u);
        return calls.empty() ? std::vector<ParameterId>{} : calls[0].ids;
    }

    RecordingProtocol unit_;
    RecordingProtocol application_;
    ControlParameterMap controls_;
    ParameterMap<Parameter> statuses_;
};

} // namespace

TEST_F(ParameterMapTest, ControlBatchIsStoredWholeBeforeAnyoneIsTold)
{
    RecordingObserver<ControlParameter> a, b, c;
    a.watch(controls_.find(first));
    b.watch(controls_.find(second));
    c.watch(controls_.find(otherGroup));
    std::vector<std::string> order;
    a.onUpdate = [&](ControlParameter&) {
        order.push_back("first");
        EXPECT_EQ(controls_.find(second).value(), v(22)); // the later one is already stored
    };
    b.onUpdate = [&](ControlParameter&) { order.push_back("second"); };

    controls_.update({{first, v(11)},
                      {second, v(22)},
                      {otherGroup, v(0)} /* equal to pending */,
                      {ParameterId(0x7F00), v(1)} /* not in the map */});
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(a.seen, (std::vector<Seen>{{v(11), nullptr}}));
    EXPECT_TRUE(c.seen.empty());
    EXPECT_FALSE(controls_.contains(ParameterId(0x7F00)));
}

TEST_F(ParameterMapTest, StatusBatchTellsOneByOneAndHonoursAlwaysNotify)
{
    RecordingObserver<Parameter> a, b;
    a.watch(statuses_.find(first));
    b.watch(statuses_.find(second));
    statuses_.find(second).setAlwaysNotify(true);
    a.onUpdate = [&](Parameter&) { EXPECT_EQ(statuses_.find(second).value(), v(0)); }; // not yet stored

    statuses_.update({{first, v(5)}, {second, v(6)}});
    statuses_.update({{first, v(5)}, {second, v(6)}}); // unchanged
    EXPECT_EQ(a.seen.size(), 1u);
    EXPECT_EQ(b.seen.size(), 2u);
}

TEST_F(ParameterMapTest, RefreshAsksOnlyForTheProtocolsOwnParameters)
{
    unit_.values = {{first, v(1)}, {second, v(2)}, {otherGroup, v(3)}};
    controls_.refreshGroup(&unit_, 0x03);
    ASSERT_EQ(unit_.countOf("getValues"), 1u);
    EXPECT_EQ(unit_.callsOf("getValues")[0].ids, (std::vector<ParameterId>{first, second}));
    EXPECT_EQ(controls_.find(second).current(), v(2));
    EXPECT_EQ(controls_.find(otherGroup).current(), v(0));

    // A group without parameters of this map still makes a request, with an empty list.
    unit_.clearCalls();
    controls_.refreshGroup(&unit_, 0x27);
    ASSERT_EQ(unit_.countOf("getValues"), 1u);
    EXPECT_TRUE(unit_.callsOf("getValues")[0].ids.empty());

    unit_.clearCalls();
    application_.values[localOne] = v(9);
    controls_.refreshAll(&unit_);
    EXPECT_EQ(unit_.callsOf("getValues")[0].ids, (std::vector<ParameterId>{first, second, otherGroup}));
    EXPECT_EQ(controls_.find(localOne).current(), v(0));
    controls_.refreshAll(&application_);
    EXPECT_EQ(application_.callsOf("getValues")[0].ids, (std::vector<ParameterId>{localOne}));
    EXPECT_EQ(controls_.find(localOne).current(), v(9));
    EXPECT_EQ(controls_.find(first).current(), v(1));
}

TEST_F(ParameterMapTest, RefreshGroupAsksForExactlyItsOwnGroupAtTheEdgesOfTheRange)
{
    // Groups and indices are signed bytes: the lowest and highest of both, and the
    // neighbours across the sign change, must neither be lost nor leak into another group.
    const auto id = [](int group, int index) { return ParameterId(int8_t(group), int8_t(index)); };
    const std::vector<ParameterId> everyone = {
        id(0x7E, 127), id(0x7F, -128), id(0x7F, 0),   id(0x7F, 127),  id(0x80, -128),
        id(0x80, 127), id(0xFF, -128), id(0xFF, 127), id(0x00, -128), id(0x00, 127),
    };
    ParameterMap<Parameter> edges;
    for (const ParameterId& each : everyone) {
        edges.emplace(each, Parameter(&unit_, each, v(0), v(10)));
    }
    struct Case {
        uint8_t group;
        std::vector<ParameterId> asked;
    };
    const Case cases[] = {
        {0x7F, {id(0x7F, -128), id(0x7F, 0), id(0x7F, 127)}},
        {0x80, {id(0x80, -128), id(0x80, 127)}},
        {0xFF, {id(0xFF, -128), id(0xFF, 127)}},
        {0x00, {id(0x00, -128), id(0x00, 127)}},
        {0x7E, {id(0x7E, 127)}},
        {0x81, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.group));
        unit_.clearCalls();
        edges.refreshGroup(&unit_, c.group);
        ASSERT_EQ(unit_.countOf("getValues"), 1u);
        EXPECT_EQ(unit_.callsOf("getValues")[0].ids, c.asked);
    }
}

TEST_F(ParameterMapTest, PollingAGroupAgainAsksForItsParametersAsTheyAreNow)
{
    // Each poll gets the group's values afresh, whatever the previous poll of it left:
    // a value that changed, a parameter added to the group, a read that failed between.
    const ParameterId added(0x0303);
    struct Step {
        const char* name;
        std::function<void()> change;
        std::vector<ParameterId> asked;
        int secondValue;
    };
    const Step steps[] = {
        {"first poll", [] {}, {first, second}, 2},
        {"a value changed", [&] { unit_.values[second] = v(5); }, {first, second}, 5},
        {"a parameter added",
         [&] {
             statuses_.emplace(added, Parameter(&unit_, added, v(0), v(100)));
             unit_.values[added] = v(8);
         },
         {first, second, added},
         5},
        {"after a failed read",
         [&] {
             unit_.throwOnNextCall(
                 ProtocolException("The device did not return all of the requested parameters"));
             EXPECT_THROW(statuses_.refreshGroup(&unit_, 0x03), ProtocolException);
             unit_.values[second] = v(6);
         },
         {first, second, added},
         6},
    };
    unit_.values = {{first, v(1)}, {second, v(2)}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        EXPECT_EQ(pollGroup03(), step.asked);
        EXPECT_EQ(statuses_.find(second).current(), v(step.secondValue));
    }
    EXPECT_EQ(statuses_.find(added).current(), v(8));
}

TEST_F(ParameterMapTest, ARememberedListFollowsEveryChangeOfTheMap)
{
    // A poll remembers its list and where its parameters are; whatever changes the
    // map or a listed parameter's owner must make the next poll ask as the map is now.
    const ParameterId third(0x0303);
    auto held = [&](ParameterId id, GenericProtocol* owner) { return Parameter(owner, id, v(0), v(100)); };
    ParameterMap<Parameter> other;
    other.emplace(third, held(third, &unit_));
    struct Step {
        const char* name;
        std::function<void()> change;
        std::vector<ParameterId> asked;
    };
    const Step steps[] = {
        {"first poll", [] {}, {first, second}},
        {"a parameter taken out", [&] { statuses_.erase(second); }, {first}},
        {"a parameter put in", [&] { statuses_.insert_or_assign(second, held(second, &unit_)); }, {first, second}},
        {"a parameter replaced by one of another protocol",
         [&] { statuses_.find(second) = held(second, &application_); },
         {first}},
        {"and handed back", [&] { statuses_.find(second) = held(second, &unit_); }, {first, second}},
        {"the map swapped with another", [&] { statuses_.swap(other); }, {third}},
        {"and swapped back", [&] { statuses_.swap(other); }, {first, second}},
        {"the map given a copy of another", [&] { statuses_ = other; }, {third}},
    };
    unit_.values = {{first, v(1)}, {second, v(2)}, {third, v(3)}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        EXPECT_EQ(pollGroup03(), step.asked);
        for (const ParameterId& id : step.asked)
            EXPECT_EQ(statuses_.find(id).current(), unit_.values.at(id)) << id;
        unit_.values[first] = v(unit_.values[first].toInt16() + 10); // every poll brings news
    }
    // The map copied from polls its own parameters; the copy took none of its lists.
    ParameterMap<Parameter> copy = other;
    unit_.values[third] = v(33);
    copy.refreshGroup(&unit_, 0x03);
    EXPECT_EQ(copy.find(third).current(), v(33));
    EXPECT_EQ(other.find(third).current(), v(3));
}

TEST_F(ParameterMapTest, ValuesOfAReplyReachTheParametersTheyNameWhateverWasAsked)
{
    // A reply as long as the list asked for may still name other parameters.
    class ReplyAsHeld : public RecordingProtocol {
    public:
        void getValues(const ParameterIdList&, ParameterValueMap& result) override { result = values; }
    };
    ReplyAsHeld protocol;
    const ParameterId third(0x0303);
    ParameterMap<Parameter> statuses;
    statuses.emplace(first, Parameter(&protocol, first, v(0), v(100)));
    statuses.emplace(second, Parameter(&protocol, second, v(0), v(100)));
    statuses.emplace(third, Parameter(&unit_, third, v(0), v(100)));
    protocol.values = {{second, v(2)}, {third, v(3)}};
    for (const char* poll : {"first poll", "poll again"}) {
        SCOPED_TRACE(poll);
        statuses.refreshGroup(&protocol, 0x03);
        EXPECT_EQ(statuses.find(first).current(), v(0));
        EXPECT_EQ(statuses.find(second).current(), v(2));
        EXPECT_EQ(statuses.find(third).current(), v(3));
    }
}

TEST_F(ParameterMapTest, APollKeepsWhatItReadWhileTheProtocolSaysNothingChanged)
{
    // A protocol that can tell when its values change (the off-line store) is not
    // read again while they have not; the values kept still go to the parameters.
    class Versioned : public RecordingProtocol {
    public:
        uint64_t version = 1;
        uint64_t valuesVersion() override { return version; }
    };
    Versioned store;
    ParameterMap<Parameter> statuses;
    statuses.emplace(first, Parameter(&store, first, v(0), v(100)));
    store.values = {{first, v(1)}};
    struct Step {
        const char* name;
        std::function<void()> change;
        std::size_t reads;
    };
    const Step steps[] = {
        {"first poll", [] {}, 1},
        {"nothing changed", [] {}, 0},
        {"the parameter moved on its own", [&] { statuses.update({{first, v(50)}}); }, 0},
        {"a value written", [&] { store.values[first] = v(2), store.version = 2; }, 1},
        {"a protocol that cannot tell", [&] { store.version = 0; }, 1},
        {"and again", [] {}, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        store.clearCalls();
        statuses.refreshGroup(&store, 0x03);
        EXPECT_EQ(store.countOf("getValues"), step.reads);
        EXPECT_EQ(statuses.find(first).current(), store.values.at(first));
    }
}

TEST_F(ParameterMapTest, AnObserverThatTakesAParameterOutLeavesTheRestOfTheBatchToGoOn)
{
    const ParameterId third(0x0303);
    statuses_.emplace(third, Parameter(&unit_, third, v(0), v(100)));
    unit_.values = {{first, v(1)}, {second, v(2)}, {third, v(3)}};
    statuses_.refreshGroup(&unit_, 0x03); // the list is remembered from here on
    RecordingObserver<Parameter> remover;
    remover.watch(statuses_.find(first));
    remover.onUpdate = [&](Parameter&) { statuses_.erase(second); };
    unit_.values = {{first, v(4)}, {second, v(5)}, {third, v(6)}};
    statuses_.refreshGroup(&unit_, 0x03);
    EXPECT_FALSE(statuses_.contains(second));
    EXPECT_EQ(statuses_.find(third).current(), v(6));
}

TEST_F(ParameterMapTest, AnObserverMayPollItsOwnGroupAgainWhileThePollTellsIt)
{
    unit_.values = {{first, v(1)}, {second, v(2)}};
    RecordingObserver<Parameter> nosy;
    nosy.watch(statuses_.find(first));
    bool pollAgain = true;
    nosy.onUpdate = [&](Parameter&) {
        if (std::exchange(pollAgain, false)) {
            unit_.values[second] = v(3);
            statuses_.refreshGroup(&unit_, 0x03);
        }
    };
    statuses_.refreshGroup(&unit_, 0x03);
    EXPECT_EQ(unit_.countOf("getValues"), 2u);
    // The outer batch goes on as it was read; the next poll brings the newer value.
    statuses_.refreshGroup(&unit_, 0x03);
    EXPECT_EQ(statuses_.find(second).current(), v(3));
}

TEST_F(ParameterMapTest, AFailedRefreshChangesNothing)
{
    unit_.values = {{first, v(1)}};
    unit_.throwOnNextCall(ProtocolException("The device did not return all of the requested parameters"));
    EXPECT_THROW(controls_.refreshAll(&unit_), ProtocolException);
    EXPECT_EQ(controls_.find(first).current(), v(0));
}

TEST_F(ParameterMapTest, FindThrowsWithTheIdentifierAndNeverInserts)
{
    try {
        statuses_.find(ParameterId(0x1D1F));
        FAIL() << "no exception";
    } catch (const VormoException& e) {
        EXPECT_STREQ(e.what(), "Couldn't find parameter 7455 (1d, 31)\n");
    }
    EXPECT_THROW(controls_.find(ParameterId(0x1D1F)), VormoException);
    EXPECT_EQ(statuses_.size(), 3u);
    EXPECT_EQ(controls_.size(), 4u);
    const ControlParameterMap& constant = controls_;
    EXPECT_EQ(constant.find(first).id(), first);
}
