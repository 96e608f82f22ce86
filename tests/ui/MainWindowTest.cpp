#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <cstdio>
#include <map>

#include "AppTestSupport.h"
#include "platform/Application.h"
#include "support/gui/UserInput.h"
#include "platform/qt/Internals.h"
#include "ui/CAboutDlg.h"
#include "ui/CConnectionDlg.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"
#include "unit/UnitParameterSet.h"

using namespace apptest;

namespace {

enum Resource { GreenOn = 160, GreenOff = 159, RedOn = 161, RedOff = 162, BlueOn = 163, BlueOff = 164 };

// The main window off line, shown as a top-level window of its own.
class MainWindowTest : public ::testing::Test {
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

    std::string text(int id) { return window.control<Static>(id).getText(); }
    int led(int id)
    {
        const Bitmap* bitmap = window.control<Static>(id).getBitmap();
        return bitmap != nullptr ? bitmap->resourceId() : 0;
    }
    Button& button(int id) { return window.control<Button>(id); }
    UnitParameterSet& set() { return *window.parameterSet(); }
    ParameterValue stored(int id) { return window.offLineStore().getValue(ParameterId(int16_t(id))); }

    TemporaryProfile profile;
    ModalUser modal;
    CRemoteDlg window{CRemoteDlg::offLine, "", 1};
};

// The main window before it has served a message: the poll timer runs, but the
// first poll, which brings the status groups, has not come yet.
class MainWindowBeforeTheFirstPollTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(window.create(nullptr)); }
};

TEST_F(MainWindowBeforeTheFirstPollTest, TextsShowTheFactoryDefaults)
{
    ASSERT_NE(window.parameterSet(), nullptr);
    EXPECT_EQ(window.connectionType(), CRemoteDlg::offLine);
    EXPECT_TRUE(window.timerRunning());

    // Texts, each through its parameter's formatter.
    EXPECT_EQ(text(1161), "Invalid Input");
    for (auto [control, expected] : {std::pair{1011, "N/A"},   // sample rate
                                     {1162, "32 kbps"},        // data rate
                                     {1163, "1+1"},            // channel mode
                                     {1031, "N/A"},            // frame rate
                                     {1079, "-1"},             // dialogue level 1
                                     {1247, "0 "}}) {          // master volume 192: 0 and a blank
        SCOPED_TRACE(control);
        EXPECT_EQ(text(control), expected);
    }
    for (int timecode : {1176, 1177, 1178, 1179}) {
        EXPECT_EQ(text(timecode), "00");
    }
    EXPECT_EQ(text(1182), "");
    // The active preset's name has not been read yet: nothing, not the number the text
    // parameter starts at.
    EXPECT_EQ(text(1012), "");
}

TEST_F(MainWindowTest, OffLineShowsTheFactoryDefaults)
{
    // Status groups arrive with the polls of the first ticks.
    ASSERT_TRUE(waitUntil([&] { return set().findParameter(ParameterId(0x1104))->value().toInt16() == 1; }));
    EXPECT_TRUE(waitUntil([&] { return text(1012) == "Preset 1"; }));
    // LEDs: input type 0 is not Vormo Digital, no error, the reference LED off, Tessiva decoding.
    EXPECT_EQ(led(1150), BlueOff);
    EXPECT_EQ(led(1153), RedOff);
    EXPECT_EQ(led(1158), GreenOff);
    EXPECT_EQ(led(1167), GreenOff);
    EXPECT_EQ(led(1168), GreenOn);
    EXPECT_EQ(led(1170), GreenOn); // downmix mode 0: "Full"
    EXPECT_EQ(led(1171), GreenOff);

    // Buttons follow the settable parameters.
    EXPECT_EQ(button(1097).getCheck(), Button::Checked); // input select 0: AES1
    EXPECT_EQ(button(1098).getCheck(), Button::Unchecked);
    EXPECT_EQ(button(1086).getCheck(), Button::Checked);
    EXPECT_EQ(button(1072).getCheck(), Button::Unchecked);
    EXPECT_EQ(button(1219).getCheck(), Button::Checked); // master volume at 192, 0 dB
    savePicture(window, "main_window_off_line");
}

