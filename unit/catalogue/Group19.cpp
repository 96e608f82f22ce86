#include <string>
#include <utility>

#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

namespace {

// "Preset <n>" for n = firstPreset to lastPreset, on consecutive values from firstValue.
std::vector<ValueLabel> presets(int firstValue, int firstPreset, int lastPreset)
{
    std::vector<ValueLabel> labels;
    for (int preset = firstPreset; preset <= lastPreset; ++preset)
        labels.push_back({firstValue + (preset - firstPreset), "Preset " + std::to_string(preset)});
    return labels;
}

std::vector<ValueLabel> noPresetThenPresets()
{
    std::vector<ValueLabel> labels = {{0, "No Preset"}};
    for (ValueLabel& label : presets(1, 1, 32))
        labels.push_back(std::move(label));
    return labels;
}

} // namespace

// Preset recall and save. Two ways of counting meet here: "Recall Preset" gives preset
// n as the value n (0 is no preset), while the save parameters and "Recall Preset
// Number" give it as n - 1. Saving reaches preset 28 only.
const GroupCatalogue& catalogueGroup19()
{
    static const GroupCatalogue rows = {
        enumerated(0x1900, control, "Recall Preset", 0, 32, noPresetThenPresets(), number(0)),
        enumerated(0x1901, control, "User Preset Save", 0, 27, presets(0, 1, 28), number(0)),
        enumerated(0x1902, control, "Save Preset Trigger", 0, 1, {{0, "False"}, {1, "True"}}, number(0)),
        enumerated(0x1903, control, "Save Preset Number", 0, 27, presets(0, 1, 28), number(0)),
        textual(0x1904, control, "Save Preset Name", text("")),
        enumerated(0x1905, control, "Recall Preset Number", 0, 31, presets(0, 1, 32), number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters1900()
{
    define(catalogueGroup19(), 0x1900, 0x19FF);
}
