#include <gtest/gtest.h>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

TEST(CatalogueGroup0F, RowsAtTheirEnds)
{
    const RowCase cases[] = {
        {0x0F00, status, "Sample Rate", 0, 5, number(2), 6, {0, "32kHz"}, {5, "UNKNOWN"}},
        {0x0F01, status, "Sample Rate", 0, 5, number(2), 6, {0, "32kHz"}, {5, "N/A"}},
        {0x0F05,
         status,
         "Channel Signal Confidence",
         0,
         1,
         number(1),
         2,
         {0, "Confident"},
         {1, "Not Confident"}},
        {0x0F07, status, "Bit-1", 0, 1, number(1), 2, {0, "Non-Audio"}, {1, "Audio"}},
        {0x0F08, status, "Channel Status Locked", 0, 1, number(1), 2, {0, "Locked"}, {1, "Unlocked"}},
        {0x0F09, status, "Emphasis", 0, 4, number(0), 5, {0, "Not Indicated"}, {4, "Reserved"}},
        {0x0F0B,
         status,
         "Channel Status Sample Word Length",
         0,
         9,
         number(0),
         10,
         {0, "Not Indicated"},
         {9, "24 bits/sample"}},
        {0x0F0D, status, "Audio polled", 0, 1, number(0), 2, {0, "false"}, {1, "true"}},
        {0x0F0E, status, "", 0, 5, number(0), 0, {}, {}},
    };
    for (const RowCase& expected : cases)
        expectRow(expected);
}

TEST(CatalogueGroup0F, LabelsThatLookAlikeButDiffer)
{
    // The two sample-rate rows differ only in their last label.
    const ParameterDefinition& first = rowOf(0x0F00);
    const ParameterDefinition& second = rowOf(0x0F01);
    ASSERT_EQ(first.labels.size(), second.labels.size());
    for (std::size_t i = 0; i + 1 < first.labels.size(); ++i)
        EXPECT_EQ(first.labels[i].text, second.labels[i].text);

    expectShownByBuilder({
        {0x0F00, number(2), "48kHz"},
        // Channel-status sampling frequency: a blank before "kHz" up to 48, none and "KHz" above.
        {0x0F0A, number(2), "44.1 kHz"},
        {0x0F0A, number(3), "48 kHz"},
        {0x0F0A, number(4), "88.2KHz"},
        {0x0F0A, number(5), "96KHz"},
        // The input lock reads 0 as unlocked, the channel-status lock reads 0 as locked.
        {0x0F02, number(0), "Unlocked"},
        {0x0F04, number(0), "Unlocked"},
        {0x0F0C, number(0), "Locked"},
        {0x0F09, number(2), "50/15-us Emphasis"},
    });
    EXPECT_EQ(rowOf(0x0F04).name, "Input");
    EXPECT_EQ(rowOf(0x0F0C).name, "Channel Status Locked");
}

} // namespace
