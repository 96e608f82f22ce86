#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/catalogue/CatalogueRows.h"

// The control groups 0x01 to 0x0D: the rows the rest of the application leans on,
// and the texts a user sees for their defaults.

namespace {

// A handful of rows per group: range, what the default shows, and the label (if
// any) at each end of the range.
struct ShownRowCase {
    int id;
    int minimum;
    int maximum;
    std::string shownDefault;
    std::optional<std::string> atMinimum;
    std::optional<std::string> atMaximum;
};

const std::vector<ShownRowCase> shownRowCases{
    {0x0100, -32768, 32767, "$Revision: #251 $", {}, {}},
    {0x0101, 0, 0, "1.0.0.5", "1.0.0.5", "1.0.0.5"},
    {0x0103, -32768, 32767, "Model QZ347", {}, {}},
    {0x0104, -32128, -1, "33408", {}, {}}, // without formatter a value shows unsigned
    {0x0300, 0, 3, "Decode Mode", "Decode Mode", "IFE Mode"},
    {0x0307, 0, 5, "Digital In", "Digital In", "Internal 32kHz"},
    {0x030A, 1, 16, "11", {}, {}},
    {0x030D, 0, 180, "60", {}, {}},
    {0x030E, 0, 1023, "0", {}, {}},
    {0x0310, 0, 3, "VH1 (Small Room)", "Off", "VH3 (Large Room)"},
    {0x0312, 2, 192, "-2 dB", "-Inf dB", "0 dB"},
    {0x0314, 2, 192, "-2 dB", "-Inf dB", "0 dB"},
    {0x0500, 0, 48, "0 dB", {}, {}},
    {0x050F, 0, 208, "0 dB", {}, {}},
    {0x0510, 0, 52, "0 dB", {}, {}},
    {0x0511, 2, 212, "0 dB", "-Inf dB", {}},
    {0x0512, 0, 37, "11", "0", "37"},
    {0x051A, 0, 1, "Active", "Active", "Mute"},
    {0x0700, 0, 2, "None", "None", "Two"},
    {0x0701, 0, 8, "0 ms", {}, {}},
    {0x0704, 0, 90, "5", {}, {}},
    {0x0708, 0, 2, "80 Hz", "80 Hz", "120 Hz"},
    {0x0709, 0, 1, "Yes", "No", "Yes"},
    {0x070B, 0, 2, "Full", "Full", "Phantom Center Channel"},
    {0x0900, 0, 1, "Manual", "Automatic", "Manual"},
    {0x0903, -32768, 32767, "255.255.255.255", {}, {}},
    {0x0907, 0, 2, "115200 baud", "9600 baud", "115200 baud"},
    {0x0909, 0, 2, "One stop bits", "Zero stop bits", "Two stop bits"},
    {0x090A, 0, 3, "Local", "Local", "Serial"},
    {0x0B01, 0, 8, "Automatic", "0", "Automatic"},
    {0x0B03, 0, 3, "Line", "None", "Custom"},
    {0x0B05, 0, 10, "0", {}, {}},
    {0x0B07, 0, 2, "Capable", "Unaware", "Capable"},
    {0x0B08, 0, 61, "0", {}, "Mute"},
    {0x0B0C, 0, 20, "Hard Right", "Hard Left", "Hard Right"},
    {0x0B0D, 0, 20, "Center", "Hard Left", "Hard Right"},
    {0x0D01, 0, 3, "Movie", "Movie", "Matrix"},
    {0x0D03, 0, 6, "3", {}, {}},
    {0x0D04, 0, 7, "3", {}, "L/R"},
};

TEST(ControlCatalogueRows, RangeDefaultAndLabelsAtTheEnds)
{
    for (const auto& expected : shownRowCases) {
        SCOPED_TRACE(hexId(expected.id));
        const ParameterDefinition& row = rowOf(expected.id);
        EXPECT_EQ(row.minimum, expected.minimum);
        EXPECT_EQ(row.maximum, expected.maximum);
        EXPECT_EQ(defaultShownByBuilder(expected.id), expected.shownDefault);
        if (row.formatter == FormatterKind::String)
            continue;
        EXPECT_EQ(labelOf(row, row.minimum), expected.atMinimum);
        EXPECT_EQ(labelOf(row, row.maximum), expected.atMaximum);
    }
}

TEST(ControlCatalogueRows, ValuesShowThroughTheBuildersFormatters)
{
    expectShownByBuilder({
        {0x0101, number(0), "1.0.0.5"},
        {0x0101, number(1), "1"}, // a value without label shows as its signed number
        {0x0314, number(2), "-Inf dB"},
        {0x0314, number(188), "-2 dB"},
        {0x0314, number(192), "0 dB"},
        {0x0314, number(100), "100"},
        {0x0500, number(24), "0 dB"},
        {0x0500, number(23), "23"},
        {0x0508, number(160), "0 dB"},
        {0x0701, number(3), "0 ms"},
        {0x0701, number(4), "4"},
        {0x0702, number(50), "50"},
        {0x090A, number(3), "Serial"}, // as 1 does
        {0x0B01, number(7), "7"},
        {0x0B01, number(8), "Automatic"},
        {0x0B08, number(61), "Mute"},
    });
}

TEST(ControlCatalogueRows, LabelsKeepTheTableOrderIncludingRepeatedTexts)
{
    struct Case {
        int id;
        std::vector<std::pair<int, std::string>> labels;
    };
    const std::vector<Case> cases{
        // Not sorted by value: the formatter adds them in this order.
        {0x0312, {{2, "-Inf dB"}, {192, "0 dB"}, {188, "-2 dB"}}},
        {0x0511, {{2, "-Inf dB"}, {192, "0 dB"}, {188, "-2 dB"}}},
        // Two values share one text.
        {0x090A, {{0, "Local"}, {1, "Serial"}, {2, "Ethernet"}, {3, "Serial"}}},
        {0x0301,
         {{0, "AES1 Input Status"}, {1, "AES2 Input Status"}, {2, "Optical Input Status"}, {3, "Streaming"}}},
        {0x0B00, {{0, "Automatic"}, {1, "Channel 1"}, {2, "Channel 2"}, {3, "Channel 1+2"}}},
        {0x0B01,
         {{0, "0"}, {1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}, {7, "7"}, {8, "Automatic"}}},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(hexId(expected.id));
        std::vector<std::pair<int, std::string>> actual;
        for (const auto& label : rowOf(expected.id).labels)
            actual.emplace_back(label.value, label.text);
        EXPECT_EQ(actual, expected.labels);
    }
}

TEST(ControlCatalogueRows, SerialPortNamesCarryTheControlByte)
{
    const ParameterDefinition& parity = rowOf(0x0908);
    const ParameterDefinition& stopBits = rowOf(0x0909);
    EXPECT_EQ(parity.name, std::string("Set RS-232\x04") + "85 Communication Parity");
    EXPECT_EQ(parity.name.size(), 34u);
    EXPECT_EQ(stopBits.name, std::string("Set RS-232\x04") + "85 Communication Stop Bits");
    EXPECT_EQ(stopBits.name.size(), 37u);
}

TEST(ControlCatalogueRows, NamesAreFoundOnlyByIdentifier)
{
    // Shared names stay separate parameters, each with its own labels.
    EXPECT_EQ(rowOf(0x0304).name, "Surround QX Decoding");
    EXPECT_EQ(rowOf(0x0305).name, "Surround QX Decoding");
    EXPECT_EQ(labelOf(rowOf(0x0304), 1), "Automatic");
    EXPECT_EQ(labelOf(rowOf(0x0305), 1), "On");
    EXPECT_EQ(rowOf(0x0705).name, rowOf(0x0516).name);
    EXPECT_EQ(rowOf(0x0709).name, rowOf(0x0517).name);
    EXPECT_EQ(labelOf(rowOf(0x0709), 1), "Yes");
    EXPECT_EQ(labelOf(rowOf(0x0517), 1), "Mute");
    // The unit's own spelling, kept as it is.
    EXPECT_EQ(rowOf(0x0507).name, "Factory Set the BackRight Surround Channel Trim");
}

TEST(ControlCatalogueRows, DefaultsUseTheUnitsEncoding)
{
    // A negative default is two bytes, most significant first.
    EXPECT_EQ(rowOf(0x0104).defaultValue.toString(), std::string("\x82\x80", 2));
    EXPECT_EQ(rowOf(0x0104).defaultValue.toUInt16(), 0x8280);
    // A text default is its characters, with no terminator.
    EXPECT_EQ(rowOf(0x0100).defaultValue.toString(), "$Revision: #251 $");
    EXPECT_EQ(rowOf(0x0100).defaultValue.size(), 17u);
    EXPECT_FALSE(rowOf(0x0906).defaultValue.toString().empty());
}

} // namespace
