#include "support/CatalogueParameterSet.h"

#include "support/FakeUnit.h"
#include "unit/catalogue/Catalogue.h"

CatalogueParameterSet::CatalogueParameterSet(GenericProtocol* protocol) : ParameterSet(protocol)
{
    for (const GroupCatalogue* group : unitCatalogueGroups()) {
        for (const ParameterDefinition& row : *group) {
            const ParameterId id(static_cast<int16_t>(row.id));
            if (row.kind == ParameterKind::Control) {
                ControlParameter parameter(protocol, id, ParameterValue(row.minimum),
                                           ParameterValue(row.maximum));
                parameter.setAlwaysNotify(row.alwaysNotify);
                controlParameters.emplace(id, parameter);
            } else {
                Parameter parameter(protocol, id, ParameterValue(row.minimum), ParameterValue(row.maximum));
                parameter.setAlwaysNotify(row.alwaysNotify);
                statusParameters.emplace(id, parameter);
            }
        }
    }
    for (uint8_t group : unitPollSchedule())
        statusGroups.push_back(group);
}
