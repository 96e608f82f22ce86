#include "ui/pages/CIOControlPage.h"

#include "ui/binding/ControlTable.h"
#include "ui/pages/CGpioDlg.h"
#include "ui/pages/ModalPageDialog.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = IOControlTemplate;
namespace Id = ParameterIds;

const ControlRow rows[] = {
    checkBox(Control::monitorOutAnalog, Id::monitorOutput, 0),
    checkBox(Control::monitorOutAnalogDigital, Id::monitorOutput, 1),
    // The unit's IFE Mode is 0 when enabled and 1 when disabled.
    checkBox(Control::ifeModeDisable, Id::ifeMode, 1),
    checkBox(Control::ifeModeEnable, Id::ifeMode, 0),
    checkBox(Control::bypassDisable, Id::bypass, 0),
    checkBox(Control::bypassEnable, Id::bypass, 1),
    // The unit numbers the reference input with the converter on as 1 and off as 2;
    // its internal clocks (3 to 5) have no button.
    checkBox(Control::clockDigitalIn, Id::clockSource, 0),
    checkBox(Control::clockReferenceSrcOff, Id::clockSource, 2),
    checkBox(Control::clockReferenceSrcOn, Id::clockSource, 1),
};

} // namespace

CIOControlPage::CIOControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows)
{
    connect(Control::gpio, Notify::Clicked, [this](Notification&) { OnGpio(); });
}

void CIOControlPage::OnGpio()
{
    runPageDialog<CGpioDlg>(controller_);
}
