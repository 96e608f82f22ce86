#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/catalogue/CatalogueRows.h"

TEST(Group43, ApplicationsVersionAndChannelSelector)
{
    const ParameterDefinition& version = rowOf(0x4300);
    EXPECT_EQ(version.kind, ParameterKind::Control);
    EXPECT_EQ(version.formatter, FormatterKind::String);
    EXPECT_EQ(version.name, "Parameter File Version Number");
    EXPECT_EQ(version.defaultValue.toString(), "$Revision: #251 $");

    const ParameterDefinition& selector = rowOf(0x4301);
    EXPECT_EQ(selector.kind, ParameterKind::Control);
    const std::vector<std::string> channels = {"Left",
                                               "Right",
                                               "Center",
                                               "Subwoofer",
                                               "Left Surround",
                                               "Right Surround",
                                               "Back Left Surround",
                                               "Back Right Surround",
                                               "Cycle"};
    ASSERT_EQ(selector.labels.size(), channels.size());
    for (int value = 0; value < static_cast<int>(channels.size()); ++value) {
        EXPECT_EQ(labelOf(selector, value), channels[value]);
    }
    EXPECT_EQ(defaultShownByBuilder(selector.id), "Cycle");
}

TEST(Group43, SelectorAndUnitChannelNameTheSameChannels)
{
    // The selector rule maps the application's channel order onto the unit's;
    // both label lists must name the same channel at each end of the mapping.
    const ParameterDefinition& selector = rowOf(0x4301);
    const ParameterDefinition& unitChannel = rowOf(0x2301);
    EXPECT_EQ(selector.name, unitChannel.name);

    const int unitCodeOf[8] = {0, 2, 1, 7, 6, 3, 5, 4};
    for (int application = 0; application < 8; ++application) {
        EXPECT_EQ(labelOf(selector, application), labelOf(unitChannel, unitCodeOf[application]))
            << "application channel " << application;
    }
}
