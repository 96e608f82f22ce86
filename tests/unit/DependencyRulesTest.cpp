#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "model/Exceptions.h"
#include "model/ParameterMap.h"
#include "model/Transaction.h"
#include "support/RecordingProtocol.h"
#include "unit/DependencyRules.h"

namespace {

ParameterId id(int number)
{
    return ParameterId(static_cast<int16_t>(number));
}

ParameterValue text(const std::string& bytes)
{
    return ParameterValue(bytes);
}

const std::string revision251 = "$Revision: #251 $";
const std::string incompatible =
    "This version of the remote application is incompatible with this version of the firmware.  ";
const std::string upgradeFirmware = incompatible + "Please upgrade your firmware.";
const std::string upgradeApplication = incompatible + "Please upgrade your remote application.";

// Counts the notifications of one parameter, as a control bound to it would see them.
class CountingObserver : public Observer<Parameter> {
public:
    explicit CountingObserver(Parameter& parameter)
    {
        setSubject(&parameter);
        parameter.attach(this);
        count = 0; // attaching updates once at once
    }
    void update(Subject* changed, Transaction*) override
    {
        if (isOwnSubject(changed))
            ++count;
    }
    int count = 0;
};

// The handful of parameters the rules link, owned as in the unit's set: the
// unit's through a recording fake of the unit, the application's own group
// through a second fake standing for the set's defaults store.
class RulesTest : public testing::Test {
protected:
    RulesTest()
    {
        defineControl(unit, 0x0100, MinimumValue(), MaximumValue());
        defineControl(unit, 0x090A, ParameterValue(0), ParameterValue(3));
        defineControl(unit, 0x2301, ParameterValue(0), ParameterValue(7));
        defineControl(unit, 0x2302, ParameterValue(0), ParameterValue(1));
        defineControl(unit, 0x2505, ParameterValue(0), ParameterValue(32000));
        defineStatus(0x2B04, ParameterValue(0), ParameterValue(-1));
        defineStatus(0x2B09, ParameterValue(0), ParameterValue(32000));
        defineControl(defaults, 0x4300, MinimumValue(), MaximumValue());
        defineControl(defaults, 0x4301, ParameterValue(0), ParameterValue(8));

        unit.values[id(0x0100)] = text(revision251);
        unit.values[id(0x090A)] = ParameterValue(2);
        defaults.values[id(0x4300)] = text(revision251);
        defaults.values[id(0x4301)] = ParameterValue(8);
    }

    void defineControl(RecordingProtocol& owner, int number, const ParameterValue& minimum,
                       const ParameterValue& maximum)
    {
        control.insert_or_assign(id(number), ControlParameter(&owner, id(number), minimum, maximum));
    }

    void defineStatus(int number, const ParameterValue& minimum, const ParameterValue& maximum)
    {
        status.insert_or_assign(id(number), Parameter(&unit, id(number), minimum, maximum));
    }

    // What the set does before it adds its rules: one read of everything.
    void readAll()
    {
        control.refreshAll(&unit);
        control.refreshAll(&defaults);
        status.refreshAll(&unit);
        unit.clearCalls();
        defaults.clearCalls();
    }

    // Lets the unit report new values, as a refresh of the control parameters would bring them.
    void unitReports(int number, const ParameterValue& value)
    {
        unit.values[id(number)] = value;
        ParameterValueMap batch{{id(number), value}};
        if (control.contains(id(number)))
            control.update(batch);
        else
            status.update(batch);
    }

    template <class Rule, class... Arguments> Rule& add(Arguments... arguments)
    {
        rules.push_back(std::make_unique<Rule>(arguments..., &status, &control));
        return static_cast<Rule&>(*rules.back());
    }

    void addRangeRules()
    {
        add<RangeFollowRule>(&status.find(id(0x2B04)));
        add<RangeFollowRule>(&status.find(id(0x2B09)));
        add<RangeFollowRule>(static_cast<Parameter*>(&control.find(id(0x2505))));
    }

    void addVersionRules()
    {
        add<VersionCheckRule>(static_cast<Parameter*>(&control.find(id(0x0100))));
        add<VersionCheckRule>(static_cast<Parameter*>(&control.find(id(0x4300))));
    }

