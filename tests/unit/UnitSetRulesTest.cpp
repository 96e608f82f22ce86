#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "device/ProtocolAdapter.h"
#include "model/ConfigurationFile.h"
#include "model/Exceptions.h"
#include "model/Transaction.h"
#include "tests/unit/catalogue/CatalogueRows.h"
#include "unit/DefaultDeviceConnection.h"
#include "unit/UnitParameterSet.h"

namespace {

ParameterId id(int number)
{
    return ParameterId(static_cast<int16_t>(number));
}

const std::string revision251 = "$Revision: #251 $";
const std::string incompatible =
    "This version of the remote application is incompatible with this version of the firmware.  ";

// The set with its rules, formatters and own store within reach of the tests.
class InspectedSet : public UnitParameterSet {
public:
    using UnitParameterSet::UnitParameterSet;

    std::size_t ruleCount() const { return rules_.size(); }
    bool ownsFormatter(const ParameterFormatter* formatter) const
    {
        for (const auto& owned : formatters_) {
            if (owned.get() == formatter)
                return true;
        }
        return false;
    }
    ControlParameter& control(int number) { return controlParameters_.find(id(number)); }
    Parameter& status(int number) { return statusParameters_.find(id(number)); }
    ParameterValue stored(int number) { return localAdapter_->getValue(id(number)); }
    void readControls() { controlParameters_.refreshAll(protocol_); }
    void pollGroup(uint8_t group) { statusParameters_.refreshGroup(protocol_, group); }
};

std::string formatted(const Parameter& parameter)
{
    std::ostringstream out;
    parameter.format(out, parameter.value());
    return out.str();
}

std::string exportRow(const Parameter& parameter)
{
    std::ostringstream out;
    parameter.formatText(out);
    return out.str();
}

// A unit stood in for by an off-line store over an adapter, as the
// application's off-line mode has it; "on line" only tells the set to check it.
class UnitSetRulesTest : public testing::Test {
protected:
    void unitHas(int number, const ParameterValue& value) { adapter.setValueAndRead(id(number), value, 0); }
    ParameterValue unitValue(int number) { return adapter.getValue(id(number)); }

    DefaultDeviceConnection unit;
    ProtocolAdapter adapter{&unit};
};

} // namespace

TEST_F(UnitSetRulesTest, OffLineNothingIsChecked)
{
    // Factory defaults: remote control source Local; and a unit version that differs.
    unitHas(0x0100, ParameterValue("$Revision: #250 $"));
    std::unique_ptr<InspectedSet> set;
    ASSERT_NO_THROW(set = std::make_unique<InspectedSet>(&adapter, false));
    EXPECT_EQ(set->ruleCount(), 4u);
}

TEST_F(UnitSetRulesTest, OnLineTheUnitIsRefusedUnlessRemoteAndOfTheSameRevision)
{
    struct Case {
        int source;
        std::string unitVersion;
        std::string failure; // empty: accepted
    };
    const std::vector<Case> cases = {
        {1, revision251, ""},
        {2, revision251, ""},
        {3, revision251, ""},
        {0, revision251, "The unit is not in remote mode"},
        {0, "$Revision: #250 $", "The unit is not in remote mode"}, // remote mode is checked first
        {2, "$Revision: #250 $", incompatible + "Please upgrade your firmware."},
        {2, "$Revision: #252 $", incompatible + "Please upgrade your remote application."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.source) + " " + c.unitVersion);
        unitHas(0x090A, ParameterValue(c.source));
        unitHas(0x0100, ParameterValue(c.unitVersion));
        if (c.failure.empty()) {
            InspectedSet set(&adapter, true);
            EXPECT_EQ(set.ruleCount(), 7u);
            continue;
        }
        try {
            InspectedSet set(&adapter, true);
            ADD_FAILURE() << "no exception";
        } catch (const RemoteSourceException& failure) {
            EXPECT_EQ(c.source, 0);
            EXPECT_EQ(failure.what(), c.failure);
        } catch (const VormoException& failure) {
            EXPECT_NE(c.source, 0);
            EXPECT_EQ(failure.what(), c.failure);
        }
    }
}

TEST_F(UnitSetRulesTest, OnLineTheChecksRunAgainWhenTheUnitChanges)
{
    unitHas(0x090A, ParameterValue(2));
    InspectedSet set(&adapter, true);
    unitHas(0x0100, ParameterValue("$Revision: #300 $"));
    EXPECT_THROW(set.readControls(), VormoException);
    unitHas(0x0100, ParameterValue(revision251));
    set.readControls();
    unitHas(0x090A, ParameterValue(0));
    EXPECT_THROW(set.readControls(), RemoteSourceException);
}

TEST_F(UnitSetRulesTest, EverySetReadsTheApplicationsOwnParametersFromItsStore)
{
    for (const bool online : {false, true}) {
        SCOPED_TRACE(online);
        unitHas(0x090A, ParameterValue(2));
        InspectedSet set(&adapter, online);
        EXPECT_EQ(set.control(0x4300).value(), ParameterValue(revision251));

        // So a file saved from any set records the application's version, not two zero bytes.
        std::stringstream file;
        set.saveConfiguration(file);
        const ParameterValueMap records = readParameterValueMap(file);
        ASSERT_TRUE(records.contains(id(0x4300)));
        EXPECT_EQ(records.at(id(0x4300)), ParameterValue(revision251));
    }
}

