#pragma once

#include "platform/Dialog.h"
#include "templates/MonitorConfigurationTemplate.h"
#include "ui/binding/Win32Controller.h"

class ErrorReporter;
class ParameterSet;

// The monitor outputs: reference level and its calibration, dim gain, channel and
// master trims, speaker configuration and delays, and the test noise. Its edits show
// the unit's raw steps as decibels or milliseconds.
class CMonitorConfigurationPage : public Dialog {
public:
    static constexpr int templateId = MonitorConfigurationTemplate::templateId;

    CMonitorConfigurationPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& controller() { return controller_; }

protected:
    bool onInitDialog() override;

private:
    Win32Controller controller_;
};
