#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

constexpr const char* triggerName = "Set Trigger Mode For General Purpose Input Pin User defined";
constexpr const char* polarityName = "Set Polarity For General Purpose Input Pin User defined";
constexpr const char* functionName = "Set Function For General Purpose Input Pin User defined";

struct InputPin {
    int pin;
    int trigger;
    int polarity;
    int function;
    const char* defaultFunction;
};

const std::vector<InputPin> inputPins = {
    {1, 0x1F00, 0x1F10, 0x1F20, "Select Input 1"},
    {2, 0x1F01, 0x1F11, 0x1F21, "Select Input 2"},
    {3, 0x1F02, 0x1F12, 0x1F22, "Select Input 3"},
    {4, 0x1F03, 0x1F13, 0x1F23, "Tessiva II"},
    {5, 0x1F04, 0x1F14, 0x1F24, "Tessiva"},
    {6, 0x1F05, 0x1F15, 0x1F25, "Surround QX"},
    {7, 0x1F06, 0x1F16, 0x1F26, "Lt/Rt Downmix"},
    {8, 0x1F07, 0x1F17, 0x1F27, "Stereo Downmix"},
    {9, 0x1F08, 0x1F18, 0x1F28, "Mono Downmix"},
    {10, 0x1F09, 0x1F19, 0x1F29, "Custom Compression"},
    {11, 0x1F0A, 0x1F1A, 0x1F2A, "Line Mode Compression"},
    {12, 0x1F0B, 0x1F1B, 0x1F2B, "RF Mode Compression"},
    {13, 0x1F0C, 0x1F1C, 0x1F2C, "Master Volume Reference Level"},
    {14, 0x1F0D, 0x1F1D, 0x1F2D, "Dim/Mute"},
    {15, 0x1F0E, 0x1F1E, 0x1F2E, "Preset 1"},
    {16, 0x1F0F, 0x1F1F, 0x1F2F, "Select Input 1"},
};

} // namespace

TEST(Group1F, EveryInputPinHasItsThreeSettingsWithFactoryDefaults)
{
    for (const InputPin& pin : inputPins) {
        SCOPED_TRACE("input pin " + std::to_string(pin.pin));

        const ParameterDefinition& trigger = rowOf(pin.trigger);
        EXPECT_EQ(trigger.name, triggerName);
        EXPECT_EQ(trigger.minimum, 0);
        EXPECT_EQ(trigger.maximum, 1);
        EXPECT_EQ(labelOf(trigger, 0), "Level");
        EXPECT_EQ(labelOf(trigger, 1), "Edge");
        EXPECT_EQ(defaultShownByBuilder(trigger.id), "Edge");

        const ParameterDefinition& polarity = rowOf(pin.polarity);
        EXPECT_EQ(polarity.name, polarityName);
        EXPECT_EQ(polarity.minimum, 0);
        EXPECT_EQ(polarity.maximum, 1);
        EXPECT_EQ(labelOf(polarity, 0), "Negative/Low");
        EXPECT_EQ(labelOf(polarity, 1), "Positive/High");
        EXPECT_EQ(defaultShownByBuilder(polarity.id), "Negative/Low");

        const ParameterDefinition& function = rowOf(pin.function);
        EXPECT_EQ(function.name, functionName);
        EXPECT_EQ(function.minimum, 0);
        EXPECT_EQ(function.maximum, 73);
        EXPECT_EQ(labelOf(function, 0), "Bypass");
        EXPECT_EQ(labelOf(function, 73), "Dim/Mute");
        EXPECT_EQ(defaultShownByBuilder(function.id), pin.defaultFunction);
    }
}

TEST(Group1F, FunctionListIsTheInputVocabulary)
{
    const ParameterDefinition& first = rowOf(0x1F20);
    ASSERT_EQ(first.labels.size(), 74u);

    const std::vector<ValueLabel> expected = {
        {1, "Preset 1"},
        {32, "Preset 32"},
        {33, "Select Input 1"},
        {36, "Select Input 4"},
        {40, "Tessiva II"},
        {41, "Tessiva"},
        {44, "Three Stereo"},
        {50, "Tessiva II - Movie"},
        {55, "Vormo Headphone Room 1"},
        {58, "Bass Management Bypass"},
        {61, "AES Channel Select 2"},
        {62, "AES Chan Select 1+2"},
        {71, "Back Surround Speaker Mute"},
        {72, "Master Volume Reference Level"},
    };
    for (const ValueLabel& label : expected) {
        EXPECT_EQ(labelOf(first, label.value), label.text);
    }

    // All sixteen pins offer the very same list.
    for (int id = 0x1F21; id <= 0x1F2F; ++id) {
        const ParameterDefinition& function = rowOf(id);
        ASSERT_EQ(function.labels.size(), first.labels.size());
        for (std::size_t i = 0; i < first.labels.size(); ++i) {
            EXPECT_EQ(function.labels[i].value, first.labels[i].value);
            EXPECT_EQ(function.labels[i].text, first.labels[i].text);
        }
    }
}

TEST(Group1F, ActiveInputPinCountsZeroToFourteen)
{
    const ParameterDefinition& active = rowOf(0x1F30);
    EXPECT_EQ(active.name, "Active GPI pin");
    EXPECT_EQ(active.minimum, 0);
    EXPECT_EQ(active.maximum, 14);
    ASSERT_EQ(active.labels.size(), 15u);
    for (const ValueLabel& label : active.labels) {
        EXPECT_EQ(label.text, std::to_string(label.value));
    }
    EXPECT_EQ(defaultShownByBuilder(active.id), "0");
}
