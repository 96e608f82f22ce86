#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Front-panel display and monitor output.
const GroupCatalogue& catalogueGroup2D()
{
    static const GroupCatalogue rows = {
        enumerated(0x2D00, control, "Timecode Display", 0, 2,
                   {{0, "Timecode"}, {1, "TS Delay Word"}, {2, "Disabled"}}, number(0)),
        enumerated(0x2D01, control, "Screensaver Timeout", 0, 2,
                   {{0, "10 minutes"}, {1, "1 hour"}, {2, "4 hours"}}, number(0)),
        enumerated(0x2D02, control, "Screensaver Design", 0, 1, {{0, "Logo"}, {1, "Unit Name"}}, number(0)),
        // The unit's own name for this setting, spelling included.
        enumerated(0x2D03, control, "Screensaver Sate", 0, 1, {{0, "0"}, {1, "1"}}, number(1)),
        enumerated(0x2D04, control, "Monitor Output", 0, 1, {{0, "Analog"}, {1, "Analog & Digital"}},
                   number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters2D00()
{
    define(catalogueGroup2D(), 0x2D00, 0x2DFF);
}
