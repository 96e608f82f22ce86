#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/catalogue/CatalogueRows.h"

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

} // namespace

TEST(Group3D, ErrorConditionTextsFitTheUnitsDisplay)
{
    const ParameterDefinition& condition = rowOf(0x3D00);
    EXPECT_EQ(condition.name, "Error Condition");
    ASSERT_EQ(condition.labels.size(), 29u);
    for (const ValueLabel& label : condition.labels) {
        SCOPED_TRACE("condition " + std::to_string(label.value));
        EXPECT_EQ(label.text.find('\r'), std::string::npos);
        const std::vector<std::string> lines = linesOf(label.text);
        EXPECT_LE(lines.size(), 5u);
        for (const std::string& line : lines) {
            EXPECT_FALSE(line.empty()) << "no empty line, no trailing line feed";
            EXPECT_LE(line.size(), 21u);
        }
    }
}

TEST(Group3D, ErrorConditionTextsAsTheUnitWritesThem)
{
    const ParameterDefinition& condition = rowOf(0x3D00);
    const std::vector<ValueLabel> expected = {
        {0, "No Errors"},
        {1, "No Signal Present\non Selected Input"},
        {4, "No Valid Bitstream on\nSelected Stream #"},
        // Two texts keep a blank at the start of a line.
        {8, "Network disabled.\nPlease use the\nSystem Setup Menu\nand configure the\n network."},
        {9, "Internal Network\nconfiguration Error 1"},
        {10, "Invalid Subnet mask"},
        {22, "Internal DHCP\nError #9"},
        {24, "Failed to get the\ndefault gateway\naddress using the\nDHCP.\nUse Manual mode."},
        {25, "Failed to get the\n DNS server address\nusing the DHCP.\nUse Manual mode."},
        {28, "File Not Found\non\nStreaming Server"},
    };
    for (const ValueLabel& label : expected) {
        EXPECT_EQ(labelOf(condition, label.value), label.text);
    }
}

TEST(Group3D, ReferenceCodeShowsItsNumberUpToSeventeen)
{
    const ParameterDefinition& code = rowOf(0x3D04);
    for (int value = 0; value <= 17; ++value) {
        EXPECT_EQ(labelOf(code, value), std::to_string(value));
    }
    EXPECT_EQ(labelOf(code, 18), "OKAY");
}
