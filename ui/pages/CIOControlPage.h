#pragma once

#include "platform/Dialog.h"
#include "templates/IOControlTemplate.h"
#include "ui/binding/Win32Controller.h"

class ErrorReporter;
class ParameterSet;

// The clock source, the IFE mode, the bypass switch and the monitor output, and the
// button that opens the General Purpose Input/Output dialog.
class CIOControlPage : public Dialog {
public:
    static constexpr int templateId = IOControlTemplate::templateId;

    CIOControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& controller() { return controller_; }

    void OnGpio();

protected:
    bool onInitDialog() override;

private:
    Win32Controller controller_;
};
