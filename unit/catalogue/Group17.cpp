#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Reference lamps. They report state but are control parameters, so the full read-back
// of the control parameters and configuration files include them; no window sets them.
const GroupCatalogue& catalogueGroup17()
{
    static const GroupCatalogue rows = {
        enumerated(0x1700, control, "Ref LED", 0, 1, {{0, "led off"}, {1, "led on"}}, number(0)),
        enumerated(0x1701, control, "AES Ref LED", 0, 2,
                   {{0, "AES Reference not selected"},
                    {1, "AES Reference selected and valid"},
                    {2, "AES Reference selected but no valid signal found"}},
                   number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters1700()
{
    define(catalogueGroup17(), 0x1700, 0x17FF);
}
