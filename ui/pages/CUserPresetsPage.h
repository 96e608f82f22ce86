#pragma once

#include "platform/Dialog.h"
#include "templates/UserPresetsTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/ControlTable.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "User Presets": 32 recall buttons captioned with the presets' names, the active one
// shown pushed in, and below them the preset number, name and "Save" button that
// store the current settings as a preset. The name is sent only by Enter or "Save".
class CUserPresetsPage : public Dialog {
public:
    static constexpr int templateId = UserPresetsTemplate::templateId;
    static constexpr int presetNameLimit = 12;

    CUserPresetsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller_; }

    // Sends the typed preset name; the main window calls it on Enter.
    void commitName();
    void OnSave();

protected:
    bool onInitDialog() override;

private:
    std::vector<ControlRow> rows_;
    Win32Controller controller_;
};
