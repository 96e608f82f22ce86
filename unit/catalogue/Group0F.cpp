#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// AES input and channel status. Every row is read-only; the metadata page shows only
// the emphasis and the professional/audio bits, the rest is polled and held.
const GroupCatalogue& catalogueGroup0F()
{
    static const GroupCatalogue rows = {
        enumerated(0x0F00, status, "Sample Rate", 0, 5,
                   {{0, "32kHz"}, {1, "44.1kHz"}, {2, "48kHz"}, {3, "88.2kHz"}, {4, "96kHz"}, {5, "UNKNOWN"}},
                   number(2)),
        enumerated(0x0F01, status, "Sample Rate", 0, 5,
                   {{0, "32kHz"}, {1, "44.1kHz"}, {2, "48kHz"}, {3, "88.2kHz"}, {4, "96kHz"}, {5, "N/A"}},
                   number(2)),
        enumerated(0x0F02, status, "Input", 0, 1, {{0, "Unlocked"}, {1, "Locked"}}, number(0)),
        enumerated(0x0F03, status, "Audio In Validity", 0, 1, {{0, "Invalid"}, {1, "Valid"}}, number(0)),
        enumerated(0x0F04, status, "Input", 0, 1, {{0, "Unlocked"}, {1, "Locked"}}, number(0)),
        // 0 is the confident state.
        enumerated(0x0F05, status, "Channel Signal Confidence", 0, 1,
                   {{0, "Confident"}, {1, "Not Confident"}}, number(1)),
        enumerated(0x0F06, status, "Bit-0", 0, 1, {{0, "Consumer"}, {1, "Professional"}}, number(0)),
        enumerated(0x0F07, status, "Bit-1", 0, 1, {{0, "Non-Audio"}, {1, "Audio"}}, number(1)),
        // 0 is the locked state here, the reverse of the two "Input" rows.
        enumerated(0x0F08, status, "Channel Status Locked", 0, 1, {{0, "Locked"}, {1, "Unlocked"}},
                   number(1)),
        enumerated(0x0F09, status, "Emphasis", 0, 4,
                   {{0, "Not Indicated"},
                    {1, "No Emphasis"},
                    {2, "50/15-us Emphasis"},
                    {3, "J.17 Emphasis"},
                    {4, "Reserved"}},
                   number(0)),
        enumerated(0x0F0A, status, "Channel Status Sampling Frequency", 0, 5,
                   {{0, "Not Indicated"},
                    {1, "32 kHz"},
                    {2, "44.1 kHz"},
                    {3, "48 kHz"},
                    {4, "88.2KHz"},
                    {5, "96KHz"}},
                   number(0)),
        // Value n from 1 to 9 is a word length of 15 + n bits.
        enumerated(0x0F0B, status, "Channel Status Sample Word Length", 0, 9,
                   {{0, "Not Indicated"},
                    {1, "16 bits/sample"},
                    {2, "17 bits/sample"},
                    {3, "18 bits/sample"},
                    {4, "19 bits/sample"},
                    {5, "20 bits/sample"},
                    {6, "21 bits/sample"},
                    {7, "22 bits/sample"},
                    {8, "23 bits/sample"},
                    {9, "24 bits/sample"}},
                   number(0)),
        enumerated(0x0F0C, status, "Channel Status Locked", 0, 1, {{0, "Locked"}, {1, "Unlocked"}},
                   number(1)),
        enumerated(0x0F0D, status, "Audio polled", 0, 1, {{0, "false"}, {1, "true"}}, number(0)),
        plain(0x0F0E, status, 0, 5, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters0F00()
{
    define(catalogueGroup0F(), 0x0F00, 0x0F09);
}

void UnitParameterSet::defineParameters0F0A()
{
    define(catalogueGroup0F(), 0x0F0A, 0x0FFF);
}