    std::vector<ParameterId> writtenIds(const RecordingProtocol& protocol) const
    {
        std::vector<ParameterId> ids;
        for (const auto& call : protocol.callsOf("setValueAndRead"))
            ids.push_back(call.ids.at(0));
        return ids;
    }

    ControlParameter& controlAt(int number) { return control.find(id(number)); }
    Parameter& statusAt(int number) { return status.find(id(number)); }

    RecordingProtocol unit;
    RecordingProtocol defaults;
    ParameterMap<Parameter> status;
    ControlParameterMap control;
    std::vector<std::unique_ptr<ParameterDependencies>> rules;
};

} // namespace

// --- version check ---------------------------------------------------------

TEST_F(RulesTest, VersionCheckPassesTheApplicationsOwnRevision)
{
    readAll();
    EXPECT_NO_THROW(addVersionRules());
    EXPECT_TRUE(unit.calls.empty());
}

TEST_F(RulesTest, VersionCheckRefusesAnotherRevisionWithTheUpgradeToAsk)
{
    struct Case {
        std::string unitText;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"$Revision: #250 $", upgradeFirmware},
        {"$Revision: #252 $", upgradeApplication},
        {"$Revision: #251 $ (beta)", upgradeApplication}, // same number, other text
        {"QZ347 firmware", upgradeFirmware},              // no number reads as 0
        {"", upgradeFirmware},
        {"$Revision: #-3 $", upgradeFirmware},
        // Far beyond an int: read as the largest int, not as an overflowed number.
        {"$Revision: #99999999999999999999 $", upgradeApplication},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unitText);
        unit.values[id(0x0100)] = text(c.unitText);
        readAll();
        try {
            add<VersionCheckRule>(static_cast<Parameter*>(&controlAt(0x0100)));
            ADD_FAILURE() << "no exception";
        } catch (const VormoException& failure) {
            EXPECT_EQ(failure.what(), c.message);
        }
        // Either instance checks the same pair.
        try {
            add<VersionCheckRule>(static_cast<Parameter*>(&controlAt(0x4300)));
            ADD_FAILURE() << "no exception";
        } catch (const VormoException& failure) {
            EXPECT_EQ(failure.what(), c.message);
        }
        EXPECT_TRUE(rules.empty());
    }
}

TEST_F(RulesTest, VersionCheckRunsAgainWhenTheUnitsVersionChanges)
{
    readAll();
    addVersionRules();
    try {
        unitReports(0x0100, text("$Revision: #250 $"));
        ADD_FAILURE() << "no exception";
    } catch (const VormoException& failure) {
        EXPECT_EQ(failure.what(), upgradeFirmware);
    }
}

TEST_F(RulesTest, VersionCheckComparesAllBytesOfTextsWithoutTerminator)
{
    // Equal texts pass whatever they hold; a zero byte is part of the text.
    unit.values[id(0x0100)] = text(std::string("\0\0", 2));
    defaults.values[id(0x4300)] = text(std::string("\0\0", 2));
    readAll();
    EXPECT_NO_THROW(addVersionRules());
    rules.clear();

    unit.values[id(0x0100)] = text(revision251 + std::string(1, '\0') + "x");
    defaults.values[id(0x4300)] = text(revision251);
    readAll();
    EXPECT_THROW(addVersionRules(), VormoException);
}

