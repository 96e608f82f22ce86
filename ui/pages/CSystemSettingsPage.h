#pragma once

#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "System Settings": the front panel's screen saver and time-code display, and the
// unit's name. A choice in a list is sent at once; the name only when its edit loses
// the focus or on Enter, so a half-typed name never reaches the unit.
class CSystemSettingsPage : public Dialog {
public:
    static constexpr int templateId = 169;
    static constexpr int screenSaverTimeoutId = 1146;
    static constexpr int screenSaverDesignId = 1147;
    static constexpr int timecodeDisplayId = 1148;
    static constexpr int unitNameId = 1056;
    static constexpr int unitNameLimit = 12;

    CSystemSettingsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller; }

    void OnSelchangeScreenSaverTimeout();
    // Commits the unit name; the main window calls it on Enter too.
    void OnKillfocusUnitName();
    void OnSelchangeScreenSaverDesign();
    void OnSelchangeTimecodeDisplay();

protected:
    bool onInitDialog() override;
    void bindControls();

private:
    ComboBox screenSaverTimeout;
    ComboBox screenSaverDesign;
    ComboBox timecodeDisplay;
    Edit unitName;
    // Declared last: its observers use the controls.
    Win32Controller controller;
};
