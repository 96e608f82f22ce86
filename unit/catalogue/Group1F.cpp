#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// General-purpose inputs: trigger mode, polarity and function of the 16 input
// pins, then the active input pin. The rows of one kind share their name and
// labels, which name no pin: only the identifier tells the pins apart.
constexpr const char* triggerName = "Set Trigger Mode For General Purpose Input Pin User defined";
constexpr const char* polarityName = "Set Polarity For General Purpose Input Pin User defined";
constexpr const char* functionName = "Set Function For General Purpose Input Pin User defined";

static std::vector<ValueLabel> triggerLabels()
{
    return {{0, "Level"}, {1, "Edge"}};
}

static std::vector<ValueLabel> polarityLabels()
{
    return {{0, "Negative/Low"}, {1, "Positive/High"}};
}

// The unit's vocabulary of input functions, values 0 to 73. It differs from the
// outputs' list in wording ("Select Input 1", "Three Stereo", ...), so the two
// are kept apart.
static std::vector<ValueLabel> functionLabels()
{
    std::vector<ValueLabel> labels = {{0, "Bypass"}};
    for (int preset = 1; preset <= 32; ++preset) {
        labels.push_back({preset, "Preset " + std::to_string(preset)});
    }
    const std::vector<ValueLabel> rest = {
        {33, "Select Input 1"},
        {34, "Select Input 2"},
        {35, "Select Input 3"},
        {36, "Select Input 4"},
        {37, "Stereo Downmix"},
        {38, "Lt/Rt Downmix"},
        {39, "Mono Downmix"},
        {40, "Tessiva II"},
        {41, "Tessiva"},
        {42, "Surround QX"},
        {43, "Full"},
        {44, "Three Stereo"},
        {45, "Phantom Center"},
        {46, "Custom Compression"},
        {47, "Line Mode Compression"},
        {48, "RF Mode Compression"},
        {49, "Extended BSI Enable"},
        {50, "Tessiva II - Movie"},
        {51, "Tessiva II - Music"},
        {52, "Tessiva II - Tessiva"},
        {53, "Tessiva II - Matrix"},
        {54, "Vormo Headphone Off"},
        {55, "Vormo Headphone Room 1"},
        {56, "Vormo Headphone Room 2"},
        {57, "Vormo Headphone Room 3"},
        {58, "Bass Management Bypass"},
        {59, "AES Channel Select Auto"},
        {60, "AES Channel Select 1"},
        {61, "AES Channel Select 2"},
        {62, "AES Chan Select 1+2"},
        {63, "Test Noise Wideband"},
        {64, "Test Noise Filtered"},
        {65, "Left Speaker Mute"},
        {66, "Right Speaker Mute"},
        {67, "Center Speaker Mute"},
        {68, "Subwoofer Mute"},
        {69, "Left Surround Speaker Mute"},
        {70, "Right Surround Speaker Mute"},
        {71, "Back Surround Speaker Mute"},
        {72, "Master Volume Reference Level"},
        {73, "Dim/Mute"},
    };
    labels.insert(labels.end(), rest.begin(), rest.end());
    return labels;
}

// The active input pin is labelled with its own number, 0 to 14.
static std::vector<ValueLabel> activePinLabels()
{
    std::vector<ValueLabel> labels;
    for (int pin = 0; pin <= 14; ++pin) {
        labels.push_back({pin, std::to_string(pin)});
    }
    return labels;
}

static ParameterDefinition trigger(int id)
{
    return enumerated(id, control, triggerName, 0, 1, triggerLabels(), number(1));
}

static ParameterDefinition polarity(int id)
{
    return enumerated(id, control, polarityName, 0, 1, polarityLabels(), number(0));
}

static ParameterDefinition inputFunction(int id, int defaultFunction)
{
    return enumerated(id, control, functionName, 0, 73, functionLabels(), number(defaultFunction));
}

const GroupCatalogue& catalogueGroup1F()
{
    static const GroupCatalogue rows = {
        trigger(0x1F00),
        trigger(0x1F01),
        trigger(0x1F02),
        trigger(0x1F03),
        trigger(0x1F04),
        trigger(0x1F05),
        trigger(0x1F06),
        trigger(0x1F07),
        trigger(0x1F08),
        trigger(0x1F09),
        trigger(0x1F0A),
        trigger(0x1F0B),
        trigger(0x1F0C),
        trigger(0x1F0D),
        trigger(0x1F0E),
        trigger(0x1F0F),
        polarity(0x1F10),
        polarity(0x1F11),
        polarity(0x1F12),
        polarity(0x1F13),
        polarity(0x1F14),
        polarity(0x1F15),
        polarity(0x1F16),
        polarity(0x1F17),
        polarity(0x1F18),
        polarity(0x1F19),
        polarity(0x1F1A),
        polarity(0x1F1B),
        polarity(0x1F1C),
        polarity(0x1F1D),
        polarity(0x1F1E),
        polarity(0x1F1F),
        inputFunction(0x1F20, 33), // Select Input 1
        inputFunction(0x1F21, 34), // Select Input 2
        inputFunction(0x1F22, 35), // Select Input 3
        inputFunction(0x1F23, 40), // Tessiva II
        inputFunction(0x1F24, 41), // Tessiva
        inputFunction(0x1F25, 42), // Surround QX
        inputFunction(0x1F26, 38), // Lt/Rt Downmix
        inputFunction(0x1F27, 37), // Stereo Downmix
        inputFunction(0x1F28, 39), // Mono Downmix
        inputFunction(0x1F29, 46), // Custom Compression
        inputFunction(0x1F2A, 47), // Line Mode Compression
        inputFunction(0x1F2B, 48), // RF Mode Compression
        inputFunction(0x1F2C, 72), // Master Volume Reference Level
        inputFunction(0x1F2D, 73), // Dim/Mute
        inputFunction(0x1F2E, 1),  // Preset 1
        inputFunction(0x1F2F, 33), // Select Input 1, as pin 1
        enumerated(0x1F30, control, "Active GPI pin", 0, 14, activePinLabels(), number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters1F00()
{
    define(catalogueGroup1F(), 0x1F00, 0x1F09);
}

void UnitParameterSet::defineParameters1F0A()
{
    define(catalogueGroup1F(), 0x1F0A, 0x1F13);
}

void UnitParameterSet::defineParameters1F14()
{
    define(catalogueGroup1F(), 0x1F14, 0x1F1D);
}

void UnitParameterSet::defineParameters1F1E()
{
    define(catalogueGroup1F(), 0x1F1E, 0x1F27);
}

void UnitParameterSet::defineParameters1F28()
{
    define(catalogueGroup1F(), 0x1F28, 0x1FFF);
}
