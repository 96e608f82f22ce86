#pragma once

#include "platform/Dialog.h"
#include "templates/SystemSettingsTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "System Settings": the front panel's screen saver and time-code display, and the
// unit's name. A choice in a list is sent at once; the name only when its edit loses
// the focus or on Enter, so a half-typed name never reaches the unit.
class CSystemSettingsPage : public Dialog {
public:
    static constexpr int templateId = SystemSettingsTemplate::templateId;
    static constexpr int unitNameLimit = 12;

    CSystemSettingsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller_; }

    // Commits the unit name; the main window calls it on Enter too.
    void OnKillfocusUnitName();

protected:
    bool onInitDialog() override;

private:
    Win32Controller controller_;
};
