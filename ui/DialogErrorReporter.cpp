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

void DialogErrorReporter::goOffLine()
{
    // Tearing the pages down moves the focus out of the edit being typed in, and its
    // text is sent on the way out: over the link that failed, so it fails again. That
    // failure is the one being reported, and reporting it again would tear down pages
    // in the middle of their teardown.
    replacingConnection_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{replacingConnection_};
    owner_->disconnect();
    owner_->connect(CRemoteDlg::offLine, "", 1);
}

void DialogErrorReporter::reportError(const VormoException& error)
{
    if (replacingConnection_) {
        return;
    }
    ++reports_;
    bool timerWasRunning = owner_->stopTimer();
    CCommErrorDlg dialog(error.what());
    goOffLine();
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
    if (replacingConnection_) {
        return;
    }
    ++reports_;
    goOffLine();
    closeWindows();
    if (!owner_->applicationEnded()) {
        CMessageDlg dialog(applicationErrorTemplateId, applicationErrorText);
        dialog.runModal();
    }
    owner_->endApplication();
}
