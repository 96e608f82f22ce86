#include <gtest/gtest.h>

#include <stdexcept>

#include "AppTestSupport.h"
#include "model/Exceptions.h"
#include "platform/AppSupport.h"
#include "support/gui/UserInput.h"
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

TEST(Application, AFailureEscapingTheMainWindowIsShownBeforeTheApplicationEnds)
{
    struct Case {
        const char* name;
        std::function<void()> fail;
        std::string shown;
    };
    const Case cases[] = {
        {"family", [] { throw VormoException("Error loading the blue on led"); },
         "Error loading the blue on led"},
        {"other", [] { throw std::runtime_error("bad"); }, "QZ347 Remote Application Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryProfile profile;
        ModalUser modal;
        modal.script = [&](Window& shown) {
            if (auto* connection = dynamic_cast<CConnectionDlg*>(&shown)) {
                user::click(connection->control<Button>(IDOK));
                return true;
            }
            if (dynamic_cast<CRemoteDlg*>(&shown) != nullptr) {
                c.fail();
            }
            return false;
        };
        CRemoteApp app;
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(modal.texts(-1), std::vector<std::string>{c.shown});
        EXPECT_EQ(modalDepth(), 0);
    }
}

} // namespace
