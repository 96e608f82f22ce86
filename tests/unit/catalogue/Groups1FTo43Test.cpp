#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/catalogue/GroupTableHelpers.h"

using namespace catalogueIoTest;

// Properties every table of the input/output, test-noise, streaming, meter,
// display, diagnostics and application-local groups must have, checked over
// the raw tables.

namespace {

struct Block {
    int first;
    int last;
};

struct GroupShape {
    int group;
    const GroupCatalogue& (*catalogue)();
    int controls;
    int statuses;
    int enumeratedRows;
    int stringRows;
    int plainRows;
    std::vector<Block> builderBlocks; // each block is one builder of the set
};

const std::vector<GroupShape>& shapes()
{
    static const std::vector<GroupShape> table = {
        {0x1F,
         catalogueGroup1F,
         49,
         0,
         49,
         0,
         0,
         {{0x1F00, 0x1F09}, {0x1F0A, 0x1F13}, {0x1F14, 0x1F1D}, {0x1F1E, 0x1F27}, {0x1F28, 0x1F30}}},
        {0x21,
         catalogueGroup21,
         53,
         0,
         53,
         0,
         0,
         {{0x2100, 0x2109},
          {0x210A, 0x2113},
          {0x2114, 0x211D},
          {0x211E, 0x2127},
          {0x2128, 0x2131},
          {0x2132, 0x2134}}},
        {0x23, catalogueGroup23, 3, 0, 3, 0, 0, {{0x2300, 0x2302}}},
        {0x25, catalogueGroup25, 7, 0, 3, 3, 1, {{0x2500, 0x2506}}},
        {0x27, catalogueGroup27, 0, 16, 0, 0, 16, {{0x2700, 0x2709}, {0x270A, 0x270F}}},
        {0x29, catalogueGroup29, 15, 0, 15, 0, 0, {{0x2900, 0x2909}, {0x290A, 0x290E}}},
        {0x2B, catalogueGroup2B, 0, 11, 4, 3, 4, {{0x2B00, 0x2B09}, {0x2B0A, 0x2B0A}}},
        {0x2D, catalogueGroup2D, 5, 0, 5, 0, 0, {{0x2D00, 0x2D04}}},
        {0x33, catalogueGroup33, 0, 3, 1, 2, 0, {{0x3300, 0x3302}}},
        {0x35, catalogueGroup35, 3, 0, 3, 0, 0, {{0x3500, 0x3502}}},
        {0x37, catalogueGroup37, 0, 7, 1, 6, 0, {{0x3700, 0x3706}}},
        {0x3D, catalogueGroup3D, 10, 0, 6, 0, 4, {{0x3D00, 0x3D09}}},
        {0x43, catalogueGroup43, 2, 0, 1, 1, 0, {{0x4300, 0x4301}}},
    };
    return table;
}

std::string groupName(int group)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", group);
    return std::string("group ") + text;
}

const ParameterDefinition* findAnyRow(int id)
{
    for (const GroupShape& shape : shapes()) {
        if (shape.group == id >> 8) {
            return findRow(shape.catalogue(), id);
        }
    }
    ADD_FAILURE() << "no group for identifier " << id;
    return nullptr;
}

// What the row's formatter shows for its default, or the plain number.
std::string shownDefault(const ParameterDefinition& row)
{
    switch (row.formatter) {
    case FormatterKind::Enumerated:
        return defaultLabelOf(row);
    case FormatterKind::String:
        return row.defaultValue.toString();
    case FormatterKind::None:
        break;
    }
    return std::to_string(row.defaultValue.toUInt16());
}

} // namespace

TEST(CatalogueGroups1FTo43, KindsAndFormattersPerGroup)
{
    for (const GroupShape& shape : shapes()) {
        SCOPED_TRACE(groupName(shape.group));
        int controls = 0, statuses = 0, enumeratedRows = 0, stringRows = 0, plainRows = 0;
        for (const ParameterDefinition& row : shape.catalogue()) {
            (row.kind == ParameterKind::Control ? controls : statuses)++;
            switch (row.formatter) {
            case FormatterKind::Enumerated:
                ++enumeratedRows;
                break;
            case FormatterKind::String:
                ++stringRows;
                break;
            case FormatterKind::None:
                ++plainRows;
                break;
            }
        }
        EXPECT_EQ(controls, shape.controls);
        EXPECT_EQ(statuses, shape.statuses);
        EXPECT_EQ(enumeratedRows, shape.enumeratedRows);
        EXPECT_EQ(stringRows, shape.stringRows);
        EXPECT_EQ(plainRows, shape.plainRows);
    }
}