TEST_F(MainWindowTest, TheMonitorOutputRebindsTheVolumeControls)
{
    Slider& slider = window.control<Slider>(MainTemplate::volumeSlider);
    Window& zeroMark = window.control<Static>(MainTemplate::volumeZeroMark);
    // Master volume: 2 to 212, at 192, inverted.
    EXPECT_EQ(text(MainTemplate::volumeTopLabel), "+10 dB");
    EXPECT_TRUE(zeroMark.isVisible());
    EXPECT_EQ(slider.getRangeMin(), -212);
    EXPECT_EQ(slider.getPos(), -192);

    set().setValue(ParameterId(0x2D04), ParameterValue(1));
    // Digital volume: 2 to 192, at 188 by default.
    EXPECT_EQ(text(MainTemplate::volumeTopLabel), "0 dB");
    EXPECT_FALSE(zeroMark.isVisible());
    EXPECT_EQ(slider.getRangeMin(), -192);
    EXPECT_EQ(slider.getPos(), -188);
    EXPECT_EQ(text(1247), "-2.0"); // the digital volume at 188
    EXPECT_EQ(button(1219).getCheck(), Button::Unchecked);

    // "Ref" now sets the digital volume to 0 dB, and leaves the master volume alone.
    set().setValue(ParameterId(0x0511), ParameterValue(100));
    user::click(button(1219));
    EXPECT_EQ(stored(0x0312).toInt16(), 192);
    EXPECT_EQ(stored(0x0511).toInt16(), 100);
    EXPECT_EQ(slider.getPos(), -192);

    set().setValue(ParameterId(0x2D04), ParameterValue(0));
    EXPECT_EQ(text(MainTemplate::volumeTopLabel), "+10 dB");
    EXPECT_TRUE(zeroMark.isVisible());
    EXPECT_EQ(slider.getPos(), -100);
}

TEST_F(MainWindowTest, ClicksAndTheSliderReachTheOffLineStore)
{
    struct Case {
        int button;
        int parameter;
        int16_t value;
    };
    const Case cases[] = {
        {1072, 0x0514, 1}, {1078, 0x051A, 1}, {1099, 0x0301, 2}, {1100, 0x0301, 3}, {1051, 0x0309, 1},
        {1081, 0x0B06, 2}, {1083, 0x0306, 2}, {1088, 0x070B, 2}, {1091, 0x0B03, 1}, {1218, 0x0513, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        user::click(button(c.button));
        EXPECT_EQ(stored(c.parameter).toInt16(), c.value);
        EXPECT_EQ(button(c.button).getCheck(), Button::Checked);
    }
    EXPECT_EQ(led(1172), GreenOn); // "Phantom" listening, a control parameter's LED
    EXPECT_EQ(led(1170), GreenOff);

    user::click(button(1072)); // unmute
    EXPECT_EQ(stored(0x0514).toInt16(), 0);

    user::drag(window.control<Slider>(MainTemplate::volumeSlider), -150);
    EXPECT_EQ(stored(0x0511).toInt16(), 150);
    EXPECT_EQ(text(1247), "-21.0"); // 150: 42 half-dB steps below 192
}

TEST_F(MainWindowTest, StatusLedsFollowTheirParameters)
{
    struct Case {
        int led;
        int parameter;
        int value;
        int bitmap;
    };
    // The off-line store stands in for the unit; the next poll of the group shows the value.
    const Case cases[] = {
        {1150, 0x1100, 2, BlueOn},  {1150, 0x1100, 1, BlueOff},  {1158, 0x1701, 1, GreenOn},
        {1158, 0x1701, 2, RedOn},   {1158, 0x1701, 3, GreenOff}, {1158, 0x1701, 0, GreenOff},
        {1153, 0x3D00, 4, RedOn},   {1153, 0x3D00, 0, RedOff},   {1173, 0x1113, 3, GreenOn},
        {1175, 0x1113, 1, GreenOn}, {1173, 0x1113, 1, GreenOff},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.led);
        SCOPED_TRACE(c.value);
        ParameterId id(int16_t(c.parameter));
        window.offLineStore().setValue(id.previousGroup(), ParameterValue(c.value), 0);
        ASSERT_TRUE(waitUntil([&] { return set().findParameter(id)->value().toInt16() == c.value; }));
        EXPECT_EQ(led(c.led), c.bitmap);
    }
}

TEST_F(MainWindowTest, TimeCodeAndLfeMarkShowTheirBytes)
{
    window.offLineStore().setValue(ParameterId(0x1301).previousGroup(), ParameterValue(0x1234), 0);
    window.offLineStore().setValue(ParameterId(0x1302).previousGroup(), ParameterValue(0x0509), 0);
    window.offLineStore().setValue(ParameterId(0x1507).previousGroup(), ParameterValue(1), 0);
    ASSERT_TRUE(waitUntil([&] { return text(1179) == "09" && text(1176) == "12" && text(1182) == "L"; }));
    EXPECT_EQ(text(1177), "34");
    EXPECT_EQ(text(1178), "05");
    window.offLineStore().setValue(ParameterId(0x1507).previousGroup(), ParameterValue(2), 0);
    ASSERT_TRUE(waitUntil([&] { return text(1182).empty(); }));
}

