#include "ui/pages/CUserPresetsPage.h"

namespace {

const ParameterId recallPreset(0x1900);
const ParameterId saveTrigger(0x1902);
const ParameterId savePresetNumber(0x1903);
const ParameterId savePresetName(0x1904);
const ParameterId activePreset(0x1B00);
constexpr int firstPresetName = 0x1D00;

} // namespace

CUserPresetsPage::CUserPresetsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), controller(parameterSet, errorReporter)
{
    connect(presetNumberId, Notify::KillFocus, [this](Notification&) { OnKillfocusPresetNumber(); });
    connect(presetNumberId, Notify::EditChange, [this](Notification&) { OnChangePresetNumber(); });
    connect(presetNumberSpinId, Notify::DeltaPos,
            [this](Notification& n) { OnDeltaposPresetNumber(n.upDown, n.result); });
    connect(saveId, Notify::Clicked, [this](Notification&) { OnSave(); });
    for (int i = 0; i < presetCount; ++i) {
        connect(firstRecallId + i, Notify::Clicked, [this, i](Notification&) { OnRecallPreset(i); });
    }
}

bool CUserPresetsPage::onInitDialog()
{
    Dialog::onInitDialog();
    for (int i = 0; i < presetCount; ++i) {
        attach(recallButtons[i], firstRecallId + i);
    }
    attach(saveButton, saveId);
    attach(presetNumber, presetNumberId);
    attach(presetNumberSpin, presetNumberSpinId);
    attach(presetName, presetNameId);
    presetName.setLimitText(presetNameLimit);
    bindControls();
    return true;
}

void CUserPresetsPage::bindControls()
{
    controller.addCheckBox(&saveButton, saveTrigger, 1);
    controller.addSpin(&presetNumberSpin, savePresetNumber);
    controller.addEdit(&presetNumber, savePresetNumber, &presetNumberConverter);
    controller.addEdit(&presetName, savePresetName, nullptr);
    for (int i = 0; i < presetCount; ++i) {
        int16_t number = int16_t(i + 1);
        controller.addButton(&recallButtons[i], recallPreset, activePreset, number);
        controller.addControlText(&recallButtons[i], ParameterId(int16_t(firstPresetName + i)), nullptr);
    }
}

void CUserPresetsPage::commitName()
{
    controller.onEditChange(&presetName);
}

void CUserPresetsPage::OnKillfocusPresetNumber()
{
    controller.onEditKillFocus(&presetNumber);
}

void CUserPresetsPage::OnChangePresetNumber()
{
    controller.onEditChange(&presetNumber);
}

void CUserPresetsPage::OnDeltaposPresetNumber(UpDownNotify* record, long* result)
{
    controller.onSpinDelta(&presetNumberSpin, record, result);
}

void CUserPresetsPage::OnSave()
{
    // A failed name is reported, and the report replaces this page (hiding it at once)
    // with an off-line one: the preset must then not be saved under the old name.
    bool shown = isVisible();
    commitName();
    if (shown && !isVisible()) {
        return;
    }
    controller.onCommand(&saveButton);
}

void CUserPresetsPage::OnRecallPreset(int index)
{
    controller.onCommand(&recallButtons[index]);
}
