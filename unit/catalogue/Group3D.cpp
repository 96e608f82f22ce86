#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Error conditions. The unit reports them, but they are control parameters, so
// they are read with the control parameters and not by the status poll.

// The condition texts as the unit's display shows them: up to five lines of
// at most 21 characters, a blank kept where a line starts with one.
static std::vector<ValueLabel> conditionLabels()
{
    return {
        {0, "No Errors"},
        {1, "No Signal Present\non Selected Input"},
        {2, "Invalid or\nUnsupported Input\nSample Rate"},
        {3, "Reference Input is\nRequired But Not\nPresent"},
        {4, "No Valid Bitstream on\nSelected Stream #"},
        {5, "No Valid Bitstream on\nSelected AES Channel"},
        {6, "Invalid Input\nBitstream"},
        {7, "Unsupported Input\nBitstream"},
        {8, "Network disabled.\nPlease use the\nSystem Setup Menu\nand configure the\n network."},
        {9, "Internal Network\nconfiguration Error 1"},
        {10, "Invalid Subnet mask"},
        {11, "Invalid IP Address"},
        {12, "Invalid gateway\naddress"},
        {13, "Invalid DNS server\naddress or invalid\ndomain name"},
        {14, "Internal DHCP\nError #1"},
        {15, "Internal DHCP\nError #2"},
        {16, "Internal DHCP\nError #3"},
        {17, "Internal DHCP\nError #4"},
        {18, "Internal DHCP\nError #5"},
        {19, "Internal DHCP\nError #6"},
        {20, "Internal DHCP\nError #7"},
        {21, "Internal DHCP\nError #8"},
        {22, "Internal DHCP\nError #9"},
        {23, "Failed to get the\nIP configuration\nusing DHCP.\nUse Manual mode."},
        {24, "Failed to get the\ndefault gateway\naddress using the\nDHCP.\nUse Manual mode."},
        {25, "Failed to get the\n DNS server address\nusing the DHCP.\nUse Manual mode."},
        {26, "Cannot Resolve\nStreaming Server\nIP Address"},
        {27, "Cannot Connect to\nStreaming Server"},
        {28, "File Not Found\non\nStreaming Server"},
    };
}

static std::vector<ValueLabel> flagLabels()
{
    return {{0, "OKAY"}, {1, "ERROR"}};
}

// The reference-input error code: 0 to 17 show their own number, 18 is "OKAY".
static std::vector<ValueLabel> referenceCodeLabels()
{
    std::vector<ValueLabel> labels;
    for (int code = 0; code <= 17; ++code) {
        labels.push_back({code, std::to_string(code)});
    }
    labels.push_back({18, "OKAY"});
    return labels;
}

const GroupCatalogue& catalogueGroup3D()
{
    static const GroupCatalogue rows = {
        enumerated(0x3D00, control, "Error Condition", 0, 28, conditionLabels(), number(0)),
        enumerated(0x3D01, control, "Input Error", 0, 1, flagLabels(), number(1)),
        enumerated(0x3D02, control, "Sample Rate Error", 0, 1, flagLabels(), number(1)),
        enumerated(0x3D03, control, "Reference Input Error", 0, 1, flagLabels(), number(1)),
        enumerated(0x3D04, control, "Reference Input Error", 0, 18, referenceCodeLabels(), number(0)),
        enumerated(0x3D05, control, "Streaming Error", 0, 3,
                   {{0, "Okay"}, {1, "Resolve Error"}, {2, "Connect Error"}, {3, "File Error"}}, number(0)),
        plain(0x3D06, control, 0, 99, number(0)),
        plain(0x3D07, control, 0, 99, number(0)),
        plain(0x3D08, control, 0, 99, number(0)),
        plain(0x3D09, control, 0, 99, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters3D00()
{
    define(catalogueGroup3D(), 0x3D00, 0x3DFF);
}
