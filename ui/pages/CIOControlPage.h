#pragma once

#include "templates/IOControlTemplate.h"
#include "ui/binding/BoundDialog.h"

class ErrorReporter;
class ParameterSet;

// The clock source, the IFE mode, the bypass switch and the monitor output, and the
// button that opens the General Purpose Input/Output dialog.
class CIOControlPage : public BoundDialog {
public:
    static constexpr int templateId = IOControlTemplate::templateId;

    CIOControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    void OnGpio();
};
