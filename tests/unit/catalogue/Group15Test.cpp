#include <gtest/gtest.h>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

TEST(CatalogueGroup15, RowsAtTheirEnds)
{
    const RowCase cases[] = {
        {0x1500, status, "Bitstream ID", 0, 32, number(32), 1, {32, "N/A"}, {32, "N/A"}},
        {0x1501, status, "Data Rate", 0, 31, number(31), 32, {0, "32 kbps"}, {31, "N/A"}},
        {0x1502, status, "Bitstream Mode", 0, 9, number(9), 10, {0, "Main Complete"}, {9, "N/A"}},
        {0x1507,
         status,
         "Vormo Digital Low frequency effect channel (ac3_lfeon)",
         0,
         2,
         number(2),
         3,
         {0, ""},
         {2, "N/A"}},
        // The set swaps this formatter for the dialogue-level one; the table keeps the unit's own.
        {0x1508,
         status,
         "Vormo Digital Dialogue normalization (ac3_dialnorm)",
         1,
         32,
         number(32),
         1,
         {32, "N/A"},
         {32, "N/A"}},
        {0x150A,
         status,
         "Vormo Digital Language code (ac3_langcod)",
         0,
         256,
         number(256),
         2,
         {0, "Unknown"},
         {256, "N/A"}},
        {0x150C,
         status,
         "Vormo Digital Mix level (ac3_mixlevel)",
         80,
         112,
         number(112),
         2,
         {0, "Unknown"},
         {112, "N/A"}},
        {0x1518,
         status,
         "Vormo Digital Extended Vormo Headphone Mode (ac3_headphonmod)",
         0,
         4,
         number(4),
         5,
         {0, "Not indicated"},
         {4, "N/A"}},
        {0x151F,
         status,
         "Vormo Digital Surround 90 Degrees Phase Shift Filter Enabled (ac3_sur90on)",
         0,
         2,
         number(2),
         3,
         {0, "Disabled"},
         {2, "N/A"}},
        {0x1528,
         status,
         "Vormo Digital Additional Bit Stream Information Exists",
         0,
         2,
         number(2),
         3,
         {0, "Not present"},
         {2, "N/A"}},
        {0x1529, status, "", 0, -1, number(0), 0, {}, {}},
        {0x152A, status, "", 0, -1, number(0), 0, {}, {}},
        {0x152B,
         status,
         "Vormo Digital Timecode 1 exists (ac3_timecod1e)",
         0,
         2,
         number(2),
         3,
         {0, "No timecode"},
         {2, "N/A"}},
        {0x152D,
         status,
         "Vormo Digital Timecode 2 exists (ac3_timecod2e)",
         0,
         1,
         number(1),
         2,
         {0, "Reserved"},
         {1, "N/A"}},
        {0x152E,
         status,
         "Vormo Digital Timecode 2 (ac3_timecod2)",
         0,
         1,
         number(1),
         2,
         {0, "Reserved"},
         {1, "N/A"}},
    };
    for (const RowCase& expected : cases)
        expectRow(expected);
}

TEST(CatalogueGroup15, EveryLabelledRowDefaultsToItsNotAvailableMaximum)
{
    // Without a bitstream the unit reports each field's highest code, labelled "N/A";
    // the two rows without formatter report 0.
    for (int id = 0x1500; id <= 0x152E; ++id) {
        SCOPED_TRACE(hexId(id));
        const ParameterDefinition& row = rowOf(id);
        const bool plain = id == 0x1529 || id == 0x152A;
        EXPECT_EQ(defaultShownByBuilder(id), plain ? "0" : "N/A");
        EXPECT_EQ(row.defaultValue, number(plain ? 0 : row.maximum));
    }
}

TEST(CatalogueGroup15, SpellingsKeptAsTheUnitHasThem)
{
    expectShownByBuilder({
        {0x1501, number(18), "640 kbps"},
        {0x1501, number(19), "Reserved"},
        {0x1501, number(30), "Reserved"},
        {0x1502, number(1), "Main M&E"},
        {0x1505, number(2), "0 (-999 dB)"},
        {0x1504, number(1), "0.596 (-4.5 dB)"},
        {0x1506, number(0), "Not Indicated"},
        {0x150D, number(0), "Not indicated"},
        {0x1517, number(2), "Srnd QX"},
        {0x1518, number(1), "Not Vormo Headphone encoded"},
        {0x1519, number(1), "HDCD"},
    });
    EXPECT_EQ(rowOf(0x1510).name, "Vormo Digital Extended BSI1 Exist (ac3_xbsi1e)");
    EXPECT_EQ(rowOf(0x1516).name, "Vormo Digital Extended BSI2 Exist (ac3_xbsi2e)");
}

TEST(CatalogueGroup15, RowsThatShareANameOrALabelList)
{
    EXPECT_EQ(rowOf(0x1523).name, "Vormo Digital Compr (ac3_compr)");
    EXPECT_EQ(rowOf(0x1524).name, "Vormo Digital Compr (ac3_compr)");
    EXPECT_EQ(rowOf(0x1526).name, "Vormo Digital Dynamic Range 1 (ac3_dynrng1)");
    EXPECT_EQ(rowOf(0x1527).name, "Vormo Digital Dynamic Range 1 (ac3_dynrng1)");

    // The four matrix downmix levels use one scale.
    for (int id : {0x1512, 0x1513, 0x1514, 0x1515}) {
        SCOPED_TRACE(id);
        const ParameterDefinition& row = rowOf(id);
        ASSERT_EQ(row.labels.size(), 10u);
        EXPECT_EQ(row.labels[0].text, "1.414 (+3.0 dB)");
        EXPECT_EQ(row.labels[2].text, "1.000 (0.0 dB)");
        EXPECT_EQ(row.labels[7].text, "0 (-999 dB)");
        EXPECT_EQ(row.labels[8].text, "Not Active");
    }
}

} // namespace