TEST(VersionCheckRule, ReadsTheRevisionNumberAsTheScanPatternDoes)
{
    struct Case {
        std::string text;
        int number;
    };
    const std::vector<Case> cases = {
        {"$Revision: #251 $", 251},
        {"$Revision:#7", 7},           // the blank in the pattern matches no blank as well
        {"$Revision: \t #  42 $", 42}, // and several; the number skips leading blanks
        {"$Revision: #+3 $", 3},
        {"$Revision: #-12 $", -12},
        {"$Revision: #12abc", 12}, // what follows the number does not count
        {"$Revision: #2147483647 $", INT_MAX},
        {"$Revision: #2147483648 $", INT_MAX},
        {"$Revision: #-2147483648 $", INT_MIN},
        {"$Revision: #-99999999999 $", INT_MIN},
        {"$revision: #5 $", 0},
        {"$Revision: 5 $", 0},
        {"$Revision: #", 0},
        {"$Revision: #- 5", 0},
        {std::string("$Revision: #\0"
                     "5",
                     13),
         0},
        {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(VersionCheckRule::revisionNumber(c.text), c.number);
    }
}

// --- remote mode -------------------------------------------------------------

TEST_F(RulesTest, RemoteModeRefusesOnlyALocalUnit)
{
    struct Case {
        int source;
        bool refused;
    };
    for (const Case c : {Case{0, true}, Case{1, false}, Case{2, false}, Case{3, false}}) {
        SCOPED_TRACE(c.source);
        unit.values[id(0x090A)] = ParameterValue(c.source);
        readAll();
        if (c.refused) {
            try {
                add<RemoteModeRule>();
                ADD_FAILURE() << "no exception";
            } catch (const RemoteSourceException& failure) {
                EXPECT_STREQ(failure.what(), "The unit is not in remote mode");
            }
        } else {
            EXPECT_NO_THROW(add<RemoteModeRule>());
        }
        rules.clear();
    }
    EXPECT_TRUE(unit.callsOf("setValueAndRead").empty());
}

TEST_F(RulesTest, RemoteModeRefusesAUnitSwitchedToLocalLater)
{
    readAll();
    add<RemoteModeRule>();
    EXPECT_THROW(unitReports(0x090A, ParameterValue(0)), RemoteSourceException);
}

TEST_F(RulesTest, ARuleNeedsItsParametersToExist)
{
    control.erase(id(0x2302));
    readAll();
    try {
        add<SelectorSyncRule>();
        ADD_FAILURE() << "no exception";
    } catch (const VormoException& failure) {
        EXPECT_STREQ(failure.what(), "Couldn't find parameter 8962 (23, 2)\n");
    }
    // The half-built rule left nothing attached behind.
    EXPECT_NO_THROW(controlAt(0x4301).setValue(ParameterValue(3)));
    EXPECT_TRUE(unit.calls.empty());
}

// --- test-noise selector ---------------------------------------------------

TEST_F(RulesTest, SelectorIsDerivedFromTheUnitWhenTheRuleIsBuilt)
{
    struct Case {
        int cycle;
        int channel;
        int selector;
    };
    const std::vector<Case> cases = {
        {1, 4, 8}, // cycling, whatever the channel
        {1, 9, 8}, {0, 0, 0}, {0, 1, 2}, {0, 2, 1}, {0, 3, 5}, {0, 4, 7},
        {0, 5, 6}, {0, 6, 4}, {0, 7, 3}, {0, 9, 8}, // a channel the application does not know leaves the
                                                    // selector as it was
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.cycle) + "/" + std::to_string(c.channel));
        unit.values[id(0x2302)] = ParameterValue(c.cycle);
        unit.values[id(0x2301)] = ParameterValue(c.channel);
        defaults.values[id(0x4301)] = ParameterValue(8);
        readAll();
        add<SelectorSyncRule>();
        EXPECT_EQ(controlAt(0x4301).value(), ParameterValue(c.selector));
        EXPECT_EQ(defaults.values[id(0x4301)], ParameterValue(c.selector));
        // The unit already does what the selector says: nothing goes to it.
        EXPECT_TRUE(unit.callsOf("setValueAndRead").empty());
        rules.clear();
    }
}

TEST_F(RulesTest, SelectorChoiceDrivesTheUnitsCycleThenChannel)
{
    struct Case {
        int choice;
        std::vector<ParameterId> written; // in the order sent
        int cycle;
        int channel;
    };
    // The unit starts cycling on channel 2 (Right), so the selector reads 8.
    const std::vector<Case> cases = {
        {3, {id(0x2302), id(0x2301)}, 0, 7}, // Subwoofer
        {1, {id(0x2301)}, 0, 2},             // Right
        {8, {id(0x2302)}, 1, 2},             // Cycle leaves the channel alone
        {8, {}, 1, 2},                       // nothing changed, nothing sent
        {1, {id(0x2302)}, 0, 2},             // Right: the unit's channel already
        {7, {id(0x2301)}, 0, 4},             // Back Right Surround
    };
    unit.values[id(0x2302)] = ParameterValue(1);
    unit.values[id(0x2301)] = ParameterValue(2);
    readAll();
    add<SelectorSyncRule>();
    ASSERT_EQ(controlAt(0x4301).value(), ParameterValue(8));

    for (const auto& c : cases) {
        SCOPED_TRACE(c.choice);
        unit.clearCalls();
        defaults.clearCalls();
        ParameterTransaction transaction;
        controlAt(0x4301).setPending(ParameterValue(c.choice), &transaction);
        EXPECT_EQ(writtenIds(unit), c.written);
        EXPECT_EQ(unit.values[id(0x2302)], ParameterValue(c.cycle));
        EXPECT_EQ(unit.values[id(0x2301)], ParameterValue(c.channel));
        // The choice itself goes to the application's own store with the commit, never to the unit.
        EXPECT_TRUE(defaults.calls.empty());
        transaction.commit();
        EXPECT_EQ(defaults.values[id(0x4301)], ParameterValue(c.choice));
        EXPECT_EQ(unit.countOf("setValues"), 0u);
    }
}

