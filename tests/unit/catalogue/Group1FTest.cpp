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
        expectSetting({pin.trigger, triggerName, 1, "Level", "Edge", "Edge"});
        expectSetting({pin.polarity, polarityName, 1, "Negative/Low", "Positive/High", "Negative/Low"});
        expectSetting({pin.function, functionName, 73, "Bypass", "Dim/Mute", pin.defaultFunction});
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
    for (int id = 0x1F21; id <= 0x1F2F; ++id)
        expectSameLabels(id, first.id);
}

TEST(Group1F, ActiveInputPinCountsZeroToFourteen)
{
    expectSetting({0x1F30, "Active GPI pin", 14, "0", "14", "0"});
    expectNumberedLabels(0x1F30, 15u);
}
