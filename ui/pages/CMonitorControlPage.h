#pragma once

#include "platform/Dialog.h"
#include "templates/MonitorControlTemplate.h"
#include "ui/binding/Win32Controller.h"

class ErrorReporter;
class ParameterSet;

// Matrix and surround-extension decoding, the extended bitstream, LFE monitoring and
// headphone virtualisation, and the buttons that open the Karaoke and Tessiva II
// dialogs.
class CMonitorControlPage : public Dialog {
public:
    static constexpr int templateId = MonitorControlTemplate::templateId;

    CMonitorControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& controller() { return controller_; }

    void OnKaraoke();
    void OnTessivaII();

protected:
    bool onInitDialog() override;

private:
    Win32Controller controller_;
};
