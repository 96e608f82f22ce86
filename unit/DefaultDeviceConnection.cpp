#include "unit/DefaultDeviceConnection.h"

#include "unit/catalogue/Catalogue.h"

DefaultDeviceConnection::DefaultDeviceConnection()
{
    loadDefaults();
}

void DefaultDeviceConnection::loadDefaults()
{
    ParameterValueMap& values = store();
    for (const GroupCatalogue* group : allCatalogueGroups())
        for (const ParameterDefinition& row : *group)
            values[ParameterId(static_cast<int16_t>(row.id))] = row.defaultValue;
}
