#include <gtest/gtest.h>

#include <fstream>

#include "AppTestSupport.h"
#include "platform/Profile.h"
#include "support/gui/UserInput.h"
#include "ui/CConnectionDlg.h"

using namespace apptest;

namespace {

// Runs the connection dialog; the action plays the user inside it.
class ConnectionDialogTest : public ::testing::Test {
protected:
    int run(CConnectionDlg& dialog, const std::function<void(CConnectionDlg&)>& action)
    {
        modal.script = [&](Window& window) {
            if (&window != &dialog) {
                return false;
            }
            action(dialog);
            return true;
        };
        return dialog.runModal();
    }

    static ComboBox& types(CConnectionDlg& d)
    {
        return d.control<ComboBox>(CConnectionDlg::connectionTypeId);
    }
    static ComboBox& ports(CConnectionDlg& d) { return d.control<ComboBox>(CConnectionDlg::serialPortId); }
    static Edit& address(CConnectionDlg& d) { return d.control<Edit>(CConnectionDlg::addressId); }
    static Static& caption(CConnectionDlg& d) { return d.control<Static>(CConnectionDlg::addressCaptionId); }
    static void ok(CConnectionDlg& d) { user::click(d.control<Button>(IDOK)); }
    static void cancel(CConnectionDlg& d) { user::click(d.control<Button>(IDCANCEL)); }

