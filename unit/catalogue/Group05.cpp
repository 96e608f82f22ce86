#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Analogue output: factory and user trims of the eight output channels, the
// master trim, the master volume, the dim function and the channel mutes.
// Master trim, master volume and dim gain get formatters of their own once the
// set is built; their rows keep the builder's labels, which is why the dim
// gain's default (11) is none of its labels.
const GroupCatalogue& catalogueGroup05()
{
    static const GroupCatalogue rows{
        enumerated(0x0500, control, "Factory Set the Left Channel Trim", 0, 48, {{24, "0 dB"}}, number(24)),
        enumerated(0x0501, control, "Factory Set the Right Channel Trim", 0, 48, {{24, "0 dB"}}, number(24)),
        enumerated(0x0502, control, "Factory Set the Center Channel Trim", 0, 48, {{24, "0 dB"}}, number(24)),
        enumerated(0x0503, control, "Factory Set the Subwoofer Channel Trim", 0, 48, {{24, "0 dB"}},
                   number(24)),
        enumerated(0x0504, control, "Factory Set the Left Surround Channel Trim", 0, 48, {{24, "0 dB"}},
                   number(24)),
        enumerated(0x0505, control, "Factory Set the Right Surround Channel Trim", 0, 48, {{24, "0 dB"}},
                   number(24)),
        enumerated(0x0506, control, "Factory Set the Back Left Surround Channel Trim", 0, 48, {{24, "0 dB"}},
                   number(24)),
        // The unit's own name for this trim has no blank in "BackRight".
        enumerated(0x0507, control, "Factory Set the BackRight Surround Channel Trim", 0, 48, {{24, "0 dB"}},
                   number(24)),
        enumerated(0x0508, control, "User Set the Left Channel Trim", 0, 208, {{160, "0 dB"}}, number(160)),
        enumerated(0x0509, control, "User Set the Right Channel Trim", 0, 208, {{160, "0 dB"}}, number(160)),
        enumerated(0x050A, control, "User Set the Center Channel Trim", 0, 208, {{160, "0 dB"}}, number(160)),
        enumerated(0x050B, control, "User Set the Subwoofer Channel Trim", 0, 208, {{160, "0 dB"}},
                   number(160)),
        enumerated(0x050C, control, "User Set the Left Surround Channel Trim", 0, 208, {{160, "0 dB"}},
                   number(160)),
        enumerated(0x050D, control, "User Set the Right Surround Channel Trim", 0, 208, {{160, "0 dB"}},
                   number(160)),
        enumerated(0x050E, control, "User Set the Back Left Surround Channel Trim", 0, 208, {{160, "0 dB"}},
                   number(160)),
        enumerated(0x050F, control, "User Set the Back Right Surround Channel Trim", 0, 208, {{160, "0 dB"}},
                   number(160)),
        enumerated(0x0510, control, "Master Trim", 0, 52, {{40, "0 dB"}}, number(40)),
        enumerated(0x0511, control, "Master Volume Control", 2, 212,
                   {{2, "-Inf dB"}, {192, "0 dB"}, {188, "-2 dB"}}, number(192)),
        enumerated(0x0512, control, "Dim Gain", 0, 37, {{0, "0"}, {31, "31"}, {37, "37"}}, number(11)),
        enumerated(0x0513, control, "Dim Select", 0, 1, {{0, "Off"}, {1, "On"}}, number(0)),
        // Channel mutes, in trim order with one shared back surround.
        enumerated(0x0514, control, "Left", 0, 1, {{0, "Active"}, {1, "Mute"}}, number(0)),
        enumerated(0x0515, control, "Right", 0, 1, {{0, "Active"}, {1, "Mute"}}, number(0)),
        enumerated(0x0516, control, "Center", 0, 1, {{0, "Active"}, {1, "Mute"}}, number(0)),
        enumerated(0x0517, control, "Subwoofer", 0, 1, {{0, "Active"}, {1, "Mute"}}, number(0)),
        enumerated(0x0518, control, "Left Surround", 0, 1, {{0, "Active"}, {1, "Mute"}}, number(0)),
        enumerated(0x0519, control, "Right Surround", 0, 1, {{0, "Active"}, {1, "Mute"}}, number(0)),
        enumerated(0x051A, control, "Back Surround", 0, 1, {{0, "Active"}, {1, "Mute"}}, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters0500()
{
    define(catalogueGroup05(), 0x0500, 0x0509);
}

void UnitParameterSet::defineParameters050A()
{
    define(catalogueGroup05(), 0x050A, 0x0513);
}

void UnitParameterSet::defineParameters0514()
{
    define(catalogueGroup05(), 0x0514, 0x05FF);
}