TEST_F(MainWindowTest, AboutBoxOpensFromTheHelpMenuWhilePollingGoesOn)
{
    uint32_t ticks = 0;
    bool seen = false;
    modal.script = [&](Window& shownWindow) {
        auto* about = dynamic_cast<CAboutDlg*>(&shownWindow);
        if (about == nullptr) {
            return false;
        }
        seen = true;
        EXPECT_EQ(DialogStack::instance().windows().back(), about);
        ticks = CRemoteDlg::tickCount();
        EXPECT_TRUE(waitUntil([&] { return CRemoteDlg::tickCount() > ticks; })); // polling goes on behind it
        EXPECT_TRUE(about->isVisible());
        savePicture(*about, "about_box");
        user::click(about->control<Button>(IDOK));
        return true;
    };
    Notification about;
    about.id = CRemoteDlg::commandAbout;
    window.notify(about);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(DialogStack::instance().windows().empty());
}

// Where each control of the left column and of the bottom row stands, by name, in the
// window's coordinates, and the size of the window's frame under "frame".
std::map<std::string, QRect> placesOfFixedControls(QWidget* root)
{
    std::map<std::string, QRect> places;
    places["frame"] = QRect(QPoint(0, 0), root->frameGeometry().size());
    for (const char* part : {"mainStatusGroup", "lowerTabs", "buttonGroups"}) {
        auto* top = root->findChild<QWidget*>(part);
        if (top == nullptr) {
            continue;
        }
        QList<QWidget*> widgets = top->findChildren<QWidget*>();
        widgets.prepend(top);
        for (QWidget* widget : widgets) {
            // The lower tab control's pages are its own: only the control itself stays put.
            if (!widget->objectName().isEmpty() && (widget == top || top->objectName() != "lowerTabs")) {
                places[widget->objectName().toStdString()] = QRect(widget->mapTo(root, QPoint(0, 0)), widget->size());
            }
        }
    }
    return places;
}

void expectSamePlaces(const std::map<std::string, QRect>& before, const std::map<std::string, QRect>& now,
                      const std::string& after)
{
    for (const auto& [name, place] : before) {
        auto found = now.find(name);
        QRect moved = found != now.end() ? found->second : QRect();
        EXPECT_EQ(moved, place) << name << " after " << after << ": " << moved.x() << "," << moved.y() << " "
                                << moved.width() << "x" << moved.height() << " instead of " << place.x() << ","
                                << place.y() << " " << place.width() << "x" << place.height();
    }
}

TEST_F(MainWindowTest, NeitherAPageNorAValueMovesTheLeftColumnAndTheBottomRowOrResizesTheWindow)
{
    QWidget* root = window.internals().live();
    ASSERT_NE(root, nullptr);
    const std::map<std::string, QRect> first = placesOfFixedControls(root);
    for (int tabs : {MainTemplate::upperTabs, MainTemplate::lowerTabs}) {
        TabControl& control = window.control<TabControl>(tabs);
        for (int i = 0; i < control.getItemCount(); ++i) {
            user::clickTab(control, i);
            processPendingMessages();
            expectSamePlaces(first, placesOfFixedControls(root), "showing " + control.getItemText(i));
        }
    }
    // The active preset's name is free text from the unit, of any length.
    for (std::size_t length : {12, 32}) {
        const std::string name(length, 'W');
        window.offLineStore().setValue(ParameterId(0x1B01).previousGroup(), ParameterValue(name), 0);
        ASSERT_TRUE(waitUntil([&] { return text(MainTemplate::presetName) == name; }));
        processPendingMessages();
        expectSamePlaces(first, placesOfFixedControls(root), std::to_string(length) + " characters of preset name");
    }
    QSize frame = root->frameGeometry().size();
    EXPECT_LE(frame.width(), 1280);
    EXPECT_LE(frame.height(), 800);
    std::printf("The main window's frame: %d x %d\n", frame.width(), frame.height());
}

// The frame a widget stands in, as the user reads it: the title of the nearest
// titled frame around it, "" for none (the window itself).
std::string frameOf(QWidget* widget, QWidget* root)
{
    for (QWidget* up = widget->parentWidget(); up != nullptr && up != root; up = up->parentWidget()) {
        auto* frame = qobject_cast<QGroupBox*>(up);
        if (frame != nullptr && !frame->title().isEmpty()) {
            return frame->title().toStdString();
        }
    }
    return "";
}

