#include <gtest/gtest.h>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

TEST(CatalogueGroup17, ReferenceLampsAreControlRows)
{
    const RowCase cases[] = {
        {0x1700, control, "Ref LED", 0, 1, number(0), 2, {0, "led off"}, {1, "led on"}},
        {0x1701,
         control,
         "AES Ref LED",
         0,
         2,
         number(0),
         3,
         {0, "AES Reference not selected"},
         {2, "AES Reference selected but no valid signal found"}},
    };
    for (const RowCase& expected : cases)
        expectRow(expected);
    EXPECT_EQ(labelOf(rowOf(0x1701), 1), "AES Reference selected and valid");
}

} // namespace
