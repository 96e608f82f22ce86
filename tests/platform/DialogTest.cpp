#include <gtest/gtest.h>

#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>

#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "PlatformTestSupport.h"
#include "platform/Application.h"
#include "platform/Dialog.h"
#include "support/gui/UserInput.h"
#include "platform/qt/Internals.h"
#include "platform/qt/Widgets.h"

namespace {

enum Id {
    Caption = 1001,
    EditId = 1002,
    RadioA = 1003,
    RadioB = 1004,
    CheckId = 1005,
    PushId = 1006,
    ListId = 1007,
    DropdownId = 1008,
    HorizontalId = 1009,
    VerticalId = 1010,
    SpinId = 1011,
    MeterId = 1012,
    NumberId = 1013,
    TabsId = 1014,
    HiddenDefault = 57674,
};

using Seen = std::tuple<int, Notify, int>;

// The test template with every kind of control; it records every notification.
class TestDialog : public Dialog {
public:
    TestDialog() : Dialog(9000)
    {
        for (Notify code : {Notify::Clicked, Notify::EditChange, Notify::KillFocus, Notify::SelChange,
                            Notify::HScroll, Notify::VScroll}) {
            connect(AnyControl, code, [this](Notification& n) {
                seen.emplace_back(n.id, n.code, n.scrollCode);
                if (n.code == Notify::HScroll || n.code == Notify::VScroll) {
                    positions.push_back(static_cast<Slider*>(n.control)->getPos());
                }
            });
        }
        connect(AnyControl, Notify::DeltaPos, [this](Notification& n) {
            seen.emplace_back(n.id, n.code, n.upDown->delta);
            *n.result = 0;
        });
    }

    std::vector<Seen> seen;
    std::vector<int> positions;
    std::function<void()> onInit;
    int ticks = 0;
    std::function<void(unsigned)> timerAction;

    std::vector<Seen> take()
    {
        std::vector<Seen> result;
        result.swap(seen);
        return result;
    }

protected:
    bool onInitDialog() override
    {
        if (onInit) {
            onInit();
        }
        return true;
    }
    void timerElapsed(unsigned id) override
    {
        ++ticks;
        if (timerAction) {
            timerAction(id);
        }
    }
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.create(nullptr));
        dialog.show(true);
        user::focus(dialog.control<Button>(PushId)); // a control without focus notifications
        processPendingMessages();
        dialog.take();
    }
    void TearDown() override
    {
        user::onModal(nullptr);
        dialog.destroyWindow();
        processPendingMessages();
    }

    QWidget* widgetOf(int id) { return dialog.control<Window>(id).internals().live(); }

    TestDialog dialog;
};

TEST_F(DialogTest, ValuesSetByProgramRaiseNoNotificationButTheUsersActionsDo)
{
    dialog.control<Button>(CheckId).setCheck(Button::Checked);
    dialog.control<Button>(RadioA).setCheck(Button::Checked);
    dialog.control<ComboBox>(ListId).setCurSel(1);
    dialog.control<Slider>(HorizontalId).setPos(30);
    dialog.control<TabControl>(TabsId).insertItem(0, "One");
    dialog.control<TabControl>(TabsId).insertItem(1, "Two");
    dialog.control<TabControl>(TabsId).setCurSel(1);
    EXPECT_TRUE(dialog.take().empty());

    // Setting an edit's text is the one program action that notifies.
    dialog.control<Edit>(EditId).setText("abc");
    EXPECT_EQ(dialog.take(), (std::vector<Seen>{{EditId, Notify::EditChange, 0}}));

    user::click(dialog.control<Button>(CheckId));
    EXPECT_EQ(dialog.control<Button>(CheckId).getCheck(), Button::Unchecked);
    user::choose(dialog.control<ComboBox>(ListId), 2);
    EXPECT_EQ(dialog.control<ComboBox>(ListId).getCurSel(), 2);
    user::clickTab(dialog.control<TabControl>(TabsId), 0);
    EXPECT_EQ(dialog.control<TabControl>(TabsId).getCurSel(), 0);
    auto seen = dialog.take();
    // Choosing moves the focus to the list: the check box had it, and a check box has no
    // kill-focus notification.
    EXPECT_EQ(seen, (std::vector<Seen>{{CheckId, Notify::Clicked, 0},
                                       {ListId, Notify::SelChange, 0},
                                       {TabsId, Notify::SelChange, 0}}));
    savePicture(dialog, "dialog_controls");
}

TEST_F(DialogTest, RadioButtonsOfAGroupCheckExclusivelyAndMayAllBeClear)
{
    Button& a = dialog.control<Button>(RadioA);
    Button& b = dialog.control<Button>(RadioB);
    a.setCheck(Button::Checked);
    user::click(b);
    EXPECT_EQ(a.getCheck(), Button::Unchecked);
    EXPECT_EQ(b.getCheck(), Button::Checked);
    user::click(b); // clicking the checked radio button leaves it checked
    EXPECT_EQ(b.getCheck(), Button::Checked);
    b.setCheck(Button::Unchecked);
    EXPECT_EQ(a.getCheck() + b.getCheck(), 0);
    EXPECT_EQ(dialog.take(), (std::vector<Seen>{{RadioB, Notify::Clicked, 0}, {RadioB, Notify::Clicked, 0}}));
}

