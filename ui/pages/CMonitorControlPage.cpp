#include "ui/pages/CMonitorControlPage.h"

#include "ui/binding/ControlTable.h"
#include "ui/pages/CKaraokeDlg.h"
#include "ui/pages/CTessivaIIDlg.h"
#include "ui/pages/ModalPageDialog.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = MonitorControlTemplate;
namespace Id = ParameterIds;

const ControlRow rows[] = {
    checkBox(Control::extendedBitstreamEnabled, Id::extendedBitstream, 1),
    checkBox(Control::extendedBitstreamDisabled, Id::extendedBitstream, 0),
    checkBox(Control::surroundQxManual, Id::surroundQxMode, 0),
    checkBox(Control::surroundQxAutomatic, Id::surroundQxMode, 1),
    checkBox(Control::lfeMonitorModeAutomatic, Id::lfeMonitorMode, 0),
    checkBox(Control::lfeMonitorModeOn, Id::lfeMonitorMode, 1),
    checkBox(Control::lfeMonitorModeOff, Id::lfeMonitorMode, 2),
    checkBox(Control::tessivaManual, Id::tessivaDecoding, 0),
    checkBox(Control::tessivaAutomatic, Id::tessivaDecoding, 1),
    checkBox(Control::headphoneOff, Id::headphoneMode, 0),
    checkBox(Control::headphoneSmall, Id::headphoneMode, 1),
    checkBox(Control::headphoneMedium, Id::headphoneMode, 2),
    checkBox(Control::headphoneLarge, Id::headphoneMode, 3),
};

} // namespace

CMonitorControlPage::CMonitorControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows)
{
    connect(Control::karaoke, Notify::Clicked, [this](Notification&) { OnKaraoke(); });
    connect(Control::tessivaII, Notify::Clicked, [this](Notification&) { OnTessivaII(); });
}

void CMonitorControlPage::OnKaraoke()
{
    runPageDialog<CKaraokeDlg>(controller_);
}

void CMonitorControlPage::OnTessivaII()
{
    runPageDialog<CTessivaIIDlg>(controller_);
}
