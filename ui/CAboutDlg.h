#pragma once

#include "platform/Dialog.h"

// The About box: the application's name, version and icon, and an OK button.
class CAboutDlg : public Dialog {
public:
    static constexpr int templateId = 100;
    static constexpr int iconId = 1020;

    CAboutDlg();

protected:
    bool onInitDialog() override;
};