TEST_F(RulesTest, SelectorChoiceTheUnitAlreadyFollowsSendsItNothing)
{
    unit.values[id(0x2302)] = ParameterValue(0);
    unit.values[id(0x2301)] = ParameterValue(2); // Right
    readAll();
    add<SelectorSyncRule>();
    ASSERT_EQ(controlAt(0x4301).value(), ParameterValue(1));
    // Set to the Subwoofer on the unit's own panel; the selector still says Right.
    unitReports(0x2301, ParameterValue(7));
    unit.clearCalls();
    ParameterTransaction transaction;
    controlAt(0x4301).setPending(ParameterValue(3), &transaction);
    transaction.commit();
    EXPECT_EQ(unit.countOf("setValueAndRead"), 0u);
    EXPECT_EQ(defaults.values[id(0x4301)], ParameterValue(3));
}

TEST_F(RulesTest, SelectorAndUnitSettleAfterOneRound)
{
    unit.values[id(0x2302)] = ParameterValue(0);
    unit.values[id(0x2301)] = ParameterValue(6); // Left Surround
    defaults.values[id(0x4301)] = ParameterValue(8);
    readAll();
    CountingObserver selector(controlAt(0x4301));
    CountingObserver cycle(controlAt(0x2302));
    CountingObserver channel(controlAt(0x2301));
    add<SelectorSyncRule>();
    EXPECT_EQ(controlAt(0x4301).value(), ParameterValue(4));
    EXPECT_EQ(selector.count, 1);
    EXPECT_EQ(cycle.count, 0);
    EXPECT_EQ(channel.count, 0);
    EXPECT_EQ(defaults.countOf("setValueAndRead"), 1u);
    EXPECT_TRUE(unit.calls.empty());

    // A refresh that brings the unit's values unchanged runs nothing.
    unit.clearCalls();
    control.refreshAll(&unit);
    EXPECT_EQ(unit.countOf("setValueAndRead"), 0u);
    EXPECT_EQ(selector.count, 1);
}

TEST_F(RulesTest, SelectorChoiceRefusedByTheUnitIsNotRetried)
{
    unit.values[id(0x2302)] = ParameterValue(0);
    unit.values[id(0x2301)] = ParameterValue(0);
    readAll();
    add<SelectorSyncRule>();
    // A unit that keeps its channel whatever it is sent.
    unit.readBack = [](const ParameterId& written, const ParameterValue& value) {
        return written == id(0x2301) ? ParameterValue(0) : value;
    };
    unit.clearCalls();
    controlAt(0x4301).setValue(ParameterValue(3));
    EXPECT_EQ(writtenIds(unit), std::vector<ParameterId>{id(0x2301)});
    EXPECT_EQ(controlAt(0x2301).value(), ParameterValue(0));
}

// --- streaming position range ----------------------------------------------

