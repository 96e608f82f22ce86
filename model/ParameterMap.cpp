#include "model/ParameterMap.h"

void ControlParameterMap::applyReport(const ParameterValueMap& values, ControlParameter* const* members)
{
    std::vector<ParameterId> changed;
    // No observer runs while the batch is stored, so the parameters listed stay where they are.
    for (const auto& [id, value] : values) {
        ControlParameter* parameter = parameterOf(id, members != nullptr ? *members++ : nullptr);
        if (parameter != nullptr && parameter->takeReported(value))
            changed.push_back(id);
    }
    // Look each one up again: an observer may have changed the map meanwhile.
    for (const ParameterId& id : changed) {
        if (ControlParameter* parameter = parameterOf(id, nullptr))
            parameter->notify(nullptr);
    }
}
