#pragma once

#include "templates/KaraokeTemplate.h"
#include "ui/binding/BoundDialog.h"

// The karaoke mode, and the pan and level of the two vocal channels and the music of
// karaoke-capable material. Every change is sent at once; OK only closes.
class CKaraokeDlg : public BoundDialog {
public:
    static constexpr int templateId = KaraokeTemplate::templateId;
    // "OK" carries the cancel id: it only ends the dialog, which the window layer does.
    static constexpr int okButtonId = KaraokeTemplate::okButton;

    explicit CKaraokeDlg(const Win32Controller& pageController);

private:
    // A "Mute" button only ever mutes: it is checked before the controller reads it,
    // so a click always asks for the mute level. A slider brings the channel back.
    void mute(int button);
};
