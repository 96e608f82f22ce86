#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// General-purpose input pin levels: fifteen, one fewer than the input pins.
static ParameterDefinition pinLevel(int id)
{
    return enumerated(id, control, "GPI Pin Level", 0, 1, {{0, "Low"}, {1, "High"}}, number(1));
}

const GroupCatalogue& catalogueGroup29()
{
    static const GroupCatalogue rows = {
        pinLevel(0x2900), pinLevel(0x2901), pinLevel(0x2902), pinLevel(0x2903), pinLevel(0x2904),
        pinLevel(0x2905), pinLevel(0x2906), pinLevel(0x2907), pinLevel(0x2908), pinLevel(0x2909),
        pinLevel(0x290A), pinLevel(0x290B), pinLevel(0x290C), pinLevel(0x290D), pinLevel(0x290E),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters2900()
{
    define(catalogueGroup29(), 0x2900, 0x2909);
}

void UnitParameterSet::defineParameters290A()
{
    define(catalogueGroup29(), 0x290A, 0x29FF);
}
