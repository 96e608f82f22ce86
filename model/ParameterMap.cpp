#include "model/ParameterMap.h"

#include "model/InOrderSeek.h"

void ControlParameterMap::update(const ParameterValueMap& values)
{
    std::vector<ParameterId> changed;
    // No observer runs while the batch is stored, so the map is walked along with it.
    InOrderSeek<std::map<ParameterId, ControlParameter>> seek(*this);
    for (const auto& [id, value] : values) {
        const auto found = seek.find(id);
        if (found != end() && found->second.takeReported(value))
            changed.push_back(id);
    }
    // Look each one up again: an observer may have changed the map meanwhile.
    for (const ParameterId& id : changed) {
        const auto found = std::map<ParameterId, ControlParameter>::find(id);
        if (found != end())
            found->second.notify(nullptr);
    }
}
