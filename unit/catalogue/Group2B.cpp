#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Streaming status, as the unit reports it. Duration (0x2B04) and position
// (0x2B09) get their time formatters only once the whole set is built, so they
// have none here. The packet-loss count and the duration span the whole
// unsigned range: their maximum is the bytes FF FF.
const GroupCatalogue& catalogueGroup2B()
{
    static const GroupCatalogue rows = {
        plain(0x2B00, status, 0, -1, number(0)),
        enumerated(0x2B01, status, "RTP_State", 0, 2, {{0, "Awaiting"}, {1, "Buffering"}, {2, "Playing"}},
                   number(0)),
        enumerated(0x2B02, status, "RTSP State", 0, 2, {{0, "Not Connected"}, {1, "Stopped"}, {2, "Playing"}},
                   number(0)),
        enumerated(0x2B03, status, "State", 0, 4,
                   {{0, "No Input"}, {1, "Stopped"}, {2, "Paused"}, {3, "Buffering"}, {4, "Playing"}},
                   number(0)),
        plain(0x2B04, status, 0, -1, number(0)),
        plain(0x2B05, status, 0, 3840, number(0)),
        enumerated(0x2B06, status, "Ac3 Sample Rate", 0, 2, {{0, "32kHz"}, {1, "44.1kHz"}, {2, "48kHz"}},
                   number(2)),
        textual(0x2B07, status, "Packets Received", text("")),
        textual(0x2B08, status, "Session Identifier", text("21")),
        plain(0x2B09, status, 0, 32000, number(0)),
        textual(0x2B0A, status, "Status String", text("")),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters2B00()
{
    define(catalogueGroup2B(), 0x2B00, 0x2B09);
}

void UnitParameterSet::defineParameters2B0A()
{
    define(catalogueGroup2B(), 0x2B0A, 0x2BFF);
}
