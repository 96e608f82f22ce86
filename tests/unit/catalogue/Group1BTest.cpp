#include <string>

#include <gtest/gtest.h>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

TEST(CatalogueGroup1B, ActivePresetNumberAndName)
{
    const RowCase cases[] = {
        {0x1B00, status, "Active Preset Number", 0, 32, number(0), 33, {0, "None"}, {32, "Preset 32"}},
        {0x1B01, status, "Preset Name", -32768, 32767, text("Preset 1"), 0, {}, {}},
    };
    for (const RowCase& expected : cases)
        expectRow(expected);

    // Preset n is the value n, as for "Recall Preset".
    for (const ValueLabel& label : rowOf(0x1B00).labels) {
        if (label.value != 0) {
            EXPECT_EQ(label.text, "Preset " + std::to_string(label.value));
        }
    }
}

} // namespace
