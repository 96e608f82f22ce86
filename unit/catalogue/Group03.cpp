#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// System: operating mode, input selection, decoding options, clock source,
// headphone mode, monitor output and the digital volume. The reference level
// (0x030D) and the digital volume (0x0312) get formatters of their own once the
// set is built; the rows keep what the builder itself gives them.
const GroupCatalogue& catalogueGroup03()
{
    static const GroupCatalogue rows{
        enumerated(0x0300, control, "Operating Mode Control", 0, 3,
                   {{0, "Decode Mode"}, {1, "Bypass Mode"}, {2, "Test Noise Mode"}, {3, "IFE Mode"}},
                   number(0)),
        enumerated(0x0301, control, "Input Select", 0, 3,
                   {{0, "AES1 Input Status"},
                    {1, "AES2 Input Status"},
                    {2, "Optical Input Status"},
                    {3, "Streaming"}},
                   number(0)),
        enumerated(0x0302, control, "Mono Sum Control", 0, 1, {{0, "Off"}, {1, "On"}}, number(0)),
        enumerated(0x0303, control, "Bass Management Override Control", 0, 1, {{0, "No"}, {1, "Yes"}},
                   number(0)),
        // 0x0304 and 0x0305 share a display name; only the identifier tells them apart.
        enumerated(0x0304, control, "Surround QX Decoding", 0, 1, {{0, "Manual"}, {1, "Automatic"}},
                   number(0)),
        enumerated(0x0305, control, "Surround QX Decoding", 0, 1, {{0, "Off"}, {1, "On"}}, number(0)),
        enumerated(0x0306, control, "PCM Decode Format", 0, 3,
                   {{0, "No Decoding"}, {1, "Tessiva"}, {2, "Tessiva II"}, {3, "Surround QX"}}, number(0)),
        enumerated(0x0307, control, "Clock Source", 0, 5,
                   {{0, "Digital In"},
                    {1, "Ref In-SRC On"},
                    {2, "Ref In-SRC Off"},
                    {3, "Internal 48kHz"},
                    {4, "Internal 44.1kHz"},
                    {5, "Internal 32kHz"}},
                   number(0)),
        enumerated(0x0308, control, "IFE Mode", 0, 1, {{0, "Enabled"}, {1, "Disabled"}}, number(1)),
        enumerated(0x0309, control, "Bypass", 0, 1, {{0, "Disabled"}, {1, "Enabled"}}, number(0)),
        plain(0x030A, control, 1, 16, number(11)),
        enumerated(0x030B, control, "Decode Format", 0, 1, {{0, "Automatic"}, {1, "Vormo Digital"}},
                   number(0)),
        enumerated(0x030C, control, "Detection Mode", 0, 1, {{0, "Normal"}, {1, "Silent Switch"}}, number(0)),
        plain(0x030D, control, 0, 180, number(60)),
        plain(0x030E, control, 0, 1023, number(0)),
        enumerated(0x030F, control, "Digital Ref Auto Cal", 0, 1, {{0, "No"}, {1, "Yes"}}, number(0)),
        enumerated(0x0310, control, "Vormo Headphone Mode", 0, 3,
                   {{0, "Off"}, {1, "VH1 (Small Room)"}, {2, "VH2 (Medium Room)"}, {3, "VH3 (Large Room)"}},
                   number(1)),
        enumerated(0x0311, control, "Monitor Output", 0, 1, {{0, "Analog"}, {1, "Analog & Digital"}},
                   number(0)),
        enumerated(0x0312, control, "Digital Volume Control", 2, 192,
                   {{2, "-Inf dB"}, {192, "0 dB"}, {188, "-2 dB"}}, number(188)),
        enumerated(0x0313, control, "Input Source", 0, 2,
                   {{0, "AES Input"}, {1, "Streaming"}, {2, "Internal"}}, number(0)),
        // Same name and labels as 0x0312, but this one keeps its labels for good.
        enumerated(0x0314, control, "Digital Volume Control", 2, 192,
                   {{2, "-Inf dB"}, {192, "0 dB"}, {188, "-2 dB"}}, number(188)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters0300()
{
    define(catalogueGroup03(), 0x0300, 0x0309);
}

void UnitParameterSet::defineParameters030A()
{
    define(catalogueGroup03(), 0x030A, 0x0313);
}

void UnitParameterSet::defineParameters0314()
{
    define(catalogueGroup03(), 0x0314, 0x03FF);
}
