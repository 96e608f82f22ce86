#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

#include "device/ProtocolAdapter.h"
#include "model/Observer.h"
#include "support/RecordingProtocol.h"
#include "unit/DefaultDeviceConnection.h"
#include "unit/UnitParameterSet.h"

namespace {

// A unit set over a recording protocol that answers with the factory defaults,
// so that the tests see every request the set makes.
class UnitSetFixture : public ::testing::Test {
protected:
    UnitSetFixture()
    {
        DefaultDeviceConnection defaults;
        ProtocolAdapter adapter(&defaults);
        ParameterIdList ids;
        for (const GroupCatalogue* group : allCatalogueGroups())
            for (const ParameterDefinition& row : *group)
                ids.push_back(ParameterId(static_cast<int16_t>(row.id)));
        adapter.getValues(ids, protocol.values);
    }

    std::unique_ptr<UnitParameterSet> build(bool online = false)
    {
        return std::make_unique<UnitParameterSet>(&protocol, online);
    }

    // Which rotation step a refresh took, from the first identifier it asked for.
    std::string refreshStep(UnitParameterSet& set)
    {
        protocol.clearCalls();
        set.refresh();
        const auto reads = protocol.callsOf("getValues");
        if (reads.size() != 1 || reads[0].ids.empty())
            return "?";
        const int first = reads[0].ids.front().toInt();
        if (first == 0x1D00)
            return reads[0].ids.size() == 16 ? "names 1-16" : "?";
        if (first == 0x1D10)
            return reads[0].ids.size() == 16 ? "names 17-32" : "?";
        return first == 0x0100 ? "controls" : "?";
    }

    RecordingProtocol protocol;
};

class StatusCounter : public Observer<Parameter> {
public:
    void update(Subject* changed, Transaction*) override
    {
        if (isOwnSubject(changed))
            ++updates;
    }
    int updates = 0;
};

class TextObserver : public Observer<ControlParameter> {
public:
    void update(Subject* changed, Transaction*) override
    {
        if (isOwnSubject(changed))
            ++updates;
    }
    int updates = 0;
};

ControlParameter& controlOf(ParameterSet& set, const ParameterId& id)
{
    auto* control = dynamic_cast<ControlParameter*>(set.findParameter(id));
    if (control == nullptr)
        throw std::logic_error("not a control parameter");
    return *control;
}

bool touchesGroup43(const RecordedCall& call)
{
    for (const ParameterId& id : call.ids)
        if (id.group() == 0x43 || id.group() == 0x42)
            return true;
    return false;
}

} // namespace

TEST_F(UnitSetFixture, HoldsTheWholeCatalogueWithPresetNamesApart)
{
    auto set = build();
    EXPECT_EQ(set->controls().size(), 250u);
    EXPECT_EQ(set->presetNameMap(0).size(), 16u);
    EXPECT_EQ(set->presetNameMap(1).size(), 16u);
    EXPECT_EQ(set->statuses().size(), 127u);
    EXPECT_EQ(set->presetNameMap(0).begin()->first, ParameterId(0x1D00));
    EXPECT_EQ(set->presetNameMap(1).rbegin()->first, ParameterId(0x1D1F));
    EXPECT_THROW(set->findParameter(ParameterId(0x1D05)), VormoException);
}

TEST_F(UnitSetFixture, PollScheduleInterleavesTheBusyGroups)
{
    const std::vector<uint8_t> expected = {
        0x27, 0x01, 0x15, 0x03, 0x2B, 0x05, 0x13, 0x07, 0x09, 0x27, 0x0B, 0x15, 0x0D, 0x2B, 0x0F, 0x13,
        0x11, 0x13, 0x27, 0x15, 0x15, 0x17, 0x2B, 0x19, 0x13, 0x1B, 0x1D, 0x27, 0x1F, 0x15, 0x21, 0x2B,
        0x23, 0x13, 0x25, 0x27, 0x27, 0x29, 0x15, 0x2B, 0x2B, 0x2D, 0x13, 0x2F, 0x31, 0x27, 0x33, 0x15,
        0x35, 0x2B, 0x37, 0x13, 0x39, 0x3B, 0x27, 0x3D, 0x15, 0x3F, 0x2B, 0x41, 0x13, 0x43};
    auto set = build();
    EXPECT_EQ(std::vector<uint8_t>(set->pollQueue().begin(), set->pollQueue().end()), expected);

    // A whole pass asks for each group in turn and leaves the queue as it was;
    // a group without status parameters still makes its (empty) request.
    protocol.clearCalls();
    for (std::size_t i = 0; i < expected.size(); ++i)
        set->pollStatusGroup();
    const auto polls = protocol.callsOf("getValues");
    ASSERT_EQ(polls.size(), expected.size());
    EXPECT_TRUE(polls[1].ids.empty());
    EXPECT_EQ(polls[0].ids.size(), 16u);
    EXPECT_EQ(std::vector<uint8_t>(set->pollQueue().begin(), set->pollQueue().end()), expected);
}

