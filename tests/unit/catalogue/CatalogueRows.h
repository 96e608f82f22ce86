#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>

#include "device/ProtocolAdapter.h"
#include "unit/DefaultDeviceConnection.h"
#include "unit/UnitParameterSet.h"
#include "unit/catalogue/Catalogue.h"

// What the catalogue tests share: lookups over the raw tables, the expected shape of
// one row, and the parameters exactly as the set's builders make them.

// "0x0F0B", for failure messages.
inline std::string hexId(int id)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(id) & 0xFFFFu);
    return text;
}

// The row with the identifier, whatever its group; fails the test (and returns a
// blank row) when there is none, so that a missing row is reported, not a crash.
inline const ParameterDefinition& rowOf(int id)
{
    for (const GroupCatalogue* group : allCatalogueGroups())
        for (const ParameterDefinition& row : *group)
            if (row.id == id)
                return row;
    ADD_FAILURE() << "no row " << hexId(id);
    static const ParameterDefinition missing{};
    return missing;
}

// The label of a value, if the row has one.
inline std::optional<std::string> labelOf(const ParameterDefinition& row, int value)
{
    for (const ValueLabel& label : row.labels)
        if (label.value == value)
            return label.text;
    return std::nullopt;
}

inline std::optional<std::string> labelOf(int id, int value)
{
    return labelOf(rowOf(id), value);
}

// One row as a test expects it: kind, name, range, default, and the labels at each
// end of its list.
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

inline void expectRow(const RowCase& expected)
{
    SCOPED_TRACE(hexId(expected.id));
    const ParameterDefinition& row = rowOf(expected.id);
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

// Rows that offer the very same list, value by value and in the same order.
inline void expectSameLabels(int id, int model)
{
    SCOPED_TRACE(hexId(id) + " like " + hexId(model));
    const ParameterDefinition& row = rowOf(id);
    const ParameterDefinition& like = rowOf(model);
    ASSERT_EQ(row.labels.size(), like.labels.size());
    for (std::size_t i = 0; i < like.labels.size(); ++i) {
        EXPECT_EQ(row.labels[i].value, like.labels[i].value);
        EXPECT_EQ(row.labels[i].text, like.labels[i].text);
    }
}

// A list whose every label is its value's own number, from 0 up.
inline void expectNumberedLabels(int id, std::size_t count)
{
    SCOPED_TRACE(hexId(id));
    const ParameterDefinition& row = rowOf(id);
    ASSERT_EQ(row.labels.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(row.labels[i].value, static_cast<int>(i));
        EXPECT_EQ(row.labels[i].text, std::to_string(i));
    }
}

// Base-from-member: the off-line unit must exist before the set that reads it.
struct FactoryDefaultUnit {
    DefaultDeviceConnection store;
    ProtocolAdapter adapter{&store};
};

// An off-line unit set that runs builders again, each into empty maps, so that a
// test sees exactly what a builder defines and the formatter it attaches, before
// the set moves the preset names away and replaces sixteen formatters.
class BuilderProbe : private FactoryDefaultUnit, public UnitParameterSet {
public:
    using Builder = void (UnitParameterSet::*)();

    struct Defined {
        ParameterMap<Parameter> statuses;
        ControlParameterMap controls;
    };

    BuilderProbe() : UnitParameterSet(&adapter, false) {}

    // What the builder defines on its own. The parameters' formatters belong to this
    // probe, so the result must not outlive it.
    Defined runAlone(Builder builder)
    {
        Defined fresh;
        swapMaps(fresh);
        (this->*builder)();
        swapMaps(fresh);
        return fresh;
    }

    Defined runAllBuilders() { return runAlone(&BuilderProbe::defineParameters); }

private:
    // Swapping whole maps keeps every parameter where it is, so the rules of the
    // set's own parameters stay valid meanwhile.
    void swapMaps(Defined& other)
    {
        statusParameters_.swap(other.statuses);
        controlParameters_.swap(other.controls);
    }
};

// The text that the parameter a builder made shows for a value.
inline std::string shownByBuilder(int id, const ParameterValue& value)
{
    static BuilderProbe probe;
    static const BuilderProbe::Defined built = probe.runAllBuilders();
    const ParameterId key(static_cast<int16_t>(id));
    const Parameter* parameter = nullptr;
    if (built.controls.contains(key))
        parameter = &built.controls.find(key);
    else if (built.statuses.contains(key))
        parameter = &built.statuses.find(key);
    if (parameter == nullptr) {
        ADD_FAILURE() << "no builder defines " << hexId(id);
        return {};
    }
    std::ostringstream out;
    EXPECT_TRUE(parameter->format(out, value)) << hexId(id);
    return out.str();
}

// A value and the text the parameter its builder made shows for it.
struct ShownCase {
    int id;
    ParameterValue value;
    const char* text;
};

inline void expectShownByBuilder(std::initializer_list<ShownCase> cases)
{
    for (const ShownCase& expected : cases)
        EXPECT_EQ(shownByBuilder(expected.id, expected.value), expected.text) << hexId(expected.id);
}

// What the factory default of a row shows through its builder's formatter.
inline std::string defaultShownByBuilder(int id)
{
    return shownByBuilder(id, rowOf(id).defaultValue);
}

// A setting listed from 0 up: its name, its maximum, the labels at both ends and
// what its factory default shows.
struct SettingCase {
    int id;
    const char* name;
    int maximum;
    const char* atZero;
    const char* atMaximum;
    const char* defaultShown;
};

inline void expectSetting(const SettingCase& expected)
{
    SCOPED_TRACE(hexId(expected.id));
    const ParameterDefinition& row = rowOf(expected.id);
    EXPECT_EQ(row.name, expected.name);
    EXPECT_EQ(row.minimum, 0);
    EXPECT_EQ(row.maximum, expected.maximum);
    EXPECT_EQ(labelOf(row, 0), expected.atZero);
    EXPECT_EQ(labelOf(row, expected.maximum), expected.atMaximum);
    EXPECT_EQ(defaultShownByBuilder(expected.id), expected.defaultShown);
}

// The sixteen parameters that the unit's own formatters take over once the set is
// built, in the order they are attached, with the display name each then carries.
struct UnitFormatterName {
    int id;
    ParameterKind kind;
    const char* name;
};

inline constexpr UnitFormatterName unitFormatterNames[] = {
    {0x0511, control, "Master Volume"},
    {0x0312, control, "Digital Volume"},
    {0x030D, control, "Ref Level"},
    {0x0512, control, "Dim Gain"},
    {0x0510, control, "Master Trim"},
    {0x0D03, control, "Tessiva II Dimension"},
    {0x0D04, control, "Tessiva II Center Width"},
    {0x0B0B, control, "Vocal One Pan"},
    {0x0B0C, control, "Vocal Two Pan"},
    {0x0B0D, control, "Music Pan"},
    {0x0B08, control, "Vocal One Level"},
    {0x0B09, control, "Vocal Two Level"},
    {0x0B0A, control, "Music Level"},
    {0x1508, status, "Dialogue Level"},
    {0x2B04, status, "Streaming Duration"},
    {0x2B09, status, "Streaming Position"},
};
