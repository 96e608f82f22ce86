#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Speakers: back surround speakers, speaker sizes, subwoofer and crossover,
// the four speaker delays (center, Ls/Rs, Bsl/Bsr, Tessiva; only the first has
// a name), the LFE monitor mode and the downmix mode.
const GroupCatalogue& catalogueGroup07()
{
    static const GroupCatalogue rows{
        enumerated(0x0700, control, "Back Surround Speakers", 0, 2, {{0, "None"}, {1, "One"}, {2, "Two"}},
                   number(0)),
        enumerated(0x0701, control, "Center Delay", 0, 8, {{3, "0 ms"}}, number(3)),
        plain(0x0702, control, 0, 50, number(0)),
        plain(0x0703, control, 0, 50, number(0)),
        plain(0x0704, control, 0, 90, number(5)),
        enumerated(0x0705, control, "Center", 0, 1, {{0, "Large"}, {1, "Small"}}, number(0)),
        enumerated(0x0706, control, "Left/Right", 0, 1, {{0, "Large"}, {1, "Small"}}, number(0)),
        enumerated(0x0707, control, "Surrounds", 0, 1, {{0, "Large"}, {1, "Small"}}, number(0)),
        enumerated(0x0708, control, "SW Xover Freq", 0, 2, {{0, "80 Hz"}, {1, "100 Hz"}, {2, "120 Hz"}},
                   number(0)),
        enumerated(0x0709, control, "Subwoofer", 0, 1, {{0, "No"}, {1, "Yes"}}, number(1)),
        enumerated(0x070A, control, "LFE Monitor Mode", 0, 2, {{0, "Automatic"}, {1, "On"}, {2, "Off"}},
                   number(0)),
        enumerated(0x070B, control, "Downmix Mode", 0, 2,
                   {{0, "Full"}, {1, "Three Stereo"}, {2, "Phantom Center Channel"}}, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters0700()
{
    define(catalogueGroup07(), 0x0700, 0x0709);
}

void UnitParameterSet::defineParameters070A()
{
    define(catalogueGroup07(), 0x070A, 0x07FF);
}
