#pragma once

#include <array>

#include "model/ParameterConverter.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "User Presets": 32 recall buttons captioned with the presets' names, the active one
// shown pushed in, and below them the preset number, name and "Save" button that
// store the current settings as a preset. The name is sent only by Enter or "Save".
class CUserPresetsPage : public Dialog {
public:
    static constexpr int templateId = 109;
    static constexpr int firstRecallId = 2152;
    static constexpr int presetCount = 32;
    static constexpr int saveId = 1145;
    static constexpr int presetNumberId = 1173;
    static constexpr int presetNumberSpinId = 1174;
    static constexpr int presetNameId = 1175;
    static constexpr int presetNameLimit = 12;

    CUserPresetsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller; }

    // Sends the typed preset name; the main window calls it on Enter.
    void commitName();

    void OnKillfocusPresetNumber();
    void OnChangePresetNumber();
    void OnDeltaposPresetNumber(UpDownNotify* record, long* result);
    void OnSave();
    // Recall button i (0 to 31).
    void OnRecallPreset(int index);

protected:
    bool onInitDialog() override;
    void bindControls();

private:
    std::array<Button, presetCount> recallButtons;
    Button saveButton;
    Edit presetNumber;
    SpinButton presetNumberSpin;
    Edit presetName;
    // The unit counts presets from 0; the user from 1.
    FractionParameterConverter presetNumberConverter{-1, 1, 0, false};
    // Declared last: its observers use the controls and the converter.
    Win32Controller controller;
};
