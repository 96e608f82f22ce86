#pragma once

#include "platform/Dialog.h"
#include "templates/TessivaIITemplate.h"
#include "ui/binding/Win32Controller.h"

// The matrix surround decoder's mode, panorama, centre width and dimension. Every
// change is sent at once; OK only closes.
class CTessivaIIDlg : public Dialog {
public:
    static constexpr int templateId = TessivaIITemplate::templateId;
    // "OK" only ends the dialog, which the window layer does.
    static constexpr int okButtonId = TessivaIITemplate::okButton;

    explicit CTessivaIIDlg(const Win32Controller& pageController);

protected:
    bool onInitDialog() override;

private:
    Win32Controller controller_;
};
