#include "ui/DialogErrorReporter.h"

#include "ui/CMessageDlg.h"
#include "ui/CRemoteDlg.h"

DialogErrorReporter::DialogErrorReporter(CRemoteDlg* owner) : owner_(owner) {}

DialogErrorReporter::~DialogErrorReporter()
{
    while (!windows().empty()) {
        removeWindow(windows().front());
    }
}

void DialogErrorReporter::reportError(const VormoException& error)
{
    ++reports_;
    bool timerWasRunning = owner_->stopTimer();
    CCommErrorDlg dialog(error.what());
    owner_->disconnect();
    owner_->connect(CRemoteDlg::offLine, "", 1);
    closeWindows();
    if (owner_->applicationEnded()) {
        return;
    }
    dialog.runModal();
    if (timerWasRunning && !owner_->applicationEnded()) {
        owner_->startTimer();
    }
}

void DialogErrorReporter::reportHostError(const HostException& error)
{
    reportError(error);
}

void DialogErrorReporter::reportProtocolError(const ProtocolException& error)
{
    try {
        reportError(error);
    } catch (const ProtocolException& again) {
        reportProtocolError(again);
    } catch (const VormoException& again) {
        reportError(again);
    }
}

void DialogErrorReporter::reportUnknown()
{
    ++reports_;
    owner_->disconnect();
    owner_->connect(CRemoteDlg::offLine, "", 1);
    closeWindows();
    if (!owner_->applicationEnded()) {
        CMessageDlg dialog(applicationErrorTemplateId, applicationErrorText);
        dialog.runModal();
    }
    owner_->endApplication();
}
