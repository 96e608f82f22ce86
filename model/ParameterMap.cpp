#include "model/ParameterMap.h"

void ControlParameterMap::update(const ParameterValueMap& values)
{
    std::vector<ParameterId> changed;
    for (const auto& entry : values) {
        const auto found = std::map<ParameterId, ControlParameter>::find(entry.first);
        if (found != end() && found->second.updateFrom(values))
            changed.push_back(entry.first);
    }
    // Look each one up again: an observer may have changed the map meanwhile.
    for (const ParameterId& id : changed) {
        const auto found = std::map<ParameterId, ControlParameter>::find(id);
        if (found != end())
            found->second.notify(nullptr);
    }
}
