#include "ui/pages/CTessivaIIDlg.h"

#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = TessivaIITemplate;
namespace Id = ParameterIds;

const ControlRow rows[] = {
    checkBox(Control::modeMovie, Id::tessivaIIMode, 0),
    checkBox(Control::modeMusic, Id::tessivaIIMode, 1),
    checkBox(Control::modeTessiva, Id::tessivaIIMode, 2),
    checkBox(Control::modeMatrix, Id::tessivaIIMode, 3),
    checkBox(Control::panoramaEnable, Id::panorama, 1),
    checkBox(Control::panoramaDisable, Id::panorama, 0),
    shortSlider(Control::centerWidthSlider, Id::centerWidth, 7),
    controlText(Control::centerWidthReadout, Id::centerWidth),
    shortSlider(Control::dimensionSlider, Id::dimension, 6),
    controlText(Control::dimensionReadout, Id::dimension),
};

} // namespace

CTessivaIIDlg::CTessivaIIDlg(const Win32Controller& pageController)
    : BoundDialog(templateId, pageController, rows)
{
}
