#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Device status.
const GroupCatalogue& catalogueGroup33()
{
    static const GroupCatalogue rows = {
        textual(0x3300, status, "Device Name", text("QZ347")),
        textual(0x3301, status, "Firmware Version", text("1000000")),
        enumerated(0x3302, status, "Error Status", 0, 0, {{0, "No errors"}}, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters3300()
{
    define(catalogueGroup33(), 0x3300, 0x33FF);
}
