#pragma once

#include "platform/Dialog.h"
#include "ui/binding/Win32Controller.h"

// The matrix surround decoder's mode, panorama, centre width and dimension. Every
// change is sent at once; OK only closes.
class CTessivaIIDlg : public Dialog {
public:
    static constexpr int templateId = 167;
    // "OK" only ends the dialog, which the window layer does.
    static constexpr int okButtonId = IDOK;

    explicit CTessivaIIDlg(const Win32Controller& pageController);

    void OnHScroll(int code, Window* scrollBar);
    void OnModeMovie();
    void OnModeMusic();
    void OnModeTessiva();
    void OnModeMatrix();
    void OnPanoramaEnable();
    void OnPanoramaDisable();

protected:
    bool onInitDialog() override;
    void doDataExchange();
    void bindControls();
    void bindButtons();

private:
    Slider m_centerWidth;
    Slider m_dimension;
    Static m_centerWidthText;
    Static m_dimensionText;
    Button m_movie;
    Button m_music;
    Button m_tessiva;
    Button m_matrix;
    Button m_panoramaEnable;
    Button m_panoramaDisable;
    Win32Controller m_controller;
};
