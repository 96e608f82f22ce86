#pragma once

#include "templates/OperatingModeTemplate.h"
#include "ui/binding/BoundDialog.h"

class ErrorReporter;
class ParameterSet;

// The decode format, the detection mode, the AES3 channel and the stream the unit
// decodes, as push-like radio buttons.
class COperatingModePage : public BoundDialog {
public:
    static constexpr int templateId = OperatingModeTemplate::templateId;

    COperatingModePage(ParameterSet* parameterSet, ErrorReporter* errorReporter);
};