TEST_F(DialogTest, ThePushedLookIsAStateOfItsOwn)
{
    Button& a = dialog.control<Button>(RadioA);
    a.setState(true);
    EXPECT_EQ(a.getState() & Button::PushedBit, Button::PushedBit);
    EXPECT_EQ(a.getCheck(), Button::Unchecked);
    user::click(a);
    EXPECT_EQ(a.getState() & (Button::PushedBit | Button::CheckedBit),
              Button::PushedBit | Button::CheckedBit);
    a.setState(false);
    EXPECT_EQ(a.getState() & Button::PushedBit, 0);
    EXPECT_EQ(a.getCheck(), Button::Checked);

    // The pushed look is drawn sunken: the picture differs from the plain one.
    Button& push = dialog.control<Button>(PushId);
    Grab plain(push);
    push.setState(true);
    Grab pushed(push);
    bool differs = false;
    for (int y = 0; y < plain.height() && !differs; ++y) {
        for (int x = 0; x < plain.width() && !differs; ++x) {
            differs = plain.pixel(x, y) != pushed.pixel(x, y);
        }
    }
    EXPECT_TRUE(differs);
    savePicture(push, "pushed_button");
}

TEST_F(DialogTest, KillFocusOnlyOnRealFocusLoss)
{
    Edit& edit = dialog.control<Edit>(EditId);
    ComboBox& dropdown = dialog.control<ComboBox>(DropdownId);
    dropdown.addString("beta");
    dropdown.addString("alpha");
    user::focus(edit);
    user::press(edit, user::Key::Enter); // goes to the hidden default button; the edit keeps the focus
    EXPECT_EQ(dialog.take(), (std::vector<Seen>{{HiddenDefault, Notify::Clicked, 0}}));

    user::focus(dropdown);
    EXPECT_EQ(dialog.take(), (std::vector<Seen>{{EditId, Notify::KillFocus, 0}}));
    user::choose(dropdown, 0); // the list drops down and closes: no focus loss
    EXPECT_EQ(dialog.take(), (std::vector<Seen>{{DropdownId, Notify::SelChange, 0}}));
    user::focus(edit);
    EXPECT_EQ(dialog.take(), (std::vector<Seen>{{DropdownId, Notify::KillFocus, 0}}));
}

TEST_F(DialogTest, ComboBoxesKeepTheirItemsSortedOrInOrderAndSelectNothingByThemselves)
{
    ComboBox& list = dialog.control<ComboBox>(ListId);
    EXPECT_EQ(list.getCount(), 3); // the template's items
    EXPECT_EQ(list.getCurSel(), ComboBox::Error);
    list.resetContent();
    EXPECT_EQ(list.addString("b"), 0);
    EXPECT_EQ(list.addString("a"), 1);
    EXPECT_EQ(list.getCurSel(), ComboBox::Error);
    EXPECT_EQ(list.insertString(0, "c"), 0);
    EXPECT_EQ(list.getLBText(0), "c");
    EXPECT_EQ(list.deleteString(0), 2);
    EXPECT_EQ(list.setCurSel(5), ComboBox::Error);

    ComboBox& dropdown = dialog.control<ComboBox>(DropdownId);
    dropdown.addString("pear");
    dropdown.addString("Apple");
    dropdown.addString("fig");
    EXPECT_EQ(dropdown.getLBText(0), "Apple");
    EXPECT_EQ(dropdown.getLBText(2), "pear");
    dropdown.setCurSel(1);
    EXPECT_EQ(dropdown.getText(), "fig");
    user::type(dropdown, "s");
    EXPECT_EQ(dropdown.getCurSel(), ComboBox::Error); // typed text selects no item
    EXPECT_EQ(dropdown.getText(), "figs");
    dropdown.resetContent();
    EXPECT_EQ(dropdown.getText(), "figs");
}

TEST_F(DialogTest, AListReplacedInOneStepHoldsWhatAddingOneByOneGives)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"pear", "Apple", "fig"},
        {"b", "B", "a", "b", "A", "ab", "a"}, // case ignored, equal texts in the order given
        {"\xE9t\xE9", "\xC9T\xC9", "zeta", "\x01", "\xFF"},
    };
    for (int id : {ListId, DropdownId}) {
        ComboBox& combo = dialog.control<ComboBox>(id);
        for (const std::vector<std::string>& items : cases) {
            SCOPED_TRACE(std::to_string(id) + ": " + std::to_string(items.size()) + " items");
            combo.resetContent();
            for (const std::string& item : items) {
                combo.addString(item);
            }
            std::vector<std::string> added;
            for (int i = 0; i < combo.getCount(); ++i) {
                added.push_back(combo.getLBText(i));
            }
            combo.setText("typed");
            combo.replaceList(items);
            std::vector<std::string> replaced;
            for (int i = 0; i < combo.getCount(); ++i) {
                replaced.push_back(combo.getLBText(i));
            }
            EXPECT_EQ(replaced, added);
            EXPECT_EQ(combo.getCurSel(), ComboBox::Error);
        }
    }
    EXPECT_EQ(dialog.control<ComboBox>(DropdownId).getText(), "typed"); // the edit part keeps its text
    EXPECT_TRUE(dialog.take().empty());
}

