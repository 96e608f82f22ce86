#include <algorithm>
#include <cstdio>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unit/catalogue/StatusPresetRows.h"

namespace {

struct KindCounts {
    int statusEnumerated = 0;
    int statusString = 0;
    int statusPlain = 0;
    int controlEnumerated = 0;
    int controlString = 0;
    int controlPlain = 0;

    bool operator==(const KindCounts&) const = default;
    int total() const
    {
        return statusEnumerated + statusString + statusPlain + controlEnumerated + controlString +
               controlPlain;
    }
};

void PrintTo(const KindCounts& c, std::ostream* out)
{
    *out << "status " << c.statusEnumerated << "/" << c.statusString << "/" << c.statusPlain << ", control "
         << c.controlEnumerated << "/" << c.controlString << "/" << c.controlPlain;
}

KindCounts countKinds(const GroupCatalogue& rows)
{
    KindCounts counts;
    for (const ParameterDefinition& row : rows) {
        bool isStatus = row.kind == ParameterKind::Status;
        switch (row.formatter) {
        case FormatterKind::Enumerated:
            ++(isStatus ? counts.statusEnumerated : counts.controlEnumerated);
            break;
        case FormatterKind::String:
            ++(isStatus ? counts.statusString : counts.controlString);
            break;
        case FormatterKind::None:
            ++(isStatus ? counts.statusPlain : counts.controlPlain);
            break;
        }
    }
    return counts;
}

struct Block {
    int first;
    int last;
    ParameterKind kind;
};

struct GroupShape {
    const GroupCatalogue& (*rows)();
    int group;
    KindCounts counts;
    std::vector<Block> blocks; // the builders' blocks, in call order
};

const std::vector<GroupShape>& shapes()
{
    static const std::vector<GroupShape> table = {
        {&catalogueGroup0F, 0x0F, {14, 0, 1, 0, 0, 0}, {{0x0F00, 0x0F09, status}, {0x0F0A, 0x0F0E, status}}},
        {&catalogueGroup11, 0x11, {15, 0, 5, 0, 0, 0}, {{0x1100, 0x1109, status}, {0x110A, 0x1113, status}}},
        {&catalogueGroup13, 0x13, {3, 0, 3, 0, 0, 0}, {{0x1300, 0x1305, status}}},
        {&catalogueGroup15,
         0x15,
         {45, 0, 2, 0, 0, 0},
         {{0x1500, 0x1509, status},
          {0x150A, 0x1513, status},
          {0x1514, 0x151D, status},
          {0x151E, 0x1527, status},
          {0x1528, 0x152E, status}}},
        {&catalogueGroup17, 0x17, {0, 0, 0, 2, 0, 0}, {{0x1700, 0x1701, control}}},
        {&catalogueGroup19, 0x19, {0, 0, 0, 5, 1, 0}, {{0x1900, 0x1905, control}}},
        {&catalogueGroup1B, 0x1B, {1, 1, 0, 0, 0, 0}, {{0x1B00, 0x1B01, status}}},
        {&catalogueGroup1D,
         0x1D,
         {0, 0, 0, 0, 32, 0},
         {{0x1D00, 0x1D09, control},
          {0x1D0A, 0x1D13, control},
          {0x1D14, 0x1D1D, control},
          {0x1D1E, 0x1D1F, control}}},
    };
    return table;
}

std::string hex(int id)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(id));
    return text;
}

TEST(StatusPresetCatalogue, CountsPerGroupKindAndFormatter)
{
    KindCounts all;
    for (const GroupShape& shape : shapes()) {
        SCOPED_TRACE(hex(shape.group << 8));
        KindCounts counts = countKinds(shape.rows());
        EXPECT_EQ(counts, shape.counts);
        all.statusEnumerated += counts.statusEnumerated;
        all.statusString += counts.statusString;
        all.statusPlain += counts.statusPlain;
        all.controlEnumerated += counts.controlEnumerated;
        all.controlString += counts.controlString;
        all.controlPlain += counts.controlPlain;
    }
    // With the general-purpose input group these make the 179 of groups 0x0F to 0x1F.
    EXPECT_EQ(all.total(), 130);
    EXPECT_EQ(all.total() + catalogueGroup1F().size(), 179u);
    EXPECT_EQ(all.statusEnumerated + all.statusString + all.statusPlain, 90);
    EXPECT_EQ(all.controlEnumerated + all.controlString + all.controlPlain, 40);
}

