#pragma once

#include "templates/TessivaIITemplate.h"
#include "ui/binding/BoundDialog.h"

// The matrix surround decoder's mode, panorama, centre width and dimension. Every
// change is sent at once; OK only closes.
class CTessivaIIDlg : public BoundDialog {
public:
    static constexpr int templateId = TessivaIITemplate::templateId;
    // "OK" only ends the dialog, which the window layer does.
    static constexpr int okButtonId = TessivaIITemplate::okButton;

    explicit CTessivaIIDlg(const Win32Controller& pageController);
};
