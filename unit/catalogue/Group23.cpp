#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Test noise. The output channel counts the channels in the unit's own order,
// which is not the order of the application's selector of the same name.
const GroupCatalogue& catalogueGroup23()
{
    static const GroupCatalogue rows = {
        enumerated(0x2300, control, "Test Noise", 0, 2, {{0, "Off"}, {1, "Wideband"}, {2, "Filtered"}},
                   number(0)),
        enumerated(0x2301, control, "Test Noise Output Channel", 0, 7,
                   {{0, "Left"},
                    {1, "Center"},
                    {2, "Right"},
                    {3, "Right Surround"},
                    {4, "Back Right Surround"},
                    {5, "Back Left Surround"},
                    {6, "Left Surround"},
                    {7, "Subwoofer"}},
                   number(0)),
        enumerated(0x2302, control, "Test Noise Cycle Enable", 0, 1, {{0, "Off"}, {1, "On"}}, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters2300()
{
    define(catalogueGroup23(), 0x2300, 0x23FF);
}
