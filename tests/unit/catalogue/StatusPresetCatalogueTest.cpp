#include <gtest/gtest.h>

#include <string>

#include "tests/unit/catalogue/CatalogueRows.h"

// The status and preset groups 0x0F to 0x1D as the user sees them: values shown
// through the formatter each builder attaches, and what an off-line unit's
// factory defaults show.

namespace {

TEST(StatusPresetCatalogue, ValuesShowThroughTheBuildersFormatters)
{
    expectShownByBuilder({
        {0x0F0B, number(9), "24 bits/sample"},
        {0x0F0B, number(10), "10"}, // a reported value without label shows as its number
        {0x0F09, number(0xFFFF), "-1"},
        {0x0F0E, number(3), "3"},
        {0x0F0E, number(0xFFFF), "65535"}, // without formatter: unsigned
        {0x1106, number(0), "N/A"},
        {0x1106, number(17), "17"},
        {0x1107, number(200), "200"},
        {0x110D, number(3), "3"},
        {0x1110, number(20), "20"},
        {0x1110, number(0xFFFF), "-1"},
        {0x1111, number(0xFFFF), "65535"},
        {0x1303, number(4), "29.97fps"},
        {0x1303, number(0xFFFF), "-1"},
        {0x1507, number(0), ""}, // an empty label, not "0"
        {0x1507, number(1), "L"},
        {0x150A, number(255), "255"},
        {0x150A, number(256), "N/A"},
        {0x150C, number(0), "Unknown"}, // below the minimum, still labelled
        {0x150C, number(80), "80"},
        {0x1523, number(256), "N/A"},
        {0x1701, number(3), "3"},
        {0x1900, number(32), "Preset 32"},
        {0x1901, number(27), "Preset 28"},
        {0x1B00, number(33), "33"},
        {0x1B01, text("Preset 1"), "Preset 1"},
        {0x1B01, text(std::string("Live\0Mix", 8)), "Live"}, // a status text ends at its first zero byte
        {0x1D1F, text("Lt/Rt Decode"), "Lt/Rt Decode"},
        {0x1D00, number(0), ""}, // a name not yet read holds two zero bytes
    });
}

// The bitstream group's defaults, every one "N/A", and the preset names are
// checked with their groups.
TEST(StatusPresetCatalogue, FactoryDefaultsShowAsOffLine)
{
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {0x0F00, "48kHz"},
        {0x0F01, "48kHz"},
        {0x0F02, "Unlocked"},
        {0x0F03, "Invalid"},
        {0x0F04, "Unlocked"},
        {0x0F05, "Not Confident"},
        {0x0F06, "Consumer"},
        {0x0F07, "Audio"},
        {0x0F08, "Unlocked"},
        {0x0F09, "Not Indicated"},
        {0x0F0A, "Not Indicated"},
        {0x0F0B, "Not Indicated"},
        {0x0F0C, "Unlocked"},
        {0x0F0D, "false"},
        {0x0F0E, "0"},
        {0x1100, "Invalid Input"},
        {0x1101, "OFF"},
        {0x1104, "Tessiva"},
        {0x1105, "Off"},
        {0x1106, "N/A"},
        {0x1107, "0"},
        {0x1108, "Unknown"},
        {0x110A, "N/A"},
        {0x110D, "N/A"},
        {0x110E, "Left"},
        {0x110F, "48kHz"},
        {0x1110, "384kbps"},
        {0x1113, "Line"},
        {0x1300, "No"},
        {0x1301, "0"},
        {0x1303, "N/A"},
        {0x1305, ":"},
        {0x1700, "led off"},
        {0x1701, "AES Reference not selected"},
        {0x1900, "No Preset"},
        {0x1901, "Preset 1"},
        {0x1902, "False"},
        {0x1903, "Preset 1"},
        {0x1904, ""},
        {0x1905, "Preset 1"},
        {0x1B00, "None"},
        {0x1B01, "Preset 1"},
    };
    for (const auto& expected : cases)
        EXPECT_EQ(defaultShownByBuilder(expected.id), expected.text) << hexId(expected.id);
}

} // namespace
