#pragma once

#include "model/ParameterSet.h"

// A parameter set built from the catalogue rows of the unit's groups (not the
// application's own 0x43), every parameter owned by the given protocol, with
// the unit's 62-entry status poll schedule. It stands in for the unit's set in
// tests of the links, without its rules and formatters.
class CatalogueParameterSet : public ParameterSet {
public:
    explicit CatalogueParameterSet(GenericProtocol* protocol);

    ControlParameterMap& controlMap() { return controlParameters; }
    ParameterMap<Parameter>& statusMap() { return statusParameters; }
};