TEST_F(DialogTest, TextsAreBytesBothWays)
{
    std::string all;
    for (int c = 1; c < 256; ++c) {
        all += char(c);
    }
    dialog.control<Edit>(EditId).setText(all);
    EXPECT_EQ(dialog.control<Edit>(EditId).getText(), all);
    dialog.control<ComboBox>(DropdownId).setText(all);
    EXPECT_EQ(dialog.control<ComboBox>(DropdownId).getText(), all);
    dialog.control<Static>(Caption).setText(all);
    EXPECT_EQ(dialog.control<Static>(Caption).getText(), all);
    user::type(dialog.control<Edit>(NumberId), "4\xE9");
    EXPECT_EQ(dialog.control<Edit>(NumberId).getText(), "4"); // digits only
}

TEST_F(DialogTest, LabelsFollowTheMnemonicRuleAndShowPlainText)
{
    auto* label = qobject_cast<QLabel*>(widgetOf(Caption));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "R&D Level"); // the template's "R&&D &Level"
    EXPECT_EQ(dialog.control<Static>(Caption).getText(), "R&&D &Level");
    dialog.control<Static>(Caption).setText("<b>A&&B</b>");
    EXPECT_EQ(label->text(), "<b>A&B</b>");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST_F(DialogTest, AnEditLimitHoldsForTypingOnly)
{
    Edit& edit = dialog.control<Edit>(EditId);
    ComboBox& dropdown = dialog.control<ComboBox>(DropdownId);
    edit.setLimitText(3);
    dropdown.setLimitText(3);
    for (Window* control : {static_cast<Window*>(&edit), static_cast<Window*>(&dropdown)}) {
        SCOPED_TRACE(control->id());
        user::type(*control, "abcdef");
        EXPECT_EQ(control->getText(), "abc");
        control->setText("a longer text");
        EXPECT_EQ(control->getText(), "a longer text");
    }
    // An item chosen from the list is shown whole too.
    dropdown.replaceList({"a longer item"});
    user::choose(dropdown, 0);
    EXPECT_EQ(dropdown.getText(), "a longer item");
}

TEST_F(DialogTest, TrackBarCodesArriveWithTheThumbMoved)
{
    Slider& vertical = dialog.control<Slider>(VerticalId);
    vertical.setRangeMin(0);
    vertical.setRangeMax(40);
    vertical.setPos(20);
    vertical.setLineSize(1);
    vertical.setPageSize(10);
    user::press(vertical, user::Key::Up); // up lowers the position: the minimum is at the top
    user::press(vertical, user::Key::PageUp);
    user::press(vertical, user::Key::Down);
    user::press(vertical, user::Key::End);
    EXPECT_EQ(dialog.take(), (std::vector<Seen>{{VerticalId, Notify::VScroll, LineUp},
                                                {VerticalId, Notify::VScroll, PageUp},
                                                {VerticalId, Notify::VScroll, LineDown},
                                                {VerticalId, Notify::VScroll, Bottom}}));
    EXPECT_EQ(dialog.positions, (std::vector<int>{19, 9, 10, 40}));
    dialog.positions.clear();

    // The minimum is drawn at the top.
    auto* slider = qobject_cast<QSlider*>(widgetOf(VerticalId));
    EXPECT_TRUE(slider->invertedAppearance());

    Slider& horizontal = dialog.control<Slider>(HorizontalId);
    horizontal.setRangeMin(-10);
    horizontal.setRangeMax(10);
    user::drag(horizontal, 7);
    EXPECT_EQ(dialog.take(), (std::vector<Seen>{{HorizontalId, Notify::HScroll, ThumbTrack},
                                                {HorizontalId, Notify::HScroll, ThumbPosition},
                                                {HorizontalId, Notify::HScroll, EndScroll}}));
    EXPECT_EQ(horizontal.getPos(), 7);
    EXPECT_EQ(horizontal.getRangeMin(), -10);
}

TEST_F(DialogTest, UpDownArrowsNotifyTheirDelta)
{
    user::stepUp(dialog.control<SpinButton>(SpinId));
    user::stepDown(dialog.control<SpinButton>(SpinId));
    EXPECT_EQ(dialog.take(),
              (std::vector<Seen>{{SpinId, Notify::DeltaPos, -1}, {SpinId, Notify::DeltaPos, 1}}));
    // The arrow keys in the edit the spin serves work its arrows.
    user::press(dialog.control<Edit>(NumberId), user::Key::Up);
    user::press(dialog.control<Edit>(NumberId), user::Key::Down);
    EXPECT_EQ(dialog.take(),
              (std::vector<Seen>{{SpinId, Notify::DeltaPos, -1}, {SpinId, Notify::DeltaPos, 1}}));
}

