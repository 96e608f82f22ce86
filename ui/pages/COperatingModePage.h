#pragma once

#include "platform/Dialog.h"
#include "ui/binding/Win32Controller.h"

class ErrorReporter;
class ParameterSet;

// The decode format, the detection mode, the AES3 channel and the stream the unit
// decodes, as push-like radio buttons.
class COperatingModePage : public Dialog {
public:
    static constexpr int templateId = 160;

    COperatingModePage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& controller() { return m_controller; }

    void OnDecodeFormatAutomatic();
    void OnDecodeFormatVormoDigital();
    void OnDetectionNormal();
    void OnDetectionSilentSwitch();
    void OnAes3ChannelAutomatic();
    void OnAes3Channel1();
    void OnAes3Channel2();
    void OnAes3Channel1And2();
    void OnStream0();
    void OnStream1();
    void OnStream2();
    void OnStream3();
    void OnStream4();
    void OnStream5();
    void OnStream6();
    void OnStream7();
    void OnStreamAutomatic();

protected:
    bool onInitDialog() override;
    void doDataExchange();
    void bindControls();

private:
    Button m_decodeAutomatic;
    Button m_decodeVormoDigital;
    Button m_detectionNormal;
    Button m_detectionSilentSwitch;
    Button m_aes3Automatic;
    Button m_aes3Channel1;
    Button m_aes3Channel2;
    Button m_aes3Channel1And2;
    Button m_stream[8];
    Button m_streamAutomatic;
    Win32Controller m_controller;
};
