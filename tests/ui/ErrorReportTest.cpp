#include <gtest/gtest.h>

#include <stdexcept>

#include "AppTestSupport.h"
#include "platform/AppSupport.h"
#include "platform/Application.h"
#include "support/gui/UserInput.h"
#include "ui/CAboutDlg.h"
#include "ui/CMessageDlg.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogErrorReporter.h"
#include "ui/DialogStack.h"
#include "unit/UnitParameterSet.h"

using namespace apptest;

namespace {

constexpr int errorTemplate = CCommErrorDlg::templateId;

// A reporter that only keeps its window list.
class ListOnly : public ErrorReporter {
public:
    void reportError(const VormoException&) override {}
    void reportHostError(const HostException&) override {}
    void reportProtocolError(const ProtocolException&) override {}
    void reportUnknown() override {}
};

TEST(ErrorReporterWindowList, RemovesEveryEntryOfAWindowAndNothingElse)
{
    ListOnly reporter;
    Window a, b;
    reporter.addWindow(&a);
    reporter.addWindow(&b);
    reporter.addWindow(&a);
    Window absent;
    reporter.removeWindow(&absent);
    EXPECT_EQ(reporter.windows(), (std::vector<Window*>{&a, &b, &a}));
    reporter.removeWindow(&a);
    EXPECT_EQ(reporter.windows(), (std::vector<Window*>{&b}));
    reporter.closeWindows();
    EXPECT_TRUE(reporter.windows().empty());
    reporter.closeWindows(); // an empty list: nothing happens
    EXPECT_TRUE(reporter.windows().empty());
}

TEST(ErrorReporterWindowList, AnEntryLeavesTheListHoweverItsScopeEnds)
{
    ListOnly reporter;
    Window window;
    try {
        ErrorReporter::WindowEntry entry(&reporter, &window);
        EXPECT_EQ(reporter.windows().size(), 1u);
        throw VormoException("the dialog failed to open");
    } catch (const VormoException&) {
    }
    EXPECT_TRUE(reporter.windows().empty());
}

// Two plain windows standing in for modal dialogs.
class DialogStackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lower.create(nullptr));
        ASSERT_TRUE(upper.create(nullptr));
        lower.show(false);
        upper.show(false);
    }
    void TearDown() override { DialogStack::destroy(); }

    CAboutDlg lower;
    CAboutDlg upper;
};

TEST_F(DialogStackTest, PoppingTheUpperDialogShowsTheLowerOneAgain)
{
    DialogStack& stack = DialogStack::instance();
    stack.push(&lower);
    EXPECT_TRUE(lower.isVisible());
    lower.show(false);
    stack.showTop(); // shown once: a tick does not show it again
    EXPECT_FALSE(lower.isVisible());

    stack.push(&upper);
    EXPECT_TRUE(upper.isVisible());
    stack.pop(&upper);
    EXPECT_TRUE(lower.isVisible());
}

TEST_F(DialogStackTest, PopRemovesTheGivenWindowNotTheLastOne)
{
    DialogStack& stack = DialogStack::instance();
    stack.push(&lower);
    stack.push(&upper);
    stack.pop(&lower);
    EXPECT_EQ(stack.windows(), (std::deque<Window*>{&upper}));
    stack.pop(&lower); // not registered: nothing
    EXPECT_EQ(stack.windows(), (std::deque<Window*>{&upper}));
    stack.pop(&upper);
    stack.pop(&upper); // empty: nothing
    EXPECT_TRUE(stack.windows().empty());
}

TEST_F(DialogStackTest, AWindowWithoutItsWindowYetIsShownOnceItExists)
{
    DialogStack& stack = DialogStack::instance();
    CAboutDlg later;
    stack.push(&later);
    stack.showTop();
    EXPECT_FALSE(later.hasWindow());
    ASSERT_TRUE(later.create(nullptr));
    later.show(false);
    stack.showTop();
    EXPECT_TRUE(later.isVisible());
    stack.pop(&later);
}

// A message dialog whose initialisation fails after it registered.
class FailingMessage : public CMessageDlg {
public:
    FailingMessage() : CMessageDlg(applicationErrorTemplateId, "text") {}

protected:
    bool onInitDialog() override
    {
        CMessageDlg::onInitDialog();
        throw VormoException("initialisation failed");
    }
};

TEST_F(DialogStackTest, AMessageDialogWhoseInitialisationFailsLeavesNoEntry)
{
    FailingMessage dialog;
    EXPECT_THROW(dialog.runModal(), VormoException);
    EXPECT_TRUE(DialogStack::instance().windows().empty());
}

