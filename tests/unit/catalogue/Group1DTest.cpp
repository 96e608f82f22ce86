#include <string>

#include <gtest/gtest.h>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

const GroupCatalogue& rows()
{
    return catalogueGroup1D();
}

TEST(CatalogueGroup1D, ThirtyTwoPresetNames)
{
    ASSERT_EQ(rows().size(), 32u);
    for (int index = 0; index < 32; ++index) {
        SCOPED_TRACE(index);
        const ParameterDefinition& row = rows()[index];
        EXPECT_EQ(row.id, 0x1D00 + index);
        EXPECT_EQ(row.kind, ParameterKind::Control);
        EXPECT_EQ(row.formatter, FormatterKind::String);
        EXPECT_EQ(row.name, "Preset Name");
        EXPECT_EQ(row.minimum, -32768);
        EXPECT_EQ(row.maximum, 32767);
    }
}

TEST(CatalogueGroup1D, FactoryNames)
{
    // Presets 5 to 28 are named by number; 1 to 4 and again 29 to 32 carry the four
    // factory set-ups.
    const char* const factory[] = {"Manual Ctrl", "Auto Ctrl", "Stereo Dwnmx", "Lt/Rt Decode"};
    for (int preset = 1; preset <= 32; ++preset) {
        SCOPED_TRACE(preset);
        std::string expected =
            preset >= 5 && preset <= 28 ? "Preset " + std::to_string(preset) : factory[(preset - 1) % 4];
        EXPECT_EQ(rowOf(0x1D00 + preset - 1).defaultValue, text(expected));
    }
    EXPECT_EQ(rowOf(0x1D00).defaultValue.size(), 11u) << "no terminating zero byte";
}

} // namespace
