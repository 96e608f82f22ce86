#pragma once

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ParameterFormatter.h"
#include "unit/catalogue/Catalogue.h"

// Lookups over the raw tables of the status and preset groups (0x0F to 0x1D).

struct StatusPresetGroup {
    const char* name;
    const GroupCatalogue& (*rows)();
};

inline const std::vector<StatusPresetGroup>& statusPresetGroups()
{
    static const std::vector<StatusPresetGroup> groups = {
        {"0x0F", &catalogueGroup0F}, {"0x11", &catalogueGroup11}, {"0x13", &catalogueGroup13},
        {"0x15", &catalogueGroup15}, {"0x17", &catalogueGroup17}, {"0x19", &catalogueGroup19},
        {"0x1B", &catalogueGroup1B}, {"0x1D", &catalogueGroup1D},
    };
    return groups;
}

// The row with the identifier; fails the test (and returns a blank row) when there is none.
inline const ParameterDefinition& rowOf(const GroupCatalogue& rows, int id)
{
    static const ParameterDefinition missing{};
    auto found =
        std::find_if(rows.begin(), rows.end(), [id](const ParameterDefinition& row) { return row.id == id; });
    if (found == rows.end()) {
        ADD_FAILURE() << "no row 0x" << std::hex << id;
        return missing;
    }
    return *found;
}

// The label of a value, or nullptr when the row has none for it.
inline const std::string* labelOf(const ParameterDefinition& row, int value)
{
    for (const ValueLabel& label : row.labels)
        if (label.value == value)
            return &label.text;
    return nullptr;
}

// One row as a test expects it: range, default, and the labels at each end of its list.
struct RowCase {
    int id;
    ParameterKind kind;
    const char* name; // "" for a row without formatter
    int minimum;
    int maximum;
    ParameterValue defaultValue;
    std::size_t labelCount;
    ValueLabel firstLabel; // ignored when labelCount is 0
    ValueLabel lastLabel;
};

inline void expectRow(const GroupCatalogue& rows, const RowCase& expected)
{
    char id[8];
    std::snprintf(id, sizeof id, "0x%04X", static_cast<unsigned>(expected.id));
    SCOPED_TRACE(id);
    const ParameterDefinition& row = rowOf(rows, expected.id);
    EXPECT_EQ(row.kind, expected.kind);
    EXPECT_EQ(row.name, expected.name);
    EXPECT_EQ(row.minimum, expected.minimum);
    EXPECT_EQ(row.maximum, expected.maximum);
    EXPECT_EQ(row.defaultValue, expected.defaultValue);
    ASSERT_EQ(row.labels.size(), expected.labelCount);
    if (expected.labelCount == 0)
        return;
    EXPECT_EQ(row.labels.front().value, expected.firstLabel.value);
    EXPECT_EQ(row.labels.front().text, expected.firstLabel.text);
    EXPECT_EQ(row.labels.back().value, expected.lastLabel.value);
    EXPECT_EQ(row.labels.back().text, expected.lastLabel.text);
}

// The label that an enumerated row's factory default shows.
struct DefaultLabelCase {
    int id;
    const char* text;
};

inline void expectDefaultLabels(const GroupCatalogue& rows, const std::vector<DefaultLabelCase>& cases)
{
    for (const DefaultLabelCase& expected : cases) {
        const ParameterDefinition& row = rowOf(rows, expected.id);
        const std::string* label = labelOf(row, row.defaultValue.toInt16());
        ASSERT_NE(label, nullptr) << "0x" << std::hex << expected.id;
        EXPECT_EQ(*label, expected.text) << "0x" << std::hex << expected.id;
    }
}

// The formatter a row asks for, made as the set makes it; null for a row without one.
inline std::unique_ptr<ParameterFormatter> formatterFor(const ParameterDefinition& row)
{
    switch (row.formatter) {
    case FormatterKind::Enumerated: {
        auto formatter = std::make_unique<EnumeratedFormatter>(row.name);
        for (const ValueLabel& label : row.labels)
            formatter->add(number(label.value), label.text);
        return formatter;
    }
    case FormatterKind::String:
        return std::make_unique<StringFormatter>(row.name);
    case FormatterKind::None:
        break;
    }
    return nullptr;
}

// The text a row's own formatter shows for a value.
inline std::string shown(const ParameterDefinition& row, const ParameterValue& value)
{
    std::unique_ptr<ParameterFormatter> formatter = formatterFor(row);
    if (!formatter) {
        ADD_FAILURE() << "row 0x" << std::hex << row.id << " has no formatter";
        return {};
    }
    std::ostringstream out;
    EXPECT_TRUE(formatter->format(out, value));
    return out.str();
}
