#include <gtest/gtest.h>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

TEST(CatalogueGroup11, RowsAtTheirEnds)
{
    const RowCase cases[] = {
        {0x1100, status, "Input Type", 0, 2, number(0), 3, {0, "Invalid Input"}, {2, "Vormo Digital"}},
        {0x1101, status, "LoRo Downmix Status", 0, 1, number(0), 2, {0, "OFF"}, {1, "ON"}},
        {0x1105, status, "Surround QX Status", 0, 1, number(0), 2, {0, "Off"}, {1, "ON"}},
        {0x1106, status, "Decoder Latency", 0, 48, number(0), 1, {0, "N/A"}, {0, "N/A"}},
        {0x1107, status, "", 0, 255, number(0), 0, {}, {}},
        {0x1109,
         status,
         "Master Clock Sampling Frequency Status",
         0,
         3,
         number(0),
         4,
         {0, "Unknown"},
         {3, "48 kHz"}},
        {0x110B, status, "", 0, 31, number(0), 0, {}, {}},
        {0x110D, status, "Stream #", 0, 8, number(8), 1, {8, "N/A"}, {8, "N/A"}},
        {0x110F, status, "Vormo Digital Sample Rate Status", 0, 4, number(3), 5, {0, "N/A"}, {4, "Resrvd"}},
        {0x1110, status, "Data Rate", 0, 19, number(15), 20, {0, "Not Available"}, {19, "640kbps"}},
        {0x1112, status, "", 0, 96, number(0), 0, {}, {}},
        {0x1113, status, "Compression Mode", 0, 3, number(2), 4, {0, "None"}, {3, "Custom"}},
    };
    for (const RowCase& expected : cases)
        expectRow(expected);
}

TEST(CatalogueGroup11, LabelSpellingsThatDifferBetweenRows)
{
    expectShownByBuilder({
        {0x1108, number(1), "32 kHz"},
        {0x110F, number(1), "32kHz"},
        {0x110A, number(1), "32bit-Pro"},
        {0x110A, number(2), "16bit-Pro"},
        {0x1104, number(2), "Tessiva II"},
        {0x1110, number(8), "112kbps"},
    });
}

} // namespace
