#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Time code status. 0x1301 holds hours and minutes, 0x1302 seconds and frames, each
// byte two BCD digits; with 0x1304 (a delay in milliseconds) they use all 16 bits, so
// their maximum is -1 (0xFFFF) and nothing checks them against the range.
const GroupCatalogue& catalogueGroup13()
{
    static const GroupCatalogue rows = {
        enumerated(0x1300, status, "Time Code Present Status", 0, 1, {{0, "No"}, {1, "YES"}}, number(0)),
        plain(0x1301, status, 0, -1, number(0)),
        plain(0x1302, status, 0, -1, number(0)),
        enumerated(0x1303, status, "Frame Rate", 0, 8,
                   {{0, "N/A"},
                    {1, "23.98fps"},
                    {2, "24fps"},
                    {3, "25fps"},
                    {4, "29.97fps"},
                    {5, "30fps"},
                    {6, "50fps"},
                    {7, "59.94fps"},
                    {8, "N/A"}},
                   number(0)),
        plain(0x1304, status, 0, -1, number(0)),
        // The separator put before the frames: ";" for drop-frame, ":" for non-drop-frame.
        enumerated(0x1305, status, "Timecode Frame Type", 0, 1, {{0, ";"}, {1, ":"}}, number(1)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters1300()
{
    define(catalogueGroup13(), 0x1300, 0x13FF);
}
