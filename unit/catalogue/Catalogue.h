#pragma once

#include <vector>

#include "unit/ParameterDefinition.h"

// The catalogue of each parameter group, rows in ascending identifier order.
// Each table is built once, on first use.
using GroupCatalogue = std::vector<ParameterDefinition>;

const GroupCatalogue& catalogueGroup01();
const GroupCatalogue& catalogueGroup03();
const GroupCatalogue& catalogueGroup05();
const GroupCatalogue& catalogueGroup07();
const GroupCatalogue& catalogueGroup09();
const GroupCatalogue& catalogueGroup0B();
const GroupCatalogue& catalogueGroup0D();
const GroupCatalogue& catalogueGroup0F();
const GroupCatalogue& catalogueGroup11();
const GroupCatalogue& catalogueGroup13();
const GroupCatalogue& catalogueGroup15();
const GroupCatalogue& catalogueGroup17();
const GroupCatalogue& catalogueGroup19();
const GroupCatalogue& catalogueGroup1B();
const GroupCatalogue& catalogueGroup1D();
const GroupCatalogue& catalogueGroup1F();
const GroupCatalogue& catalogueGroup21();
const GroupCatalogue& catalogueGroup23();
const GroupCatalogue& catalogueGroup25();
const GroupCatalogue& catalogueGroup27();
const GroupCatalogue& catalogueGroup29();
const GroupCatalogue& catalogueGroup2B();
const GroupCatalogue& catalogueGroup2D();
const GroupCatalogue& catalogueGroup33();
const GroupCatalogue& catalogueGroup35();
const GroupCatalogue& catalogueGroup37();
const GroupCatalogue& catalogueGroup3D();
const GroupCatalogue& catalogueGroup43();

// Every group in ascending order, for whoever walks the whole catalogue.
std::vector<const GroupCatalogue*> allCatalogueGroups();
