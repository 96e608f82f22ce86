#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Network status: what the unit is using now, as opposed to its settings.
const GroupCatalogue& catalogueGroup37()
{
    static const GroupCatalogue rows = {
        textual(0x3700, status, "Host Name", text("N/A")),
        textual(0x3701, status, "IP Address", text("N/A")),
        textual(0x3702, status, "Net Mask", text("N/A")),
        textual(0x3703, status, "Gateway IP Address", text("N/A")),
        textual(0x3704, status, "DNS Server", text("N/A")),
        textual(0x3705, status, "Domain Name", text("N/A")),
        enumerated(0x3706, status, "Network State", 0, 1, {{0, "Up"}, {1, "Down"}}, number(1)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters3700()
{
    define(catalogueGroup37(), 0x3700, 0x37FF);
}
