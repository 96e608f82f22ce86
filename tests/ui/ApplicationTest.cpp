#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "platform/AppSupport.h"
#include "platform/UserInput.h"
#include "ui/CConnectionDlg.h"
#include "ui/CRemoteApp.h"
#include "ui/CRemoteDlg.h"

using namespace apptest;

namespace {

TEST(Application, OkInTheConnectionDialogRunsTheMainWindowUntilItCloses)
{
    TemporaryProfile profile;
    ModalUser modal;
    int mainWindows = 0;
    modal.script = [&](Window& shown) {
        if (auto* connection = dynamic_cast<CConnectionDlg*>(&shown)) {
            user::click(connection->control<Button>(IDOK));
            return true;
        }
        if (auto* main = dynamic_cast<CRemoteDlg*>(&shown)) {
            ++mainWindows;
            EXPECT_EQ(main->connectionType(), CRemoteDlg::offLine);
            EXPECT_TRUE(main->isVisible());
            EXPECT_TRUE(main->timerRunning());
            user::closeWindow(*main);
            return true;
        }
        return false;
    };
    CRemoteApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(mainWindows, 1);
    EXPECT_TRUE(modal.shown.empty());
    EXPECT_EQ(modalDepth(), 0);
}

TEST(Application, CancelInTheConnectionDialogEndsWithoutAMainWindow)
{
    TemporaryProfile profile;
    ModalUser modal;
    bool mainShown = false;
    modal.script = [&](Window& shown) {
        if (auto* connection = dynamic_cast<CConnectionDlg*>(&shown)) {
            user::click(connection->control<Button>(IDCANCEL));
            return true;
        }
        mainShown = mainShown || dynamic_cast<CRemoteDlg*>(&shown) != nullptr;
        return false;
    };
    CRemoteApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_FALSE(mainShown);
}

} // namespace
