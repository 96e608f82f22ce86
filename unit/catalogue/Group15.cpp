#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// AC-3 bitstream information. Each value is the unit's code for its field; the maximum
// of every labelled row is "N/A", which is also what the unit reports without a bitstream.
namespace {

// Label lists that several fields share; each row still gets a formatter of its own.
std::vector<ValueLabel> noYes()
{
    return {{0, "No"}, {1, "Yes"}, {2, "N/A"}};
}

std::vector<ValueLabel> disabledEnabled()
{
    return {{0, "Disabled"}, {1, "Enabled"}, {2, "N/A"}};
}

std::vector<ValueLabel> reservedOnly()
{
    return {{0, "Reserved"}, {1, "N/A"}};
}

std::vector<ValueLabel> wordNotAvailable()
{
    return {{256, "N/A"}};
}

std::vector<ValueLabel> matrixDownmix()
{
    return {{0, "1.414 (+3.0 dB)"}, {1, "1.189 (+1.5 dB)"},
            {2, "1.000 (0.0 dB)"},  {3, "0.841 (-1.5 dB)"},
            {4, "0.707 (-3.0 dB)"}, {5, "0.596 (-4.5 dB)"},
            {6, "0.500 (-6.0 dB)"}, {7, "0 (-999 dB)"},
            {8, "Not Active"},      {9, "N/A"}};
}

} // namespace

