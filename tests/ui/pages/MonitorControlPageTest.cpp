#include "UnitSetPageFixture.h"

#include "ui/DialogStack.h"
#include "ui/pages/CKaraokeDlg.h"
#include "ui/pages/CMonitorControlPage.h"
#include "ui/pages/CTessivaIIDlg.h"

namespace {

using Row = UnitSetPageTest::RadioRow;

// "Enabled" stands before "Disabled" and carries 1; "Manual" (0) before "Automatic" (1).
const std::vector<Row> monitorControlRows = {
    {1096, 0x0B02, 0}, {1095, 0x0B02, 1}, {1095, 0x0B02, 1}, {1098, 0x0304, 1}, {1097, 0x0304, 0},
    {1079, 0x070A, 1}, {1080, 0x070A, 2}, {1062, 0x070A, 0}, {1100, 0x0D00, 1}, {1099, 0x0D00, 0},
    {1091, 0x0310, 0}, {1092, 0x0310, 1}, {1093, 0x0310, 2}, {1094, 0x0310, 3},
};

using MonitorControlPageTest = UnitSetPageTest;

TEST_F(MonitorControlPageTest, EachButtonSetsItsValueAndItsGroupFollows)
{
    auto page = openPage<CMonitorControlPage>("monitor_control_page");
    for (int parameter : {0x0B02, 0x0304, 0x070A, 0x0D00, 0x0310}) {
        expectButtonsShow(*page, monitorControlRows, parameter);
    }
    clickEachRow(*page, monitorControlRows);
}

// Both buttons open their dialog over the page; while it runs it is listed with the
// error reporter and on the dialog stack, and neither list keeps it afterwards.
TEST_F(MonitorControlPageTest, TheTwoButtonsOpenTheirDialogsRegisteredWhileOpen)
{
    auto page = openPage<CMonitorControlPage>("monitor_control_page_dialogs");
    struct Case {
        int button;
        int templateId;
        int okButton;
    };
    for (Case c : {Case{CMonitorControlPage::karaokeButtonId, CKaraokeDlg::templateId, IDCANCEL},
                   Case{CMonitorControlPage::tessivaIIButtonId, CTessivaIIDlg::templateId, IDOK}}) {
        SCOPED_TRACE(c.templateId);
        ModalScript script([&](Dialog& dialog) {
            EXPECT_EQ(dialog.templateId(), c.templateId);
            EXPECT_EQ(reporter.windows(), std::vector<Window*>{&dialog});
            ASSERT_EQ(DialogStack::instance().windows().size(), 1u);
            EXPECT_EQ(DialogStack::instance().windows().front(), &dialog);
            user::click(dialog.control<Button>(c.okButton));
        });
        user::click(page->control<Button>(c.button));
        EXPECT_EQ(script.runs, 1);
        EXPECT_TRUE(reporter.windows().empty());
        EXPECT_TRUE(DialogStack::instance().windows().empty());
    }
    EXPECT_TRUE(written().empty());
}

// A failure reported while a dialog is open closes it, and its registrations go.
TEST_F(MonitorControlPageTest, AFailureInAnOpenDialogClosesIt)
{
    auto page = openPage<CMonitorControlPage>("monitor_control_page_failure");
    ModalScript script([&](Dialog& dialog) {
        protocol.throwOnNextCall(HostException("Parameter locked"));
        user::click(dialog.control<Button>(1088)); // Tessiva II mode "Matrix"
        // The reporter asked the dialog to close; the run ends without another action.
    });
    user::click(page->control<Button>(CMonitorControlPage::tessivaIIButtonId));
    EXPECT_EQ(script.runs, 1);
    EXPECT_EQ(reporter.reports, std::vector<std::string>{"reportHostError: Parameter locked"});
    EXPECT_TRUE(reporter.windows().empty());
    EXPECT_TRUE(DialogStack::instance().windows().empty());
    EXPECT_NE(set->value(0x0D01), 3);
}

} // namespace
