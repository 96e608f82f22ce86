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
            controls.emplace(id, ControlParameter(&unit, id, v(0), v(100)));
            statuses.emplace(id, Parameter(&unit, id, v(0), v(100)));
        }
        controls.emplace(localOne, ControlParameter(&application, localOne, v(0), v(100)));
    }

    RecordingProtocol unit;
    RecordingProtocol application;
    ControlParameterMap controls;
    ParameterMap<Parameter> statuses;
};

} // namespace

TEST_F(ParameterMapTest, ControlBatchIsStoredWholeBeforeAnyoneIsTold)
{
    RecordingObserver<ControlParameter> a, b, c;
    a.watch(controls.find(first));
    b.watch(controls.find(second));
    c.watch(controls.find(otherGroup));
    std::vector<std::string> order;
    a.onUpdate = [&](ControlParameter&) {
        order.push_back("first");
        EXPECT_EQ(controls.find(second).value(), v(22)); // the later one is already stored
    };
    b.onUpdate = [&](ControlParameter&) { order.push_back("second"); };

    controls.update({{first, v(11)},
                     {second, v(22)},
                     {otherGroup, v(0)} /* equal to pending */,
                     {ParameterId(0x7F00), v(1)} /* not in the map */});
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(a.seen, (std::vector<Seen>{{v(11), nullptr}}));
    EXPECT_TRUE(c.seen.empty());
    EXPECT_FALSE(controls.contains(ParameterId(0x7F00)));
}

TEST_F(ParameterMapTest, StatusBatchTellsOneByOneAndHonoursAlwaysNotify)
{
    RecordingObserver<Parameter> a, b;
    a.watch(statuses.find(first));
    b.watch(statuses.find(second));
    statuses.find(second).setAlwaysNotify(true);
    a.onUpdate = [&](Parameter&) { EXPECT_EQ(statuses.find(second).value(), v(0)); }; // not yet stored

    statuses.update({{first, v(5)}, {second, v(6)}});
    statuses.update({{first, v(5)}, {second, v(6)}}); // unchanged
    EXPECT_EQ(a.seen.size(), 1u);
    EXPECT_EQ(b.seen.size(), 2u);
}

TEST_F(ParameterMapTest, RefreshAsksOnlyForTheProtocolsOwnParameters)
{
    unit.values = {{first, v(1)}, {second, v(2)}, {otherGroup, v(3)}};
    controls.refreshGroup(&unit, 0x03);
    ASSERT_EQ(unit.countOf("getValues"), 1u);
    EXPECT_EQ(unit.callsOf("getValues")[0].ids, (std::vector<ParameterId>{first, second}));
    EXPECT_EQ(controls.find(second).current(), v(2));
    EXPECT_EQ(controls.find(otherGroup).current(), v(0));

    // A group without parameters of this map still makes a request, with an empty list.
    unit.clearCalls();
    controls.refreshGroup(&unit, 0x27);
    ASSERT_EQ(unit.countOf("getValues"), 1u);
    EXPECT_TRUE(unit.callsOf("getValues")[0].ids.empty());

    unit.clearCalls();
    application.values[localOne] = v(9);
    controls.refreshAll(&unit);
    EXPECT_EQ(unit.callsOf("getValues")[0].ids, (std::vector<ParameterId>{first, second, otherGroup}));
    EXPECT_EQ(controls.find(localOne).current(), v(0));
    controls.refreshAll(&application);
    EXPECT_EQ(application.callsOf("getValues")[0].ids, (std::vector<ParameterId>{localOne}));
    EXPECT_EQ(controls.find(localOne).current(), v(9));
    EXPECT_EQ(controls.find(first).current(), v(1));
}

TEST_F(ParameterMapTest, RefreshGroupAsksForExactlyItsOwnGroupAtTheEdgesOfTheRange)
{
    // Groups and indices are signed bytes: the lowest and highest of both, and the
    // neighbours across the sign change, must neither be lost nor leak into another group.
    const auto id = [](int group, int index) { return ParameterId(int8_t(group), int8_t(index)); };
    const std::vector<ParameterId> everyone = {
        id(0x7E, 127), id(0x7F, -128), id(0x7F, 0), id(0x7F, 127), id(0x80, -128), id(0x80, 127),
        id(0xFF, -128), id(0xFF, 127), id(0x00, -128), id(0x00, 127),
    };
    ParameterMap<Parameter> edges;
    for (const ParameterId& each : everyone) {
        edges.emplace(each, Parameter(&unit, each, v(0), v(10)));
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
        unit.clearCalls();
        edges.refreshGroup(&unit, c.group);
        ASSERT_EQ(unit.countOf("getValues"), 1u);
        EXPECT_EQ(unit.callsOf("getValues")[0].ids, c.asked);
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
        {"a value changed", [&] { unit.values[second] = v(5); }, {first, second}, 5},
        {"a parameter added",
         [&] {
             statuses.emplace(added, Parameter(&unit, added, v(0), v(100)));
             unit.values[added] = v(8);
         },
         {first, second, added},
         5},
        {"after a failed read",
         [&] {
             unit.throwOnNextCall(ProtocolException("The device did not return all of the requested parameters"));
             EXPECT_THROW(statuses.refreshGroup(&unit, 0x03), ProtocolException);
             unit.values[second] = v(6);
         },
         {first, second, added},
         6},
    };
    unit.values = {{first, v(1)}, {second, v(2)}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        unit.clearCalls();
        statuses.refreshGroup(&unit, 0x03);
        ASSERT_EQ(unit.countOf("getValues"), 1u);
        EXPECT_EQ(unit.callsOf("getValues")[0].ids, step.asked);
        EXPECT_EQ(statuses.find(second).current(), v(step.secondValue));
    }
    EXPECT_EQ(statuses.find(added).current(), v(8));
}

TEST_F(ParameterMapTest, AnObserverMayPollItsOwnGroupAgainWhileThePollTellsIt)
{
    unit.values = {{first, v(1)}, {second, v(2)}};
    RecordingObserver<Parameter> nosy;
    nosy.watch(statuses.find(first));
    bool pollAgain = true;
    nosy.onUpdate = [&](Parameter&) {
        if (std::exchange(pollAgain, false)) {
            unit.values[second] = v(3);
            statuses.refreshGroup(&unit, 0x03);
        }
    };
    statuses.refreshGroup(&unit, 0x03);
    EXPECT_EQ(unit.countOf("getValues"), 2u);
    // The outer batch goes on as it was read; the next poll brings the newer value.
    statuses.refreshGroup(&unit, 0x03);
    EXPECT_EQ(statuses.find(second).current(), v(3));
}

TEST_F(ParameterMapTest, AFailedRefreshChangesNothing)
{
    unit.values = {{first, v(1)}};
    unit.throwOnNextCall(ProtocolException("The device did not return all of the requested parameters"));
    EXPECT_THROW(controls.refreshAll(&unit), ProtocolException);
    EXPECT_EQ(controls.find(first).current(), v(0));
}

TEST_F(ParameterMapTest, FindThrowsWithTheIdentifierAndNeverInserts)
{
    try {
        statuses.find(ParameterId(0x1D1F));
        FAIL() << "no exception";
    } catch (const VormoException& e) {
        EXPECT_STREQ(e.what(), "Couldn't find parameter 7455 (1d, 31)\n");
    }
    EXPECT_THROW(controls.find(ParameterId(0x1D1F)), VormoException);
    EXPECT_EQ(statuses.size(), 3u);
    EXPECT_EQ(controls.size(), 4u);
    const ControlParameterMap& constant = controls;
    EXPECT_EQ(constant.find(first).id(), first);
}
