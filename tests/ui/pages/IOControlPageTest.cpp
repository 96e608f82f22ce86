#include "PageFixture.h"

#include <algorithm>

#include "tests/ui/AppTestSupport.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"
#include "ui/pages/CGpioDlg.h"
#include "ui/pages/CIOControlPage.h"

namespace {

using Row = PageTest::RadioRow;

// In "IFE Mode" "Disable" carries 1; in "Bypass" "Disable" carries 0; the clock source
// buttons stand "Digital In", "SRC Off", "SRC On" with the values 0, 2, 1.
const std::vector<Row> ioControlRows = {
    {1130, 0x2D04, 1}, {1129, 0x2D04, 0}, {1129, 0x2D04, 0}, {1050, 0x0308, 0}, {1107, 0x0308, 1},
    {1127, 0x0309, 1}, {1128, 0x0309, 0}, {1053, 0x0307, 2}, {1054, 0x0307, 1}, {1108, 0x0307, 0},
};

using IOControlPageTest = PageTest;

TEST_F(IOControlPageTest, EachButtonSetsItsValueAndItsGroupFollows)
{
    auto page = openPage<CIOControlPage>("io_control_page");
    EXPECT_EQ(page->control<Button>(1130).getText(), "Analog && Digital");
    for (int parameter : {0x2D04, 0x0308, 0x0309, 0x0307}) {
        expectButtonsShow(*page, ioControlRows, parameter);
    }
    clickEachRow(*page, ioControlRows);
}

// The unit's internal clocks (3 to 5) have no button.
TEST_F(IOControlPageTest, AnInternalClockShowsNoClockButtonChecked)
{
    auto page = openPage<CIOControlPage>("io_control_page_internal_clock");
    for (int internal : {3, 4, 5}) {
        set->report(0x0307, internal);
        for (int button : {1108, 1053, 1054}) {
            EXPECT_EQ(page->control<Button>(button).getCheck(), Button::Unchecked)
                << internal << " " << button;
        }
    }
    clickEachRow(*page, {{1053, 0x0307, 2}});
}

TEST_F(IOControlPageTest, TheGpioButtonOpensTheDialogRegisteredWhileOpen)
{
    auto page = openPage<CIOControlPage>("io_control_page_gpio");
    ModalScript script([&](Dialog& dialog) {
        EXPECT_EQ(dialog.templateId(), CGpioDlg::templateId);
        EXPECT_EQ(reporter.windows(), std::vector<Window*>{&dialog});
        EXPECT_EQ(DialogStack::instance().windows().size(), 1u);
        user::click(dialog.control<Button>(CGpioDlg::okButtonId));
    });
    user::click(page->control<Button>(IOControlTemplate::gpio));
    EXPECT_EQ(script.runs, 1);
    EXPECT_TRUE(reporter.windows().empty());
    EXPECT_TRUE(DialogStack::instance().windows().empty());
}

// In the main window: the page sits in the upper tab control, and its monitor output
// buttons move the main window's volume controls between the two volume parameters.
TEST(IOControlPageInMainWindowTest, MonitorOutputMovesTheMainVolumeControls)
{
    apptest::TemporaryProfile profile;
    apptest::ModalUser modal;
    CRemoteDlg window(CRemoteDlg::offLine, "", 1);
    ASSERT_TRUE(window.create(nullptr));
    window.show(true);
    processPendingMessages();

    // The pages of this file stand in this order among the upper tabs.
    TabControl& tabs = window.control<TabControl>(MainTemplate::upperTabs);
    std::vector<std::string> names;
    for (int tab = 0; tab < tabs.getItemCount(); ++tab) {
        names.push_back(tabs.getItemText(tab));
    }
    std::vector<std::string> ours;
    for (const std::string& name : names) {
        if (name == "Operating Mode" || name == "Monitor Control" || name == "I/O Control" ||
            name == "Monitor Configuration") {
            ours.push_back(name);
        }
    }
    EXPECT_EQ(ours, (std::vector<std::string>{"Operating Mode", "Monitor Control", "I/O Control",
                                              "Monitor Configuration"}));

    Dialog* page = window.page(CRemoteDlg::IOControl);
    ASSERT_NE(page, nullptr);
    auto tab = std::find(names.begin(), names.end(), "I/O Control");
    ASSERT_NE(tab, names.end());
    user::clickTab(tabs, int(tab - names.begin()));
    EXPECT_TRUE(page->isVisible());
    Window& topLabel = window.control<Static>(MainTemplate::volumeTopLabel);
    EXPECT_EQ(topLabel.getText(), "+10 dB");
    user::click(page->control<Button>(1130));
    EXPECT_EQ(window.offLineStore().getValue(ParameterId(0x2D04)).toInt16(), 1);
    EXPECT_EQ(topLabel.getText(), "0 dB");
    EXPECT_EQ(page->control<Button>(1130).getCheck(), Button::Checked);
    user::click(page->control<Button>(1129));
    EXPECT_EQ(window.offLineStore().getValue(ParameterId(0x2D04)).toInt16(), 0);
    EXPECT_EQ(topLabel.getText(), "+10 dB");

    window.destroyWindow();
    processPendingMessages();
}

} // namespace
