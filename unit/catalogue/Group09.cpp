#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Remote communications: the unit's network configuration, its remote serial
// port and the source it accepts remote control from. Addresses and names are
// plain text exactly as the unit reports them. The unit names its serial-port
// settings with a 0x04 byte after "RS-232"; the byte is part of the name wherever
// the name is written (the literal is split so the escape stops at the byte).
const GroupCatalogue& catalogueGroup09()
{
    static const GroupCatalogue rows{
        enumerated(0x0900, control, "IP Configuration", 0, 1, {{0, "Automatic"}, {1, "Manual"}}, number(1)),
        textual(0x0901, control, "IP Address", text("0.0.0.0")),
        textual(0x0902, control, "Host Name", text("QZ347")),
        textual(0x0903, control, "Net Mask", text("255.255.255.255")),
        textual(0x0904, control, "Gateway IP Address", text("0.0.0.0")),
        textual(0x0905, control, "DNS Server", text("0.0.0.0")),
        textual(0x0906, control, "Domain Name", text("localdomain")),
        enumerated(0x0907, control, "Remote Baud Rate", 0, 2,
                   {{0, "9600 baud"}, {1, "38400 baud"}, {2, "115200 baud"}}, number(2)),
        enumerated(0x0908, control,
                   "Set RS-232\x04"
                   "85 Communication Parity",
                   0, 2, {{0, "None"}, {1, "Even"}, {2, "Odd"}}, number(1)),
        enumerated(0x0909, control,
                   "Set RS-232\x04"
                   "85 Communication Stop Bits",
                   0, 2, {{0, "Zero stop bits"}, {1, "One stop bits"}, {2, "Two stop bits"}}, number(1)),
        // 3 shows as "Serial", as 1 does.
        enumerated(0x090A, control, "Remote Control Source", 0, 3,
                   {{0, "Local"}, {1, "Serial"}, {2, "Ethernet"}, {3, "Serial"}}, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters0900()
{
    define(catalogueGroup09(), 0x0900, 0x0909);
}

void UnitParameterSet::defineParameters090A()
{
    define(catalogueGroup09(), 0x090A, 0x09FF);
}
