#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// The names of the 32 presets: 0x1D00 + (n - 1) names preset n. The set moves them out
// of the control map into two maps of their own, so that the full read-back and the
// configuration file leave them out; the defaults of presets 29 to 32 repeat those of
// presets 1 to 4.
const GroupCatalogue& catalogueGroup1D()
{
    static const GroupCatalogue rows = {
        textual(0x1D00, control, "Preset Name", text("Manual Ctrl")),
        textual(0x1D01, control, "Preset Name", text("Auto Ctrl")),
        textual(0x1D02, control, "Preset Name", text("Stereo Dwnmx")),
        textual(0x1D03, control, "Preset Name", text("Lt/Rt Decode")),
        textual(0x1D04, control, "Preset Name", text("Preset 5")),
        textual(0x1D05, control, "Preset Name", text("Preset 6")),
        textual(0x1D06, control, "Preset Name", text("Preset 7")),
        textual(0x1D07, control, "Preset Name", text("Preset 8")),
        textual(0x1D08, control, "Preset Name", text("Preset 9")),
        textual(0x1D09, control, "Preset Name", text("Preset 10")),
        textual(0x1D0A, control, "Preset Name", text("Preset 11")),
        textual(0x1D0B, control, "Preset Name", text("Preset 12")),
        textual(0x1D0C, control, "Preset Name", text("Preset 13")),
        textual(0x1D0D, control, "Preset Name", text("Preset 14")),
        textual(0x1D0E, control, "Preset Name", text("Preset 15")),
        textual(0x1D0F, control, "Preset Name", text("Preset 16")),
        textual(0x1D10, control, "Preset Name", text("Preset 17")),
        textual(0x1D11, control, "Preset Name", text("Preset 18")),
        textual(0x1D12, control, "Preset Name", text("Preset 19")),
        textual(0x1D13, control, "Preset Name", text("Preset 20")),
        textual(0x1D14, control, "Preset Name", text("Preset 21")),
        textual(0x1D15, control, "Preset Name", text("Preset 22")),
        textual(0x1D16, control, "Preset Name", text("Preset 23")),
        textual(0x1D17, control, "Preset Name", text("Preset 24")),
        textual(0x1D18, control, "Preset Name", text("Preset 25")),
        textual(0x1D19, control, "Preset Name", text("Preset 26")),
        textual(0x1D1A, control, "Preset Name", text("Preset 27")),
        textual(0x1D1B, control, "Preset Name", text("Preset 28")),
        textual(0x1D1C, control, "Preset Name", text("Manual Ctrl")),
        textual(0x1D1D, control, "Preset Name", text("Auto Ctrl")),
        textual(0x1D1E, control, "Preset Name", text("Stereo Dwnmx")),
        textual(0x1D1F, control, "Preset Name", text("Lt/Rt Decode")),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters1D00()
{
    define(catalogueGroup1D(), 0x1D00, 0x1D09);
}

void UnitParameterSet::defineParameters1D0A()
{
    define(catalogueGroup1D(), 0x1D0A, 0x1D13);
}

void UnitParameterSet::defineParameters1D14()
{
    define(catalogueGroup1D(), 0x1D14, 0x1D1D);
}

void UnitParameterSet::defineParameters1D1E()
{
    define(catalogueGroup1D(), 0x1D1E, 0x1DFF);
}
