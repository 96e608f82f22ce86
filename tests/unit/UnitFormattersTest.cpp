#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "model/ParameterConverter.h"
#include "tests/unit/catalogue/CatalogueRows.h"
#include "unit/UnitFormatters.h"

namespace {

const ParameterFormatter& formatterOf(const std::vector<UnitFormatter>& formatters, int id)
{
    for (const auto& entry : formatters) {
        if (entry.id == id)
            return *entry.formatter;
    }
    throw std::out_of_range("no unit formatter for " + std::to_string(id));
}

std::string formatted(const ParameterFormatter& formatter, int value)
{
    std::ostringstream out;
    EXPECT_TRUE(formatter.format(out, ParameterValue(value)));
    return out.str();
}

std::string nameOf(const ParameterFormatter& formatter)
{
    std::ostringstream out;
    EXPECT_TRUE(formatter.writeName(out));
    return out.str();
}

} // namespace

TEST(UnitFormatters, AreMadeForTheirParametersInAttachOrder)
{
    const auto formatters = createUnitFormatters();
    ASSERT_EQ(formatters.size(), std::size(unitFormatterNames));
    for (std::size_t i = 0; i < formatters.size(); ++i) {
        const UnitFormatterName& expected = unitFormatterNames[i];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(formatters[i].id, expected.id);
        EXPECT_EQ(formatters[i].kind, expected.kind);
        ASSERT_NE(formatters[i].formatter, nullptr);
        EXPECT_EQ(nameOf(*formatters[i].formatter), expected.name);
    }
}

// Each formatter at both ends of its parameter's range, at its zero point or
// centre, and at a value between; values just outside show what the unit
// would see if it reported them.
TEST(UnitFormatters, ShowTheEndsAndMiddleOfEachRange)
{
    struct Case {
        int id;
        int value;
        std::string text;
    };
    const std::vector<Case> cases = {
        // Master Volume, 2 to 212, half a dB per step around 192.
        {0x0511, 2, "-95.0"},
        {0x0511, 188, "-2.0"},
        {0x0511, 191, "-0.5"},
        {0x0511, 192, "0 "},
        {0x0511, 193, "+0.5"},
        {0x0511, 212, "+10.0"},
        // Digital Volume, 2 to 192.
        {0x0312, 2, "-95.0"},
        {0x0312, 97, "-47.5"},
        {0x0312, 192, "0 "},
        // Ref Level, 0 to 180: the zero point 260 lies outside the range.
        {0x030D, 0, "-26.0"},
        {0x030D, 60, "-20.0"},
        {0x030D, 95, "-16.5"},
        {0x030D, 180, "-8.0"},
        {0x030D, 260, "0 dB"},
        // Dim Gain, 0 to 37.
        {0x0512, 0, "-31"},
        {0x0512, 18, "-13"},
        {0x0512, 31, "0 dB"},
        {0x0512, 37, "+6"},
        // Master Trim, 0 to 52, half a dB per step around 40.
        {0x0510, 0, "-20.0"},
        {0x0510, 26, "-7.0"},
        {0x0510, 40, "0 dB"},
        {0x0510, 41, "+0.5"},
        {0x0510, 52, "+6.0"},
        // Tessiva II Dimension, 0 to 6.
        {0x0D03, 0, "-3"},
        {0x0D03, 3, "0 "},
        {0x0D03, 6, "+3"},
        // Tessiva II Center Width, 0 to 7: 7 is left/right.
        {0x0D04, 0, "-3"},
        {0x0D04, 3, "0 "},
        {0x0D04, 6, "+3"},
        {0x0D04, 7, "L/R"},
        {0x0D04, 8, "+5"},
        // Pans, 0 to 20.
        {0x0B0B, 0, "Hard Left"},
        {0x0B0B, 1, "-9"},
        {0x0B0B, 5, "-5"},
        {0x0B0B, 10, "Center"},
        {0x0B0C, 15, "+5"},
        {0x0B0C, 19, "+9"},
        {0x0B0D, 20, "Hard Right"},
        {0x0B0D, 21, "+11"},
        // Karaoke levels, 0 to 61.
        {0x0B08, 0, "0 dB"},
        {0x0B08, 12, "-12 dB"},
        {0x0B09, 30, "-30 dB"},
        {0x0B09, 60, "-60 dB"},
        {0x0B0A, 61, "Mute"},
        {0x0B0A, 62, "-62 dB"},
        {0x0B0A, -1, "1 dB"},
        // Dialogue level, 1 to 32 (32: no bitstream).
        {0x1508, 0, "N/A"},
        {0x1508, 1, "-1"},
        {0x1508, 27, "-27"},
        {0x1508, 31, "-31"},
        {0x1508, 32, "N/A"},
        {0x1508, 0xFFFF, "N/A"},
        // Streaming duration, 0 to 65535 s, read unsigned.
        {0x2B04, 0, "00:00:00"},
        {0x2B04, 3725, "01:02:05"},
        {0x2B04, 0xFFFF, "18:12:15"},
        // Streaming position, 0 to 32000 s.
        {0x2B09, 0, "00:00:00"},
        {0x2B09, 16000, "04:26:40"},
        {0x2B09, 32000, "08:53:20"},
    };
    const auto formatters = createUnitFormatters();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " at " + std::to_string(c.value));
        EXPECT_EQ(formatted(formatterOf(formatters, c.id), c.value), c.text);
    }
}

// The Monitor Configuration page edits Ref Level through its reference
// converter: what the user types must land on the value the formatter shows.
TEST(UnitFormatters, RefLevelTextParsesBackToTheValueItShows)
{
    const auto formatters = createUnitFormatters();
    const auto& refLevel = formatterOf(formatters, 0x030D);
    const FractionParameterConverter reference(260, 10, 1, true);
    for (const int value : {0, 60, 95, 179, 180}) {
        SCOPED_TRACE(value);
        const std::string shown = formatted(refLevel, value);
        std::string converted;
        reference.toText(converted, ParameterValue(value));
        EXPECT_EQ(converted, shown);
        ParameterValue parsed(-1);
        ASSERT_TRUE(reference.toValue(parsed, shown));
        EXPECT_EQ(parsed, ParameterValue(value));
    }
}

TEST(UnitFormatters, DialogueLevelReportsAFailedStream)
{
    const auto formatters = createUnitFormatters();
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(formatterOf(formatters, 0x1508).format(out, ParameterValue(12)));
    // The others answer true whatever the stream did.
    EXPECT_TRUE(formatterOf(formatters, 0x0B08).format(out, ParameterValue(12)));
    EXPECT_TRUE(formatterOf(formatters, 0x0B0B).format(out, ParameterValue(5)));
    EXPECT_TRUE(formatterOf(formatters, 0x0D04).format(out, ParameterValue(7)));
}