TEST_F(DialogTest, SolidRectanglesStayPainted)
{
    Static& meter = dialog.control<Static>(MeterId);
    Rect area = meter.clientRect();
    ASSERT_GT(area.width(), 20);
    meter.fillSolidRect(area, rgb(0, 0, 128));
    meter.fillSolidRect(Rect{0, 0, 10, area.bottom}, rgb(255, 190, 0));
    Grab grab(meter);
    EXPECT_EQ(grab.pixel(5, area.height() / 2), rgb(255, 190, 0));
    EXPECT_EQ(grab.pixel(15, area.height() / 2), rgb(0, 0, 128));
    savePicture(meter, "solid_rectangles");
}

TEST_F(DialogTest, AMissingFontFaceFallsBackToAMonospacedOne)
{
    Static& caption = dialog.control<Static>(Caption);
    FontDescription font = caption.getFont();
    font.face = "No Such Face At All";
    font.height = -26;
    std::string used = caption.setFont(font);
    EXPECT_FALSE(used.empty());
    EXPECT_NE(used, "No Such Face At All");
    EXPECT_EQ(caption.getFont().height, -26);
}

TEST_F(DialogTest, ControlsAreFoundByIdAndKind)
{
    EXPECT_TRUE(dialog.hasControl(EditId));
    EXPECT_FALSE(dialog.hasControl(4242));
    Edit wrong;
    EXPECT_THROW(dialog.attach(wrong, CheckId), std::runtime_error);
    EXPECT_THROW(dialog.attach(wrong, 4242), std::runtime_error);
    Button& owned = dialog.control<Button>(CheckId);
    Button mine;
    dialog.attach(mine, CheckId);
    EXPECT_TRUE(mine.isSameWindow(&owned));
    EXPECT_EQ(mine.id(), CheckId);
    user::click(mine);
    ASSERT_EQ(dialog.seen.size(), 1U);
    // The notification carries the wrapper bound last.
    dialog.connect(CheckId, Notify::Clicked, [&](Notification& n) { EXPECT_EQ(n.control, &mine); });
    user::click(mine);
}

TEST_F(DialogTest, PagesLieInTheTabControlsDisplayArea)
{
    TabControl& tabs = dialog.control<TabControl>(TabsId);
    Dialog first(9001);
    Dialog second(9001);
    ASSERT_TRUE(first.create(&tabs));
    ASSERT_TRUE(second.create(&tabs));
    tabs.insertItem(0, "First");
    tabs.insertItem(1, "Second");
    second.show(false);
    processPendingMessages();
    EXPECT_TRUE(first.isVisible());
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(tabs.getItemCount(), 2);
    EXPECT_EQ(tabs.getItemText(1), "Second");
    savePicture(dialog, "tab_pages");
    EXPECT_TRUE(tabs.deleteAllItems());
    EXPECT_EQ(tabs.getCurSel(), -1);
    first.destroyWindow();
    EXPECT_FALSE(first.hasWindow());
    EXPECT_TRUE(second.hasWindow());
}

// More tabs than one row holds: they wrap into rows, every caption whole, and the row
// of the tab the user picks moves next to the page while the others keep their order.
TEST_F(DialogTest, TabsWrapIntoRowsAndThePickedRowMovesNextToThePage)
{
    TabControl& tabs = dialog.control<TabControl>(TabsId);
    auto* frame = qobject_cast<QzTabFrame*>(widgetOf(TabsId));
    ASSERT_NE(frame, nullptr);
    frame->setFixedWidth(320);
    frame->setMinimumHeight(0); // the height is what the rows and the page need
    const std::vector<std::string> captions = {"Metadata Status", "Operating Mode", "Monitor Control",
                                               "User Presets",    "I/O Control",    "Monitor Configuration",
                                               "System Settings", "Streaming"};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        tabs.insertItem(int(i), captions[i]);
    }
    processPendingMessages();
    QzTabRows* bar = frame->tabBar();
    ASSERT_GT(bar->rowCount(), 1);
    auto rowOf = [&](int index) { return bar->tabRect(index).top() / bar->tabRect(index).height(); };
    int bottomRow = bar->rowCount() - 1;
    for (int i = 0; i < bar->count(); ++i) {
        SCOPED_TRACE(captions[std::size_t(i)]);
        QRect tab = bar->tabRect(i);
        EXPECT_TRUE(bar->rect().contains(tab));
        EXPECT_GE(tab.width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i)));
    }
    EXPECT_EQ(rowOf(0), bottomRow); // the first tab is selected
    EXPECT_GE(bar->height(), bar->rowCount() * bar->tabRect(0).height());

    int last = bar->count() - 1;
    ASSERT_NE(rowOf(last), bottomRow);
    user::clickTab(tabs, last);
    EXPECT_EQ(tabs.getCurSel(), last);
    EXPECT_EQ(rowOf(last), bottomRow);
    EXPECT_LT(rowOf(0), bottomRow);
    for (int i = 0; i + 1 < bar->count(); ++i) {
        if (rowOf(i) == rowOf(i + 1)) {
            EXPECT_LT(bar->tabRect(i).left(), bar->tabRect(i + 1).left()); // order within a row
        }
    }
    savePicture(dialog, "tab_rows");
}