TEST(StatusPresetCatalogue, IdentifiersFillTheBuilderBlocksInOrder)
{
    for (const GroupShape& shape : shapes()) {
        SCOPED_TRACE(hex(shape.group << 8));
        const GroupCatalogue& rows = shape.rows();
        std::size_t next = 0;
        for (const Block& block : shape.blocks) {
            ASSERT_LE(block.last - block.first + 1, 10) << "a builder defines at most ten rows";
            for (int id = block.first; id <= block.last; ++id, ++next) {
                ASSERT_LT(next, rows.size()) << "missing " << hex(id);
                EXPECT_EQ(rows[next].id, id) << "row " << next;
                EXPECT_EQ(rows[next].kind, block.kind) << hex(id);
            }
        }
        EXPECT_EQ(next, rows.size()) << "rows beyond the last builder block";
        for (const ParameterDefinition& row : rows)
            EXPECT_EQ(row.id >> 8, shape.group) << hex(row.id);
    }
}

TEST(StatusPresetCatalogue, IdentifiersAreDistinctAcrossGroups)
{
    std::set<int> seen;
    int previous = -1;
    for (const StatusPresetGroup& group : statusPresetGroups())
        for (const ParameterDefinition& row : group.rows()) {
            EXPECT_TRUE(seen.insert(row.id).second) << hex(row.id);
            EXPECT_GT(row.id, previous) << hex(row.id);
            previous = row.id;
        }
}

TEST(StatusPresetCatalogue, RowShapeFollowsTheFormatterKind)
{
    // Of the seven status rows with minimum 0 and maximum -1, these five lie in these groups.
    const std::set<int> fullWordRows = {0x1301, 0x1302, 0x1304, 0x1529, 0x152A};
    for (const StatusPresetGroup& group : statusPresetGroups())
        for (const ParameterDefinition& row : group.rows()) {
            SCOPED_TRACE(hex(row.id));
            EXPECT_FALSE(row.alwaysNotify);
            EXPECT_TRUE(row.saved);
            switch (row.formatter) {
            case FormatterKind::String:
                EXPECT_EQ(row.minimum, -32768);
                EXPECT_EQ(row.maximum, 32767);
                EXPECT_TRUE(row.labels.empty());
                EXPECT_FALSE(row.name.empty());
                EXPECT_FALSE(row.defaultValue.isInteger()) << "a text default";
                break;
            case FormatterKind::Enumerated:
                EXPECT_FALSE(row.name.empty());
                EXPECT_FALSE(row.labels.empty());
                EXPECT_LE(row.minimum, row.maximum);
                EXPECT_TRUE(row.defaultValue.isInteger());
                break;
            case FormatterKind::None:
                EXPECT_TRUE(row.name.empty());
                EXPECT_TRUE(row.labels.empty());
                EXPECT_TRUE(row.defaultValue.isInteger());
                break;
            }
            if (fullWordRows.count(row.id)) {
                EXPECT_EQ(row.minimum, 0);
                EXPECT_EQ(row.maximum, -1);
                EXPECT_EQ(row.formatter, FormatterKind::None);
                EXPECT_EQ(row.defaultValue, number(0));
            } else if (row.formatter != FormatterKind::String) {
                EXPECT_LE(row.minimum, row.maximum);
            }
        }
}

