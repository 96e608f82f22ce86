#include <gtest/gtest.h>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

TEST(CatalogueGroup13, RowsAtTheirEnds)
{
    const RowCase cases[] = {
        {0x1300, status, "Time Code Present Status", 0, 1, number(0), 2, {0, "No"}, {1, "YES"}},
        {0x1301, status, "", 0, -1, number(0), 0, {}, {}},
        {0x1302, status, "", 0, -1, number(0), 0, {}, {}},
        {0x1303, status, "Frame Rate", 0, 8, number(0), 9, {0, "N/A"}, {8, "N/A"}},
        {0x1304, status, "", 0, -1, number(0), 0, {}, {}},
        {0x1305, status, "Timecode Frame Type", 0, 1, number(1), 2, {0, ";"}, {1, ":"}},
    };
    for (const RowCase& expected : cases)
        expectRow(expected);
}

TEST(CatalogueGroup13, FullWordRowsSpanAllSixteenBits)
{
    // The unit reads the maximum as the bytes 0xFF 0xFF.
    for (int id : {0x1301, 0x1302, 0x1304})
        EXPECT_EQ(number(rowOf(id).maximum).toUInt16(), 0xFFFF) << std::hex << id;
}

TEST(CatalogueGroup13, FrameRates)
{
    expectShownByBuilder(
        {{0x1303, number(1), "23.98fps"}, {0x1303, number(4), "29.97fps"}, {0x1303, number(7), "59.94fps"}});
}

} // namespace
