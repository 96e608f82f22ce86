#include <gtest/gtest.h>

#include "platform/Application.h"
#include "support/gui/UserInput.h"
#include "tests/ui/AppTestSupport.h"
#include "ui/CRemoteDlg.h"
#include "ui/pages/CCompressionPage.h"
#include "ui/pages/CMetadataStatusPage.h"
#include "ui/pages/COutputMetersPage.h"
#include "ui/pages/CStreamingPage.h"
#include "ui/pages/CSystemSettingsPage.h"
#include "ui/pages/CUserPresetsPage.h"
#include "unit/UnitParameterSet.h"

namespace {

// The main window off line, with its pages.
class PagesInMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.create(nullptr));
        window.show(true);
        processPendingMessages();
    }
    void TearDown() override
    {
        window.destroyWindow();
        processPendingMessages();
    }

    std::vector<std::string> tabs(int id)
    {
        TabControl& tabs = window.control<TabControl>(id);
        std::vector<std::string> names;
        for (int i = 0; i < tabs.getItemCount(); ++i) {
            names.push_back(tabs.getItemText(i));
        }
        return names;
    }
    std::string stored(int id) { return window.offLineStore().getValue(ParameterId(int16_t(id))).toString(); }

    apptest::TemporaryProfile profile;
    apptest::ModalUser modal;
    CRemoteDlg window{CRemoteDlg::offLine, "", 1};
};

TEST_F(PagesInMainWindowTest, ThePagesStandInTheirTabs)
{
    EXPECT_NE(dynamic_cast<CMetadataStatusPage*>(window.page(CRemoteDlg::MetadataStatus)), nullptr);
    EXPECT_NE(dynamic_cast<CUserPresetsPage*>(window.page(CRemoteDlg::UserPresets)), nullptr);
    EXPECT_NE(dynamic_cast<CSystemSettingsPage*>(window.page(CRemoteDlg::SystemSettings)), nullptr);
    EXPECT_NE(dynamic_cast<CStreamingPage*>(window.page(CRemoteDlg::Streaming)), nullptr);
    EXPECT_NE(dynamic_cast<COutputMetersPage*>(window.page(CRemoteDlg::OutputMeters)), nullptr);
    EXPECT_NE(dynamic_cast<CCompressionPage*>(window.page(CRemoteDlg::CompressionMeters)), nullptr);

    EXPECT_EQ(tabs(MainTemplate::lowerTabs),
              (std::vector<std::string>{"Output Meters", "Compression Meters"}));
    // The upper tab starts with the metadata; these pages keep their order among the others.
    std::vector<std::string> upper = tabs(MainTemplate::upperTabs);
    ASSERT_FALSE(upper.empty());
    EXPECT_EQ(upper.front(), "Metadata Status");
    EXPECT_EQ(upper.back(), "Streaming");
    std::vector<std::string> ours;
    for (const std::string& name : upper) {
        if (name == "Metadata Status" || name == "User Presets" || name == "System Settings" ||
            name == "Streaming") {
            ours.push_back(name);
        }
    }
    EXPECT_EQ(ours,
              (std::vector<std::string>{"Metadata Status", "User Presets", "System Settings", "Streaming"}));
    // The first page of each tab is the one shown.
    EXPECT_TRUE(window.page(CRemoteDlg::MetadataStatus)->isVisible());
    EXPECT_TRUE(window.page(CRemoteDlg::OutputMeters)->isVisible());
    EXPECT_FALSE(window.page(CRemoteDlg::Streaming)->isVisible());
    apptest::savePicture(window, "pages_main_window");
}

TEST_F(PagesInMainWindowTest, EnterCommitsTheNamesOfEveryPage)
{
    auto* presets = window.page(CRemoteDlg::UserPresets);
    auto* settings = window.page(CRemoteDlg::SystemSettings);
    Edit& presetName = presets->control<Edit>(1175);
    Edit& unitName = settings->control<Edit>(1056);
    presetName.setText("Live");
    unitName.setText("Booth 2");
    // Nothing is sent before Enter, whichever page shows.
    EXPECT_NE(stored(0x1904), "Live");
    EXPECT_NE(stored(0x0103), "Booth 2");

    // Enter in an edit of a page that is not even shown.
    user::press(presetName, user::Key::Enter);
    EXPECT_EQ(stored(0x1904), "Live");
    EXPECT_EQ(stored(0x0103), "Booth 2");
    EXPECT_TRUE(modal.shown.empty());
}

} // namespace
