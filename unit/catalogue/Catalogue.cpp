#include "unit/catalogue/Catalogue.h"

std::vector<const GroupCatalogue*> allCatalogueGroups()
{
    return {&catalogueGroup01(), &catalogueGroup03(), &catalogueGroup05(), &catalogueGroup07(),
            &catalogueGroup09(), &catalogueGroup0B(), &catalogueGroup0D(), &catalogueGroup0F(),
            &catalogueGroup11(), &catalogueGroup13(), &catalogueGroup15(), &catalogueGroup17(),
            &catalogueGroup19(), &catalogueGroup1B(), &catalogueGroup1D(), &catalogueGroup1F(),
            &catalogueGroup21(), &catalogueGroup23(), &catalogueGroup25(), &catalogueGroup27(),
            &catalogueGroup29(), &catalogueGroup2B(), &catalogueGroup2D(), &catalogueGroup33(),
            &catalogueGroup35(), &catalogueGroup37(), &catalogueGroup3D(), &catalogueGroup43()};
}
