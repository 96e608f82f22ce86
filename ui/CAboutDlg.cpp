#include "ui/CAboutDlg.h"

CAboutDlg::CAboutDlg() : Dialog(templateId)
{
    connect(IDOK, Notify::Clicked, [this](Notification&) { onOK(); });
}

bool CAboutDlg::onInitDialog()
{
    return true;
}
