#pragma once

#include "templates/MonitorControlTemplate.h"
#include "ui/binding/BoundDialog.h"

class ErrorReporter;
class ParameterSet;

// Matrix and surround-extension decoding, the extended bitstream, LFE monitoring and
// headphone virtualisation, and the buttons that open the Karaoke and Tessiva II
// dialogs.
class CMonitorControlPage : public BoundDialog {
public:
    static constexpr int templateId = MonitorControlTemplate::templateId;

    CMonitorControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    void OnKaraoke();
    void OnTessivaII();
};
