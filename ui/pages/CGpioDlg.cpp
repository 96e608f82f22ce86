#include "ui/pages/CGpioDlg.h"

#include <span>
#include <vector>

#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = GpioTemplate;
namespace Id = ParameterIds;

// One pin: its three drop lists and the catalogue entry it binds (0-based).
struct Pin {
    int function;
    int trigger;
    int polarity;
    int16_t entry;
};

// The pins do not follow the catalogue's entry order: the dialog lists them as the
// unit's connector numbers them.
const Pin inputPins[] = {
    {Control::inputPin6Function, Control::inputPin6Trigger, Control::inputPin6Polarity, 14},
    {Control::inputPin23Function, Control::inputPin23Trigger, Control::inputPin23Polarity, 0},
    {Control::inputPin24Function, Control::inputPin24Trigger, Control::inputPin24Polarity, 1},
    {Control::inputPin25Function, Control::inputPin25Trigger, Control::inputPin25Polarity, 2},
    {Control::inputPin26Function, Control::inputPin26Trigger, Control::inputPin26Polarity, 3},
    {Control::inputPin27Function, Control::inputPin27Trigger, Control::inputPin27Polarity, 4},
    {Control::inputPin28Function, Control::inputPin28Trigger, Control::inputPin28Polarity, 5},
    {Control::inputPin29Function, Control::inputPin29Trigger, Control::inputPin29Polarity, 6},
    {Control::inputPin30Function, Control::inputPin30Trigger, Control::inputPin30Polarity, 7},
    {Control::inputPin31Function, Control::inputPin31Trigger, Control::inputPin31Polarity, 8},
    {Control::inputPin32Function, Control::inputPin32Trigger, Control::inputPin32Polarity, 9},
    {Control::inputPin33Function, Control::inputPin33Trigger, Control::inputPin33Polarity, 10},
    {Control::inputPin34Function, Control::inputPin34Trigger, Control::inputPin34Polarity, 11},
    {Control::inputPin35Function, Control::inputPin35Trigger, Control::inputPin35Polarity, 12},
    {Control::inputPin36Function, Control::inputPin36Trigger, Control::inputPin36Polarity, 13},
};
const Pin outputPins[] = {
    {Control::outputPin3Function, Control::outputPin3Trigger, Control::outputPin3Polarity, 0},
    {Control::outputPin4Function, Control::outputPin4Trigger, Control::outputPin4Polarity, 1},
    {Control::outputPin5Function, Control::outputPin5Trigger, Control::outputPin5Polarity, 15},
    {Control::outputPin7Function, Control::outputPin7Trigger, Control::outputPin7Polarity, 2},
    {Control::outputPin8Function, Control::outputPin8Trigger, Control::outputPin8Polarity, 3},
    {Control::outputPin9Function, Control::outputPin9Trigger, Control::outputPin9Polarity, 4},
    {Control::outputPin10Function, Control::outputPin10Trigger, Control::outputPin10Polarity, 5},
    {Control::outputPin11Function, Control::outputPin11Trigger, Control::outputPin11Polarity, 6},
    {Control::outputPin12Function, Control::outputPin12Trigger, Control::outputPin12Polarity, 7},
    {Control::outputPin13Function, Control::outputPin13Trigger, Control::outputPin13Polarity, 8},
    {Control::outputPin14Function, Control::outputPin14Trigger, Control::outputPin14Polarity, 9},
    {Control::outputPin15Function, Control::outputPin15Trigger, Control::outputPin15Polarity, 10},
    {Control::outputPin16Function, Control::outputPin16Trigger, Control::outputPin16Polarity, 11},
    {Control::outputPin17Function, Control::outputPin17Trigger, Control::outputPin17Polarity, 12},
    {Control::outputPin18Function, Control::outputPin18Trigger, Control::outputPin18Polarity, 13},
    {Control::outputPin19Function, Control::outputPin19Trigger, Control::outputPin19Polarity, 14},
};

// The string-table entries the function and polarity lists show: the dialog names the
// inputs ("AES1 Input") and the polarities ("Negative") more shortly than the
// parameters' labels do. An output has four functions more than an input. The trigger
// lists show the parameters' own labels.
constexpr int functionStrings = 1100;
constexpr int lastInputFunctionString = 1173;
constexpr int lastOutputFunctionString = 1177;
constexpr int polarityStrings = 1300;

// Where each column's parameters begin, entry 0 first.
struct Side {
    std::span<const Pin> pins;
    int16_t firstFunction;
    int16_t firstTrigger;
    int16_t firstPolarity;
    int lastFunctionString;
};

std::vector<ControlRow> pinRows()
{
    const Side sides[] = {
        {inputPins, Id::firstInputFunction, Id::firstInputTrigger, Id::firstInputPolarity,
         lastInputFunctionString},
        {outputPins, Id::firstOutputFunction, Id::firstOutputTrigger, Id::firstOutputPolarity,
         lastOutputFunctionString},
    };
    std::vector<ControlRow> rows;
    for (const Side& side : sides) {
        for (const Pin& pin : side.pins) {
            rows.push_back(comboBox(pin.function, int16_t(side.firstFunction + pin.entry), functionStrings,
                                    side.lastFunctionString));
            rows.push_back(comboBox(pin.trigger, int16_t(side.firstTrigger + pin.entry)));
            rows.push_back(comboBox(pin.polarity, int16_t(side.firstPolarity + pin.entry), polarityStrings,
                                    polarityStrings + 1));
        }
    }
    return rows;
}

} // namespace

CGpioDlg::CGpioDlg(const Win32Controller& pageController)
    : BoundDialog(templateId, pageController, pinRows())
{
}
