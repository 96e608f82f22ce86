#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Level meters, 0 to 1023. They notify on every poll even when a level holds
// still, so the meter pages redraw at the poll's pace.
static ParameterDefinition meter(int id)
{
    ParameterDefinition row = plain(id, status, 0, 1023, number(0));
    row.alwaysNotify = true;
    return row;
}

const GroupCatalogue& catalogueGroup27()
{
    static const GroupCatalogue rows = {
        meter(0x2700), // L
        meter(0x2701), // R
        meter(0x2702), // C
        meter(0x2703), // SW
        meter(0x2704), // Ls
        meter(0x2705), // Rs
        meter(0x2706), // Bsl
        meter(0x2707), // Bsr
        meter(0x2708), meter(0x2709), meter(0x270A), meter(0x270B),
        meter(0x270C), meter(0x270D), meter(0x270E), meter(0x270F),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters2700()
{
    define(catalogueGroup27(), 0x2700, 0x2709);
}

void UnitParameterSet::defineParameters270A()
{
    define(catalogueGroup27(), 0x270A, 0x27FF);
}
