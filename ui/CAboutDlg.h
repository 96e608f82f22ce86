#pragma once

#include "platform/Dialog.h"
#include "templates/AboutTemplate.h"

// The About box: the application's name, version and icon, and an OK button.
class CAboutDlg : public Dialog {
public:
    static constexpr int templateId = AboutTemplate::templateId;
    static constexpr int iconId = AboutTemplate::appIcon;

    CAboutDlg();

protected:
    bool onInitDialog() override;
};
