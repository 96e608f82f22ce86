#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Decoding options (AES3 channel and stream selection, extended bitstream,
// compression with its custom cut 0x0B04 and boost 0x0B05, downmix type) and
// the karaoke settings. The karaoke levels and pans get formatters of their own
// once the set is built; their rows keep the builder's labels, so the level
// defaults (0 dB) are none of those labels.
const GroupCatalogue& catalogueGroup0B()
{
    static const GroupCatalogue rows{
        enumerated(0x0B00, control, "AES3 Channel Select", 0, 3,
                   {{0, "Automatic"}, {1, "Channel 1"}, {2, "Channel 2"}, {3, "Channel 1+2"}}, number(0)),
        enumerated(0x0B01, control, "Stream Select", 0, 8,
                   {{0, "0"},
                    {1, "1"},
                    {2, "2"},
                    {3, "3"},
                    {4, "4"},
                    {5, "5"},
                    {6, "6"},
                    {7, "7"},
                    {8, "Automatic"}},
                   number(8)),
        enumerated(0x0B02, control, "Extended Bitstream", 0, 1, {{0, "Disabled"}, {1, "Enabled"}}, number(1)),
        enumerated(0x0B03, control, "Compression Mode", 0, 3,
                   {{0, "None"}, {1, "RF"}, {2, "Line"}, {3, "Custom"}}, number(2)),
        plain(0x0B04, control, 0, 10, number(0)),
        plain(0x0B05, control, 0, 10, number(0)),
        enumerated(0x0B06, control, "Downmix Type", 0, 2, {{0, "Full"}, {1, "Lo/Ro"}, {2, "Lt/Rt"}},
                   number(0)),
        enumerated(0x0B07, control, "Karaoke Mode", 0, 2, {{0, "Unaware"}, {1, "Aware"}, {2, "Capable"}},
                   number(2)),
        enumerated(0x0B08, control, "Karaoke Capable Vocal 1 Level Control", 0, 61, {{61, "Mute"}},
                   number(0)),
        enumerated(0x0B09, control, "Karaoke Capable Vocal 2 Level Control", 0, 61, {{61, "Mute"}},
                   number(0)),
        enumerated(0x0B0A, control, "Karaoke Capable Music Level Control", 0, 61, {{61, "Mute"}}, number(0)),
        enumerated(0x0B0B, control, "Karaoke Capable Vocal 1 Pan Control", 0, 20,
                   {{0, "Hard Left"}, {10, "Center"}, {20, "Hard Right"}}, number(0)),
        enumerated(0x0B0C, control, "Karaoke Capable Vocal 2 Pan Control", 0, 20,
                   {{0, "Hard Left"}, {10, "Center"}, {20, "Hard Right"}}, number(20)),
        enumerated(0x0B0D, control, "Karaoke Capable Music Pan Control", 0, 20,
                   {{0, "Hard Left"}, {10, "Center"}, {20, "Hard Right"}}, number(10)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters0B00()
{
    define(catalogueGroup0B(), 0x0B00, 0x0B09);
}

void UnitParameterSet::defineParameters0B0A()
{
    define(catalogueGroup0B(), 0x0B0A, 0x0BFF);
}
