#include "ui/CRemoteApp.h"

#include <memory>

#include "model/Exceptions.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "ui/CConnectionDlg.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"

bool CRemoteApp::InitInstance()
{
    // The window system comes first, as every window and picture needs it, and goes
    // last, with everything still made on it, before the program's end.
    WindowSystem windowSystem;
    CConnectionDlg connection;
    if (connection.runModal() == IDOK) {
        std::unique_ptr<CRemoteDlg> main;
        try {
            main = std::make_unique<CRemoteDlg>(connection.getConnectionType(), connection.getAddress(),
                                                connection.getComPort());
            main->runModal();
            DialogStack::destroy();
        } catch (const VormoException& error) {
            messageBox(nullptr, error.what(), "QZ347Remote", MB_OK);
        } catch (...) {
            messageBox(nullptr, "QZ347 Remote Application Error", "QZ347Remote", MB_OK);
        }
        main.reset();
    }
    return false;
}
