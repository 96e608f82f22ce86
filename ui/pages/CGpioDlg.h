#pragma once

#include "templates/GpioTemplate.h"
#include "ui/binding/BoundDialog.h"

// The General Purpose Input/Output dialog: function, trigger and polarity of the
// unit's input and output pins, each a drop list sent at once when it changes.
class CGpioDlg : public BoundDialog {
public:
    static constexpr int templateId = GpioTemplate::templateId;
    // "OK" carries the cancel id: it only ends the dialog, which the window layer does.
    static constexpr int okButtonId = GpioTemplate::okButton;

    explicit CGpioDlg(const Win32Controller& pageController);
};
