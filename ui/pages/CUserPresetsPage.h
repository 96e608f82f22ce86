#pragma once

#include "templates/UserPresetsTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/BoundDialog.h"

class ParameterSet;

// "User Presets": 32 recall buttons captioned with the presets' names, the active one
// shown pushed in, and below them the preset number, name and "Save" button that
// store the current settings as a preset. The name is sent only by Enter or "Save".
class CUserPresetsPage : public BoundDialog {
public:
    static constexpr int templateId = UserPresetsTemplate::templateId;
    static constexpr int presetNameLimit = 12;

    CUserPresetsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    // Sends the typed preset name; the main window calls it on Enter.
    void commitName();
    void OnSave();

protected:
    bool onInitDialog() override;
};
