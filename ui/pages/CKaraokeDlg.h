#pragma once

#include "platform/Dialog.h"
#include "ui/binding/Win32Controller.h"

// The karaoke mode, and the pan and level of the two vocal channels and the music of
// karaoke-capable material. Every change is sent at once; OK only closes.
class CKaraokeDlg : public Dialog {
public:
    static constexpr int templateId = 166;
    // "OK" carries the cancel id: it only ends the dialog, which the window layer does.
    static constexpr int okButtonId = IDCANCEL;

    explicit CKaraokeDlg(const Win32Controller& pageController);

    void OnHScroll(int code, Window* scrollBar);
    void OnVScroll(int code, Window* scrollBar);
    void OnKaraokeUnaware();
    void OnKaraokeAware();
    void OnKaraokeCapable();
    void OnMuteVocalOne();
    void OnMuteVocalTwo();
    void OnMuteMusic();

protected:
    bool onInitDialog() override;
    void doDataExchange();
    void bindControls();
    void bindButtons();

private:
    // A "Mute" button only ever mutes: it is checked before the controller reads it,
    // so a click always asks for the mute level. A slider brings the channel back.
    void mute(Button& button);

    Slider m_panVocalOne;
    Slider m_panVocalTwo;
    Slider m_panMusic;
    Slider m_levelVocalOne;
    Slider m_levelVocalTwo;
    Slider m_levelMusic;
    Static m_panVocalOneText;
    Static m_panVocalTwoText;
    Static m_panMusicText;
    Static m_levelVocalOneText;
    Static m_levelVocalTwoText;
    Static m_levelMusicText;
    Button m_unaware;
    Button m_aware;
    Button m_capable;
    Button m_muteVocalOne;
    Button m_muteVocalTwo;
    Button m_muteMusic;
    Win32Controller m_controller;
};
