#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/unit/catalogue/CatalogueRows.h"

// The shape of the whole catalogue: how many parameters of each kind and formatter
// every group has, which identifiers each builder of the set really defines, and the
// properties every row has by its formatter. The expected figures are the unit's.

namespace {

struct GroupCounts {
    int group;
    const GroupCatalogue& (*rows)();
    int controls;
    int statuses;
    int enumerated;
    int strings;
    int plain;
};

const std::vector<GroupCounts> groupCounts = {
    {0x01, catalogueGroup01, 5, 0, 1, 3, 1},   {0x03, catalogueGroup03, 21, 0, 18, 0, 3},
    {0x05, catalogueGroup05, 27, 0, 27, 0, 0}, {0x07, catalogueGroup07, 12, 0, 9, 0, 3},
    {0x09, catalogueGroup09, 11, 0, 5, 6, 0},  {0x0B, catalogueGroup0B, 14, 0, 12, 0, 2},
    {0x0D, catalogueGroup0D, 5, 0, 4, 0, 1},   {0x0F, catalogueGroup0F, 0, 15, 14, 0, 1},
    {0x11, catalogueGroup11, 0, 20, 15, 0, 5}, {0x13, catalogueGroup13, 0, 6, 3, 0, 3},
    {0x15, catalogueGroup15, 0, 47, 45, 0, 2}, {0x17, catalogueGroup17, 2, 0, 2, 0, 0},
    {0x19, catalogueGroup19, 6, 0, 5, 1, 0},   {0x1B, catalogueGroup1B, 0, 2, 1, 1, 0},
    {0x1D, catalogueGroup1D, 32, 0, 0, 32, 0}, {0x1F, catalogueGroup1F, 49, 0, 49, 0, 0},
    {0x21, catalogueGroup21, 53, 0, 53, 0, 0}, {0x23, catalogueGroup23, 3, 0, 3, 0, 0},
    {0x25, catalogueGroup25, 7, 0, 3, 3, 1},   {0x27, catalogueGroup27, 0, 16, 0, 0, 16},
    {0x29, catalogueGroup29, 15, 0, 15, 0, 0}, {0x2B, catalogueGroup2B, 0, 11, 4, 3, 4},
    {0x2D, catalogueGroup2D, 5, 0, 5, 0, 0},   {0x33, catalogueGroup33, 0, 3, 1, 2, 0},
    {0x35, catalogueGroup35, 3, 0, 3, 0, 0},   {0x37, catalogueGroup37, 0, 7, 1, 6, 0},
    {0x3D, catalogueGroup3D, 10, 0, 6, 0, 4},  {0x43, catalogueGroup43, 2, 0, 1, 1, 0},
};

GroupCounts countsOf(int group, const GroupCatalogue& rows)
{
    GroupCounts counts{group, nullptr, 0, 0, 0, 0, 0};
    for (const ParameterDefinition& row : rows) {
        ++(row.kind == ParameterKind::Control ? counts.controls : counts.statuses);
        switch (row.formatter) {
        case FormatterKind::Enumerated:
            ++counts.enumerated;
            break;
        case FormatterKind::String:
            ++counts.strings;
            break;
        case FormatterKind::None:
            ++counts.plain;
            break;
        }
    }
    return counts;
}

TEST(CatalogueShape, CountsPerGroupKindAndFormatter)
{
    GroupCounts all{0, nullptr, 0, 0, 0, 0, 0};
    for (const GroupCounts& expected : groupCounts) {
        SCOPED_TRACE(hexId(expected.group << 8));
        const GroupCounts actual = countsOf(expected.group, expected.rows());
        EXPECT_EQ(actual.controls, expected.controls);
        EXPECT_EQ(actual.statuses, expected.statuses);
        EXPECT_EQ(actual.enumerated, expected.enumerated);
        EXPECT_EQ(actual.strings, expected.strings);
        EXPECT_EQ(actual.plain, expected.plain);
        for (const ParameterDefinition& row : expected.rows())
            EXPECT_EQ(row.id >> 8, expected.group) << hexId(row.id);
        all.controls += actual.controls;
        all.statuses += actual.statuses;
        all.enumerated += actual.enumerated;
        all.strings += actual.strings;
        all.plain += actual.plain;
    }
    EXPECT_EQ(all.controls + all.statuses, 409);
    EXPECT_EQ(all.controls, 282);
    EXPECT_EQ(all.statuses, 127);
    EXPECT_EQ(all.enumerated, 305);
    EXPECT_EQ(all.strings, 58);
    EXPECT_EQ(all.plain, 46);

    // Whoever walks the whole catalogue sees these groups, in this order.
    std::vector<const GroupCatalogue*> expectedOrder;
    for (const GroupCounts& expected : groupCounts)
        expectedOrder.push_back(&expected.rows());
    EXPECT_EQ(allCatalogueGroups(), expectedOrder);
}

struct BuilderCase {
    BuilderProbe::Builder builder;
    int first;
    int last;
    ParameterKind kind;
};

// The builders in the order the set calls them, with the identifiers each defines.
// Deriving from the probe lets the table name the set's protected builders.
struct Builders : BuilderProbe {
    static const std::vector<BuilderCase>& cases()
    {
        static const std::vector<BuilderCase> table = {
            {&Builders::defineParameters0100, 0x0100, 0x0104, control},
            {&Builders::defineParameters0300, 0x0300, 0x0309, control},
            {&Builders::defineParameters030A, 0x030A, 0x0313, control},
            {&Builders::defineParameters0314, 0x0314, 0x0314, control},
            {&Builders::defineParameters0500, 0x0500, 0x0509, control},
            {&Builders::defineParameters050A, 0x050A, 0x0513, control},
            {&Builders::defineParameters0514, 0x0514, 0x051A, control},
            {&Builders::defineParameters0700, 0x0700, 0x0709, control},
            {&Builders::defineParameters070A, 0x070A, 0x070B, control},
            {&Builders::defineParameters0900, 0x0900, 0x0909, control},
            {&Builders::defineParameters090A, 0x090A, 0x090A, control},
            {&Builders::defineParameters0B00, 0x0B00, 0x0B09, control},
            {&Builders::defineParameters0B0A, 0x0B0A, 0x0B0D, control},
            {&Builders::defineParameters0D00, 0x0D00, 0x0D04, control},
            {&Builders::defineParameters0F00, 0x0F00, 0x0F09, status},
            {&Builders::defineParameters0F0A, 0x0F0A, 0x0F0E, status},
            {&Builders::defineParameters1100, 0x1100, 0x1109, status},
            {&Builders::defineParameters110A, 0x110A, 0x1113, status},
            {&Builders::defineParameters1300, 0x1300, 0x1305, status},
            {&Builders::defineParameters1500, 0x1500, 0x1509, status},
            {&Builders::defineParameters150A, 0x150A, 0x1513, status},
            {&Builders::defineParameters1514, 0x1514, 0x151D, status},
            {&Builders::defineParameters151E, 0x151E, 0x1527, status},
            {&Builders::defineParameters1528, 0x1528, 0x152E, status},
            {&Builders::defineParameters1700, 0x1700, 0x1701, control},
            {&Builders::defineParameters1900, 0x1900, 0x1905, control},
            {&Builders::defineParameters1B00, 0x1B00, 0x1B01, status},
            {&Builders::defineParameters1D00, 0x1D00, 0x1D09, control},
            {&Builders::defineParameters1D0A, 0x1D0A, 0x1D13, control},
            {&Builders::defineParameters1D14, 0x1D14, 0x1D1D, control},
            {&Builders::defineParameters1D1E, 0x1D1E, 0x1D1F, control},
            {&Builders::defineParameters1F00, 0x1F00, 0x1F09, control},
            {&Builders::defineParameters1F0A, 0x1F0A, 0x1F13, control},
            {&Builders::defineParameters1F14, 0x1F14, 0x1F1D, control},
            {&Builders::defineParameters1F1E, 0x1F1E, 0x1F27, control},
            {&Builders::defineParameters1F28, 0x1F28, 0x1F30, control},
            {&Builders::defineParameters2100, 0x2100, 0x2109, control},
            {&Builders::defineParameters210A, 0x210A, 0x2113, control},
            {&Builders::defineParameters2114, 0x2114, 0x211D, control},
            {&Builders::defineParameters211E, 0x211E, 0x2127, control},
            {&Builders::defineParameters2128, 0x2128, 0x2131, control},
            {&Builders::defineParameters2132, 0x2132, 0x2134, control},
            {&Builders::defineParameters2300, 0x2300, 0x2302, control},
            {&Builders::defineParameters2500, 0x2500, 0x2506, control},
            {&Builders::defineParameters2700, 0x2700, 0x2709, status},
            {&Builders::defineParameters270A, 0x270A, 0x270F, status},
            {&Builders::defineParameters2900, 0x2900, 0x2909, control},
            {&Builders::defineParameters290A, 0x290A, 0x290E, control},
            {&Builders::defineParameters2B00, 0x2B00, 0x2B09, status},
            {&Builders::defineParameters2B0A, 0x2B0A, 0x2B0A, status},
            {&Builders::defineParameters2D00, 0x2D00, 0x2D04, control},
            {&Builders::defineParameters3300, 0x3300, 0x3302, status},
            {&Builders::defineParameters3500, 0x3500, 0x3502, control},
            {&Builders::defineParameters3700, 0x3700, 0x3706, status},
            {&Builders::defineParameters3D00, 0x3D00, 0x3D09, control},
            {&Builders::defineParameters4300, 0x4300, 0x4301, control},
        };
        return table;
    }
};

template <class Map> std::vector<int> identifiersIn(const Map& map)
{
    std::vector<int> ids;
    for (const auto& [id, parameter] : map)
        ids.push_back(id.toInt());
    return ids;
}

std::vector<int> consecutive(int first, int last)
{
    std::vector<int> ids;
    for (int id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

TEST(CatalogueShape, EachBuilderDefinesItsOwnBlockOfAtMostTenIdentifiers)
{
    BuilderProbe probe;
    std::vector<int> definedInCallOrder;
    for (const BuilderCase& expected : Builders::cases()) {
        SCOPED_TRACE("builder " + hexId(expected.first));
        const BuilderProbe::Defined defined = probe.runAlone(expected.builder);
        const bool isControl = expected.kind == ParameterKind::Control;
        const std::vector<int> ids =
            isControl ? identifiersIn(defined.controls) : identifiersIn(defined.statuses);
        EXPECT_EQ(isControl ? defined.statuses.size() : defined.controls.size(), 0u) << "the other kind";
        ASSERT_FALSE(ids.empty());
        EXPECT_EQ(ids, consecutive(expected.first, expected.last));
        EXPECT_LE(ids.size(), 10u);
        EXPECT_EQ(ids.front() >> 8, ids.back() >> 8) << "one group";
        definedInCallOrder.insert(definedInCallOrder.end(), ids.begin(), ids.end());
    }
    EXPECT_EQ(Builders::cases().size(), 56u);

    // Together the builders define every row of the catalogue once, in ascending order.
    std::vector<int> catalogue;
    for (const GroupCatalogue* group : allCatalogueGroups())
        for (const ParameterDefinition& row : *group)
            catalogue.push_back(row.id);
    EXPECT_EQ(definedInCallOrder, catalogue);
}

TEST(CatalogueShape, TheSetsOwnDriverDefinesWhatTheBuildersDefine)
{
    BuilderProbe probe;
    const BuilderProbe::Defined all = probe.runAllBuilders();
    EXPECT_EQ(all.controls.size(), 282u);
    EXPECT_EQ(all.statuses.size(), 127u);
}

// The seven status rows whose range is the whole unsigned 16-bit word: minimum 0, maximum -1.
const std::set<int> fullWordRows = {0x1301, 0x1302, 0x1304, 0x1529, 0x152A, 0x2B00, 0x2B04};

void expectTextRow(const ParameterDefinition& row)
{
    EXPECT_EQ(row.minimum, -32768);
    EXPECT_EQ(row.maximum, 32767);
    EXPECT_FALSE(row.name.empty());
    EXPECT_TRUE(row.labels.empty());
    // A text default; the session identifier's "21" is two bytes, as a number would be.
    if (row.id != 0x2B08) {
        EXPECT_FALSE(row.defaultValue.isInteger()) << "a text default";
    }
}

void expectPlainRow(const ParameterDefinition& row)
{
    EXPECT_TRUE(row.name.empty()) << "no formatter, no display name";
    EXPECT_TRUE(row.labels.empty());
    EXPECT_TRUE(row.defaultValue.isInteger());
}

void expectEnumeratedRow(const ParameterDefinition& row)
{
    EXPECT_FALSE(row.name.empty());
    ASSERT_FALSE(row.labels.empty());
    std::set<int> values;
    for (const ValueLabel& label : row.labels) {
        SCOPED_TRACE(label.text);
        EXPECT_TRUE(values.insert(label.value).second) << "value " << label.value << " labelled twice";
        // The one label outside its range: the mix level's "Unknown".
        if (row.id != 0x150C || label.value != 0) {
            EXPECT_GE(label.value, row.minimum);
            EXPECT_LE(label.value, row.maximum);
        }
        // The one empty label: no low-frequency-effects channel shows nothing.
        if (row.id != 0x1507 || label.value != 0) {
            EXPECT_FALSE(label.text.empty());
        }
    }
    EXPECT_TRUE(row.defaultValue.isInteger());
}

TEST(CatalogueShape, EveryRowIsWellFormedForItsFormatter)
{
    for (const GroupCatalogue* group : allCatalogueGroups())
        for (const ParameterDefinition& row : *group) {
            SCOPED_TRACE(hexId(row.id));
            switch (row.formatter) {
            case FormatterKind::String:
                expectTextRow(row);
                continue;
            case FormatterKind::None:
                expectPlainRow(row);
                break;
            case FormatterKind::Enumerated:
                expectEnumeratedRow(row);
                break;
            }
            // Only text parameters take the full signed range.
            EXPECT_FALSE(row.minimum == -32768 && row.maximum == 32767);
            if (fullWordRows.contains(row.id)) {
                EXPECT_EQ(row.kind, ParameterKind::Status);
                EXPECT_EQ(row.formatter, FormatterKind::None);
                EXPECT_EQ(row.minimum, 0);
                EXPECT_EQ(row.maximum, -1);
                EXPECT_EQ(row.defaultValue, number(0));
                continue;
            }
            EXPECT_LE(row.minimum, row.maximum);
            EXPECT_GE(row.defaultValue.toInt16(), row.minimum);
            EXPECT_LE(row.defaultValue.toInt16(), row.maximum);
        }
}

TEST(CatalogueShape, FlagsAreSetOnTheirFewRowsOnly)
{
    std::set<int> notifying;
    std::set<int> unsaved;
    for (const GroupCatalogue* group : allCatalogueGroups())
        for (const ParameterDefinition& row : *group) {
            if (row.alwaysNotify)
                notifying.insert(row.id);
            if (!row.saved)
                unsaved.insert(row.id);
        }
    // The streaming texts and the level meters, 19 in all.
    std::set<int> expectedNotifying = {0x2501, 0x2502, 0x2503};
    for (int id = 0x2700; id <= 0x270F; ++id)
        expectedNotifying.insert(id);
    EXPECT_EQ(notifying, expectedNotifying);
    EXPECT_EQ(notifying.size(), 19u);
    // Only the play position stays out of configuration files.
    EXPECT_EQ(unsaved, std::set<int>{0x2505});
}

// In-range values of the status and later groups that deliberately have no label:
// they show as numbers.
struct Gap {
    int id;
    int first;
    int last;
};

const std::vector<Gap> unlabelledValues = {
    {0x1106, 1, 48},   {0x110D, 0, 7},   {0x1500, 0, 31},  {0x1508, 1, 31},  {0x150A, 1, 255},
    {0x150C, 80, 111}, {0x1523, 0, 255}, {0x1524, 0, 255}, {0x1526, 0, 255}, {0x1527, 0, 255},
};

bool deliberatelyUnlabelled(int id, int value)
{
    return std::any_of(unlabelledValues.begin(), unlabelledValues.end(), [id, value](const Gap& gap) {
        return gap.id == id && value >= gap.first && value <= gap.last;
    });
}

TEST(CatalogueShape, FromTheStatusGroupsOnLabelsAscendAndCoverTheirRange)
{
    // The control groups list their labels in the unit's own order, and label
    // only some values; their lists are checked row by row.
    for (const GroupCatalogue* group : allCatalogueGroups())
        for (const ParameterDefinition& row : *group) {
            if (row.formatter != FormatterKind::Enumerated || row.id < 0x0F00)
                continue;
            SCOPED_TRACE(hexId(row.id));
            for (std::size_t i = 1; i < row.labels.size(); ++i)
                EXPECT_LT(row.labels[i - 1].value, row.labels[i].value) << "label " << i;
            for (int value = row.minimum; value <= row.maximum; ++value)
                EXPECT_EQ(labelOf(row, value).has_value(), !deliberatelyUnlabelled(row.id, value))
                    << "value " << value;
        }
}

TEST(CatalogueShape, EnumeratedDefaultsShowALabelExceptWhereTheFormatterIsReplaced)
{
    // These five defaults are numbers to the builder's formatter; the unit's own
    // formatters, attached once the set is built, show them.
    const std::set<int> defaultsWithoutLabel = {0x0512, 0x0B08, 0x0B09, 0x0B0A, 0x0D04};
    for (const GroupCatalogue* group : allCatalogueGroups())
        for (const ParameterDefinition& row : *group) {
            if (row.formatter != FormatterKind::Enumerated)
                continue;
            EXPECT_EQ(labelOf(row, row.defaultValue.toInt16()).has_value(),
                      !defaultsWithoutLabel.contains(row.id))
                << hexId(row.id);
        }
}

} // namespace
