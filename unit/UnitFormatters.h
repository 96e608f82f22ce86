#pragma once

#include <memory>
#include <vector>

#include "model/ParameterFormatter.h"
#include "unit/ParameterDefinition.h"

// Karaoke levels: 0 to 60 dB of attenuation, 61 mutes the channel.
class AttenuationFormatter : public ParameterFormatter {
public:
    explicit AttenuationFormatter(std::string name) : ParameterFormatter(std::move(name)) {}

    bool format(std::ostream& out, const ParameterValue& value) const override;
};

// Karaoke pans, 0 (hard left) to 20 (hard right) around the centre 10.
class PanFormatter : public FractionFormatter {
public:
    explicit PanFormatter(std::string name) : FractionFormatter(std::move(name), "", 1, 10, 1) {}

    bool format(std::ostream& out, const ParameterValue& value) const override;
};

// Tessiva II centre width: -3 to +3 around the centre 3, and 7 for left/right.
class LeftRightFormatter : public FractionFormatter {
public:
    explicit LeftRightFormatter(std::string name) : FractionFormatter(std::move(name), "", 1, 3, 1) {}

    bool format(std::ostream& out, const ParameterValue& value) const override;
};

// The bitstream's dialogue normalisation: 1 to 31 are -1 to -31 dB; anything
// else (the unit reports 32 when there is no bitstream) is not applicable.
class DialogueLevelFormatter : public ParameterFormatter {
public:
    explicit DialogueLevelFormatter(std::string name) : ParameterFormatter(std::move(name)) {}

    bool format(std::ostream& out, const ParameterValue& value) const override;
};

// One of the unit's own formatters, for the parameter it is made for.
struct UnitFormatter {
    int id;
    ParameterKind kind; // which of the set's maps holds the parameter
    std::unique_ptr<ParameterFormatter> formatter;
};

// The sixteen level, gain, pan and time formatters that replace the catalogue's
// labels once the set is built, freshly made, in the order they are attached.
std::vector<UnitFormatter> createUnitFormatters();
