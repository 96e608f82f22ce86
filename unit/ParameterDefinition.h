#pragma once

#include <string>
#include <vector>

#include "model/ParameterValue.h"

// One row of the unit's catalogue, as the catalogue tables give it: the set's
// builders turn each row into a parameter, and the factory-defaults store reads
// the default column of the same rows, so a group's definition and its default
// stand side by side.
enum class ParameterKind { Control, Status };
enum class FormatterKind { None, Enumerated, String };

struct ValueLabel {
    int value;
    std::string text;
};

struct ParameterDefinition {
    int id;                    // group in the high byte, index in the low byte
    ParameterKind kind;
    FormatterKind formatter;
    std::string name;          // display name; empty when there is no formatter
    int minimum;               // integer bounds; text parameters take MinimumValue/MaximumValue
    int maximum;
    std::vector<ValueLabel> labels; // in the order the formatter adds them
    ParameterValue defaultValue;
    bool alwaysNotify = false;
    bool saved = true;         // whether configuration files hold it
};

// Row helpers, so that a group file reads like its catalogue table.
inline ParameterValue number(int value)
{
    return ParameterValue(value);
}

inline ParameterValue text(const std::string& value)
{
    return ParameterValue(value);
}

inline ParameterDefinition enumerated(int id, ParameterKind kind, std::string name, int minimum, int maximum,
                                      std::vector<ValueLabel> labels, ParameterValue defaultValue)
{
    return {id, kind, FormatterKind::Enumerated, std::move(name), minimum, maximum, std::move(labels),
            std::move(defaultValue)};
}

inline ParameterDefinition textual(int id, ParameterKind kind, std::string name, ParameterValue defaultValue)
{
    return {id, kind, FormatterKind::String, std::move(name), -0x8000, 0x7FFF, {}, std::move(defaultValue)};
}

inline ParameterDefinition plain(int id, ParameterKind kind, int minimum, int maximum, ParameterValue defaultValue)
{
    return {id, kind, FormatterKind::None, std::string(), minimum, maximum, {}, std::move(defaultValue)};
}

constexpr ParameterKind control = ParameterKind::Control;
constexpr ParameterKind status = ParameterKind::Status;