TEST_F(MainWindowTest, EachFixedCaptionStandsInItsOwnFrame)
{
    // The captions that no binding replaces, frame by frame; the pages' own captions
    // (an "L" of a meter, say) do not count for the window's frames.
    struct Frame {
        const char* title;
        std::vector<std::string> captions;
    };
    const Frame frames[] = {
        {"", {"Main Status", "Volume", "Speaker Mutes", "Downmix", "Decode", "Listening", "Compression", "Dummy"}},
        {"Main Status",
         {"Digital Input", "Vormo Digital", "Error", "AES Ref", "TS", "QX", "EB", "VH", "Input Type",
          "Sample Rate:", "Data Rate:", "Channel Mode:", "Active Preset:", "Timecode", "Dialogue Level", "Bypass"}},
        {"Digital Input", {"AES1", "Optical", "AES2", "Streaming"}},
        {"Timecode", {":"}},
        {"Volume", {"-95 dB", "Dim", "Ref", "dB"}},
        {"Speaker Mutes", {"L", "R", "C", "SW", "Ls", "Rs", "Bs"}},
        {"Downmix", {"Stereo", "Lt/Rt", "Mono"}},
        {"Decode", {"Tessiva II", "Tessiva", "QX"}},
        {"Listening", {"Full", "3 Stereo", "Phantom"}},
        {"Compression", {"Custom", "Line", "RF"}},
    };
    QWidget* root = window.internals().live();
    ASSERT_NE(root, nullptr);
    std::map<std::string, std::vector<std::string>> shown;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        shown[frameOf(label, root)].push_back(label->text().toStdString());
    }
    for (QGroupBox* frame : root->findChildren<QGroupBox*>()) {
        shown[frameOf(frame, root)].push_back(frame->title().toStdString());
    }
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        shown[frameOf(button, root)].push_back(button->text().toStdString());
    }
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.title);
        const std::vector<std::string>& inFrame = shown[frame.title];
        for (const std::string& caption : frame.captions) {
            EXPECT_NE(std::find(inFrame.begin(), inFrame.end(), caption), inFrame.end()) << caption;
        }
    }
}

// The menu bar as the user sees it: its menus, their items (an empty text for a
// separator, "> " before the items of a submenu), and a command chosen from it.
std::vector<std::string> menuTexts(QMenu* menu, const std::string& indent = "")
{
    std::vector<std::string> texts;
    for (QAction* action : menu->actions()) {
        texts.push_back(action->isSeparator() ? "" : indent + action->text().toStdString());
        if (action->menu() != nullptr) {
            std::vector<std::string> inner = menuTexts(action->menu(), indent + "> ");
            texts.insert(texts.end(), inner.begin(), inner.end());
        }
    }
    return texts;
}

// The main window run as the application runs it, modally with its menu bar: the
// menus hold the File and Help items, and choosing one runs its command. Exit ends
// the window's run.
TEST(MainWindowMenuTest, TheMenuBarHasTheFileAndHelpMenusAndItsCommandsRun)
{
    TemporaryProfile profile;
    ModalUser modal;
    std::vector<int> opened;
    bool menusChecked = false;
    modal.script = [&](Window& shownWindow) {
        auto* dialog = dynamic_cast<Dialog*>(&shownWindow);
        if (dialog == nullptr) {
            return false;
        }
        if (dynamic_cast<CRemoteDlg*>(dialog) == nullptr) {
            opened.push_back(dialog->templateId());
            // The About box closes with OK; the connection dialog is cancelled.
            user::click(dialog->control<Button>(dialog->templateId() == CAboutDlg::templateId ? IDOK : IDCANCEL));
            return true;
        }
        QMenuBar* bar = dialog->internals().live()->window()->findChild<QMenuBar*>();
        EXPECT_NE(bar, nullptr);
        if (bar == nullptr || bar->actions().size() != 2) {
            user::closeWindow(*dialog);
            return true;
        }
        QMenu* file = bar->actions()[0]->menu();
        QMenu* help = bar->actions()[1]->menu();
        EXPECT_EQ(bar->actions()[0]->text().toStdString(), "&File");
        EXPECT_EQ(bar->actions()[1]->text().toStdString(), "&Help");
        EXPECT_EQ(menuTexts(file), (std::vector<std::string>{"&Connect...", "", "&Open Configuration File...",
                                                             "&Save Configuration File...", "Export",
                                                             "> &Text...", "> &HTML...", "", "E&xit"}));
        EXPECT_EQ(menuTexts(help), std::vector<std::string>{"&About QZ347Remote..."});
        menusChecked = true;
        help->actions()[0]->trigger();
        file->actions()[0]->trigger();
        file->actions().back()->trigger(); // Exit
        return true;
    };
    CRemoteDlg window(CRemoteDlg::offLine, "", 1);
    window.runModal();
    EXPECT_TRUE(menusChecked);
    EXPECT_EQ(opened, (std::vector<int>{CAboutDlg::templateId, CConnectionDlg::templateId}));
    EXPECT_FALSE(window.isRunningModal());
}

} // namespace