TEST_F(UnitSetRulesTest, SelectorFollowsTheUnitAndDrivesIt)
{
    struct Case {
        const char* name;
        int unitCycle, unitChannel; // what the unit reports when the set is built
        int shown;                  // the selector derived from it
        int choice;                 // what the user then picks
        int cycleSent, channelSent; // what the unit holds afterwards
    };
    const std::vector<Case> cases = {
        {"factory defaults: Left without cycling; Subwoofer chosen", 0, 0, 0, 3, 0, 7},
        // The store's default "Cycle" must not show through while the unit is not cycling,
        // or choosing "Cycle" would change nothing and send nothing.
        {"a channel the application does not know; Cycle chosen", 0, 9, 0, 8, 1, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unitHas(0x2302, ParameterValue(c.unitCycle));
        unitHas(0x2301, ParameterValue(c.unitChannel));
        InspectedSet set(&adapter, false);
        EXPECT_EQ(set.control(0x4301).value(), ParameterValue(c.shown));

        ParameterTransaction transaction;
        set.control(0x4301).setPending(ParameterValue(c.choice), &transaction);
        transaction.commit();
        EXPECT_EQ(unitValue(0x2302), ParameterValue(c.cycleSent));
        EXPECT_EQ(unitValue(0x2301), ParameterValue(c.channelSent));
        EXPECT_EQ(set.stored(0x4301), ParameterValue(c.choice));
        EXPECT_EQ(unitValue(0x4301), ParameterValue(8)); // the choice never reaches the unit
    }

    // The next set derives the selector from the unit again.
    unitHas(0x2302, ParameterValue(1));
    InspectedSet next(&adapter, false);
    EXPECT_EQ(next.control(0x4301).value(), ParameterValue(8));
}

TEST_F(UnitSetRulesTest, StreamingPositionRangeFollowsTheDuration)
{
    InspectedSet set(&adapter, false);
    // Before any poll the duration is 0: the maxima are the positions' own values.
    EXPECT_EQ(set.control(0x2505).maximum(), ParameterValue(0));
    EXPECT_EQ(set.status(0x2B09).maximum(), ParameterValue(0));

    unitHas(0x2B04, ParameterValue(600));
    set.pollGroup(0x2B);
    EXPECT_EQ(set.control(0x2505).maximum(), ParameterValue(600));
    EXPECT_EQ(set.status(0x2B09).maximum(), ParameterValue(600));

    unitHas(0x2B04, ParameterValue(0xFFFF));
    unitHas(0x2B09, ParameterValue(0x9000));
    EXPECT_NO_THROW(set.pollGroup(0x2B));
    EXPECT_EQ(set.status(0x2B09).maximum(), ParameterValue(0x7FFF));
}

TEST_F(UnitSetRulesTest, TheUnitsOwnFormattersAreInForceOnceTheSetIsBuilt)
{
    InspectedSet set(&adapter, false);
    for (const UnitFormatterName& expected : unitFormatterNames) {
        SCOPED_TRACE(expected.name);
        Parameter& parameter =
            expected.kind == ParameterKind::Control ? set.control(expected.id) : set.status(expected.id);
        ASSERT_NE(parameter.formatter(), nullptr);
        EXPECT_EQ(parameter.formatter()->name(), expected.name);
        EXPECT_TRUE(set.ownsFormatter(parameter.formatter()));
    }
    // Factory defaults, shown through them.
    EXPECT_EQ(exportRow(set.control(0x030D)), "Ref Level: -20.0");
    EXPECT_EQ(exportRow(set.control(0x0D03)), "Tessiva II Dimension: 0 ");
    EXPECT_EQ(exportRow(set.control(0x0511)), "Master Volume: 0 ");
    EXPECT_EQ(formatted(set.control(0x0B0D)), "Center");
    set.pollGroup(0x15);
    EXPECT_EQ(formatted(set.status(0x1508)), "N/A");
}

TEST_F(UnitSetRulesTest, LoadingAFileOfAnotherRevisionKeepsTheApplicationsVersion)
{
    unitHas(0x090A, ParameterValue(2));
    InspectedSet set(&adapter, true);

    // A file written by another revision of the application (or saved off line by an
    // older one), and one that still records the streaming position.
    ParameterValueMap records = {
        {id(0x0302), ParameterValue(1)},
        {id(0x2505), ParameterValue(120)},
        {id(0x4300), ParameterValue(std::string("$Revision: #250 $"))},
    };
    std::stringstream file;
    int32_t checksum = 0;
    const uint32_t count = static_cast<uint32_t>(records.size());
    writeStreamInt32(file, count);
    addToChecksum(checksum, static_cast<int32_t>(count));
    for (const auto& [key, value] : records) {
        key.save(file, checksum);
        value.save(file, checksum);
    }
    writeStreamInt32(file, static_cast<uint32_t>(checksum));

    set.loadConfiguration(file);
    EXPECT_EQ(unitValue(0x0302), ParameterValue(1));
    EXPECT_EQ(unitValue(0x2505), ParameterValue(0));
    EXPECT_EQ(set.stored(0x4300).toString(), revision251);
    EXPECT_EQ(set.control(0x4300).current().toString(), revision251);
}
