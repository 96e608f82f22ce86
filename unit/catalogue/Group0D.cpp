#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Tessiva matrix decoding. Dimension (0x0D03) and centre width (0x0D04) get
// formatters of their own once the set is built; the centre width's row keeps
// the builder's single label, so its default (3, the centre) is not a label.
const GroupCatalogue& catalogueGroup0D()
{
    static const GroupCatalogue rows{
        enumerated(0x0D00, control, "Tessiva Decoding", 0, 1, {{0, "Manual"}, {1, "Automatic"}}, number(0)),
        enumerated(0x0D01, control, "Tessiva II Mode", 0, 3,
                   {{0, "Movie"}, {1, "Music"}, {2, "Tessiva"}, {3, "Matrix"}}, number(0)),
        enumerated(0x0D02, control, "Panorama", 0, 1, {{0, "Disabled"}, {1, "Enabled"}}, number(0)),
        plain(0x0D03, control, 0, 6, number(3)),
        enumerated(0x0D04, control, "Tessiva II Center Width Control", 0, 7, {{7, "L/R"}}, number(3)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters0D00()
{
    define(catalogueGroup0D(), 0x0D00, 0x0DFF);
}
