#pragma once

#include "platform/Dialog.h"
#include "ui/binding/Win32Controller.h"

class ErrorReporter;
class ParameterSet;

// Matrix and surround-extension decoding, the extended bitstream, LFE monitoring and
// headphone virtualisation, and the buttons that open the Karaoke and Tessiva II
// dialogs.
class CMonitorControlPage : public Dialog {
public:
    static constexpr int templateId = 152;
    static constexpr int karaokeButtonId = 1053;
    static constexpr int tessivaIIButtonId = 1149;

    CMonitorControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& controller() { return m_controller; }

    void OnExtendedBitstreamEnabled();
    void OnExtendedBitstreamDisabled();
    void OnQxDecodeManual();
    void OnQxDecodeAutomatic();
    void OnLfeMonitorAutomatic();
    void OnLfeMonitorOn();
    void OnLfeMonitorOff();
    void OnTessivaManual();
    void OnTessivaAutomatic();
    void OnHeadphoneOff();
    void OnHeadphoneVh1();
    void OnHeadphoneVh2();
    void OnHeadphoneVh3();
    void OnKaraoke();
    void OnTessivaII();

protected:
    bool onInitDialog() override;
    void doDataExchange();
    void bindControls();

private:
    Button m_extendedBitstreamEnabled;
    Button m_extendedBitstreamDisabled;
    Button m_qxManual;
    Button m_qxAutomatic;
    Button m_lfeAutomatic;
    Button m_lfeOn;
    Button m_lfeOff;
    Button m_tessivaManual;
    Button m_tessivaAutomatic;
    Button m_headphoneOff;
    Button m_headphoneVh1;
    Button m_headphoneVh2;
    Button m_headphoneVh3;
    Button m_karaoke;
    Button m_tessivaII;
    Win32Controller m_controller;
};
