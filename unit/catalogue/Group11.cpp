#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Input and decoder status. The rows without a formatter show plain numbers; 0x1107 is
// the processing latency in milliseconds.
const GroupCatalogue& catalogueGroup11()
{
    static const GroupCatalogue rows = {
        enumerated(0x1100, status, "Input Type", 0, 2,
                   {{0, "Invalid Input"}, {1, "PCM"}, {2, "Vormo Digital"}}, number(0)),
        enumerated(0x1101, status, "LoRo Downmix Status", 0, 1, {{0, "OFF"}, {1, "ON"}}, number(0)),
        enumerated(0x1102, status, "LtRt Downmix Status", 0, 1, {{0, "OFF"}, {1, "ON"}}, number(0)),
        enumerated(0x1103, status, "Mono Sum Status", 0, 1, {{0, "OFF"}, {1, "ON"}}, number(0)),
        enumerated(0x1104, status, "Tessiva Decode Status", 0, 2,
                   {{0, "None"}, {1, "Tessiva"}, {2, "Tessiva II"}}, number(1)),
        enumerated(0x1105, status, "Surround QX Status", 0, 1, {{0, "Off"}, {1, "ON"}}, number(0)),
        // Only 0 has a label; 1 to 48 show as the latency in milliseconds.
        enumerated(0x1106, status, "Decoder Latency", 0, 48, {{0, "N/A"}}, number(0)),
        plain(0x1107, status, 0, 255, number(0)),
        enumerated(0x1108, status, "Reference Sampling Frequency Status", 0, 3,
                   {{0, "Unknown"}, {1, "32 kHz"}, {2, "44.1 kHz"}, {3, "48 kHz"}}, number(0)),
        enumerated(0x1109, status, "Master Clock Sampling Frequency Status", 0, 3,
                   {{0, "Unknown"}, {1, "32 kHz"}, {2, "44.1 kHz"}, {3, "48 kHz"}}, number(0)),
        enumerated(0x110A, status, "Vormo Digital Format", 0, 3,
                   {{0, "Consumer"}, {1, "32bit-Pro"}, {2, "16bit-Pro"}, {3, "N/A"}}, number(3)),
        plain(0x110B, status, 0, 31, number(0)),
        plain(0x110C, status, 0, 31, number(0)),
        // Only the highest value has a label; 0 to 7 show as the stream number.
        enumerated(0x110D, status, "Stream #", 0, 8, {{8, "N/A"}}, number(8)),
        enumerated(0x110E, status, "Bitstream Alignment", 0, 2,
                   {{0, "Not Available"}, {1, "Left"}, {2, "Right"}}, number(1)),
        enumerated(0x110F, status, "Vormo Digital Sample Rate Status", 0, 4,
                   {{0, "N/A"}, {1, "32kHz"}, {2, "44.1kHz"}, {3, "48kHz"}, {4, "Resrvd"}}, number(3)),
        enumerated(0x1110, status, "Data Rate", 0, 19,
                   {{0, "Not Available"}, {1, "32kbps"},   {2, "40kbps"},   {3, "48kbps"},   {4, "56kbps"},
                    {5, "64kbps"},        {6, "80kbps"},   {7, "96kbps"},   {8, "112kbps"},  {9, "128kbps"},
                    {10, "160kbps"},      {11, "192kbps"}, {12, "224kbps"}, {13, "256kbps"}, {14, "320kbps"},
                    {15, "384kbps"},      {16, "448kbps"}, {17, "512kbps"}, {18, "576kbps"}, {19, "640kbps"}},
                   number(15)),
        plain(0x1111, status, 0, 96, number(0)),
        plain(0x1112, status, 0, 96, number(0)),
        enumerated(0x1113, status, "Compression Mode", 0, 3,
                   {{0, "None"}, {1, "RF"}, {2, "Line"}, {3, "Custom"}}, number(2)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters1100()
{
    define(catalogueGroup11(), 0x1100, 0x1109);
}

void UnitParameterSet::defineParameters110A()
{
    define(catalogueGroup11(), 0x110A, 0x11FF);
}
