#pragma once

#include "templates/MonitorConfigurationTemplate.h"
#include "ui/binding/BoundDialog.h"

class ErrorReporter;
class ParameterSet;

// The monitor outputs: reference level and its calibration, dim gain, channel and
// master trims, speaker configuration and delays, and the test noise. Its edits show
// the unit's raw steps as decibels or milliseconds.
class CMonitorConfigurationPage : public BoundDialog {
public:
    static constexpr int templateId = MonitorConfigurationTemplate::templateId;

    CMonitorConfigurationPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);
};
