#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "unit/catalogue/Catalogue.h"

// The control groups 0x01 to 0x0D: shape of each table, the rows the rest of the
// application leans on, and the texts a user sees for their defaults.

namespace {

struct Block {
    int first;
    int last;
};

struct GroupShape {
    const char* name;
    const GroupCatalogue& (*catalogue)();
    int group;
    int control;
    int status;
    int enumeratedRows;
    int stringRows;
    int plainRows;
    std::vector<Block> blocks; // the identifiers each builder covers, in call order
};

void PrintTo(const GroupShape& shape, std::ostream* out)
{
    *out << shape.name;
}

const std::vector<GroupShape>& groupShapes()
{
    static const std::vector<GroupShape> shapes{
        {"Group01", catalogueGroup01, 0x01, 5, 0, 1, 3, 1, {{0x0100, 0x0104}}},
        {"Group03",
         catalogueGroup03,
         0x03,
         21,
         0,
         18,
         0,
         3,
         {{0x0300, 0x0309}, {0x030A, 0x0313}, {0x0314, 0x0314}}},
        {"Group05",
         catalogueGroup05,
         0x05,
         27,
         0,
         27,
         0,
         0,
         {{0x0500, 0x0509}, {0x050A, 0x0513}, {0x0514, 0x051A}}},
        {"Group07", catalogueGroup07, 0x07, 12, 0, 9, 0, 3, {{0x0700, 0x0709}, {0x070A, 0x070B}}},
        {"Group09", catalogueGroup09, 0x09, 11, 0, 5, 6, 0, {{0x0900, 0x0909}, {0x090A, 0x090A}}},
        {"Group0B", catalogueGroup0B, 0x0B, 14, 0, 12, 0, 2, {{0x0B00, 0x0B09}, {0x0B0A, 0x0B0D}}},
        {"Group0D", catalogueGroup0D, 0x0D, 5, 0, 4, 0, 1, {{0x0D00, 0x0D04}}},
    };
    return shapes;
}

const ParameterDefinition* findRow(int id)
{
    for (const auto& shape : groupShapes())
        for (const auto& row : shape.catalogue())
            if (row.id == id)
                return &row;
    return nullptr;
}

std::optional<std::string> labelFor(const ParameterDefinition& row, int value)
{
    for (const auto& label : row.labels)
        if (label.value == value)
            return label.text;
    return std::nullopt;
}

// What the builder's own formatter shows: the label of the value, the text of a
// text parameter, otherwise the signed number.
std::string shown(const ParameterDefinition& row, const ParameterValue& value)
{
    if (row.formatter == FormatterKind::String)
        return value.toString();
    if (auto label = labelFor(row, value.toInt16()))
        return *label;
    return std::to_string(value.toInt16());
}

// Enumerated rows whose default is none of the builder's labels: the unit's own
// formatters replace theirs after the set is built.
const std::set<int> defaultsWithoutLabel{0x0512, 0x0B08, 0x0B09, 0x0B0A, 0x0D04};

class ControlGroup : public testing::TestWithParam<GroupShape> {};

TEST_P(ControlGroup, CountsPerKindAndFormatter)
{
    const auto& shape = GetParam();
    const auto& rows = shape.catalogue();
    auto count = [&](auto predicate) {
        return static_cast<int>(std::count_if(rows.begin(), rows.end(), predicate));
    };

    EXPECT_EQ(count([](const auto& r) { return r.kind == ParameterKind::Control; }), shape.control);
    EXPECT_EQ(count([](const auto& r) { return r.kind == ParameterKind::Status; }), shape.status);
    EXPECT_EQ(count([](const auto& r) { return r.formatter == FormatterKind::Enumerated; }),
              shape.enumeratedRows);
    EXPECT_EQ(count([](const auto& r) { return r.formatter == FormatterKind::String; }), shape.stringRows);
    EXPECT_EQ(count([](const auto& r) { return r.formatter == FormatterKind::None; }), shape.plainRows);
    EXPECT_EQ(static_cast<int>(rows.size()), shape.control + shape.status);
}

TEST_P(ControlGroup, IdentifiersAscendAndFillTheBuilderBlocksExactly)
{
    const auto& shape = GetParam();
    std::vector<int> expected;
    for (const auto& block : shape.blocks) {
        EXPECT_LE(block.last - block.first + 1, 10) << "a builder defines at most ten identifiers";
        EXPECT_EQ(block.first >> 8, shape.group);
        EXPECT_EQ(block.last >> 8, shape.group);
        for (int id = block.first; id <= block.last; ++id)
            expected.push_back(id);
    }
    std::vector<int> actual;
    for (const auto& row : shape.catalogue())
        actual.push_back(row.id);
    // Ascending and distinct follows from matching the consecutive block ranges.
    EXPECT_EQ(actual, expected);
}

TEST_P(ControlGroup, RowsAreConsistentWithTheirFormatter)
{
    for (const auto& row : GetParam().catalogue()) {
        SCOPED_TRACE(testing::Message() << std::hex << "0x" << row.id);
        EXPECT_FALSE(row.alwaysNotify);
        EXPECT_TRUE(row.saved);
        EXPECT_LE(row.minimum, row.maximum);
        switch (row.formatter) {
        case FormatterKind::String:
            EXPECT_EQ(row.minimum, -32768);
            EXPECT_EQ(row.maximum, 32767);
            EXPECT_FALSE(row.name.empty());
            EXPECT_TRUE(row.labels.empty());
            EXPECT_FALSE(row.defaultValue.isInteger()) << "text default expected";
            break;
        case FormatterKind::None:
            EXPECT_TRUE(row.name.empty());
            EXPECT_TRUE(row.labels.empty());
            break;
        case FormatterKind::Enumerated: {
            EXPECT_FALSE(row.name.empty());
            EXPECT_FALSE(row.labels.empty());
            std::set<int> values;
            for (const auto& label : row.labels) {
                EXPECT_TRUE(values.insert(label.value).second)
                    << "value " << label.value << " labelled twice";
                EXPECT_GE(label.value, row.minimum);
                EXPECT_LE(label.value, row.maximum);
                EXPECT_FALSE(label.text.empty());
            }
            break;
        }
        }
        if (row.formatter != FormatterKind::String) {
            // Only text parameters take the full signed range.
            EXPECT_FALSE(row.minimum == -32768 && row.maximum == 32767);
            ASSERT_TRUE(row.defaultValue.isInteger());
            EXPECT_GE(row.defaultValue.toInt16(), row.minimum);
            EXPECT_LE(row.defaultValue.toInt16(), row.maximum);
        }
    }
}

TEST_P(ControlGroup, EnumeratedDefaultsShowALabelExceptWhereTheFormatterIsReplaced)
{
    for (const auto& row : GetParam().catalogue()) {
        if (row.formatter != FormatterKind::Enumerated)
            continue;
        const bool hasLabel = labelFor(row, row.defaultValue.toInt16()).has_value();
        EXPECT_EQ(hasLabel, !defaultsWithoutLabel.contains(row.id)) << std::hex << "0x" << row.id;
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ControlGroup, testing::ValuesIn(groupShapes()),
                         [](const auto& info) { return std::string(info.param.name); });

// A handful of rows per group: range, what the default shows, and the label (if
// any) at each end of the range.
struct RowCase {
    int id;
    int minimum;
    int maximum;
    std::string shownDefault;
    std::optional<std::string> atMinimum;
    std::optional<std::string> atMaximum;
};

const std::vector<RowCase> rowCases{
    {0x0100, -32768, 32767, "$Revision: #251 $", {}, {}},
    {0x0101, 0, 0, "1.0.0.5", "1.0.0.5", "1.0.0.5"},
    {0x0103, -32768, 32767, "Model QZ347", {}, {}},
    {0x0104, -32128, -1, "-32128", {}, {}},
    {0x0300, 0, 3, "Decode Mode", "Decode Mode", "IFE Mode"},
    {0x0307, 0, 5, "Digital In", "Digital In", "Internal 32kHz"},
    {0x030A, 1, 16, "11", {}, {}},
    {0x030D, 0, 180, "60", {}, {}},
    {0x030E, 0, 1023, "0", {}, {}},
    {0x0310, 0, 3, "VH1 (Small Room)", "Off", "VH3 (Large Room)"},
    {0x0312, 2, 192, "-2 dB", "-Inf dB", "0 dB"},
    {0x0314, 2, 192, "-2 dB", "-Inf dB", "0 dB"},
    {0x0500, 0, 48, "0 dB", {}, {}},
    {0x050F, 0, 208, "0 dB", {}, {}},
    {0x0510, 0, 52, "0 dB", {}, {}},
    {0x0511, 2, 212, "0 dB", "-Inf dB", {}},
    {0x0512, 0, 37, "11", "0", "37"},
    {0x051A, 0, 1, "Active", "Active", "Mute"},
    {0x0700, 0, 2, "None", "None", "Two"},
    {0x0701, 0, 8, "0 ms", {}, {}},
    {0x0704, 0, 90, "5", {}, {}},
    {0x0708, 0, 2, "80 Hz", "80 Hz", "120 Hz"},
    {0x0709, 0, 1, "Yes", "No", "Yes"},
    {0x070B, 0, 2, "Full", "Full", "Phantom Center Channel"},
    {0x0900, 0, 1, "Manual", "Automatic", "Manual"},
    {0x0903, -32768, 32767, "255.255.255.255", {}, {}},
    {0x0907, 0, 2, "115200 baud", "9600 baud", "115200 baud"},
    {0x0909, 0, 2, "One stop bits", "Zero stop bits", "Two stop bits"},
    {0x090A, 0, 3, "Local", "Local", "Serial"},
    {0x0B01, 0, 8, "Automatic", "0", "Automatic"},
    {0x0B03, 0, 3, "Line", "None", "Custom"},
    {0x0B05, 0, 10, "0", {}, {}},
    {0x0B07, 0, 2, "Capable", "Unaware", "Capable"},
    {0x0B08, 0, 61, "0", {}, "Mute"},
    {0x0B0C, 0, 20, "Hard Right", "Hard Left", "Hard Right"},
    {0x0B0D, 0, 20, "Center", "Hard Left", "Hard Right"},
    {0x0D01, 0, 3, "Movie", "Movie", "Matrix"},
    {0x0D03, 0, 6, "3", {}, {}},
    {0x0D04, 0, 7, "3", {}, "L/R"},
};

TEST(ControlCatalogueRows, RangeDefaultAndLabelsAtTheEnds)
{
    for (const auto& expected : rowCases) {
        SCOPED_TRACE(testing::Message() << std::hex << "0x" << expected.id);
        const auto* row = findRow(expected.id);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->minimum, expected.minimum);
        EXPECT_EQ(row->maximum, expected.maximum);
        EXPECT_EQ(shown(*row, row->defaultValue), expected.shownDefault);
        if (row->formatter == FormatterKind::String)
            continue;
        EXPECT_EQ(labelFor(*row, row->minimum), expected.atMinimum);
        EXPECT_EQ(labelFor(*row, row->maximum), expected.atMaximum);
    }
}

TEST(ControlCatalogueRows, LabelsKeepTheTableOrderIncludingRepeatedTexts)
{
    struct Case {
        int id;
        std::vector<std::pair<int, std::string>> labels;
    };
    const std::vector<Case> cases{
        // Not sorted by value: the formatter adds them in this order.
        {0x0312, {{2, "-Inf dB"}, {192, "0 dB"}, {188, "-2 dB"}}},
        {0x0511, {{2, "-Inf dB"}, {192, "0 dB"}, {188, "-2 dB"}}},
        // Two values share one text.
        {0x090A, {{0, "Local"}, {1, "Serial"}, {2, "Ethernet"}, {3, "Serial"}}},
        {0x0301,
         {{0, "AES1 Input Status"}, {1, "AES2 Input Status"}, {2, "Optical Input Status"}, {3, "Streaming"}}},
        {0x0B00, {{0, "Automatic"}, {1, "Channel 1"}, {2, "Channel 2"}, {3, "Channel 1+2"}}},
        {0x0B01,
         {{0, "0"}, {1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}, {7, "7"}, {8, "Automatic"}}},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "0x" << expected.id);
        const auto* row = findRow(expected.id);
        ASSERT_NE(row, nullptr);
        std::vector<std::pair<int, std::string>> actual;
        for (const auto& label : row->labels)
            actual.emplace_back(label.value, label.text);
        EXPECT_EQ(actual, expected.labels);
    }
}

