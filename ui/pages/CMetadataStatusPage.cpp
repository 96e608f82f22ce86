#include "ui/pages/CMetadataStatusPage.h"

namespace {

struct Field {
    int control;
    int parameter;
};

// In the order the fields are bound: the bitstream's metadata, the AES input status,
// then the time-code status.
constexpr Field metadataFields[CMetadataStatusPage::fieldCount] = {
    {1011, 0x1502}, // BSMode
    {1012, 0x1504}, // Center Downmix
    {1013, 0x1505}, // Surround Downmix
    {1014, 0x1506}, // Vormo Surround
    {1040, 0x150B}, // Production Info
    {1015, 0x150C}, // Mix Level (dB)
    {1017, 0x150D}, // Room Type
    {1041, 0x150E}, // Copyright
    {1042, 0x150F}, // Original Bitstream
    {1043, 0x1511}, // Preferred Downmix
    {1018, 0x1512}, // Lt/Rt C Downmix
    {1019, 0x1513}, // Lt/Rt S Downmix
    {1020, 0x1514}, // Lo/Ro C Downmix
    {1021, 0x1515}, // Lo/Ro S Downmix
    {1044, 0x1517}, // Vormo Surround QX
    {1022, 0x1519}, // A/D Converter
    {1024, 0x1500}, // Bitstream ID
    {1028, 0x110D}, // Stream Number
    {1023, 0x110A}, // Encode Format
    {1025, 0x0F09}, // Emphasis
    {1026, 0x0F06}, // Bit-0
    {1027, 0x0F07}, // Bit-1
    {1031, 0x1303}, // Frame Rate
    {1032, 0x1304}, // TS Delay Word (ms)
    {1033, 0x1106}, // Decoder Latency (ms)
    {1034, 0x1107}, // Processing Latency (ms)
};

} // namespace

CMetadataStatusPage::CMetadataStatusPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), controller(parameterSet, errorReporter)
{
}

bool CMetadataStatusPage::onInitDialog()
{
    Dialog::onInitDialog();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        attach(fields[i], metadataFields[i].control);
    }
    bindControls();
    return true;
}

void CMetadataStatusPage::bindControls()
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        controller.addStatusText(&fields[i], ParameterId(int16_t(metadataFields[i].parameter)), nullptr);
    }
}
