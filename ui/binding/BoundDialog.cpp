#include "ui/binding/BoundDialog.h"

BoundDialog::BoundDialog(int templateId, const Win32Controller& controller, std::span<const ControlRow> rows)
    : Dialog(templateId), controller_(controller), rows_(rows.begin(), rows.end())
{
    routeRows(*this, controller_, rows_);
}

bool BoundDialog::onInitDialog()
{
    bindRows(*this, controller_, rows_);
    return true;
}
