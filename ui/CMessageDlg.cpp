#include "ui/CMessageDlg.h"

#include "ui/DialogStack.h"

CMessageDlg::CMessageDlg(int templateId, std::string text) : Dialog(templateId), text_(std::move(text))
{
    connect(okId, Notify::Clicked, [this](Notification&) { onCancel(); });
}

CMessageDlg::~CMessageDlg() = default;

bool CMessageDlg::onInitDialog()
{
    attach(ok_, okId);
    control<Static>(textId).setText(text_);
    DialogStack::instance().push(this);
    return true;
}

// Called however the modal run ends, an exception from the initialisation included.
void CMessageDlg::onDestroy()
{
    DialogStack::instance().pop(this);
}

CCommErrorDlg::CCommErrorDlg(std::string text) : CMessageDlg(templateId, std::move(text)) {}