TEST(CatalogueGroups1FTo43, IdentifiersAscendAndFillTheBuilderBlocksExactly)
{
    for (const GroupShape& shape : shapes()) {
        SCOPED_TRACE(groupName(shape.group));
        const GroupCatalogue& rows = shape.catalogue();

        for (std::size_t i = 1; i < rows.size(); ++i) {
            EXPECT_LT(rows[i - 1].id, rows[i].id) << "row " << i;
        }

        std::vector<int> blockIds;
        for (const Block& block : shape.builderBlocks) {
            EXPECT_LE(block.last - block.first + 1, 10) << "a builder defines at most ten identifiers";
            for (int id = block.first; id <= block.last; ++id) {
                blockIds.push_back(id);
            }
        }
        std::vector<int> rowIds;
        for (const ParameterDefinition& row : rows) {
            EXPECT_EQ(row.id >> 8, shape.group);
            rowIds.push_back(row.id);
        }
        EXPECT_EQ(rowIds, blockIds);
    }
}

TEST(CatalogueGroups1FTo43, RowsAreWellFormedForTheirFormatter)
{
    for (const GroupShape& shape : shapes()) {
        for (const ParameterDefinition& row : shape.catalogue()) {
            SCOPED_TRACE("identifier " + std::to_string(row.id));
            switch (row.formatter) {
            case FormatterKind::None:
                EXPECT_TRUE(row.name.empty()) << "no formatter, no display name";
                EXPECT_TRUE(row.labels.empty());
                EXPECT_TRUE(row.defaultValue.isInteger());
                break;
            case FormatterKind::String:
                EXPECT_FALSE(row.name.empty());
                EXPECT_TRUE(row.labels.empty());
                EXPECT_EQ(row.minimum, -32768);
                EXPECT_EQ(row.maximum, 32767);
                break;
            case FormatterKind::Enumerated: {
                EXPECT_FALSE(row.name.empty());
                EXPECT_LE(row.minimum, row.maximum);
                // In these groups every value of the range has exactly one label,
                // added in ascending order, and none lies outside the range.
                ASSERT_EQ(static_cast<int>(row.labels.size()), row.maximum - row.minimum + 1);
                for (std::size_t i = 0; i < row.labels.size(); ++i) {
                    EXPECT_EQ(row.labels[i].value, row.minimum + static_cast<int>(i));
                    EXPECT_FALSE(row.labels[i].text.empty());
                }
                ASSERT_TRUE(row.defaultValue.isInteger());
                EXPECT_GE(row.defaultValue.toInt16(), row.minimum);
                EXPECT_LE(row.defaultValue.toInt16(), row.maximum);
                break;
            }
            }
        }
    }
}

TEST(CatalogueGroups1FTo43, AlwaysNotifyIsSetOnTheStreamingTextsAndTheMetersOnly)
{
    std::set<int> expected = {0x2501, 0x2502, 0x2503};
    for (int id = 0x2700; id <= 0x270F; ++id) {
        expected.insert(id);
    }
    std::set<int> notifying;
    for (const GroupShape& shape : shapes()) {
        for (const ParameterDefinition& row : shape.catalogue()) {
            if (row.alwaysNotify) {
                notifying.insert(row.id);
            }
        }
    }
    EXPECT_EQ(notifying.size(), 19u);
    EXPECT_EQ(notifying, expected);
}

TEST(CatalogueGroups1FTo43, OnlyThePlayPositionIsLeftOutOfConfigurationFiles)
{
    std::set<int> unsaved;
    for (const GroupShape& shape : shapes()) {
        for (const ParameterDefinition& row : shape.catalogue()) {
            if (!row.saved) {
                unsaved.insert(row.id);
            }
        }
    }
    EXPECT_EQ(unsaved, std::set<int>{0x2505});
}

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
        SCOPED_TRACE("identifier " + std::to_string(c.id));
        const ParameterDefinition* row = findAnyRow(c.id);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->name, c.name);
        EXPECT_EQ(row->minimum, c.minimum);
        EXPECT_EQ(row->maximum, c.maximum);
        EXPECT_EQ(shownDefault(*row), c.shownDefault);
        if (*c.firstLabel == '\0') {
            EXPECT_TRUE(row->labels.empty());
        } else {
            ASSERT_FALSE(row->labels.empty());
            EXPECT_EQ(row->labels.front().text, c.firstLabel);
            EXPECT_EQ(row->labels.back().text, c.lastLabel);
        }
    }
}
