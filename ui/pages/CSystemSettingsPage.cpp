#include "ui/pages/CSystemSettingsPage.h"

CSystemSettingsPage::CSystemSettingsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), controller(parameterSet, errorReporter)
{
    connect(screenSaverTimeoutId, Notify::SelChange,
            [this](Notification&) { OnSelchangeScreenSaverTimeout(); });
    connect(unitNameId, Notify::KillFocus, [this](Notification&) { OnKillfocusUnitName(); });
    connect(screenSaverDesignId, Notify::SelChange,
            [this](Notification&) { OnSelchangeScreenSaverDesign(); });
    connect(timecodeDisplayId, Notify::SelChange, [this](Notification&) { OnSelchangeTimecodeDisplay(); });
}

bool CSystemSettingsPage::onInitDialog()
{
    Dialog::onInitDialog();
    attach(screenSaverTimeout, screenSaverTimeoutId);
    attach(screenSaverDesign, screenSaverDesignId);
    attach(timecodeDisplay, timecodeDisplayId);
    attach(unitName, unitNameId);
    unitName.setLimitText(unitNameLimit);
    bindControls();
    return true;
}

void CSystemSettingsPage::bindControls()
{
    controller.addComboBox(&screenSaverTimeout, ParameterId(0x2D01), 900, 902);
    controller.addEdit(&unitName, ParameterId(0x0103), nullptr);
    controller.addComboBox(&screenSaverDesign, ParameterId(0x2D02), 1500, 1501);
    controller.addComboBox(&timecodeDisplay, ParameterId(0x2D00), 1000, 1002);
}

void CSystemSettingsPage::OnSelchangeScreenSaverTimeout()
{
    controller.onCommand(&screenSaverTimeout);
}

// Focus loss commits the typed name instead of showing the unit's value again.
void CSystemSettingsPage::OnKillfocusUnitName()
{
    controller.onEditChange(&unitName);
}

void CSystemSettingsPage::OnSelchangeScreenSaverDesign()
{
    controller.onCommand(&screenSaverDesign);
}

void CSystemSettingsPage::OnSelchangeTimecodeDisplay()
{
    controller.onCommand(&timecodeDisplay);
}