    TemporaryProfile profile;
    Profile settings{profile.path()};
    ModalUser modal;
};

TEST_F(ConnectionDialogTest, AFreshProfileOpensOffLineAndOkConnectsOffLine)
{
    CConnectionDlg dialog;
    int result = run(dialog, [](CConnectionDlg& d) {
        EXPECT_EQ(types(d).getCurSel(), CConnectionDlg::offLine);
        EXPECT_EQ(types(d).getLBText(2), "Off Line");
        EXPECT_FALSE(address(d).isEnabled());
        EXPECT_EQ(address(d).getText(), "");
        EXPECT_EQ(ports(d).getCurSel(), 0);
        EXPECT_EQ(ports(d).getLBText(0), "COM1");
        EXPECT_FALSE(ports(d).isEnabled());
        savePicture(d, "connection_dialog");
        ok(d);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.getConnectionType(), CConnectionDlg::offLine);
    EXPECT_EQ(dialog.getAddress(), "8280"); // off line the SMPTE address is handed on
    EXPECT_EQ(dialog.getComPort(), 1);
}

TEST_F(ConnectionDialogTest, EachTypeShowsItsOwnAddressAndCaption)
{
    CConnectionDlg dialog;
    run(dialog, [](CConnectionDlg& d) {
        user::choose(types(d), CConnectionDlg::serial);
        EXPECT_EQ(caption(d).getText(), "SMPTE Address");
        EXPECT_EQ(address(d).getText(), "8280");
        EXPECT_TRUE(address(d).isEnabled());
        EXPECT_TRUE(ports(d).isEnabled());

        user::choose(types(d), CConnectionDlg::ethernet);
        EXPECT_EQ(caption(d).getText(), "TCP/IP Address");
        EXPECT_EQ(address(d).getText(), "");
        EXPECT_FALSE(ports(d).isEnabled());
        user::type(address(d), "unit.local");

        user::choose(types(d), CConnectionDlg::serial);
        EXPECT_EQ(address(d).getText(), "8280");
        user::choose(types(d), CConnectionDlg::ethernet);
        EXPECT_EQ(address(d).getText(), "unit.local");
        ok(d);
    });
    EXPECT_EQ(dialog.getConnectionType(), CConnectionDlg::ethernet);
    EXPECT_EQ(dialog.getAddress(), "unit.local");
    EXPECT_EQ(settings.getString("Settings", "tcp address", "?"), "unit.local");
}

TEST_F(ConnectionDialogTest, AnInvalidSmpteAddressIsRefusedAndTheLastValidOneStays)
{
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{"1", "82801"}, {"g", "8280g"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        modal.shown.clear();
        CConnectionDlg dialog;
        run(dialog, [&](CConnectionDlg& d) {
            user::choose(types(d), CConnectionDlg::serial);
            user::type(address(d), c.typed);
            EXPECT_EQ(address(d).getText(), c.shown); // the edit keeps what was typed
            ok(d);
        });
        ASSERT_EQ(modal.texts(-1), std::vector<std::string>{"invalid SMPTE address"});
        EXPECT_EQ(dialog.getAddress(), "8280");
        EXPECT_EQ(settings.getString("Settings", "smpte address", "?"), "8280");
    }
}

TEST_F(ConnectionDialogTest, AnEmptySmpteAddressIsValidInTheDialog)
{
    CConnectionDlg dialog;
    run(dialog, [](CConnectionDlg& d) {
        user::choose(types(d), CConnectionDlg::serial);
        for (int i = 0; i < 4; ++i) {
            user::press(address(d), user::Key::Backspace);
        }
        ok(d);
    });
    EXPECT_TRUE(modal.shown.empty());
    EXPECT_EQ(dialog.getAddress(), "");
    EXPECT_EQ(settings.getString("Settings", "smpte address", "?"), "");
}

TEST_F(ConnectionDialogTest, CancelKeepsTheChangesInTheProfileAndTheNextDialogOpensWithThem)
{
    {
        CConnectionDlg dialog;
        int result = run(dialog, [](CConnectionDlg& d) {
            user::choose(types(d), CConnectionDlg::serial);
            user::choose(ports(d), 2);
            cancel(d);
        });
        EXPECT_EQ(result, IDCANCEL);
    }
    EXPECT_EQ(settings.getInt("Settings", "connection type", -1), CConnectionDlg::serial);
    EXPECT_EQ(settings.getInt("Settings", "serial port", -1), 2);

    CConnectionDlg again;
    run(again, [](CConnectionDlg& d) {
        EXPECT_EQ(types(d).getCurSel(), CConnectionDlg::serial);
        EXPECT_EQ(ports(d).getCurSel(), 2);
        EXPECT_EQ(caption(d).getText(), "SMPTE Address");
        ok(d);
    });
    EXPECT_EQ(again.getComPort(), 3); // "COM3"
}

TEST_F(ConnectionDialogTest, ProfileValuesOutOfRangeFallBackToTheirDefaults)
{
    struct Case {
        const char* type;
        const char* port;
        const char* smpte;
        int expectedType;
        int expectedPort;
        const char* expectedSmpte;
        bool refused;
    };
    const Case cases[] = {
        // A damaged address is reported only where it is shown: with Serial chosen.
        {"7", "9", "123456", CConnectionDlg::offLine, 0, "8280", false},
        {"-1", "-2", "zz", CConnectionDlg::offLine, 0, "8280", false},
        {"1", "-2", "zz", CConnectionDlg::serial, 0, "8280", true},
        {"1", "3", "0a1F", CConnectionDlg::serial, 3, "0a1F", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        modal.shown.clear();
        {
            std::ofstream file(profile.path(), std::ios::trunc);
            file << "[Settings]\nconnection type=" << c.type << "\nserial port=" << c.port
                 << "\nsmpte address=" << c.smpte << "\n";
        }
        CConnectionDlg dialog;
        run(dialog, [&](CConnectionDlg& d) {
            EXPECT_EQ(types(d).getCurSel(), c.expectedType);
            EXPECT_EQ(ports(d).getCurSel(), c.expectedPort);
            ok(d);
        });
        EXPECT_EQ(dialog.getConnectionType(), c.expectedType);
        EXPECT_EQ(dialog.getComPort(), c.expectedPort + 1);
        EXPECT_EQ(dialog.getAddress(), c.expectedSmpte);
        EXPECT_EQ(modal.texts(-1).size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(modal.texts(-1).front(), "invalid SMPTE address");
        }
    }
}

TEST_F(ConnectionDialogTest, ADamagedStoredSmpteAddressIsShownForTheUserToCorrect)
{
    {
        std::ofstream file(profile.path(), std::ios::trunc);
        file << "[Settings]\nconnection type=2\nsmpte address=82xy\n";
    }
    CConnectionDlg dialog;
    run(dialog, [&](CConnectionDlg& d) {
        EXPECT_TRUE(modal.shown.empty()); // off line the address does not matter
        user::choose(types(d), CConnectionDlg::serial);
        EXPECT_EQ(modal.texts(-1), std::vector<std::string>{"invalid SMPTE address"});
        EXPECT_EQ(address(d).getText(), "82xy");
        user::press(address(d), user::Key::Backspace);
        user::press(address(d), user::Key::Backspace);
        user::type(address(d), "81");
        ok(d);
    });
    EXPECT_EQ(modal.texts(-1).size(), 2u); // and once more for the half-corrected "82x"
    EXPECT_EQ(dialog.getAddress(), "8281");
    EXPECT_EQ(settings.getString("Settings", "smpte address", "?"), "8281");
}

} // namespace
