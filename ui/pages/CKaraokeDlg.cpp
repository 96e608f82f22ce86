#include "ui/pages/CKaraokeDlg.h"

#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = KaraokeTemplate;
namespace Id = ParameterIds;

constexpr int16_t muteLevel = 61;

const ControlRow rows[] = {
    checkBox(Control::karaokeUnaware, Id::karaokeMode, 0),
    checkBox(Control::karaokeAware, Id::karaokeMode, 1),
    checkBox(Control::karaokeCapable, Id::karaokeMode, 2),
    // The mute buttons' clicks go through mute.
    handledByWindow(checkBox(Control::vocalOneMute, Id::vocalOneLevel, muteLevel)),
    handledByWindow(checkBox(Control::vocalTwoMute, Id::vocalTwoLevel, muteLevel)),
    handledByWindow(checkBox(Control::musicMute, Id::musicLevel, muteLevel)),
    slider(Control::vocalOnePanSlider, Id::vocalOnePan),
    controlText(Control::vocalOnePanReadout, Id::vocalOnePan),
    slider(Control::vocalTwoPanSlider, Id::vocalTwoPan),
    controlText(Control::vocalTwoPanReadout, Id::vocalTwoPan),
    slider(Control::musicPanSlider, Id::musicPan),
    controlText(Control::musicPanReadout, Id::musicPan),
    slider(Control::vocalOneLevelSlider, Id::vocalOneLevel),
    controlText(Control::vocalOneLevelReadout, Id::vocalOneLevel),
    slider(Control::vocalTwoLevelSlider, Id::vocalTwoLevel),
    controlText(Control::vocalTwoLevelReadout, Id::vocalTwoLevel),
    slider(Control::musicLevelSlider, Id::musicLevel),
    controlText(Control::musicLevelReadout, Id::musicLevel),
};

} // namespace

CKaraokeDlg::CKaraokeDlg(const Win32Controller& pageController)
    : BoundDialog(templateId, pageController, rows)
{
    for (int button : {Control::vocalOneMute, Control::vocalTwoMute, Control::musicMute}) {
        connect(button, Notify::Clicked, [this, button](Notification&) { mute(button); });
    }
}

void CKaraokeDlg::mute(int button)
{
    Button& muteButton = control<Button>(button);
    muteButton.setCheck(Button::Checked);
    controller_.onCommand(&muteButton);
}
