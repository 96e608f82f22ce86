#include "unit/UnitFormatters.h"

#include <ostream>

bool AttenuationFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    const int attenuation = value.toInt16();
    if (attenuation == 61)
        out << "Mute";
    else
        out << -attenuation << " dB";
    return true;
}

bool PanFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    switch (value.toUInt16()) {
    case 0:
        out << "Hard Left";
        return true;
    case 10:
        out << "Center";
        return true;
    case 20:
        out << "Hard Right";
        return true;
    default:
        FractionFormatter::format(out, value);
        return true;
    }
}

bool LeftRightFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    if (value.toInt16() == 7)
        out << "L/R";
    else
        FractionFormatter::format(out, value);
    return true;
}

bool DialogueLevelFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    const unsigned level = value.toUInt16();
    if (level >= 1 && level <= 31)
        out << '-' << level;
    else
        out << "N/A";
    return !out.fail();
}

namespace {

template <class Formatter, class... Arguments>
UnitFormatter make(int id, ParameterKind kind, Arguments&&... arguments)
{
    return {id, kind, std::make_unique<Formatter>(std::forward<Arguments>(arguments)...)};
}

} // namespace

std::vector<UnitFormatter> createUnitFormatters()
{
    std::vector<UnitFormatter> formatters;
    formatters.push_back(make<FractionFormatter>(0x0511, control, "Master Volume", "", 10, 192, 2));
    formatters.push_back(make<FractionFormatter>(0x0312, control, "Digital Volume", "", 10, 192, 2));
    formatters.push_back(make<FractionFormatter>(0x030D, control, "Ref Level", "dB", 10, 260, 10));
    formatters.push_back(make<FractionFormatter>(0x0512, control, "Dim Gain", "dB", 1, 31, 1));
    formatters.push_back(make<FractionFormatter>(0x0510, control, "Master Trim", "dB", 10, 40, 2));
    formatters.push_back(make<FractionFormatter>(0x0D03, control, "Tessiva II Dimension", "", 1, 3, 1));
    formatters.push_back(make<LeftRightFormatter>(0x0D04, control, "Tessiva II Center Width"));
    formatters.push_back(make<PanFormatter>(0x0B0B, control, "Vocal One Pan"));
    formatters.push_back(make<PanFormatter>(0x0B0C, control, "Vocal Two Pan"));
    formatters.push_back(make<PanFormatter>(0x0B0D, control, "Music Pan"));
    formatters.push_back(make<AttenuationFormatter>(0x0B08, control, "Vocal One Level"));
    formatters.push_back(make<AttenuationFormatter>(0x0B09, control, "Vocal Two Level"));
    formatters.push_back(make<AttenuationFormatter>(0x0B0A, control, "Music Level"));
    formatters.push_back(make<DialogueLevelFormatter>(0x1508, status, "Dialogue Level"));
    formatters.push_back(make<TimeFormatter>(0x2B04, status, "Streaming Duration", 1));
    formatters.push_back(make<TimeFormatter>(0x2B09, status, "Streaming Position", 1));
    return formatters;
}
