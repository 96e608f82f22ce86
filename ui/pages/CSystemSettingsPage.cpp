#include "ui/pages/CSystemSettingsPage.h"

#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = SystemSettingsTemplate;
namespace Id = ParameterIds;

const ControlRow rows[] = {
    // The list capitalises the units ("10 Minutes") where the labels do not.
    comboBox(Control::screenSaverTimeout, Id::screenSaverTimeout, 900, 902),
    typedEdit(Control::unitName, Id::unitName),
    comboBox(Control::screenSaverDesign, Id::screenSaverDesign),
    comboBox(Control::timecodeDisplay, Id::timecodeDisplay),
};

} // namespace

CSystemSettingsPage::CSystemSettingsPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows)
{
}

bool CSystemSettingsPage::onInitDialog()
{
    control<Edit>(Control::unitName).setLimitText(unitNameLimit);
    return BoundDialog::onInitDialog();
}

void CSystemSettingsPage::OnKillfocusUnitName()
{
    controller_.onEditChange(&control<Edit>(Control::unitName));
}