const GroupCatalogue& catalogueGroup15()
{
    static const GroupCatalogue rows = {
        // Only 32 has a label; 0 to 31 show as numbers.
        enumerated(0x1500, status, "Bitstream ID", 0, 32, {{32, "N/A"}}, number(32)),
        enumerated(0x1501, status, "Data Rate", 0, 31,
                   {{0, "32 kbps"},   {1, "40 kbps"},   {2, "48 kbps"},   {3, "56 kbps"},   {4, "64 kbps"},
                    {5, "80 kbps"},   {6, "96 kbps"},   {7, "112 kbps"},  {8, "128 kbps"},  {9, "160 kbps"},
                    {10, "192 kbps"}, {11, "224 kbps"}, {12, "256 kbps"}, {13, "320 kbps"}, {14, "384 kbps"},
                    {15, "448 kbps"}, {16, "512 kbps"}, {17, "576 kbps"}, {18, "640 kbps"}, {19, "Reserved"},
                    {20, "Reserved"}, {21, "Reserved"}, {22, "Reserved"}, {23, "Reserved"}, {24, "Reserved"},
                    {25, "Reserved"}, {26, "Reserved"}, {27, "Reserved"}, {28, "Reserved"}, {29, "Reserved"},
                    {30, "Reserved"}, {31, "N/A"}},
                   number(31)),
        enumerated(0x1502, status, "Bitstream Mode", 0, 9,
                   {{0, "Main Complete"},
                    {1, "Main M&E"},
                    {2, "Assc Visual Imp"},
                    {3, "Assc Hearing Imp"},
                    {4, "Assc Dialog"},
                    {5, "Assc Commentary"},
                    {6, "Assc Emergency"},
                    {7, "Assc Voiceover"},
                    {8, "Main Karaoke"},
                    {9, "N/A"}},
                   number(9)),
        enumerated(0x1503, status, "Channel Mode", 0, 8,
                   {{0, "1+1"},
                    {1, "1/0"},
                    {2, "2/0"},
                    {3, "3/0"},
                    {4, "2/1"},
                    {5, "3/1"},
                    {6, "2/2"},
                    {7, "3/2"},
                    {8, "N/A"}},
                   number(8)),
        enumerated(0x1504, status, "Center Downmix", 0, 5,
                   {{0, "0.707 (-3.0 dB)"},
                    {1, "0.596 (-4.5 dB)"},
                    {2, "0.500 (-6.0 dB)"},
                    {3, "Reserved"},
                    {4, "Not Active"},
                    {5, "N/A"}},
                   number(5)),
        enumerated(0x1505, status, "Surround Downmix", 0, 5,
                   {{0, "0.707 (-3.0 dB)"},
                    {1, "0.500 (-6.0 dB)"},
                    {2, "0 (-999 dB)"},
                    {3, "Reserved"},
                    {4, "Not Active"},
                    {5, "N/A"}},
                   number(5)),
        enumerated(0x1506, status, "Vormo Srnd Mode", 0, 5,
                   {{0, "Not Indicated"},
                    {1, "Not Vormo Srnd"},
                    {2, "Vormo Srnd"},
                    {3, "Reserved"},
                    {4, "Not Active"},
                    {5, "N/A"}},
                   number(5)),
        // The label of 0 is deliberately empty: no LFE channel shows nothing.
        enumerated(0x1507, status, "Vormo Digital Low frequency effect channel (ac3_lfeon)", 0, 2,
                   {{0, ""}, {1, "L"}, {2, "N/A"}}, number(2)),
        // The set later replaces this formatter with the dialogue-level one, which shows
        // 1 to 31 as negative decibels; this one only covers the "N/A" code.
        enumerated(0x1508, status, "Vormo Digital Dialogue normalization (ac3_dialnorm)", 1, 32,
                   {{32, "N/A"}}, number(32)),
        enumerated(0x1509, status, "Vormo Digital Language code exists (ac3_langcode)", 0, 2, noYes(),
                   number(2)),
        enumerated(0x150A, status, "Vormo Digital Language code (ac3_langcod)", 0, 256,
                   {{0, "Unknown"}, {256, "N/A"}}, number(256)),
        enumerated(0x150B, status, "Production Info", 0, 2, noYes(), number(2)),
        // The unit reports 0 ("Unknown") although the mix level proper runs from 80 to 112.
        enumerated(0x150C, status, "Vormo Digital Mix level (ac3_mixlevel)", 80, 112,
                   {{0, "Unknown"}, {112, "N/A"}}, number(112)),
        enumerated(0x150D, status, "Room Type", 0, 3,
                   {{0, "Not indicated"}, {1, "Large"}, {2, "Small"}, {3, "N/A"}}, number(3)),
        enumerated(0x150E, status, "Copyright", 0, 2, noYes(), number(2)),
        enumerated(0x150F, status, "Original Bitstream", 0, 2, noYes(), number(2)),
        enumerated(0x1510, status, "Vormo Digital Extended BSI1 Exist (ac3_xbsi1e)", 0, 2, disabledEnabled(),
                   number(2)),
        enumerated(0x1511, status, "Preferred Downmix", 0, 4,
                   {{0, "Not Indicated"}, {1, "Lt/Rt"}, {2, "Lo/Ro"}, {3, "Reserved"}, {4, "N/A"}},
                   number(4)),
        enumerated(0x1512, status, "Lt/Rt C Downmix", 0, 9, matrixDownmix(), number(9)),
        enumerated(0x1513, status, "Lt/Rt S Downmix", 0, 9, matrixDownmix(), number(9)),
        enumerated(0x1514, status, "Lo/Ro C Downmix", 0, 9, matrixDownmix(), number(9)),
        enumerated(0x1515, status, "Lo/Ro S Downmix", 0, 9, matrixDownmix(), number(9)),
        enumerated(0x1516, status, "Vormo Digital Extended BSI2 Exist (ac3_xbsi2e)", 0, 2, disabledEnabled(),
                   number(2)),
        enumerated(0x1517, status, "Vormo Srnd QX", 0, 5,
                   {{0, "Not Indicated"},
                    {1, "Not Srnd QX"},
                    {2, "Srnd QX"},
                    {3, "Reserved"},
                    {4, "Not Active"},
                    {5, "N/A"}},
                   number(5)),
        enumerated(0x1518, status, "Vormo Digital Extended Vormo Headphone Mode (ac3_headphonmod)", 0, 4,
                   {{0, "Not indicated"},
                    {1, "Not Vormo Headphone encoded"},
                    {2, "Vormo Headphone encoded"},
                    {3, "Reserved"},
                    {4, "N/A"}},
                   number(4)),
        enumerated(0x1519, status, "A/D Conv Type", 0, 2, {{0, "Standard"}, {1, "HDCD"}, {2, "N/A"}},
                   number(2)),
        enumerated(0x151A, status, "Vormo Digital Extended Extra Bit Stream Information (ac3_xbsi2)", 0, 1,
                   reservedOnly(), number(1)),
        enumerated(0x151B, status, "Vormo Digital Extended Encoder Info (ac3_encinfo)", 0, 1, reservedOnly(),
                   number(1)),
        enumerated(0x151C, status, "Vormo Digital DC Highpass Filter Enabled (ac3_hpfon)", 0, 2,
                   disabledEnabled(), number(2)),
        enumerated(0x151D, status, "Vormo Digital Bandwidth Lowpass Filter Enabled (ac3_bwlpfon)", 0, 2,
                   disabledEnabled(), number(2)),
        enumerated(0x151E, status, "Vormo Digital LFE Channel Lowpass Filter Enabled (ac3_lfelpfon)", 0, 2,
                   disabledEnabled(), number(2)),
        enumerated(0x151F, status,
                   "Vormo Digital Surround 90 Degrees Phase Shift Filter Enabled (ac3_sur90on)", 0, 2,
                   disabledEnabled(), number(2)),
        enumerated(0x1520, status, "Vormo Digital Surround Channel Attenuator Enabled (ac3_suratton)", 0, 2,
                   disabledEnabled(), number(2)),
        enumerated(0x1521, status, "Vormo Digital RF Overmodulation Protection Enabled (ac3_rfpremphon)", 0,
                   2, disabledEnabled(), number(2)),
        enumerated(0x1522, status, "Vormo Digital Compr Exists (ac3_compre)", 0, 2, disabledEnabled(),
                   number(2)),
        // Compression and dynamic-range words: 0 to 255 show as numbers (the meters draw them).
        enumerated(0x1523, status, "Vormo Digital Compr (ac3_compr)", 0, 256, wordNotAvailable(),
                   number(256)),
        enumerated(0x1524, status, "Vormo Digital Compr (ac3_compr)", 0, 256, wordNotAvailable(),
                   number(256)),
        enumerated(0x1525, status, "Vormo Digital Dynrng Exists (ac3_dynrnge)", 0, 2, disabledEnabled(),
                   number(2)),
        enumerated(0x1526, status, "Vormo Digital Dynamic Range 1 (ac3_dynrng1)", 0, 256, wordNotAvailable(),
                   number(256)),
        enumerated(0x1527, status, "Vormo Digital Dynamic Range 1 (ac3_dynrng1)", 0, 256, wordNotAvailable(),
                   number(256)),
        enumerated(0x1528, status, "Vormo Digital Additional Bit Stream Information Exists", 0, 2,
                   {{0, "Not present"}, {1, "Present"}, {2, "N/A"}}, number(2)),
        plain(0x1529, status, 0, -1, number(0)),
        plain(0x152A, status, 0, -1, number(0)),
        enumerated(0x152B, status, "Vormo Digital Timecode 1 exists (ac3_timecod1e)", 0, 2,
                   {{0, "No timecode"}, {1, "Reserved"}, {2, "N/A"}}, number(2)),
        enumerated(0x152C, status, "Vormo Digital Timecode 1 (ac3_timecod1)", 0, 1, reservedOnly(),
                   number(1)),
        enumerated(0x152D, status, "Vormo Digital Timecode 2 exists (ac3_timecod2e)", 0, 1, reservedOnly(),
                   number(1)),
        enumerated(0x152E, status, "Vormo Digital Timecode 2 (ac3_timecod2)", 0, 1, reservedOnly(),
                   number(1)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters1500()
{
    define(catalogueGroup15(), 0x1500, 0x1509);
}

void UnitParameterSet::defineParameters150A()
{
    define(catalogueGroup15(), 0x150A, 0x1513);
}

void UnitParameterSet::defineParameters1514()
{
    define(catalogueGroup15(), 0x1514, 0x151D);
}

void UnitParameterSet::defineParameters151E()
{
    define(catalogueGroup15(), 0x151E, 0x1527);
}

void UnitParameterSet::defineParameters1528()
{
    define(catalogueGroup15(), 0x1528, 0x15FF);
}