// A checked push-like button shows in the highlight colour, plain to tell from an
// unchecked one.
TEST_F(DialogTest, ACheckedPushLikeButtonShowsTheHighlight)
{
    Button& button = dialog.control<Button>(RadioA);
    QColor highlight = widgetOf(RadioA)->palette().color(QPalette::Highlight);
    auto middle = [&] {
        Grab picture(button);
        return QColor(redOf(picture.pixel(picture.width() / 2, 3)), greenOf(picture.pixel(picture.width() / 2, 3)),
                      blueOf(picture.pixel(picture.width() / 2, 3)));
    };
    auto distance = [&](const QColor& colour) {
        return std::abs(colour.red() - highlight.red()) + std::abs(colour.green() - highlight.green()) +
               std::abs(colour.blue() - highlight.blue());
    };
    int unchecked = distance(middle());
    button.setCheck(Button::Checked);
    int checked = distance(middle());
    EXPECT_LT(checked, 60);
    EXPECT_GT(unchecked, 150);
    savePicture(button, "checked_push_like_button");
}

TEST_F(DialogTest, AnExceptionOfAHandlerComesOutOfTheUsersAction)
{
    dialog.connect(PushId, Notify::Clicked,
                   [](Notification&) { throw std::logic_error("from the handler"); });
    EXPECT_THROW(user::click(dialog.control<Button>(PushId)), std::logic_error);
    dialog.connect(EditId, Notify::EditChange,
                   [](Notification&) { throw std::logic_error("from the edit"); });
    EXPECT_THROW(dialog.control<Edit>(EditId).setText("x"), std::logic_error);
}

// --- Modal runs ----------------------------------------------------------------------

TEST(ModalDialogTest, EnterGoesToTheHiddenDefaultButtonEscapeCancels)
{
    TestDialog dialog;
    int defaultClicks = 0;
    dialog.connect(HiddenDefault, Notify::Clicked, [&](Notification&) { ++defaultClicks; });
    user::onModal([&](Window& modal) {
        EXPECT_EQ(&modal, &dialog);
        savePicture(modal, "modal_dialog");
        user::press(dialog.control<Edit>(EditId), user::Key::Enter);
        user::press(dialog.control<Edit>(EditId), user::Key::Escape);
    });
    EXPECT_EQ(dialog.runModal(), IDCANCEL);
    user::onModal(nullptr);
    EXPECT_EQ(defaultClicks, 1);
    EXPECT_FALSE(dialog.hasWindow());
}

TEST(ModalDialogTest, TheCloseBoxAndAPostedCloseCancel)
{
    TestDialog dialog;
    user::onModal([&](Window& modal) { user::closeWindow(modal); });
    EXPECT_EQ(dialog.runModal(), IDCANCEL);
    user::onModal([&](Window& modal) { modal.postClose(); });
    EXPECT_EQ(dialog.runModal(), IDCANCEL);
    user::onModal(nullptr);
}

TEST(ModalDialogTest, TheOkAndCancelButtonsAndExitEndTheRunWithoutHandlers)
{
    Dialog dialog(9000);
    for (auto [command, result] : {std::pair{IDOK, IDOK}, {IDCANCEL, IDCANCEL}, {ID_APP_EXIT, IDCANCEL}}) {
        user::onModal([&, command = command](Window&) {
            Notification n;
            n.id = command;
            dialog.notify(n);
        });
        EXPECT_EQ(dialog.runModal(), result) << command;
    }
    user::onModal(nullptr);
}

TEST(ModalDialogTest, TimersKeepTickingInANestedModalRun)
{
    TestDialog outer;
    TestDialog inner;
    int innerTicksSeenByOuter = 0;
    outer.onInit = [&] { outer.setTimer(1, 5); };
    outer.timerAction = [&](unsigned id) {
        EXPECT_EQ(id, 1U);
        if (inner.isRunningModal()) {
            if (++innerTicksSeenByOuter == 3) {
                inner.endDialog(IDOK);
            }
        } else if (outer.ticks == 1) {
            user::onModal(nullptr);
            EXPECT_EQ(inner.runModal(), IDOK); // nested in the outer dialog's timer message
            outer.endDialog(IDOK);
        }
    };
    EXPECT_EQ(outer.runModal(), IDOK);
    EXPECT_EQ(innerTicksSeenByOuter, 3);
}