TEST_F(UnitSetFixture, ConstructionReadsEveryControlParameterOfTheUnitOnce)
{
    auto set = build();
    const auto reads = protocol.callsOf("getValues");
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].ids.size(), 248u); // the control map less the two parameters of group 0x43
    for (const RecordedCall& call : protocol.calls)
        EXPECT_FALSE(touchesGroup43(call)) << call.operation;
}

TEST_F(UnitSetFixture, RefreshRotationGoesOnAcrossSets)
{
    std::vector<std::string> steps;
    auto set = build();
    // Align with the program-wide counter, whatever other tests did before.
    while (UnitParameterSet::rotationCounter() % 3 != 0)
        set->refresh();
    steps.push_back(refreshStep(*set));
    steps.push_back(refreshStep(*set));
    set.reset();
    set = build();
    steps.push_back(refreshStep(*set));
    steps.push_back(refreshStep(*set));
    EXPECT_EQ(steps, (std::vector<std::string>{"controls", "names 1-16", "names 17-32", "controls"}));
}

TEST_F(UnitSetFixture, PresetNameObserversAreRoutedToTheirMaps)
{
    auto set = build();
    struct Case {
        int id;
        const ControlParameterMap* map;
    };
    TextObserver first, second, control;
    set->attachControlObserver(ParameterId(0x1D05), &first);
    set->attachControlObserver(ParameterId(0x1D1F), &second);
    set->attachControlObserver(ParameterId(0x0100), &control);
    EXPECT_EQ(first.getSubject(), &set->presetNameMap(0).find(ParameterId(0x1D05)));
    EXPECT_EQ(second.getSubject(), &set->presetNameMap(1).find(ParameterId(0x1D1F)));
    EXPECT_EQ(control.getSubject()->id(), ParameterId(0x0100));
    EXPECT_EQ(first.updates, 1);

    TextObserver missing;
    EXPECT_THROW(set->attachControlObserver(ParameterId(0x0F00), &missing), VormoException);

    // Destroying the set leaves the observers with no subject rather than a dangling one.
    set.reset();
    EXPECT_EQ(first.getSubject(), nullptr);
    EXPECT_EQ(second.getSubject(), nullptr);
}

TEST_F(UnitSetFixture, ApplicationGroupNeverReachesTheUnit)
{
    protocol.values[ParameterId(0x090A)] = ParameterValue(2); // remote mode, or the set refuses the unit
    auto set = build(true);
    protocol.clearCalls();
    auto& selector = controlOf(*set, ParameterId(0x4301));
    selector.refresh();
    selector.setValue(ParameterValue(3));
    EXPECT_EQ(selector.current(), ParameterValue(3));
    auto& version = controlOf(*set, ParameterId(0x4300));
    version.refresh();
    EXPECT_EQ(version.current().toString(), "$Revision: #251 $");
    // The selector drives the unit's own test-noise parameters, never itself.
    for (const auto& call : protocol.calls)
        for (const ParameterId& written : call.ids)
            EXPECT_NE(written.group(), 0x43);

    // Each set starts its own group from the defaults again; the selector is
    // then derived from the unit, which the choice above left on the Subwoofer.
    set.reset();
    set = build(true);
    auto& fresh = controlOf(*set, ParameterId(0x4301));
    fresh.refresh();
    EXPECT_EQ(fresh.current(), ParameterValue(3));
}