TEST_F(RulesTest, PositionMaximaFollowTheDurationButNotBelowThePosition)
{
    struct Case {
        int duration;
        int positionStatus;
        int positionControl;
        int statusMaximum;
        int controlMaximum;
    };
    const std::vector<Case> cases = {
        {600, 20, 20, 600, 600},
        {0, 20, 20, 20, 20},
        {600, 700, 0, 700, 600},
        {600, 100, 700, 600, 700},
        {0, 0, 0, 0, 0},
        // Streams of 32768 s and more: the maximum stays the largest positive 16-bit number.
        {40000, 100, 100, 0x7FFF, 0x7FFF},
        {0xFFFF, 0, 0, 0x7FFF, 0x7FFF},
        {32767, 0, 0, 0x7FFF, 0x7FFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.duration) + " " + std::to_string(c.positionStatus) + " " +
                     std::to_string(c.positionControl));
        unit.values[id(0x2B04)] = ParameterValue(c.duration);
        unit.values[id(0x2B09)] = ParameterValue(c.positionStatus);
        unit.values[id(0x2505)] = ParameterValue(c.positionControl);
        readAll();
        ASSERT_NO_THROW(addRangeRules());
        EXPECT_EQ(statusAt(0x2B09).maximum(), ParameterValue(c.statusMaximum));
        EXPECT_EQ(controlAt(0x2505).maximum(), ParameterValue(c.controlMaximum));
        EXPECT_TRUE(unit.calls.empty());
        rules.clear();
    }
}

TEST_F(RulesTest, PositionMaximaFollowPolledReports)
{
    readAll();
    addRangeRules();
    EXPECT_EQ(statusAt(0x2B09).maximum(), ParameterValue(0));

    unitReports(0x2B04, ParameterValue(600));
    EXPECT_EQ(statusAt(0x2B09).maximum(), ParameterValue(600));
    EXPECT_EQ(controlAt(0x2505).maximum(), ParameterValue(600));

    unitReports(0x2B09, ParameterValue(700));
    EXPECT_EQ(statusAt(0x2B09).maximum(), ParameterValue(700));
    unitReports(0x2B09, ParameterValue(100));
    EXPECT_EQ(statusAt(0x2B09).maximum(), ParameterValue(600));

    // A long stream and a position beyond 32767 s are reported without a failure.
    EXPECT_NO_THROW(unitReports(0x2B04, ParameterValue(50000)));
    EXPECT_NO_THROW(unitReports(0x2B09, ParameterValue(40000)));
    EXPECT_EQ(statusAt(0x2B09).maximum(), ParameterValue(0x7FFF));
    EXPECT_NO_THROW(unitReports(0x2B04, ParameterValue(10)));
    EXPECT_NO_THROW(unitReports(0x2B09, ParameterValue(5)));
    EXPECT_EQ(statusAt(0x2B09).maximum(), ParameterValue(10));
}

TEST_F(RulesTest, PositionMaximumCoversAPendingAndAConfirmedPosition)
{
    unit.values[id(0x2505)] = ParameterValue(500);
    readAll();
    addRangeRules();
    // The user asks for 300 while the unit still holds 500: the maximum keeps room for both.
    ParameterTransaction transaction;
    controlAt(0x2505).setPending(ParameterValue(300), &transaction);
    EXPECT_NO_THROW(unitReports(0x2B04, ParameterValue(100)));
    EXPECT_EQ(controlAt(0x2505).maximum(), ParameterValue(500));
}

TEST_F(RulesTest, ABatchOfDurationAndPositionSettlesInOneRound)
{
    unit.values[id(0x2B04)] = ParameterValue(600);
    unit.values[id(0x2B09)] = ParameterValue(100);
    readAll();
    addRangeRules();
    CountingObserver durationSeen(statusAt(0x2B04));
    CountingObserver positionSeen(statusAt(0x2B09));
    CountingObserver requestSeen(controlAt(0x2505));

    // Within the range already set: one notification per changed value, none from the rules.
    unit.values[id(0x2B04)] = ParameterValue(500);
    unit.values[id(0x2B09)] = ParameterValue(200);
    status.refreshGroup(&unit, 0x2B);
    EXPECT_EQ(durationSeen.count, 1);
    EXPECT_EQ(positionSeen.count, 2); // its value, and its maximum moving down to 500
    EXPECT_EQ(requestSeen.count, 1);  // its maximum
    EXPECT_EQ(statusAt(0x2B09).maximum(), ParameterValue(500));

    durationSeen.count = positionSeen.count = requestSeen.count = 0;
    status.refreshGroup(&unit, 0x2B);
    EXPECT_EQ(durationSeen.count + positionSeen.count + requestSeen.count, 0);
    EXPECT_EQ(unit.countOf("setValueAndRead"), 0u);
}