TEST(StatusPresetCatalogue, LabelsAscendDistinctAndCoverTheirRange)
{
    // In-range values that deliberately have no label: they show as numbers.
    struct Gap {
        int id, first, last;
    };
    const std::vector<Gap> gaps = {
        {0x1106, 1, 48},   {0x110D, 0, 7},   {0x1500, 0, 31},  {0x1508, 1, 31},  {0x150A, 1, 255},
        {0x150C, 80, 111}, {0x1523, 0, 255}, {0x1524, 0, 255}, {0x1526, 0, 255}, {0x1527, 0, 255},
    };
    for (const StatusPresetGroup& group : statusPresetGroups())
        for (const ParameterDefinition& row : group.rows()) {
            if (row.formatter != FormatterKind::Enumerated)
                continue;
            SCOPED_TRACE(hex(row.id));
            for (std::size_t i = 1; i < row.labels.size(); ++i)
                EXPECT_LT(row.labels[i - 1].value, row.labels[i].value) << "label " << i;
            for (const ValueLabel& label : row.labels) {
                bool belowMix = row.id == 0x150C && label.value == 0; // the one label outside its range
                if (!belowMix) {
                    EXPECT_GE(label.value, row.minimum) << label.text;
                    EXPECT_LE(label.value, row.maximum) << label.text;
                }
            }
            auto gap =
                std::find_if(gaps.begin(), gaps.end(), [&row](const Gap& g) { return g.id == row.id; });
            for (int value = row.minimum; value <= row.maximum; ++value) {
                bool unlabelled = gap != gaps.end() && value >= gap->first && value <= gap->last;
                EXPECT_EQ(labelOf(row, value) == nullptr, unlabelled) << "value " << value;
            }
            EXPECT_NE(labelOf(row, row.defaultValue.toInt16()), nullptr) << "default is not a labelled value";
        }
}

TEST(StatusPresetCatalogue, ValuesShowThroughTheRowsOwnFormatter)
{
    struct Shown {
        int id;
        ParameterValue value;
        const char* text;
    };
    const Shown cases[] = {
        {0x0F0B, number(9), "24 bits/sample"},
        {0x0F0B, number(10), "10"}, // a reported value without label shows as its number
        {0x0F09, number(0xFFFF), "-1"},
        {0x1106, number(0), "N/A"},
        {0x1106, number(17), "17"},
        {0x110D, number(3), "3"},
        {0x1110, number(20), "20"},
        {0x1110, number(0xFFFF), "-1"},
        {0x1303, number(4), "29.97fps"},
        {0x1303, number(0xFFFF), "-1"},
        {0x1507, number(0), ""}, // an empty label, not "0"
        {0x1507, number(1), "L"},
        {0x150A, number(255), "255"},
        {0x150A, number(256), "N/A"},
        {0x150C, number(0), "Unknown"}, // below the minimum, still labelled
        {0x150C, number(80), "80"},
        {0x1523, number(256), "N/A"},
        {0x1701, number(3), "3"},
        {0x1900, number(32), "Preset 32"},
        {0x1901, number(27), "Preset 28"},
        {0x1B00, number(33), "33"},
        {0x1B01, text("Preset 1"), "Preset 1"},
        {0x1B01, text(std::string("Live\0Mix", 8)), "Live"}, // a status text ends at its first zero byte
        {0x1D1F, text("Lt/Rt Decode"), "Lt/Rt Decode"},
        {0x1D00, number(0), ""}, // a name not yet read holds two zero bytes
    };
    for (const Shown& expected : cases) {
        const ParameterDefinition* row = nullptr;
        for (const StatusPresetGroup& group : statusPresetGroups())
            for (const ParameterDefinition& candidate : group.rows())
                if (candidate.id == expected.id)
                    row = &candidate;
        ASSERT_NE(row, nullptr) << hex(expected.id);
        EXPECT_EQ(shown(*row, expected.value), expected.text) << hex(expected.id);
    }
}

TEST(StatusPresetCatalogue, EveryFormattedDefaultShowsItsLabelOrText)
{
    for (const StatusPresetGroup& group : statusPresetGroups())
        for (const ParameterDefinition& row : group.rows()) {
            SCOPED_TRACE(hex(row.id));
            if (row.formatter == FormatterKind::Enumerated) {
                EXPECT_EQ(shown(row, row.defaultValue), *labelOf(row, row.defaultValue.toInt16()));
            } else if (row.formatter == FormatterKind::String) {
                EXPECT_EQ(shown(row, row.defaultValue), row.defaultValue.toString());
            }
        }
}

} // namespace
