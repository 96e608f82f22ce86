#pragma once

#include "platform/Dialog.h"
#include "templates/OperatingModeTemplate.h"
#include "ui/binding/Win32Controller.h"

class ErrorReporter;
class ParameterSet;

// The decode format, the detection mode, the AES3 channel and the stream the unit
// decodes, as push-like radio buttons.
class COperatingModePage : public Dialog {
public:
    static constexpr int templateId = OperatingModeTemplate::templateId;

    COperatingModePage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& controller() { return controller_; }

protected:
    bool onInitDialog() override;

private:
    Win32Controller controller_;
};
