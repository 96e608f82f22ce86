#include "ui/pages/COperatingModePage.h"

#include "model/ParameterId.h"

namespace {
const ParameterId decodeFormat(0x030B);
const ParameterId detectionMode(0x030C);
const ParameterId aes3ChannelSelect(0x0B00);
const ParameterId streamSelect(0x0B01);
} // namespace

COperatingModePage::COperatingModePage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), m_controller(parameterSet, errorReporter)
{
    using Handler = void (COperatingModePage::*)();
    const struct {
        int id;
        Handler handler;
    } clicks[] = {
        {1103, &COperatingModePage::OnDecodeFormatAutomatic},
        {1104, &COperatingModePage::OnDecodeFormatVormoDigital},
        {1105, &COperatingModePage::OnDetectionNormal},
        {1106, &COperatingModePage::OnDetectionSilentSwitch},
        {1121, &COperatingModePage::OnAes3ChannelAutomatic},
        {1122, &COperatingModePage::OnAes3Channel1},
        {1123, &COperatingModePage::OnAes3Channel2},
        {1124, &COperatingModePage::OnAes3Channel1And2},
        {1125, &COperatingModePage::OnStream0},
        {1126, &COperatingModePage::OnStream1},
        {1127, &COperatingModePage::OnStream2},
        {1128, &COperatingModePage::OnStream3},
        {1129, &COperatingModePage::OnStream4},
        {1130, &COperatingModePage::OnStream5},
        {1131, &COperatingModePage::OnStream6},
        {1132, &COperatingModePage::OnStream7},
        {1133, &COperatingModePage::OnStreamAutomatic},
    };
    for (const auto& click : clicks) {
        connect(click.id, Notify::Clicked,
                [this, handler = click.handler](Notification&) { (this->*handler)(); });
    }
}

bool COperatingModePage::onInitDialog()
{
    doDataExchange();
    bindControls();
    return true;
}

void COperatingModePage::doDataExchange()
{
    attach(m_decodeAutomatic, 1103);
    attach(m_decodeVormoDigital, 1104);
    attach(m_detectionNormal, 1105);
    attach(m_detectionSilentSwitch, 1106);
    attach(m_aes3Automatic, 1121);
    attach(m_aes3Channel1, 1122);
    attach(m_aes3Channel2, 1123);
    attach(m_aes3Channel1And2, 1124);
    for (int stream = 0; stream < 8; ++stream) {
        attach(m_stream[stream], 1125 + stream);
    }
    attach(m_streamAutomatic, 1133);
}

void COperatingModePage::bindControls()
{
    m_controller.addCheckBox(&m_decodeAutomatic, decodeFormat, 0);
    m_controller.addCheckBox(&m_decodeVormoDigital, decodeFormat, 1);
    m_controller.addCheckBox(&m_detectionNormal, detectionMode, 0);
    m_controller.addCheckBox(&m_detectionSilentSwitch, detectionMode, 1);
    m_controller.addCheckBox(&m_aes3Automatic, aes3ChannelSelect, 0);
    m_controller.addCheckBox(&m_aes3Channel1, aes3ChannelSelect, 1);
    m_controller.addCheckBox(&m_aes3Channel2, aes3ChannelSelect, 2);
    m_controller.addCheckBox(&m_aes3Channel1And2, aes3ChannelSelect, 3);
    for (int stream = 0; stream < 8; ++stream) {
        m_controller.addCheckBox(&m_stream[stream], streamSelect, int16_t(stream));
    }
    m_controller.addCheckBox(&m_streamAutomatic, streamSelect, 8);
}

void COperatingModePage::OnDecodeFormatAutomatic()
{
    m_controller.onCommand(&m_decodeAutomatic);
}
void COperatingModePage::OnDecodeFormatVormoDigital()
{
    m_controller.onCommand(&m_decodeVormoDigital);
}
void COperatingModePage::OnDetectionNormal()
{
    m_controller.onCommand(&m_detectionNormal);
}
void COperatingModePage::OnDetectionSilentSwitch()
{
    m_controller.onCommand(&m_detectionSilentSwitch);
}
void COperatingModePage::OnAes3ChannelAutomatic()
{
    m_controller.onCommand(&m_aes3Automatic);
}
void COperatingModePage::OnAes3Channel1()
{
    m_controller.onCommand(&m_aes3Channel1);
}
void COperatingModePage::OnAes3Channel2()
{
    m_controller.onCommand(&m_aes3Channel2);
}
void COperatingModePage::OnAes3Channel1And2()
{
    m_controller.onCommand(&m_aes3Channel1And2);
}
void COperatingModePage::OnStream0()
{
    m_controller.onCommand(&m_stream[0]);
}
void COperatingModePage::OnStream1()
{
    m_controller.onCommand(&m_stream[1]);
}
void COperatingModePage::OnStream2()
{
    m_controller.onCommand(&m_stream[2]);
}
void COperatingModePage::OnStream3()
{
    m_controller.onCommand(&m_stream[3]);
}
void COperatingModePage::OnStream4()
{
    m_controller.onCommand(&m_stream[4]);
}
void COperatingModePage::OnStream5()
{
    m_controller.onCommand(&m_stream[5]);
}
void COperatingModePage::OnStream6()
{
    m_controller.onCommand(&m_stream[6]);
}
void COperatingModePage::OnStream7()
{
    m_controller.onCommand(&m_stream[7]);
}
void COperatingModePage::OnStreamAutomatic()
{
    m_controller.onCommand(&m_streamAutomatic);
}
