#include <gtest/gtest.h>

#include <string>

#include "tests/unit/catalogue/CatalogueRows.h"

TEST(Group25, DefaultUrlNamesALocalStreamingServer)
{
    const ParameterDefinition& url = rowOf(0x2501);
    EXPECT_EQ(url.name, "Streaming URL");
    EXPECT_EQ(url.formatter, FormatterKind::String);
    EXPECT_EQ(url.defaultValue.toString(), "rtsp://streaming-server/temp/onions.ac3");
}

TEST(Group25, PlayPositionIsAPlainNumberNotKeptInConfigurationFiles)
{
    // Its maximum follows the duration of the stream the unit has now, so a
    // saved position could not be loaded back once that stream is gone.
    const ParameterDefinition& position = rowOf(0x2505);
    EXPECT_EQ(position.kind, ParameterKind::Control);
    EXPECT_EQ(position.formatter, FormatterKind::None);
    EXPECT_EQ(position.maximum, 32000);
    EXPECT_FALSE(position.saved);
    EXPECT_FALSE(position.alwaysNotify);
}
