#include <string>

#include <gtest/gtest.h>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

TEST(CatalogueGroup19, RowsAtTheirEnds)
{
    const RowCase cases[] = {
        {0x1900, control, "Recall Preset", 0, 32, number(0), 33, {0, "No Preset"}, {32, "Preset 32"}},
        {0x1901, control, "User Preset Save", 0, 27, number(0), 28, {0, "Preset 1"}, {27, "Preset 28"}},
        {0x1902, control, "Save Preset Trigger", 0, 1, number(0), 2, {0, "False"}, {1, "True"}},
        {0x1903, control, "Save Preset Number", 0, 27, number(0), 28, {0, "Preset 1"}, {27, "Preset 28"}},
        {0x1904, control, "Save Preset Name", -32768, 32767, text(""), 0, {}, {}},
        {0x1905, control, "Recall Preset Number", 0, 31, number(0), 32, {0, "Preset 1"}, {31, "Preset 32"}},
    };
    for (const RowCase& expected : cases)
        expectRow(expected);
    EXPECT_TRUE(rowOf(0x1904).defaultValue.toString().empty()) << "no bytes, not a zero byte";
}

TEST(CatalogueGroup19, PresetNumbering)
{
    // "Recall Preset" gives preset n as n; the save rows and "Recall Preset Number" as n - 1.
    struct Numbering {
        int id;
        int offset; // preset number minus value
    };
    const Numbering numberings[] = {{0x1900, 0}, {0x1901, 1}, {0x1903, 1}, {0x1905, 1}};
    std::size_t labelTotal = 0;
    for (const Numbering& numbering : numberings) {
        const ParameterDefinition& row = rowOf(numbering.id);
        labelTotal += row.labels.size();
        for (const ValueLabel& label : row.labels) {
            int preset = label.value + numbering.offset;
            if (preset == 0)
                continue; // "No Preset"
            EXPECT_EQ(label.text, "Preset " + std::to_string(preset)) << std::hex << numbering.id;
        }
    }
    labelTotal += rowOf(0x1902).labels.size();
    EXPECT_EQ(labelTotal, 123u);
}

} // namespace