// The main window off line, with a modal dialog open above it while a failure is reported.
class ErrorReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.create(nullptr));
        processPendingMessages();
    }
    void TearDown() override
    {
        window.destroyWindow();
        processPendingMessages();
        DialogStack::destroy();
    }

    // Opens a dialog as a page does (registered with the reporter and the stack) and
    // reports from inside it; returns whether its run ended.
    bool reportFromModalDialog(const std::function<void(ErrorReporter&)>& report)
    {
        CAboutDlg dialog;
        bool reported = false;
        modal.script = [&](Window& shown) {
            if (&shown != &dialog || reported) {
                return false;
            }
            reported = true;
            generationBefore = window.connectionGeneration();
            report(*window.errorReporter());
            return true;
        };
        ErrorReporter::WindowEntry listed(window.errorReporter(), &dialog);
        DialogStack::Entry stacked(&dialog);
        int result = dialog.runModal();
        modal.script = nullptr;
        return reported && result == IDCANCEL;
    }

    TemporaryProfile profile;
    ModalUser modal;
    CRemoteDlg window{CRemoteDlg::offLine, "", 1};
    unsigned generationBefore = 0;
};

TEST_F(ErrorReportTest, EveryKindOfTheFamilyClosesTheDialogsAndContinuesOffLine)
{
    struct Case {
        const char* name;
        std::function<void(ErrorReporter&)> report;
        const char* text;
    };
    const Case cases[] = {
        {"error", [](ErrorReporter& r) { r.reportError(VormoException("Socket closed")); }, "Socket closed"},
        {"host", [](ErrorReporter& r) { r.reportHostError(HostException("Unit error 7")); }, "Unit error 7"},
        {"protocol", [](ErrorReporter& r) { r.reportProtocolError(ProtocolException("No reply")); },
         "No reply"},
        {"remote source",
         [](ErrorReporter& r) { r.reportError(RemoteSourceException("The unit is not in remote mode")); },
         "The unit is not in remote mode"},
        {"flash", [](ErrorReporter& r) { r.reportError(FlashException("Flash failed")); }, "Flash failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        modal.shown.clear();
        window.stopTimer();
        window.startTimer();
        EXPECT_TRUE(reportFromModalDialog(c.report)); // the open dialog was closed
        EXPECT_EQ(modal.texts(errorTemplate), std::vector<std::string>{c.text});
        EXPECT_EQ(modal.shown.size(), 1u);
        EXPECT_EQ(window.connectionType(), CRemoteDlg::offLine);
        EXPECT_GT(window.connectionGeneration(), generationBefore); // reconnected
        EXPECT_NE(window.parameterSet(), nullptr);
        EXPECT_TRUE(window.timerRunning());
        EXPECT_TRUE(window.errorReporter()->windows().empty());
        EXPECT_TRUE(DialogStack::instance().windows().empty());
        EXPECT_FALSE(window.applicationEnded());
    }
}

TEST_F(ErrorReportTest, TheErrorDialogShowsTheTextAndTheOffLineLine)
{
    bool seen = false;
    modal.script = [&](Window& shown) {
        auto* error = dynamic_cast<CCommErrorDlg*>(&shown);
        if (error == nullptr) {
            return false;
        }
        seen = true;
        EXPECT_EQ(error->control<Static>(CMessageDlg::textId).getText(), "Connection lost");
        savePicture(*error, "error_dialog");
        user::click(error->control<Button>(CMessageDlg::okId));
        return true;
    };
    window.errorReporter()->reportError(VormoException("Connection lost"));
    EXPECT_TRUE(seen);
}

TEST_F(ErrorReportTest, AReportWhileTheTimerWasStoppedLeavesItRunning)
{
    window.stopTimer();
    window.errorReporter()->reportError(VormoException("Error opening /nowhere"));
    EXPECT_TRUE(window.timerRunning());
}

TEST_F(ErrorReportTest, OffLineValuesSurviveTheReconnect)
{
    window.parameterSet()->setValue(ParameterId(0x0514), ParameterValue(1));
    window.errorReporter()->reportError(VormoException("Socket closed"));
    EXPECT_EQ(window.parameterSet()->controls().find(ParameterId(0x0514)).value().toInt16(), 1);
    EXPECT_EQ(window.control<Button>(1072).getCheck(), Button::Checked);
}

TEST_F(ErrorReportTest, TheTornDownConnectionGoesOnlyWhenBackInTheWindowsLoop)
{
    UnitParameterSet* old = window.parameterSet();
    std::size_t retiredDuringReport = 0;
    bool stillReadable = false;
    ASSERT_TRUE(reportFromModalDialog([&](ErrorReporter& reporter) {
        modal.script = [&](Window& shown) {
            if (dynamic_cast<CCommErrorDlg*>(&shown) == nullptr) {
                return false;
            }
            // Polling runs on the new connection; the old set must still be there for
            // the handler that reported, which is further up the stack.
            const uint32_t ticks = CRemoteDlg::tickCount();
            EXPECT_TRUE(waitUntil([&] { return CRemoteDlg::tickCount() - ticks >= 3; }));
            retiredDuringReport = window.retiredObjects();
            stillReadable = old->controls().find(ParameterId(0x0514)).value().size() == 2;
            user::click(static_cast<CMessageDlg&>(shown).control<Button>(CMessageDlg::okId));
            return true;
        };
        reporter.reportError(VormoException("Socket closed"));
    }));
    EXPECT_GT(retiredDuringReport, 0u);
    EXPECT_TRUE(stillReadable);
    EXPECT_TRUE(waitUntil([&] { return window.retiredObjects() == 0; }));
}

TEST_F(ErrorReportTest, AnExceptionOutsideTheFamilyEndsTheApplication)
{
    // The open dialog's run ends with the application's (not by its close box).
    reportFromModalDialog([](ErrorReporter& reporter) { reporter.reportUnknown(); });
    EXPECT_EQ(modalDepth(), 0);
    EXPECT_EQ(modal.texts(applicationErrorTemplateId),
              std::vector<std::string>{"QZ347 Remote Application Error (generic exception)"});
    EXPECT_TRUE(modal.texts(errorTemplate).empty());
    EXPECT_TRUE(window.applicationEnded());
    EXPECT_EQ(window.connectionType(), CRemoteDlg::offLine);
}

TEST(MainWindowRun, AnUnknownFailureEndsTheMainWindowsRun)
{
    TemporaryProfile profile;
    ModalUser modal;
    CRemoteDlg window(CRemoteDlg::offLine, "", 1);
    modal.script = [&](Window& shown) {
        if (&shown != &window) {
            return false;
        }
        window.errorReporter()->reportUnknown();
        return true;
    };
    window.runModal();
    EXPECT_TRUE(window.applicationEnded());
    EXPECT_EQ(modal.texts(applicationErrorTemplateId).size(), 1u);
    EXPECT_EQ(modalDepth(), 0);
    DialogStack::destroy();
}

// A main window whose off-line store cannot be reached.
class BrokenOffLine : public CRemoteDlg {
public:
    using CRemoteDlg::CRemoteDlg;
    bool failOffLine = true;
    int offLineAttempts = 0;

protected:
    void buildOffLineSet() override
    {
        ++offLineAttempts;
        if (failOffLine) {
            throw VormoException("The off-line store cannot be read");
        }
        CRemoteDlg::buildOffLineSet();
    }
};

TEST(OffLineFailure, AFailingOffLineConnectShowsItsTextOnceAndEndsTheApplication)
{
    TemporaryProfile profile;
    ModalUser modal;
    BrokenOffLine window(CRemoteDlg::offLine, "", 1);
    ASSERT_TRUE(window.create(nullptr));
    EXPECT_EQ(window.offLineAttempts, 1);
    EXPECT_EQ(modal.texts(applicationErrorTemplateId),
              std::vector<std::string>{"The off-line store cannot be read"});
    EXPECT_TRUE(modal.texts(errorTemplate).empty());
    EXPECT_TRUE(window.applicationEnded());
    EXPECT_EQ(window.parameterSet(), nullptr);
    EXPECT_FALSE(window.timerRunning());
    window.destroyWindow();
    DialogStack::destroy();
}

TEST(OffLineFailure, AFallBackThatFailsTooShowsBothTextsOnce)
{
    TemporaryProfile profile;
    ModalUser modal;
    // Nothing listens on this loopback address: the connection is refused.
    BrokenOffLine window(CRemoteDlg::ethernet, "127.0.0.9", 1);
    ASSERT_TRUE(window.create(nullptr));
    EXPECT_EQ(modal.texts(errorTemplate).size(), 1u);
    EXPECT_EQ(modal.texts(applicationErrorTemplateId),
              std::vector<std::string>{"The off-line store cannot be read"});
    EXPECT_EQ(window.offLineAttempts, 1);
    EXPECT_TRUE(window.applicationEnded());
    window.destroyWindow();
    DialogStack::destroy();
}

} // namespace
