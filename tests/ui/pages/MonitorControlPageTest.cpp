#include "PageFixture.h"

#include "tests/ui/AppTestSupport.h"
#include "ui/CMessageDlg.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogErrorReporter.h"
#include "ui/DialogStack.h"
#include "ui/pages/CKaraokeDlg.h"
#include "ui/pages/CMonitorControlPage.h"
#include "ui/pages/CTessivaIIDlg.h"

namespace {

using Row = PageTest::RadioRow;

// "Enabled" stands before "Disabled" and carries 1; "Manual" (0) before "Automatic" (1).
const std::vector<Row> monitorControlRows = {
    {1096, 0x0B02, 0}, {1095, 0x0B02, 1}, {1095, 0x0B02, 1}, {1098, 0x0304, 1}, {1097, 0x0304, 0},
    {1079, 0x070A, 1}, {1080, 0x070A, 2}, {1062, 0x070A, 0}, {1100, 0x0D00, 1}, {1099, 0x0D00, 0},
    {1091, 0x0310, 0}, {1092, 0x0310, 1}, {1093, 0x0310, 2}, {1094, 0x0310, 3},
};

using MonitorControlPageTest = PageTest;

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
    for (Case c : {Case{MonitorControlTemplate::karaoke, CKaraokeDlg::templateId, IDCANCEL},
                   Case{MonitorControlTemplate::tessivaII, CTessivaIIDlg::templateId, IDOK}}) {
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
    user::click(page->control<Button>(MonitorControlTemplate::tessivaII));
    EXPECT_EQ(script.runs, 1);
    EXPECT_EQ(reporter.reports, std::vector<std::string>{"reportHostError: Parameter locked"});
    EXPECT_TRUE(reporter.windows().empty());
    EXPECT_TRUE(DialogStack::instance().windows().empty());
    EXPECT_NE(set->value(0x0D01), 3);
}

// Selects the page's tab in the main window; null when the page is not shown.
Dialog* showMonitorControl(CRemoteDlg& window)
{
    TabControl& tabs = window.control<TabControl>(MainTemplate::upperTabs);
    for (int tab = 0; tab < tabs.getItemCount(); ++tab) {
        if (tabs.getItemText(tab) == "Monitor Control") {
            user::clickTab(tabs, tab);
        }
    }
    Dialog* page = window.page(CRemoteDlg::MonitorControl);
    return page != nullptr && page->isVisible() ? page : nullptr;
}

// In the main window off line: the dialog opens over its page, the poll timer keeps
// running while it is open, and what the user sets reaches the off-line store.
TEST(MonitorControlPageInMainWindowTest, KaraokeOpensOverThePageWhilePollingGoesOn)
{
    apptest::TemporaryProfile profile;
    apptest::ModalUser modal;
    CRemoteDlg window(CRemoteDlg::offLine, "", 1);
    ASSERT_TRUE(window.create(nullptr));
    window.show(true);
    processPendingMessages();

    Dialog* page = showMonitorControl(window);
    ASSERT_NE(page, nullptr);

    int runs = 0;
    modal.script = [&](Window& shown) {
        auto* dialog = dynamic_cast<CKaraokeDlg*>(&shown);
        if (dialog == nullptr) {
            return false;
        }
        ++runs;
        EXPECT_EQ(window.errorReporter()->windows(), std::vector<Window*>{dialog});
        uint32_t ticks = CRemoteDlg::tickCount();
        EXPECT_TRUE(apptest::waitUntil([&] { return CRemoteDlg::tickCount() >= ticks + 3; }));
        apptest::savePicture(*dialog, "karaoke_dialog_over_main_window");
        user::click(dialog->control<Button>(1083)); // "Aware"
        user::click(dialog->control<Button>(CKaraokeDlg::okButtonId));
        return true;
    };
    user::click(page->control<Button>(MonitorControlTemplate::karaoke));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(window.offLineStore().getValue(ParameterId(0x0B07)).toInt16(), 1);
    EXPECT_TRUE(window.errorReporter()->windows().empty());
    EXPECT_TRUE(DialogStack::instance().windows().empty());
    EXPECT_TRUE(window.timerRunning());

    window.destroyWindow();
    processPendingMessages();
}

// A failure reported while the dialog is open falls back to off line, which tears down
// and rebuilds the page whose handler is still waiting in the dialog's run; the dialog
// closes, and the handler finishes without touching the page it came from.
TEST(MonitorControlPageInMainWindowTest, AReportWhileTheDialogIsOpenRebuildsThePages)
{
    apptest::TemporaryProfile profile;
    apptest::ModalUser modal;
    CRemoteDlg window(CRemoteDlg::offLine, "", 1);
    ASSERT_TRUE(window.create(nullptr));
    window.show(true);
    processPendingMessages();
    Dialog* page = showMonitorControl(window);
    ASSERT_NE(page, nullptr);
    unsigned generation = window.connectionGeneration();

    int runs = 0;
    modal.script = [&](Window& shown) {
        auto* dialog = dynamic_cast<CTessivaIIDlg*>(&shown);
        if (dialog == nullptr) {
            return false; // the error dialog is confirmed as a user would
        }
        ++runs;
        window.errorReporter()->reportError(VormoException("Socket closed"));
        return true; // the report has asked the dialog to close
    };
    user::click(page->control<Button>(MonitorControlTemplate::tessivaII));
    processPendingMessages();

    EXPECT_EQ(runs, 1);
    EXPECT_EQ(modal.texts(CCommErrorDlg::templateId).size(), 1u);
    EXPECT_NE(window.connectionGeneration(), generation);
    EXPECT_NE(window.page(CRemoteDlg::MonitorControl), nullptr);
    EXPECT_TRUE(window.errorReporter()->windows().empty());
    EXPECT_TRUE(DialogStack::instance().windows().empty());
    EXPECT_TRUE(window.timerRunning());

    window.destroyWindow();
    processPendingMessages();
}

} // namespace
