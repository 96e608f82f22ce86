#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// System information: the unit's identity and versions. The parameter-file
// version shares its display name with the application's own version, which
// the version check compares it with.
const GroupCatalogue& catalogueGroup01()
{
    static const GroupCatalogue rows{
        textual(0x0100, control, "Parameter File Version Number", text("$Revision: #251 $")),
        enumerated(0x0101, control, "Firmware Version", 0, 0, {{0, "1.0.0.5"}}, number(0)),
        textual(0x0102, control, "Multichannel Audio Decoder DSP Version Number", text("0.0.0.0")),
        textual(0x0103, control, "Unit Name", text("Model QZ347")),
        // No name and a range wholly below zero (0x8280 to 0xFFFF unsigned).
        plain(0x0104, control, -32128, -1, number(-32128)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters0100()
{
    define(catalogueGroup01(), 0x0100, 0x01FF);
}