// A tick may run a modal dialog, from whose ticks another may run: every timer goes
// on ticking in the innermost run, the ones whose ticks are still being handled too.
TEST(ModalDialogTest, EveryTimerTicksInModalRunsNestedInTicks)
{
    constexpr unsigned runsNext = 1; // its first tick runs the next dialog modally
    constexpr unsigned other = 2;
    constexpr unsigned watchdog = 3; // a failure ends the run instead of hanging
    struct Case {
        const char* name;
        int depth; // modal runs nested in ticks
        int level; // of the dialog whose timer is watched, 0 the outermost
        unsigned timerId;
    };
    const std::vector<Case> cases = {
        {"the timer whose tick runs it", 1, 0, runsNext},
        {"another timer of that dialog", 1, 0, other},
        {"the modal dialog's own", 1, 1, other},
        {"the outermost one, two runs deep", 2, 0, runsNext},
        {"the middle one, whose tick runs the innermost", 2, 1, runsNext},
        {"the innermost dialog's own", 2, 2, other},
    };
    user::onModal(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<TestDialog, 3> dialogs; // the outermost first
        TestDialog& innermost = dialogs[std::size_t(c.depth)];
        innermost.onInit = [&] { innermost.setTimer(watchdog, 5000); };
        std::array<bool, 3> started{};
        int watchedTicks = 0;
        for (std::size_t level = 0; level <= std::size_t(c.depth); ++level) {
            TestDialog& dialog = dialogs[level];
            auto init = dialog.onInit;
            dialog.onInit = [&dialog, init] {
                dialog.setTimer(runsNext, 1);
                dialog.setTimer(other, 1);
                if (init) {
                    init();
                }
            };
            dialog.timerAction = [&, level](unsigned id) {
                if (int(level) == c.level && id == c.timerId && innermost.isRunningModal() &&
                    ++watchedTicks == 3) {
                    innermost.endDialog(IDOK);
                }
                if (id == watchdog) {
                    innermost.endDialog(IDCANCEL);
                }
                if (int(level) < c.depth && id == runsNext && !started[level]) {
                    started[level] = true;
                    EXPECT_EQ(dialogs[level + 1].runModal(), IDOK);
                    dialog.endDialog(IDOK);
                }
            };
        }
        EXPECT_EQ(dialogs[0].runModal(), IDOK);
        EXPECT_EQ(watchedTicks, 3);
    }
}

// A timer killed or set anew inside a modal run nested in its own tick, by its own
// tick there or by the modal dialog's, ticks no more at its old interval, neither in
// that run nor after it.
TEST(ModalDialogTest, ATimerKilledOrSetAnewInANestedRunStopsTicking)
{
    constexpr unsigned watched = 1;
    constexpr unsigned ending = 2;
    struct Case {
        const char* name;
        bool byItsOwnTick; // else by the modal dialog's first tick
        bool kill;         // else set anew with an interval far longer than the test
    };
    const std::vector<Case> cases = {
        {"killed by its own tick", true, true},
        {"set anew by its own tick", true, false},
        {"killed by the modal dialog's tick", false, true},
        {"set anew by the modal dialog's tick", false, false},
    };
    user::onModal(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestDialog outer;
        TestDialog inner;
        int watchedTicks = 0;
        int ticksAfterChange = -1;
        bool changedInTheNestedRun = false;
        auto change = [&] {
            changedInTheNestedRun = inner.isRunningModal();
            if (c.kill) {
                EXPECT_TRUE(outer.killTimer(watched));
            } else {
                EXPECT_EQ(outer.setTimer(watched, 600000), watched);
            }
            ticksAfterChange = 0;
        };
        outer.onInit = [&] { outer.setTimer(watched, 1); };
        outer.timerAction = [&](unsigned id) {
            if (id == ending) {
                if (outer.ticks > 30) {
                    outer.endDialog(IDOK);
                }
                return;
            }
            ++watchedTicks;
            if (ticksAfterChange >= 0) {
                ++ticksAfterChange;
            } else if (watchedTicks == 1) {
                EXPECT_EQ(inner.runModal(), IDOK);
                outer.setTimer(ending, 1); // a while longer for a tick that should not come
            } else if (c.byItsOwnTick) {
                change();
            }
        };
        inner.onInit = [&] { inner.setTimer(ending, 1); };
        inner.timerAction = [&](unsigned) {
            if (!c.byItsOwnTick && inner.ticks == 1) {
                change();
            }
            if ((ticksAfterChange >= 0 && inner.ticks >= 20) || inner.ticks >= 5000) {
                inner.endDialog(IDOK);
            }
        };
        EXPECT_EQ(outer.runModal(), IDOK);
        EXPECT_TRUE(changedInTheNestedRun);
        EXPECT_EQ(ticksAfterChange, 0);
    }
}

TEST(ModalDialogTest, AnExceptionEndsTheInnermostRunAndLeavesRunModal)
{
    TestDialog dialog;
    dialog.connect(PushId, Notify::Clicked, [](Notification&) { throw std::range_error("in the loop"); });
    dialog.onInit = [&] { dialog.setTimer(7, 1); };
    dialog.timerAction = [&](unsigned) {
        dialog.killTimer(7);
        Notification n;
        n.id = PushId;
        dialog.notify(n);
    };
    EXPECT_THROW(dialog.runModal(), std::range_error);
    EXPECT_FALSE(dialog.hasWindow());
    // An exception of the initialisation leaves at once.
    dialog.onInit = [] { throw std::invalid_argument("init"); };
    EXPECT_THROW(dialog.runModal(), std::invalid_argument);
}

TEST(ModalDialogTest, EndingTheApplicationEndsEveryRun)
{
    TestDialog outer;
    TestDialog inner;
    outer.onInit = [&] { outer.setTimer(1, 1); };
    int innerResult = 0;
    outer.timerAction = [&](unsigned) {
        outer.killTimer(1);
        inner.onInit = [&] { inner.setTimer(2, 1); };
        inner.timerAction = [&](unsigned) { quitApplication(); };
        innerResult = inner.runModal();
    };
    EXPECT_EQ(outer.runModal(), -1);
    EXPECT_EQ(innerResult, -1);
    EXPECT_FALSE(applicationQuitting()); // the outermost run took the quit
}

