#include "ui/pages/CUserPresetsPage.h"

#include "model/ParameterConverter.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = UserPresetsTemplate;
namespace Id = ParameterIds;

// The recall buttons of presets 1 to 32.
constexpr int recallButtons[] = {
    Control::recallPreset1,  Control::recallPreset2,  Control::recallPreset3,  Control::recallPreset4,
    Control::recallPreset5,  Control::recallPreset6,  Control::recallPreset7,  Control::recallPreset8,
    Control::recallPreset9,  Control::recallPreset10, Control::recallPreset11, Control::recallPreset12,
    Control::recallPreset13, Control::recallPreset14, Control::recallPreset15, Control::recallPreset16,
    Control::recallPreset17, Control::recallPreset18, Control::recallPreset19, Control::recallPreset20,
    Control::recallPreset21, Control::recallPreset22, Control::recallPreset23, Control::recallPreset24,
    Control::recallPreset25, Control::recallPreset26, Control::recallPreset27, Control::recallPreset28,
    Control::recallPreset29, Control::recallPreset30, Control::recallPreset31, Control::recallPreset32,
};

// The unit counts presets from 0; the user from 1.
const FractionParameterConverter presetNumberConverter{-1, 1, 0, false};

std::vector<ControlRow> presetRows()
{
    std::vector<ControlRow> rows = {
        // "Save" first sends the typed name (OnSave).
        handledByWindow(checkBox(Control::savePreset, Id::savePresetTrigger, 1)),
        spin(Control::presetNumberSpin, Id::savePresetNumber),
        edit(Control::presetNumber, Id::savePresetNumber, &presetNumberConverter),
        // Sent only by Enter or "Save".
        handledByWindow(edit(Control::presetName, Id::savePresetName)),
    };
    int16_t number = 1;
    for (int button : recallButtons) {
        rows.push_back(captioned(pushButton(button, Id::recallPreset, Id::activePresetNumber, number, number),
                                 int16_t(Id::firstPresetName + number - 1)));
        ++number;
    }
    return rows;
}

} // namespace

CUserPresetsPage::CUserPresetsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), presetRows())
{
    connect(Control::savePreset, Notify::Clicked, [this](Notification&) { OnSave(); });
}

bool CUserPresetsPage::onInitDialog()
{
    control<Edit>(Control::presetName).setLimitText(presetNameLimit);
    return BoundDialog::onInitDialog();
}

void CUserPresetsPage::commitName()
{
    controller_.onEditChange(&control<Edit>(Control::presetName));
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
    controller_.onCommand(&control<Button>(Control::savePreset));
}
