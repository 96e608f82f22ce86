#include "ui/DialogErrorReporter.h"

#include "ui/CMessageDlg.h"
#include "ui/CRemoteDlg.h"

DialogErrorReporter::DialogErrorReporter(CRemoteDlg* owner) : m_owner(owner) {}

DialogErrorReporter::~DialogErrorReporter()
{
    while (!windows().empty()) {
        removeWindow(windows().front());
    }
}

void DialogErrorReporter::reportError(const VormoException& error)
{
    ++m_reports;
    bool timerWasRunning = m_owner->stopTimer();
    CCommErrorDlg dialog(error.what());
    m_owner->disconnect();
    m_owner->connect(CRemoteDlg::offLine, "", 1);
    closeWindows();
    if (m_owner->applicationEnded()) {
        return;
    }
    dialog.runModal();
    if (timerWasRunning && !m_owner->applicationEnded()) {
        m_owner->startTimer();
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
    ++m_reports;
    m_owner->disconnect();
    m_owner->connect(CRemoteDlg::offLine, "", 1);
    closeWindows();
    if (!m_owner->applicationEnded()) {
        CMessageDlg dialog(applicationErrorTemplateId, applicationErrorText);
        dialog.runModal();
    }
    m_owner->endApplication();
}
