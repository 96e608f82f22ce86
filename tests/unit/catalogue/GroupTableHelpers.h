#pragma once

#include <gtest/gtest.h>

#include <string>

#include "unit/catalogue/Catalogue.h"

namespace catalogueIoTest {

// Lookups over a group's raw table, failing the test (not crashing) when a row
// or a label is missing.
inline const ParameterDefinition* findRow(const GroupCatalogue& rows, int id)
{
    for (const ParameterDefinition& row : rows) {
        if (row.id == id) {
            return &row;
        }
    }
    ADD_FAILURE() << "no row for identifier 0x" << std::hex << id;
    return nullptr;
}

// The text the row's enumerated formatter would show for a value.
inline std::string labelOf(const ParameterDefinition& row, int value)
{
    for (const ValueLabel& label : row.labels) {
        if (label.value == value) {
            return label.text;
        }
    }
    return "<no label for " + std::to_string(value) + ">";
}

inline std::string defaultLabelOf(const ParameterDefinition& row)
{
    return labelOf(row, row.defaultValue.toInt16());
}

} // namespace catalogueIoTest
