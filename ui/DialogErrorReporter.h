#pragma once

#include "ui/ErrorReporter.h"

class CRemoteDlg;

// The main window's reporter: a failure of the system's own family sends the window
// off line, closes the open modal dialogs and shows the "Error" dialog; anything else
// shows the application-error dialog and ends the application.
class DialogErrorReporter : public ErrorReporter {
public:
    explicit DialogErrorReporter(CRemoteDlg* owner);
    ~DialogErrorReporter() override;

    void reportError(const VormoException& error) override;
    void reportHostError(const HostException& error) override;
    void reportUnknown() override;
    void reportProtocolError(const ProtocolException& error) override;

    // The reports made so far.
    unsigned reports() const { return reports_; }

private:
    // Replaces the connection with an off-line one.
    void goOffLine();

    CRemoteDlg* owner_;
    unsigned reports_ = 0;
    bool replacingConnection_ = false;
};

// The reporter the connection code keeps for failures outside the system's family.
class FatalErrorReporter : public DialogErrorReporter {
public:
    using DialogErrorReporter::DialogErrorReporter;
};
