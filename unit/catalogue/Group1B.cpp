#include <string>

#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

namespace {

// 0 is no preset; preset n is the value n.
std::vector<ValueLabel> activePresetLabels()
{
    std::vector<ValueLabel> labels = {{0, "None"}};
    for (int preset = 1; preset <= 32; ++preset)
        labels.push_back({preset, "Preset " + std::to_string(preset)});
    return labels;
}

} // namespace

// The active preset, as the unit reports it: its number and its name.
const GroupCatalogue& catalogueGroup1B()
{
    static const GroupCatalogue rows = {
        enumerated(0x1B00, status, "Active Preset Number", 0, 32, activePresetLabels(), number(0)),
        textual(0x1B01, status, "Preset Name", text("Preset 1")),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters1B00()
{
    define(catalogueGroup1B(), 0x1B00, 0x1BFF);
}
