#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "AppTestSupport.h"
#include "platform/Application.h"
#include "support/gui/UserInput.h"
#include "platform/WaitCursor.h"
#include "support/FakeSerialUnit.h"
#include "support/FakeUnit.h"
#include "ui/CConnectionDlg.h"
#include "ui/CMessageDlg.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"
#include "ui/pages/CStreamingPage.h"
#include "ui/pages/CSystemSettingsPage.h"
#include "ui/pages/CUserPresetsPage.h"
#include "unit/UnitParameterSet.h"

using namespace apptest;

namespace {

constexpr int errorTemplate = CCommErrorDlg::templateId;
const ParameterId remoteSource(0x090A);

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The main window of each test, against fake units on loopback port 4444 (each test on
// an address of its own, so test programs may run side by side) or on a pseudo-terminal.
class ConnectionChainTest : public ::testing::Test {
protected:
    void TearDown() override { closeWindow(); }

    void closeWindow()
    {
        if (window) {
            window->destroyWindow();
            window.reset();
        }
        processPendingMessages();
        DialogStack::destroy();
    }

    CRemoteDlg& open(int type, const std::string& address, int comPort)
    {
        window = std::make_unique<CRemoteDlg>(type, address, comPort);
        EXPECT_TRUE(window->create(nullptr));
        window->show(true);
        return *window;
    }

    static std::unique_ptr<FakeUnit> unitAtItsPort()
    {
        auto unit = FakeUnit::onFreeLoopbackAddress(CRemoteDlg::unitPort);
        unit->withEngine([](FakeUnitEngine& engine) {
            engine.store = unitCatalogueDefaults();
            engine.store[remoteSource] = ParameterValue(2);
        });
        return unit;
    }

    static ParameterValue onUnit(FakeUnit& unit, int id)
    {
        return unit.withEngine(
            [id](FakeUnitEngine& engine) { return engine.store[ParameterId(int16_t(id))]; });
    }

    std::string text(int id) { return window->control<Static>(id).getText(); }
    Button& button(int id) { return window->control<Button>(id); }
    int16_t value(int id)
    {
        return window->parameterSet()->findParameter(ParameterId(int16_t(id)))->value().toInt16();
    }

    // Runs a File menu command, answering its file dialog with the path.
    void fileCommand(int command, const std::string& path)
    {
        modal.script = [path](Window& shown) {
            if (dynamic_cast<Dialog*>(&shown) != nullptr || !user::messageText(shown).empty()) {
                return false;
            }
            user::chooseFile(shown, path);
            return true;
        };
        Notification notification;
        notification.id = command;
        window->notify(notification);
        modal.script = nullptr;
    }

    TemporaryProfile profile;
    ModalUser modal;
    std::unique_ptr<CRemoteDlg> window;
};

TEST_F(ConnectionChainTest, OverTcpTheWindowShowsTheUnitFollowsItsReportsAndSendsClicks)
{
    auto unit = unitAtItsPort();
    unit->withEngine([](FakeUnitEngine& engine) {
        engine.store[ParameterId(0x1100)] = ParameterValue(2); // Vormo Digital input
        engine.store[ParameterId(0x0514)] = ParameterValue(1); // left muted
    });
    open(CRemoteDlg::ethernet, unit->address(), 1);
    ASSERT_TRUE(modal.shown.empty()) << modal.shown.front().text;
    EXPECT_EQ(window->connectionType(), CRemoteDlg::ethernet);
    EXPECT_EQ(window->timerInterval(), 1);
    EXPECT_EQ(button(1072).getCheck(), Button::Checked);
    ASSERT_TRUE(waitUntil([&] { return text(1161) == "Vormo Digital"; }));
    EXPECT_EQ(window->control<Static>(1150).getBitmap()->resourceId(), 163);

    // A report of the unit appears after the next ticks.
    unit->sendStatus({{ParameterId(0x1100), ParameterValue(1)}});
    EXPECT_TRUE(waitUntil([&] { return text(1161) == "PCM"; }));

    // A click reaches the unit.
    user::click(button(1074));
    EXPECT_EQ(onUnit(*unit, 0x0515), ParameterValue(1));
    EXPECT_TRUE(modal.shown.empty());
    savePicture(*window, "main_window_tcp");
}

TEST_F(ConnectionChainTest, TheUnitVanishingGivesTheErrorDialogAndOffLineValuesComeBack)
{
    auto unit = unitAtItsPort();
    open(CRemoteDlg::offLine, "", 1);
    user::click(button(1078)); // a change made off line
    ASSERT_EQ(value(0x051A), 1);

    window->stopTimer();
    window->disconnect();
    window->connect(CRemoteDlg::ethernet, unit->address(), 1);
    ASSERT_EQ(window->connectionType(), CRemoteDlg::ethernet);
    EXPECT_EQ(button(1078).getCheck(), Button::Unchecked); // the unit's value

    unit.reset(); // the unit goes away
    user::click(button(1072));
    ASSERT_EQ(modal.texts(errorTemplate).size(), 1u);
    EXPECT_EQ(window->connectionType(), CRemoteDlg::offLine);
    EXPECT_TRUE(window->timerRunning());
    EXPECT_EQ(button(1078).getCheck(), Button::Checked);
    EXPECT_EQ(value(0x051A), 1);
    EXPECT_EQ(value(0x0514), 0);
    EXPECT_TRUE(waitUntil([&] { return window->retiredObjects() == 0; }));
}

// A unit name as long as a value may be: a letter typed into it and Enter send nothing
// the link cannot carry, so the link stays up; a new name typed over it reaches the unit.
TEST_F(ConnectionChainTest, TypingIntoTheLongestUnitNameKeepsTheLinkUp)
{
    const std::string longest(ParameterValue::maximumEncodedLength, 'N');
    auto unit = unitAtItsPort();
    unit->withEngine([&](FakeUnitEngine& engine) { engine.store[ParameterId(0x0103)] = ParameterValue(longest); });
    open(CRemoteDlg::ethernet, unit->address(), 1);
    ASSERT_TRUE(modal.shown.empty()) << modal.shown.front().text;
    Edit& unitName = window->page(CRemoteDlg::SystemSettings)->control<Edit>(SystemSettingsTemplate::unitName);
    ASSERT_TRUE(waitUntil([&] { return unitName.getText() == longest; }));

    showTab(*window, "System Settings");
    user::focus(unitName);
    user::press(unitName, user::Key::End);
    user::type(unitName, "Z");
    user::press(unitName, user::Key::Enter);
    serveFor(300); // poll ticks run over the link
    // A dropped link would have replaced the page, and the edit with it.
    ASSERT_TRUE(modal.shown.empty()) << modal.shown.front().text;
    ASSERT_EQ(window->connectionType(), CRemoteDlg::ethernet);
    EXPECT_EQ(onUnit(*unit, 0x0103), ParameterValue(longest));

    user::selectAll(unitName);
    user::type(unitName, "Booth 2");
    user::press(unitName, user::Key::Enter);
    EXPECT_EQ(onUnit(*unit, 0x0103), ParameterValue(std::string("Booth 2")));
    EXPECT_TRUE(modal.shown.empty());
}

// Enter in a name edit after the unit went away: the name fails to go, the window goes
// off line with one "Error" dialog, and the edit losing the focus as its page goes does
// not report the same failure again from within the teardown.
TEST_F(ConnectionChainTest, EnterInANameEditAfterTheUnitWentAwayReportsOnceAndGoesOffLine)
{
    struct Case {
        const char* tab;
        CRemoteDlg::Page page;
        int edit;
    };
    const Case cases[] = {
        {"System Settings", CRemoteDlg::SystemSettings, SystemSettingsTemplate::unitName},
        {"User Presets", CRemoteDlg::UserPresets, UserPresetsTemplate::presetName},
        {"Streaming", CRemoteDlg::Streaming, CStreamingPage::serverId},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.tab);
        auto unit = unitAtItsPort();
        open(CRemoteDlg::ethernet, unit->address(), 1);
        ASSERT_TRUE(modal.shown.empty()) << modal.shown.front().text;
        window->stopTimer();
        showTab(*window, test.tab);
        Edit& edit = window->page(test.page)->control<Edit>(test.edit);
        unit.reset();

        user::focus(edit);
        user::press(edit, user::Key::End);
        user::type(edit, "2");
        user::press(edit, user::Key::Enter);
        EXPECT_EQ(modal.texts(errorTemplate).size(), 1u);
        EXPECT_EQ(window->connectionType(), CRemoteDlg::offLine);
        EXPECT_TRUE(waitUntil([&] { return window->retiredObjects() == 0; }));
        closeWindow();
        modal.shown.clear();
    }
}

TEST_F(ConnectionChainTest, SaveThenOpenOnAFreshConnectionRestoresTheValuesOnTheUnit)
{
    TemporaryFolder folder;
    std::string path = folder.file("studio.347");
    auto first = unitAtItsPort();
    first->withEngine([](FakeUnitEngine& engine) {
        engine.store[ParameterId(0x0511)] = ParameterValue(150);
        engine.store[ParameterId(0x0B06)] = ParameterValue(2);
        engine.store[ParameterId(0x0103)] = ParameterValue(std::string("Rack 2"));
    });
    open(CRemoteDlg::ethernet, first->address(), 1);
    ASSERT_EQ(window->connectionType(), CRemoteDlg::ethernet);
    fileCommand(CRemoteDlg::commandFileSave, path);
    ASSERT_TRUE(modal.shown.empty()) << modal.shown.front().text;
    EXPECT_TRUE(window->timerRunning());
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    auto second = unitAtItsPort();
    window->stopTimer();
    window->disconnect();
    window->connect(CRemoteDlg::ethernet, second->address(), 1);
    ASSERT_EQ(onUnit(*second, 0x0511), ParameterValue(192));
    fileCommand(CRemoteDlg::commandFileOpen, path);
    ASSERT_TRUE(modal.shown.empty()) << modal.shown.front().text;
    EXPECT_EQ(onUnit(*second, 0x0511), ParameterValue(150));
    EXPECT_EQ(onUnit(*second, 0x0B06), ParameterValue(2));
    EXPECT_EQ(onUnit(*second, 0x0103), ParameterValue(std::string("Rack 2")));
    EXPECT_EQ(window->connectionType(), CRemoteDlg::ethernet);
    EXPECT_FALSE(WaitCursor::isShown());
}

TEST_F(ConnectionChainTest, BothExportsAreWrittenByteForByte)
{
    TemporaryFolder folder;
    open(CRemoteDlg::offLine, "", 1);
    user::click(button(1072));
    // The export shows what the unit confirmed: the refresh rotation reads it back.
    ASSERT_TRUE(waitUntil([&] {
        return window->parameterSet()->controls().find(ParameterId(0x0514)).current().toInt16() == 1;
    }));

    std::ostringstream text;
    window->parameterSet()->exportText(text, "QZ347 Parameters");
    fileCommand(CRemoteDlg::commandExportText, folder.file("parameters")); // the extension is added
    EXPECT_EQ(contents(folder.file("parameters.txt")), text.str());

    std::ostringstream html;
    window->parameterSet()->exportGroupsHtml(html, "QZ347 Parameters");
    fileCommand(CRemoteDlg::commandExportHtml, folder.file("parameters.htm"));
    EXPECT_EQ(contents(folder.file("parameters.htm")), html.str());
    EXPECT_TRUE(modal.shown.empty());
    // The title, the six sections, and the change made before the export.
    EXPECT_EQ(text.str().rfind("QZ347 Parameters\r\n\r\n", 0), 0u);
    for (const char* section : {"System Information", "System", "Analogue Output", "Remote Communications",
                                "Tessiva", "Streaming Control"}) {
        EXPECT_NE(text.str().find(std::string("\r\n") + section + "\r\n"), std::string::npos) << section;
    }
    EXPECT_NE(text.str().find("Left: Mute\r\n"), std::string::npos);
    EXPECT_EQ(html.str().rfind("<HTML><HEAD><TITLE>QZ347 Parameters</TITLE> </HEAD> <BODY>\r\n<H1>QZ347 "
                               "Parameters</H1>\n",
                               0),
              0u);
}

TEST_F(ConnectionChainTest, FileFailuresAreReportedAndTheTimerRunsAfterwards)
{
    TemporaryFolder folder;
    std::string notConfiguration = folder.file("notes.347");
    std::ofstream(notConfiguration) << "shopping list";
    std::string unwritable = folder.file("missing/out.347");
    struct Case {
        int command;
        std::string path;
        std::string text;
    };
    const Case cases[] = {
        {CRemoteDlg::commandFileOpen, notConfiguration,
         "This is not a valid configuration file for this device"},
        {CRemoteDlg::commandFileSave, unwritable, "Error opening " + unwritable + ": No such file or directory"},
        {CRemoteDlg::commandExportText, unwritable, "Error opening " + unwritable + ": No such file or directory"},
    };
    open(CRemoteDlg::offLine, "", 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        modal.shown.clear();
        fileCommand(c.command, c.path);
        EXPECT_EQ(modal.texts(errorTemplate), std::vector<std::string>{c.text});
        EXPECT_EQ(window->connectionType(), CRemoteDlg::offLine);
        EXPECT_TRUE(window->timerRunning());
        EXPECT_FALSE(WaitCursor::isShown()); // restored however the load ended
    }
}

TEST_F(ConnectionChainTest, ACancelledFileDialogWritesNothingAndTheTimerRunsAgain)
{
    TemporaryFolder folder;
    open(CRemoteDlg::offLine, "", 1);
    for (int command :
         {CRemoteDlg::commandFileSave, CRemoteDlg::commandExportHtml, CRemoteDlg::commandFileOpen}) {
        Notification notification;
        notification.id = command;
        window->notify(notification); // the user cancels the file dialog
        EXPECT_TRUE(window->timerRunning());
    }
    EXPECT_TRUE(modal.shown.empty());
}

TEST_F(ConnectionChainTest, FailuresWhileConnectingFallBackOffLine)
{
    setenv("QZ347_COM4", "/nonexistent/serial-device", 1);
    struct Case {
        const char* name;
        int type;
        const char* address;
        int comPort;
        bool errorShown;
        int interval;
    };
    const Case cases[] = {
        {"type 5", 5, "", 1, false, 1},
        {"refused TCP connection", CRemoteDlg::ethernet, "127.0.0.9", 1, true, 1},
        {"serial port that cannot be opened", CRemoteDlg::serial, "8280", 4, true, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        modal.shown.clear();
        open(CRemoteDlg::offLine, "", 1);
        window->parameterSet()->setValue(ParameterId(0x0515), ParameterValue(1)); // changed off line
        window->stopTimer();
        window->disconnect();
        window->connect(c.type, c.address, c.comPort);
        EXPECT_EQ(modal.texts(errorTemplate).size(), c.errorShown ? 1u : 0u);
        EXPECT_EQ(modal.shown.size(), c.errorShown ? 1u : 0u);
        EXPECT_EQ(window->connectionType(), CRemoteDlg::offLine);
        EXPECT_EQ(window->address(), c.errorShown ? "" : c.address);
        EXPECT_EQ(window->timerInterval(), c.interval);
        EXPECT_TRUE(window->timerRunning());
        EXPECT_EQ(button(1074).getCheck(), Button::Checked); // the off-line value is shown again
        window->destroyWindow();
    }
    unsetenv("QZ347_COM4");
}

TEST_F(ConnectionChainTest, TheSmpteAddressIsCheckedAfterThePortWasOpened)
{
    FakeSerialUnit unit(0x8280, 2);
    for (const char* address : {"", "123456", "g1"}) {
        SCOPED_TRACE(address);
        modal.shown.clear();
        open(CRemoteDlg::serial, address, 2);
        EXPECT_EQ(modal.texts(errorTemplate), std::vector<std::string>{"invalid SMPTE address"});
        EXPECT_EQ(window->connectionType(), CRemoteDlg::offLine);
        window->destroyWindow();
    }
}

TEST_F(ConnectionChainTest, OverTheSerialPortTheWindowShowsTheUnitAndSendsClicks)
{
    FakeSerialUnit unit(0x82, 3); // "82" followed by letters that are no hexadecimal digits
    unit.setValues(unitCatalogueDefaults());
    unit.setValue(remoteSource, ParameterValue(2));
    unit.setValue(ParameterId(0x0516), ParameterValue(1));
    open(CRemoteDlg::serial, "82xy", 3);
    ASSERT_TRUE(modal.shown.empty()) << modal.shown.front().text;
    EXPECT_EQ(window->connectionType(), CRemoteDlg::serial);
    EXPECT_EQ(window->timerInterval(), 30);
    EXPECT_EQ(button(1073).getCheck(), Button::Checked);

    unit.setValue(ParameterId(0x1100), ParameterValue(1));
    EXPECT_TRUE(waitUntil([&] { return text(1161) == "PCM"; }, 20000));

    user::click(button(1077));
    EXPECT_EQ(unit.value(ParameterId(0x0519)), ParameterValue(1));
    EXPECT_TRUE(modal.shown.empty());
}

TEST_F(ConnectionChainTest, AUnitRefusedWhileConnectingIsReportedOnce)
{
    struct Case {
        const char* name;
        std::function<void(FakeUnitEngine&)> setUp;
        std::string text;
    };
    const Case cases[] = {
        {"local control", [](FakeUnitEngine& e) { e.store[remoteSource] = ParameterValue(0); },
         "The unit is not in remote mode"},
        {"error message while the chain is built",
         [](FakeUnitEngine& e) { e.errorOnNextMessage = 12; }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        modal.shown.clear();
        auto unit = unitAtItsPort();
        unit->withEngine(c.setUp);
        open(CRemoteDlg::ethernet, unit->address(), 1);
        ASSERT_EQ(modal.texts(errorTemplate).size(), 1u);
        if (!c.text.empty()) {
            EXPECT_EQ(modal.texts(errorTemplate).front(), c.text);
        }
        EXPECT_EQ(modal.shown.size(), 1u);
        EXPECT_EQ(window->connectionType(), CRemoteDlg::offLine);
        EXPECT_TRUE(window->timerRunning());
        EXPECT_TRUE(waitUntil([&] { return window->retiredObjects() == 0; }));
        window->destroyWindow();
    }
}

TEST_F(ConnectionChainTest, DisconnectingTwiceDoesNothingTheSecondTime)
{
    open(CRemoteDlg::offLine, "", 1);
    window->stopTimer();
    window->disconnect();
    unsigned generation = window->connectionGeneration();
    std::size_t retired = window->retiredObjects();
    window->disconnect();
    EXPECT_EQ(window->connectionGeneration(), generation);
    EXPECT_EQ(window->retiredObjects(), retired);
    EXPECT_EQ(window->parameterSet(), nullptr);
    EXPECT_EQ(window->protocol(), nullptr);
}

TEST_F(ConnectionChainTest, TheTimerPollsTwoGroupsPerTickAndRefreshesEveryTenthTick)
{
    open(CRemoteDlg::offLine, "", 1);
    window->stopTimer();
    EXPECT_FALSE(window->stopTimer()); // stopped already
    window->startTimer();
    EXPECT_TRUE(window->stopTimer());

    const std::deque<uint8_t> queue = window->parameterSet()->pollQueue();
    uint32_t ticks = CRemoteDlg::tickCount();
    uint32_t rotation = UnitParameterSet::rotationCounter();
    window->OnTimer(2); // not the poll timer: nothing
    EXPECT_EQ(CRemoteDlg::tickCount(), ticks);
    EXPECT_EQ(window->parameterSet()->pollQueue(), queue);

    window->OnTimer(CRemoteDlg::pollTimerId);
    std::deque<uint8_t> expected = queue;
    for (int i = 0; i < 2; ++i) {
        expected.push_back(expected.front());
        expected.pop_front();
    }
    EXPECT_EQ(window->parameterSet()->pollQueue(), expected);
    EXPECT_EQ(CRemoteDlg::tickCount(), ticks + 1);
    EXPECT_EQ(UnitParameterSet::rotationCounter(), rotation + (ticks % 10 == 0 ? 1 : 0));

    for (int i = 0; i < 19; ++i) {
        window->OnTimer(CRemoteDlg::pollTimerId);
    }
    EXPECT_EQ(UnitParameterSet::rotationCounter(), rotation + 2); // every tenth tick, whichever it is
}

// The unit takes one connection at a time and a serial port opens only once: File >
// Connect to the unit the window is connected to must let go of the old link first.
TEST_F(ConnectionChainTest, FileConnectToTheSameUnitAgainConnectsAgain)
{
    auto tcpUnit = unitAtItsPort();
    FakeSerialUnit serialUnit(0x8280, 3);
    serialUnit.setValues(unitCatalogueDefaults());
    serialUnit.setValue(remoteSource, ParameterValue(2));
    struct Case {
        const char* name;
        int type;
        std::string address;
        int comPort;
    };
    const Case cases[] = {
        {"TCP", CRemoteDlg::ethernet, tcpUnit->address(), 1},
        {"serial", CRemoteDlg::serial, "8280", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        modal.shown.clear();
        open(c.type, c.address, c.comPort);
        ASSERT_EQ(window->connectionType(), c.type);
        modal.script = [&](Window& shown) {
            auto* dialog = dynamic_cast<CConnectionDlg*>(&shown);
            if (dialog == nullptr) {
                return false;
            }
            user::choose(dialog->control<ComboBox>(CConnectionDlg::connectionTypeId), c.type);
            if (c.type == CRemoteDlg::serial) {
                user::choose(dialog->control<ComboBox>(CConnectionDlg::serialPortId), c.comPort - 1);
            }
            Edit& address = dialog->control<Edit>(CConnectionDlg::addressId);
            address.setText("");
            user::type(address, c.address);
            user::click(dialog->control<Button>(IDOK));
            return true;
        };
        Notification connect;
        connect.id = CRemoteDlg::commandConnect;
        window->notify(connect);
        modal.script = nullptr;
        EXPECT_TRUE(modal.texts(errorTemplate).empty()) << modal.texts(errorTemplate).front();
        EXPECT_EQ(window->connectionType(), c.type);
        EXPECT_EQ(window->address(), c.address);
        EXPECT_TRUE(window->timerRunning());
        window->destroyWindow();
        window.reset();
    }
}

TEST_F(ConnectionChainTest, FileConnectThenCancelKeepsTheConnection)
{
    open(CRemoteDlg::offLine, "", 1);
    UnitParameterSet* set = window->parameterSet();
    Notification connect;
    connect.id = CRemoteDlg::commandConnect;
    window->notify(connect); // the user cancels the connection dialog
    EXPECT_EQ(window->parameterSet(), set);
    EXPECT_TRUE(window->timerRunning());
}

} // namespace
