#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/catalogue/CatalogueRows.h"

// Sample rows of the input/output, test-noise, streaming, meter, display,
// diagnostics and application-local groups, at both ends of their label lists.

TEST(CatalogueGroups1FTo43, SampleRows)
{
    struct Case {
        int id;
        const char* name; // empty: no formatter
        int minimum;
        int maximum;
        const char* shownDefault;
        const char* firstLabel; // empty: no labels
        const char* lastLabel;
    };
    const std::vector<Case> cases = {
        {0x2300, "Test Noise", 0, 2, "Off", "Off", "Filtered"},
        {0x2301, "Test Noise Output Channel", 0, 7, "Left", "Left", "Subwoofer"},
        {0x2302, "Test Noise Cycle Enable", 0, 1, "Off", "Off", "On"},
        {0x2500, "Flow Control", 0, 2, "Stop", "Play", "Stop"},
        {0x2502, "Streaming Server", -32768, 32767, "streaming_server", "", ""},
        {0x2503, "Streaming File Name", -32768, 32767, "file_name.ac3", "", ""},
        {0x2504, "Session Control", 0, 2, "Describe", "Describe", "Teardown"},
        {0x2505, "", 0, 32000, "0", "", ""},
        {0x2506, "Session Speed", 0, 2, "0.9 * original", "0.9 * original", "1.1 * original"},
        {0x2700, "", 0, 1023, "0", "", ""},
        {0x270F, "", 0, 1023, "0", "", ""},
        {0x2900, "GPI Pin Level", 0, 1, "High", "Low", "High"},
        {0x290E, "GPI Pin Level", 0, 1, "High", "Low", "High"},
        {0x2B00, "", 0, -1, "0", "", ""},
        {0x2B01, "RTP_State", 0, 2, "Awaiting", "Awaiting", "Playing"},
        {0x2B02, "RTSP State", 0, 2, "Not Connected", "Not Connected", "Playing"},
        {0x2B03, "State", 0, 4, "No Input", "No Input", "Playing"},
        {0x2B04, "", 0, -1, "0", "", ""},
        {0x2B05, "", 0, 3840, "0", "", ""},
        {0x2B06, "Ac3 Sample Rate", 0, 2, "48kHz", "32kHz", "48kHz"},
        {0x2B07, "Packets Received", -32768, 32767, "", "", ""},
        {0x2B08, "Session Identifier", -32768, 32767, "21", "", ""},
        {0x2B09, "", 0, 32000, "0", "", ""},
        {0x2B0A, "Status String", -32768, 32767, "", "", ""},
        {0x2D00, "Timecode Display", 0, 2, "Timecode", "Timecode", "Disabled"},
        {0x2D01, "Screensaver Timeout", 0, 2, "10 minutes", "10 minutes", "4 hours"},
        {0x2D02, "Screensaver Design", 0, 1, "Logo", "Logo", "Unit Name"},
        {0x2D03, "Screensaver Sate", 0, 1, "1", "0", "1"},
        {0x2D04, "Monitor Output", 0, 1, "Analog", "Analog", "Analog & Digital"},
        {0x3300, "Device Name", -32768, 32767, "QZ347", "", ""},
        {0x3301, "Firmware Version", -32768, 32767, "1000000", "", ""},
        {0x3302, "Error Status", 0, 0, "No errors", "No errors", "No errors"},
        {0x3500, "All Tests", 0, 1, "Idle", "Idle", "Run"},
        {0x3502, "QZ347 Parameter Test", 0, 1, "Idle", "Idle", "Run"},
        {0x3700, "Host Name", -32768, 32767, "N/A", "", ""},
        {0x3703, "Gateway IP Address", -32768, 32767, "N/A", "", ""},
        {0x3706, "Network State", 0, 1, "Down", "Up", "Down"},
        {0x3D01, "Input Error", 0, 1, "ERROR", "OKAY", "ERROR"},
        {0x3D03, "Reference Input Error", 0, 1, "ERROR", "OKAY", "ERROR"},
        {0x3D04, "Reference Input Error", 0, 18, "0", "0", "OKAY"},
        {0x3D05, "Streaming Error", 0, 3, "Okay", "Okay", "File Error"},
        {0x3D09, "", 0, 99, "0", "", ""},
        {0x4300, "Parameter File Version Number", -32768, 32767, "$Revision: #251 $", "", ""},
        {0x4301, "Test Noise Output Channel", 0, 8, "Cycle", "Left", "Cycle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(hexId(c.id));
        const ParameterDefinition& row = rowOf(c.id);
        EXPECT_EQ(row.name, c.name);
        EXPECT_EQ(row.minimum, c.minimum);
        EXPECT_EQ(row.maximum, c.maximum);
        EXPECT_EQ(defaultShownByBuilder(c.id), c.shownDefault);
        if (*c.firstLabel == '\0') {
            EXPECT_TRUE(row.labels.empty());
        } else {
            ASSERT_FALSE(row.labels.empty());
            EXPECT_EQ(row.labels.front().text, c.firstLabel);
            EXPECT_EQ(row.labels.back().text, c.lastLabel);
        }
    }
}
