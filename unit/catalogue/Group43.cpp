#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// The application's own parameters: they live in the set's own store and never
// reach the unit. The version is the parameter-file version this application
// was built for; the selector counts the test-noise channels in the
// application's order, with a ninth choice for the unit's channel cycling.
const GroupCatalogue& catalogueGroup43()
{
    static const GroupCatalogue rows = {
        textual(0x4300, control, "Parameter File Version Number", text("$Revision: #251 $")),
        enumerated(0x4301, control, "Test Noise Output Channel", 0, 8,
                   {{0, "Left"},
                    {1, "Right"},
                    {2, "Center"},
                    {3, "Subwoofer"},
                    {4, "Left Surround"},
                    {5, "Right Surround"},
                    {6, "Back Left Surround"},
                    {7, "Back Right Surround"},
                    {8, "Cycle"}},
                   number(8)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters4300()
{
    define(catalogueGroup43(), 0x4300, 0x43FF);
}
