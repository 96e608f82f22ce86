#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

struct OutputEntry {
    int entry;
    int trigger;
    int polarity;
    int function;
    const char* defaultFunction;
};

const std::vector<OutputEntry> outputEntries = {
    {0, 0x2100, 0x2111, 0x2122, "Error"},
    {1, 0x2101, 0x2112, 0x2123, "AES1 Input"},
    {2, 0x2102, 0x2113, 0x2124, "AES2 Input"},
    {3, 0x2103, 0x2114, 0x2125, "Optical Input"},
    {4, 0x2104, 0x2115, 0x2126, "Tessiva II"},
    {5, 0x2105, 0x2116, 0x2127, "Tessiva"},
    {6, 0x2106, 0x2117, 0x2128, "Surround QX"},
    {7, 0x2107, 0x2118, 0x2129, "Lt/Rt Downmix"},
    {8, 0x2108, 0x2119, 0x212A, "Stereo Downmix"},
    {9, 0x2109, 0x211A, 0x212B, "Mono Downmix"},
    {10, 0x210A, 0x211B, 0x212C, "Custom"},
    {11, 0x210B, 0x211C, 0x212D, "Line"},
    {12, 0x210C, 0x211D, 0x212E, "RF"},
    {13, 0x210D, 0x211E, 0x212F, "Master Volume Ref"},
    {14, 0x210E, 0x211F, 0x2130, "Dim/Mute"},
    {15, 0x210F, 0x2120, 0x2131, "Bypass"},
    {16, 0x2110, 0x2121, 0x2132, "AES1 Input"},
};

} // namespace

TEST(Group21, EveryOutputEntryHasItsThreeSettingsWithFactoryDefaults)
{
    for (const OutputEntry& entry : outputEntries) {
        SCOPED_TRACE("output entry " + std::to_string(entry.entry));
        expectSetting(
            {entry.trigger, "Set Trigger Mode For General Purpose Output Pin", 1, "Level", "Edge", "Level"});
        expectSetting({entry.polarity, "Polarity", 1, "Negative/Low", "Positive/High", "Positive/High"});
        expectSetting(
            {entry.function, "Function", 77, "Bypass", "Vormo Digital Input", entry.defaultFunction});
    }
}

TEST(Group21, FunctionListIsTheOutputVocabulary)
{
    const ParameterDefinition& first = rowOf(0x2122);
    ASSERT_EQ(first.labels.size(), 78u);

    // The outputs word many functions differently from the inputs.
    const std::vector<ValueLabel> expected = {
        {1, "Preset 1"},
        {32, "Preset 32"},
        {33, "AES1 Input"},
        {36, "Streaming Input"},
        {44, "3 Stereo"},
        {46, "Custom"},
        {50, "TS II - Movie"},
        {53, "TS II - Matrix"},
        {55, "Vormo Headphone 1"},
        {58, "Bass Manage Bypass"},
        {59, "AES Chan Select Auto"},
        {62, "AES Chan Select 1+2"},
        {69, "Ls Speaker Mute"},
        {71, "Bs Speaker Mute"},
        {72, "Master Volume Ref"},
        {74, "Error"},
        {75, "External Ref"},
        {76, "Remote Control"},
    };
    for (const ValueLabel& label : expected) {
        EXPECT_EQ(labelOf(first, label.value), label.text);
    }

    // All seventeen entries offer the very same list.
    for (int id = 0x2123; id <= 0x2132; ++id)
        expectSameLabels(id, first.id);
}

TEST(Group21, ActiveOutputPinAndEditMode)
{
    expectSetting({0x2133, "Active GPO pin", 15, "0", "15", "0"});
    expectNumberedLabels(0x2133, 16u);

    const ParameterDefinition& editMode = rowOf(0x2134);
    EXPECT_EQ(editMode.name, "GPI/O edit mode");
    EXPECT_EQ(labelOf(editMode, 0), "Kit812");
    EXPECT_EQ(labelOf(editMode, 1), "Pin");
    EXPECT_EQ(defaultShownByBuilder(editMode.id), "Kit812");
}
