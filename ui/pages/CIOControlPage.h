#pragma once

#include "platform/Dialog.h"
#include "ui/binding/Win32Controller.h"

class ErrorReporter;
class ParameterSet;

// The clock source, the IFE mode, the bypass switch and the monitor output, and the
// button that opens the General Purpose Input/Output dialog.
class CIOControlPage : public Dialog {
public:
    static constexpr int templateId = 162;
    static constexpr int gpioButtonId = 1157;

    CIOControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& controller() { return m_controller; }

    void OnMonitorOutAnalog();
    void OnMonitorOutAnalogDigital();
    void OnIfeDisable();
    void OnIfeEnable();
    void OnBypassDisable();
    void OnBypassEnable();
    void OnClockDigitalIn();
    void OnClockReferenceSrcOff();
    void OnClockReferenceSrcOn();
    void OnGpio();

protected:
    bool onInitDialog() override;
    void doDataExchange();
    void bindControls();

private:
    Button m_monitorOutAnalog;
    Button m_monitorOutAnalogDigital;
    Button m_ifeDisable;
    Button m_ifeEnable;
    Button m_bypassDisable;
    Button m_bypassEnable;
    Button m_clockDigitalIn;
    Button m_clockReferenceSrcOff;
    Button m_clockReferenceSrcOn;
    Button m_gpio;
    Win32Controller m_controller;
};