TEST_F(UnitSetFixture, MetersNotifyOnEveryPollEvenWhenUnchanged)
{
    auto set = build();
    StatusCounter meter, status;
    set->attachStatusObserver(ParameterId(0x2700), &meter);
    set->attachStatusObserver(ParameterId(0x2B03), &status);
    for (std::size_t i = 0; i < set->pollQueue().size() * 2; ++i)
        set->pollStatusGroup();
    EXPECT_EQ(meter.updates, 1 + 16); // attach, then each of the 16 polls of group 0x27
    EXPECT_EQ(status.updates, 1);     // an unchanged value tells nobody
}

TEST_F(UnitSetFixture, ExportToAFailedStreamIsAnError)
{
    auto set = build();
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_THROW(set->exportText(out, "QZ347 Parameters"), VormoException);
    EXPECT_THROW(set->exportGroupsHtml(out, "QZ347 Parameters"), VormoException);
}

TEST_F(UnitSetFixture, TextExportWritesTheSixSectionsOnly)
{
    auto set = build();
    std::ostringstream out;
    set->exportText(out, "QZ347 Parameters");
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("QZ347 Parameters\r\n\r\n\r\nSystem Information\r\n", 0), 0u);
    for (const char* caption : {"\r\n\r\nSystem\r\n", "\r\n\r\nAnalogue Output\r\n",
                                "\r\n\r\nRemote Communications\r\n", "\r\n\r\nTessiva\r\n",
                                "\r\n\r\nStreaming Control\r\n"})
        EXPECT_NE(text.find(caption), std::string::npos) << caption;
    EXPECT_NE(text.find("\tUnit Name: Model QZ347\r\n"), std::string::npos);
    EXPECT_EQ(text.find("(7, "), std::string::npos);            // no speaker row
    EXPECT_EQ(text.find("Test Noise Output"), std::string::npos); // nothing of group 0x43
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    std::ostringstream html;
    set->exportGroupsHtml(html, "QZ347 Parameters");
    const std::string page = html.str();
    EXPECT_EQ(page.rfind("<HTML><HEAD><TITLE>QZ347 Parameters</TITLE> </HEAD> <BODY>\r\n<H1>QZ347 Parameters</H1>\n", 0),
              0u);
    EXPECT_NE(page.find("<TR><TD>Unit Name</TD><TD>Model QZ347</TD></TR>\r\n"), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 16), "</BODY></HTML>\r\n");
}

TEST(DefaultDeviceConnection, AnswersEveryIdentifierWithItsFactoryDefault)
{
    DefaultDeviceConnection defaults;
    struct Case {
        int id;
        ParameterValue value;
    };
    const std::vector<Case> cases = {
        {0x0100, ParameterValue(std::string("$Revision: #251 $"))},
        {0x0104, ParameterValue(-32128)},
        {0x1D00, ParameterValue(std::string("Manual Ctrl"))},
        {0x1D1C, ParameterValue(std::string("Manual Ctrl"))},
        {0x1D04, ParameterValue(std::string("Preset 5"))},
        {0x1D1B, ParameterValue(std::string("Preset 28"))},
        {0x1F20, ParameterValue(33)},
        {0x2122, ParameterValue(74)},
        {0x2502, ParameterValue(std::string("streaming_server"))},
        {0x2B08, ParameterValue(std::string("21"))},
        {0x3700, ParameterValue(std::string("N/A"))},
        {0x3D01, ParameterValue(1)},
        {0x4300, ParameterValue(std::string("$Revision: #251 $"))},
        {0x4301, ParameterValue(8)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(defaults.getValue(ParameterId(static_cast<int16_t>(c.id))), c.value) << std::hex << c.id;

    std::size_t count = 0;
    for (const GroupCatalogue* group : allCatalogueGroups()) {
        for (const ParameterDefinition& row : *group) {
            ++count;
            EXPECT_EQ(defaults.getValue(ParameterId(static_cast<int16_t>(row.id))), row.defaultValue)
                << std::hex << row.id;
        }
    }
    EXPECT_EQ(count, 409u);
}

TEST(DefaultDeviceConnection, OffLineChangesStayInTheStoreThatOutlivesTheSet)
{
    DefaultDeviceConnection store;
    ProtocolAdapter adapter(&store);
    {
        UnitParameterSet set(&adapter, false);
        controlOf(set, ParameterId(0x0302)).setValue(ParameterValue(1));
    }
    UnitParameterSet again(&adapter, false);
    EXPECT_EQ(controlOf(again, ParameterId(0x0302)).current(), ParameterValue(1));
}
