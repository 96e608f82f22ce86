#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// General-purpose outputs: trigger mode, polarity and function of the 17 output
// entries (0 to 16), then the active output pin and the edit mode. Entry e has
// its trigger mode at 0x2100 + e, its polarity at 0x2111 + e and its function
// at 0x2122 + e; the names carry no entry number.
constexpr const char* triggerName = "Set Trigger Mode For General Purpose Output Pin";
constexpr const char* polarityName = "Polarity";
constexpr const char* functionName = "Function";

static std::vector<ValueLabel> triggerLabels()
{
    return {{0, "Level"}, {1, "Edge"}};
}

static std::vector<ValueLabel> polarityLabels()
{
    return {{0, "Negative/Low"}, {1, "Positive/High"}};
}

// The unit's vocabulary of output functions, values 0 to 77: the input list's
// first 74 in shorter wording, then four functions only an output has.
static std::vector<ValueLabel> functionLabels()
{
    std::vector<ValueLabel> labels = {{0, "Bypass"}};
    for (int preset = 1; preset <= 32; ++preset) {
        labels.push_back({preset, "Preset " + std::to_string(preset)});
    }
    const std::vector<ValueLabel> rest = {
        {33, "AES1 Input"},
        {34, "AES2 Input"},
        {35, "Optical Input"},
        {36, "Streaming Input"},
        {37, "Stereo Downmix"},
        {38, "Lt/Rt Downmix"},
        {39, "Mono Downmix"},
        {40, "Tessiva II"},
        {41, "Tessiva"},
        {42, "Surround QX"},
        {43, "Full"},
        {44, "3 Stereo"},
        {45, "Phantom Center"},
        {46, "Custom"},
        {47, "Line"},
        {48, "RF"},
        {49, "Extended BSI Enable"},
        {50, "TS II - Movie"},
        {51, "TS II - Music"},
        {52, "TS II - Tessiva"},
        {53, "TS II - Matrix"},
        {54, "Vormo Headphone Off"},
        {55, "Vormo Headphone 1"},
        {56, "Vormo Headphone 2"},
        {57, "Vormo Headphone 3"},
        {58, "Bass Manage Bypass"},
        {59, "AES Chan Select Auto"},
        {60, "AES Chan Select 1"},
        {61, "AES Chan Select 2"},
        {62, "AES Chan Select 1+2"},
        {63, "Test Noise Wideband"},
        {64, "Test Noise Filtered"},
        {65, "Left Speaker Mute"},
        {66, "Right Speaker Mute"},
        {67, "Center Speaker Mute"},
        {68, "Subwoofer Mute"},
        {69, "Ls Speaker Mute"},
        {70, "Rs Speaker Mute"},
        {71, "Bs Speaker Mute"},
        {72, "Master Volume Ref"},
        {73, "Dim/Mute"},
        {74, "Error"},
        {75, "External Ref"},
        {76, "Remote Control"},
        {77, "Vormo Digital Input"},
    };
    labels.insert(labels.end(), rest.begin(), rest.end());
    return labels;
}

// The active output pin is labelled with its own number, 0 to 15.
static std::vector<ValueLabel> activePinLabels()
{
    std::vector<ValueLabel> labels;
    for (int pin = 0; pin <= 15; ++pin) {
        labels.push_back({pin, std::to_string(pin)});
    }
    return labels;
}

static ParameterDefinition trigger(int id)
{
    return enumerated(id, control, triggerName, 0, 1, triggerLabels(), number(0));
}

static ParameterDefinition polarity(int id)
{
    return enumerated(id, control, polarityName, 0, 1, polarityLabels(), number(1));
}

static ParameterDefinition outputFunction(int id, int defaultFunction)
{
    return enumerated(id, control, functionName, 0, 77, functionLabels(), number(defaultFunction));
}

const GroupCatalogue& catalogueGroup21()
{
    static const GroupCatalogue rows = {
        trigger(0x2100),
        trigger(0x2101),
        trigger(0x2102),
        trigger(0x2103),
        trigger(0x2104),
        trigger(0x2105),
        trigger(0x2106),
        trigger(0x2107),
        trigger(0x2108),
        trigger(0x2109),
        trigger(0x210A),
        trigger(0x210B),
        trigger(0x210C),
        trigger(0x210D),
        trigger(0x210E),
        trigger(0x210F),
        trigger(0x2110),
        polarity(0x2111),
        polarity(0x2112),
        polarity(0x2113),
        polarity(0x2114),
        polarity(0x2115),
        polarity(0x2116),
        polarity(0x2117),
        polarity(0x2118),
        polarity(0x2119),
        polarity(0x211A),
        polarity(0x211B),
        polarity(0x211C),
        polarity(0x211D),
        polarity(0x211E),
        polarity(0x211F),
        polarity(0x2120),
        polarity(0x2121),
        outputFunction(0x2122, 74), // Error
        outputFunction(0x2123, 33), // AES1 Input
        outputFunction(0x2124, 34), // AES2 Input
        outputFunction(0x2125, 35), // Optical Input
        outputFunction(0x2126, 40), // Tessiva II
        outputFunction(0x2127, 41), // Tessiva
        outputFunction(0x2128, 42), // Surround QX
        outputFunction(0x2129, 38), // Lt/Rt Downmix
        outputFunction(0x212A, 37), // Stereo Downmix
        outputFunction(0x212B, 39), // Mono Downmix
        outputFunction(0x212C, 46), // Custom
        outputFunction(0x212D, 47), // Line
        outputFunction(0x212E, 48), // RF
        outputFunction(0x212F, 72), // Master Volume Ref
        outputFunction(0x2130, 73), // Dim/Mute
        outputFunction(0x2131, 0),  // Bypass
        outputFunction(0x2132, 33), // AES1 Input
        enumerated(0x2133, control, "Active GPO pin", 0, 15, activePinLabels(), number(0)),
        enumerated(0x2134, control, "GPI/O edit mode", 0, 1, {{0, "Kit812"}, {1, "Pin"}}, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters2100()
{
    define(catalogueGroup21(), 0x2100, 0x2109);
}

void UnitParameterSet::defineParameters210A()
{
    define(catalogueGroup21(), 0x210A, 0x2113);
}

void UnitParameterSet::defineParameters2114()
{
    define(catalogueGroup21(), 0x2114, 0x211D);
}

void UnitParameterSet::defineParameters211E()
{
    define(catalogueGroup21(), 0x211E, 0x2127);
}

void UnitParameterSet::defineParameters2128()
{
    define(catalogueGroup21(), 0x2128, 0x2131);
}

void UnitParameterSet::defineParameters2132()
{
    define(catalogueGroup21(), 0x2132, 0x21FF);
}
