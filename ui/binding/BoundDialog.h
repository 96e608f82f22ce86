#pragma once

#include <span>
#include <vector>

#include "platform/Dialog.h"
#include "ui/binding/ControlTable.h"
#include "ui/binding/Win32Controller.h"

// A page or modal dialog whose controls are bound through one table of rows: the
// rows' actions are routed from the start, and the controls are bound when the window
// exists. The window's own handlers cover only what the table does not.
class BoundDialog : public Dialog {
public:
    Win32Controller& controller() { return controller_; }

protected:
    BoundDialog(int templateId, const Win32Controller& controller, std::span<const ControlRow> rows);
    bool onInitDialog() override;

    Win32Controller controller_;

private:
    std::vector<ControlRow> rows_;
};
