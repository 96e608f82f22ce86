#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Self tests of the unit.
static ParameterDefinition selfTest(int id, const char* name)
{
    return enumerated(id, control, name, 0, 1, {{0, "Idle"}, {1, "Run"}}, number(0));
}

const GroupCatalogue& catalogueGroup35()
{
    static const GroupCatalogue rows = {
        selfTest(0x3500, "All Tests"),
        selfTest(0x3501, "Toolkit Test"),
        selfTest(0x3502, "QZ347 Parameter Test"),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters3500()
{
    define(catalogueGroup35(), 0x3500, 0x35FF);
}