TEST(ControlCatalogueRows, SerialPortNamesCarryTheControlByte)
{
    const auto* parity = findRow(0x0908);
    const auto* stopBits = findRow(0x0909);
    ASSERT_NE(parity, nullptr);
    ASSERT_NE(stopBits, nullptr);
    EXPECT_EQ(parity->name, std::string("Set RS-232\x04") + "85 Communication Parity");
    EXPECT_EQ(parity->name.size(), 34u);
    EXPECT_EQ(stopBits->name, std::string("Set RS-232\x04") + "85 Communication Stop Bits");
    EXPECT_EQ(stopBits->name.size(), 37u);
}

TEST(ControlCatalogueRows, NamesAreFoundOnlyByIdentifier)
{
    // Shared names stay separate parameters, each with its own labels.
    EXPECT_EQ(findRow(0x0304)->name, "Surround QX Decoding");
    EXPECT_EQ(findRow(0x0305)->name, "Surround QX Decoding");
    EXPECT_EQ(labelFor(*findRow(0x0304), 1), "Automatic");
    EXPECT_EQ(labelFor(*findRow(0x0305), 1), "On");
    EXPECT_EQ(findRow(0x0705)->name, findRow(0x0516)->name);
    EXPECT_EQ(findRow(0x0709)->name, findRow(0x0517)->name);
    EXPECT_EQ(labelFor(*findRow(0x0709), 1), "Yes");
    EXPECT_EQ(labelFor(*findRow(0x0517), 1), "Mute");
    // The unit's own spelling, kept as it is.
    EXPECT_EQ(findRow(0x0507)->name, "Factory Set the BackRight Surround Channel Trim");
}

TEST(ControlCatalogueRows, DefaultsUseTheUnitsEncoding)
{
    // A negative default is two bytes, most significant first.
    EXPECT_EQ(findRow(0x0104)->defaultValue.toString(), std::string("\x82\x80", 2));
    EXPECT_EQ(findRow(0x0104)->defaultValue.toUInt16(), 0x8280);
    // A text default is its characters, with no terminator.
    EXPECT_EQ(findRow(0x0100)->defaultValue.toString(), "$Revision: #251 $");
    EXPECT_EQ(findRow(0x0100)->defaultValue.size(), 17u);
    EXPECT_FALSE(findRow(0x0906)->defaultValue.toString().empty());
}

} // namespace