// A quit that comes while a dialog is still being set up (a request to end while the
// main window connects, say) ends its run before its loop starts, also when it comes in
// a run the set-up started; the dialog's own run still takes the quit.
TEST(ModalDialogTest, AQuitDuringTheSetUpEndsTheRunBeforeItsLoop)
{
    struct Case {
        const char* where;
        std::function<void(TestDialog& nested)> quit;
    };
    const Case cases[] = {
        {"in a dialog the set-up runs",
         [](TestDialog& nested) {
             nested.onInit = [&] { nested.setTimer(2, 1); };
             nested.timerAction = [](unsigned) { quitApplication(); };
             EXPECT_EQ(nested.runModal(), -1);
         }},
        {"in the set-up itself", [](TestDialog&) { quitApplication(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        TestDialog dialog;
        TestDialog nested;
        bool dialogsLoopRan = false;
        user::onModal([&](Window& modal) {
            if (&modal == &dialog) {
                dialogsLoopRan = true;
                dialog.endDialog(IDOK);
            }
        });
        dialog.onInit = [&] { c.quit(nested); };
        EXPECT_EQ(dialog.runModal(), -1);
        user::onModal(nullptr);
        EXPECT_FALSE(dialogsLoopRan);
        EXPECT_FALSE(applicationQuitting());
    }
}

TEST(ModalDialogTest, AMissingTemplateRunsNothing)
{
    Dialog missing(4711);
    EXPECT_EQ(missing.runModal(), -1);
    EXPECT_FALSE(missing.create(nullptr));
}

// --- Timers of a modeless dialog ------------------------------------------------------

// Runs the messages until the dialog's first tick and a while after it.
void pumpPastFirstTick(const int& ticks)
{
    using Clock = std::chrono::steady_clock;
    auto giveUp = Clock::now() + std::chrono::seconds(5);
    while (ticks == 0 && Clock::now() < giveUp) {
        processPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (int i = 0; i < 30; ++i) {
        processPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// What a tick does to its dialog's timers or window holds at once: no tick follows,
// not even one of another timer that was due in the same round.
TEST(DialogTimerTest, WhatATickDoesToItsTimersHoldsAtOnce)
{
    struct Case {
        const char* name;
        std::function<void(std::unique_ptr<TestDialog>&)> inTick;
        bool windowRemains;
        bool throws = false;
    };
    auto killBoth = [](std::unique_ptr<TestDialog>& dialog) {
        EXPECT_TRUE(dialog->killTimer(1));
        EXPECT_TRUE(dialog->killTimer(2));
    };
    const std::vector<Case> cases = {
        {"kills them", killBoth, true},
        {"sets them anew",
         [](auto& dialog) {
             EXPECT_EQ(dialog->setTimer(1, 600000), 1U);
             EXPECT_EQ(dialog->setTimer(2, 600000), 2U);
         },
         true},
        {"kills them and throws",
         [&](auto& dialog) {
             killBoth(dialog);
             throw std::runtime_error("from the tick");
         },
         true, true},
        {"destroys the window", [](auto& dialog) { dialog->destroyWindow(); }, false},
        {"destroys the dialog", [](auto& dialog) { dialog.reset(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = std::make_unique<TestDialog>();
        ASSERT_TRUE(dialog->create(nullptr));
        int ticks = 0;
        dialog->timerAction = [&](unsigned) {
            ++ticks;
            c.inTick(dialog);
        };
        dialog->setTimer(1, 1);
        dialog->setTimer(2, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5)); // both due in the first round
        int thrown = 0;
        try {
            pumpPastFirstTick(ticks);
        } catch (const std::runtime_error&) {
            ++thrown;
            pumpPastFirstTick(ticks);
        }
        EXPECT_EQ(ticks, 1);
        EXPECT_EQ(thrown, c.throws ? 1 : 0);
        EXPECT_EQ(dialog != nullptr && dialog->hasWindow(), c.windowRemains);
        if (dialog != nullptr) {
            dialog->destroyWindow();
        }
        processPendingMessages();
    }
}

// A tick handled for many intervals is followed by one tick, not by the ones it outlasted.
TEST(DialogTimerTest, ALongTickIsNotFollowedByABurst)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.timerAction = [&](unsigned) {
        if (dialog.ticks == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    };
    dialog.setTimer(1, 1);
    while (dialog.ticks == 0) {
        processPendingMessages();
    }
    constexpr int rounds = 3;
    for (int i = 0; i < rounds; ++i) {
        processPendingMessages();
    }
    EXPECT_LE(dialog.ticks, 1 + rounds); // at most one per round
    dialog.destroyWindow();
    processPendingMessages();
}

// --- Windows and the screen -----------------------------------------------------------

// Serves the messages until the condition holds, for five seconds at the most.
bool servedUntil(const std::function<bool()>& condition)
{
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition() && std::chrono::steady_clock::now() < giveUp) {
        processPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
}

// The window within the screen's available area, its contents scrolled below its menu
// bar, and each of the controls, scrolled into view, on the screen.
void expectWithinScreenAndInReach(Dialog& dialog, std::initializer_list<int> controls)
{
    QWidget* top = dialog.internals().live();
    const QRect available = top->screen()->availableGeometry();
    EXPECT_TRUE(servedUntil([&] { return available.contains(top->frameGeometry()); }));
    EXPECT_LE(top->minimumWidth(), available.width());
    EXPECT_LE(top->minimumHeight(), available.height());
    auto* scroller = top->findChild<QScrollArea*>();
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(top->findChild<QMenuBar*>()->parentWidget(), top) << "the menu bar scrolls away";
    for (int id : controls) {
        QWidget* control = dialog.control<Button>(id).internals().live();
        scroller->ensureWidgetVisible(control, 0, 0);
        const QRect inView(scroller->viewport()->mapToGlobal(QPoint()), scroller->viewport()->size());
        const QRect place(control->mapToGlobal(QPoint()), control->size());
        EXPECT_TRUE(inView.contains(place)) << id;
        EXPECT_TRUE(available.contains(place)) << id;
    }
}

// A dialog larger than the screen, opened over an owner that fits: the owner opens as
// ever, the dialog within the screen with each of its controls in reach.
TEST(ScreenFitTest, ADialogLargerThanTheScreenOpensWithinItAndScrollsToEachControl)
{
    TestDialog owner;
    Dialog large(9002, &owner);
    large.setMenu({{"&File", 0, {{"E&xit", ID_APP_EXIT, {}}}}});
    bool seen = false;
    user::onModal([&](Window& modal) {
        if (&modal == &owner) {
            EXPECT_EQ(modal.internals().live()->findChild<QScrollArea*>(), nullptr) << "a window that fits scrolls";
            large.runModal();
            owner.endDialog(IDOK);
        } else {
            seen = true;
            expectWithinScreenAndInReach(large, {3001, 3002});
            large.endDialog(IDOK);
        }
    });
    EXPECT_EQ(owner.runModal(), IDOK);
    user::onModal(nullptr);
    EXPECT_TRUE(seen);
}

// Calls the action on the first event of the type that the watched object gets.
class OnFirstEvent : public QObject {
public:
    OnFirstEvent(QObject* watched, QEvent::Type type, std::function<void()> action)
        : QObject(watched), type_(type), action_(std::move(action))
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == type_ && action_) {
            std::function<void()> action = std::move(action_);
            action_ = nullptr;
            action();
        }
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> action_;
};

// A window of its own whose size changes once its frame has been placed: a control that
// knows its size only once shown grows it, and a window manager may report the size the
// window was mapped with before the grown one, and do so while the window is being
// moved. Whichever size comes last, the frame ends in the middle of the screen's
// available area.
TEST(ScreenFitTest, AWindowWhoseSizeChangesJustAfterItOpensEndsInTheMiddleOfTheScreen)
{
    struct Change {
        const char* name;
        int whileMoved; // pixels the window grows by as it is moved to its new place, if any
    };
    for (const Change& change : {Change{"grown by its layout", 0}, Change{"grown again while moved", 30}}) {
        TestDialog dialog;
        bool seen = false;
        user::onModal([&](Window& modal) {
            seen = true;
            QWidget* top = modal.internals().live();
            const QRect available = top->screen()->availableGeometry();
            auto centred = [&] {
                return (top->frameGeometry().center() - available.center()).manhattanLength() <= 1;
            };
            auto frame = [&] {
                const QRect at = top->frameGeometry();
                return std::to_string(at.x()) + "," + std::to_string(at.y()) + " " +
                       std::to_string(at.width()) + "x" + std::to_string(at.height());
            };
            // Placed with its frame once the frame is known, a moment after it shows.
            const auto shown = std::chrono::steady_clock::now();
            EXPECT_TRUE(servedUntil([&] {
                return centred() && std::chrono::steady_clock::now() - shown >= std::chrono::milliseconds(50);
            })) << change.name
                << ": the frame stands at " << frame();
            const int height = top->height();
            int grown = 0;
            if (change.whileMoved != 0) {
                new OnFirstEvent(top, QEvent::Move, [&] {
                    grown = top->height() + change.whileMoved;
                    top->resize(top->width(), grown);
                });
            }
            QWidget* edit = dialog.control<Edit>(EditId).internals().live();
            edit->setMinimumHeight(edit->height() + 90);
            EXPECT_TRUE(servedUntil([&] { return top->height() > height && centred(); }))
                << change.name << ": the frame stands at " << frame() << ", the window " << height << " then "
                << top->height() << " high";
            if (change.whileMoved != 0) {
                EXPECT_EQ(top->height(), grown) << change.name;
            }
            dialog.endDialog(IDOK);
        });
        EXPECT_EQ(dialog.runModal(), IDOK);
        user::onModal(nullptr);
        EXPECT_TRUE(seen) << change.name;
    }
}

} // namespace
