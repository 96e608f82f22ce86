#pragma once

#include "templates/SystemSettingsTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/BoundDialog.h"

class ParameterSet;

// "System Settings": the front panel's screen saver and time-code display, and the
// unit's name. A choice in a list is sent at once; the name only when its edit loses
// the focus or on Enter, so a half-typed name never reaches the unit.
class CSystemSettingsPage : public BoundDialog {
public:
    static constexpr int templateId = SystemSettingsTemplate::templateId;
    static constexpr int unitNameLimit = 12;

    CSystemSettingsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    // Commits the unit name; the main window calls it on Enter too.
    void OnKillfocusUnitName();

protected:
    bool onInitDialog() override;
};
