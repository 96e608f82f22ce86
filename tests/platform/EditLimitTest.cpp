#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <functional>
#include <string>
#include <vector>

#include "PlatformTestSupport.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/qt/Internals.h"
#include "support/gui/UserInput.h"

namespace {

enum Id {
    EditId = 1002,
    DropdownId = 1008,
    NumberId = 1013,
};

constexpr int limit = 12;

// The three kinds of edit with a typing limit, each with characters it takes.
struct EditKind {
    const char* name;
    int id;
    std::u32string takes; // twenty characters the edit takes one by one
};
const EditKind editKinds[] = {
    {"edit", EditId, U"abcdefghijklmnopqrst"},
    {"editable drop-down list", DropdownId, U"abcdefghijklmnopqrst"},
    {"digits-only edit", NumberId, U"01234567890123456789"},
};

QString qt(const std::u32string& text)
{
    return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

// The test template's edits, each limited to 12 characters; counts what each edit tells
// its observers of a change.
class EditLimitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.create(nullptr));
        dialog.show(true);
        dialog.control<Edit>(EditId).setLimitText(limit);
        dialog.control<ComboBox>(DropdownId).setLimitText(limit);
        dialog.control<Edit>(NumberId).setLimitText(limit);
        for (const EditKind& kind : editKinds) {
            QObject::connect(lineEdit(kind), &QLineEdit::textChanged, [this] { ++changes; });
            QObject::connect(lineEdit(kind), &QLineEdit::textEdited, [this] { ++changes; });
        }
        processPendingMessages();
    }
    void TearDown() override
    {
        dialog.destroyWindow();
        processPendingMessages();
    }

    Window& control(const EditKind& kind) { return dialog.control<Window>(kind.id); }
    QLineEdit* lineEdit(const EditKind& kind)
    {
        QWidget* widget = control(kind).internals().live();
        auto* combo = qobject_cast<QComboBox*>(widget);
        return combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(widget);
    }
    QString shown(const EditKind& kind) { return lineEdit(kind)->text(); }
    // Gives the edit a text as the unit's value is given, and the user the edit, at its end.
    void start(const EditKind& kind, const std::u32string& text)
    {
        control(kind).setText(qt(text).toStdString());
        ASSERT_EQ(shown(kind), qt(text));
        user::focus(control(kind));
        user::press(control(kind), user::Key::End);
        changes = 0;
    }

    Dialog dialog{9000};
    int changes = 0;
};

// At the limit a typed character is refused without a trace: Ctrl+Z then undoes the
// typing before it, and Ctrl+Y redoes it, as if the character had never been typed.
TEST_F(EditLimitTest, ARefusedCharacterLeavesUndoAndRedoAsTheyWere)
{
    for (const EditKind& kind : editKinds) {
        SCOPED_TRACE(kind.name);
        start(kind, kind.takes.substr(0, 5));
        user::type(control(kind), kind.takes.substr(5, 7));
        ASSERT_EQ(shown(kind), qt(kind.takes.substr(0, limit)));

        changes = 0;
        user::type(control(kind), kind.takes.substr(limit, 1));
        EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, limit)));
        EXPECT_EQ(lineEdit(kind)->cursorPosition(), limit);
        EXPECT_EQ(changes, 0);

        user::undo(control(kind));
        EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, 5)));
        user::redo(control(kind));
        EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, limit)));
    }
}

// A refusal keeps where the line edit's next undo step begins: after the caret moved,
// a Backspace is an undo step of its own, refused character or not.
TEST_F(EditLimitTest, ARefusedCharacterKeepsWhereTheNextUndoStepBegins)
{
    for (const EditKind& kind : editKinds) {
        SCOPED_TRACE(kind.name);
        start(kind, kind.takes.substr(0, 14));
        user::press(control(kind), user::Key::Backspace);
        user::press(control(kind), user::Key::Left);
        user::type(control(kind), kind.takes.substr(15, 1)); // refused: 13 is over the limit
        user::press(control(kind), user::Key::Backspace);
        ASSERT_EQ(shown(kind), qt(kind.takes.substr(0, 11) + kind.takes.substr(12, 1)));

        user::undo(control(kind));
        EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, 13)));
    }
}

// Pastes the text through the edit's own menu, as the mouse does.
void pasteByMenu(Window& control, QLineEdit* edit, const std::u32string& text)
{
    QApplication::clipboard()->setText(qt(text)); // the menu's Paste is on once it holds text
    QWidget* widget = control.internals().live();
    QPoint middle = widget->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, middle, widget->mapToGlobal(middle));
    QApplication::sendEvent(widget, &request);
    QMenu* menu = edit->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    int pastes = 0;
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
            ++pastes;
            action->trigger();
        }
    }
    EXPECT_EQ(pastes, 1);
    menu->close();
    delete menu;
}

// A paste of which only part fits keeps that part, as an undo step of its own, whether it
// comes from Ctrl+V or from the edit's own menu, and whatever the edit held before: the
// characters typed before it, or an empty text left by deleting a selection.
TEST_F(EditLimitTest, APasteCutToFitIsOneUndoStep)
{
    struct Before {
        const char* name;
        std::function<void(const EditKind&)> make; // the user's steps before the paste
        std::u32string shown;                      // the text they leave
        std::vector<std::u32string> undone;        // the texts that undo after undo brings back
    };
    const Before befores[] = {
        {"five typed", [this](const EditKind& kind) { user::type(control(kind), kind.takes.substr(0, 5)); },
         U"abcde", {U"abcde", U""}},
        {"three typed, then all deleted",
         [this](const EditKind& kind) {
             user::type(control(kind), kind.takes.substr(0, 3));
             user::selectAll(control(kind));
             user::press(control(kind), user::Key::Backspace);
         },
         U"", {U"", U"abc"}},
    };
    for (bool byMenu : {false, true}) {
        for (const Before& before : befores) {
            for (const EditKind& kind : editKinds) {
                SCOPED_TRACE(std::string(kind.name) + ", " + before.name + (byMenu ? ", by the menu" : ", by Ctrl+V"));
                auto ofKind = [&](const std::u32string& letters) {
                    std::u32string text;
                    for (char32_t letter : letters) {
                        text += kind.takes[letter - U'a'];
                    }
                    return text;
                };
                start(kind, U"");
                before.make(kind);
                ASSERT_EQ(shown(kind), qt(ofKind(before.shown)));
                const std::u32string pasted = kind.takes.substr(5, 15);
                if (byMenu) {
                    pasteByMenu(control(kind), lineEdit(kind), pasted);
                } else {
                    user::paste(control(kind), pasted);
                }
                const std::u32string whole = ofKind(before.shown) + pasted;
                EXPECT_EQ(shown(kind), qt(whole.substr(0, limit)));

                for (const std::u32string& undone : before.undone) {
                    user::undo(control(kind));
                    EXPECT_EQ(shown(kind), qt(ofKind(undone)));
                }
                for (std::size_t i = 0; i < before.undone.size(); ++i) {
                    user::redo(control(kind));
                }
                EXPECT_EQ(shown(kind), qt(whole.substr(0, limit)));
            }
        }
    }
}

// Every key the platform pastes with keeps what fits, as Ctrl+V does; the X11 key scheme's
// Control+Shift+Insert pastes the selection.
TEST_F(EditLimitTest, EveryPasteKeyKeepsWhatFits)
{
    const QString pasted = qt(U"fghijklmnopqr");
    for (const QKeySequence& binding : QKeySequence::keyBindings(QKeySequence::Paste)) {
        const QKeyCombination key = binding[0];
        const bool selection = key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Insert);
        if (selection && !QApplication::clipboard()->supportsSelection()) {
            continue; // the line edit pastes nothing with it here
        }
        for (const EditKind& kind : editKinds) {
            if (kind.id == NumberId) {
                continue;
            }
            SCOPED_TRACE(std::string(kind.name) + ", " + binding.toString().toStdString());
            start(kind, U"abcde");
            QApplication::clipboard()->setText(pasted, selection ? QClipboard::Selection : QClipboard::Clipboard);
            QWidget* widget = control(kind).internals().live();
            QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
            QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers());
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
            EXPECT_EQ(shown(kind), "abcdefghijkl");
            user::undo(control(kind));
            EXPECT_EQ(shown(kind), "abcde");
        }
    }
}

// Undo brings back the longer text set by program, and typing into it after the undo is
// refused as anywhere over the limit.
TEST_F(EditLimitTest, AfterAnUndoTheLimitHoldsAsBefore)
{
    for (const EditKind& kind : editKinds) {
        SCOPED_TRACE(kind.name);
        const std::u32string set = kind.takes.substr(0, 20);
        start(kind, set);
        user::press(control(kind), user::Key::Backspace);
        EXPECT_EQ(shown(kind), qt(set.substr(0, 19)));
        user::undo(control(kind));
        EXPECT_EQ(shown(kind), qt(set));

        changes = 0;
        user::type(control(kind), kind.takes.substr(0, 1));
        user::paste(control(kind), kind.takes.substr(0, 1));
        EXPECT_EQ(shown(kind), qt(set));
        EXPECT_EQ(changes, 0);

        // Undone to a text within the limit, typing is taken up to the limit again.
        user::selectAll(control(kind));
        user::type(control(kind), kind.takes.substr(0, 1));
        user::undo(control(kind));
        user::redo(control(kind));
        user::type(control(kind), kind.takes.substr(1, 12));
        EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, limit)));
    }
}

// A limited edit holds one byte a character, as the unit does: a character outside
// Latin-1 goes in as one "?" and counts as one, whether of one UTF-16 unit or of two;
// Latin-1 characters go in as they are.
TEST_F(EditLimitTest, ACharacterOutsideLatin1GoesInAsOneQuestionMark)
{
    struct Case {
        std::u32string shown; // before, the caret at its end
        std::u32string put;
        std::u32string result;
    };
    const std::u32string smiley = U"\U0001F600";
    const Case cases[] = {
        {U"abcdefghijk", smiley, U"abcdefghijk?"},
        {U"abcdefghijkl", smiley, U"abcdefghijkl"},
        {U"abcdefghij", U"k" + smiley + U"m", U"abcdefghijk?"},
        {U"abcd", U"\u0436", U"abcd?"},
        {U"", U"Caf\u00e9 \u20ac5 \u00fc", U"Caf\u00e9 ?5 \u00fc"},
    };
    for (const EditKind& kind : editKinds) {
        if (kind.id == NumberId) {
            continue; // it takes 0 to 9 only, as the test of its own shows
        }
        for (bool typed : {false, true}) {
            for (const Case& test : cases) {
                SCOPED_TRACE(std::string(kind.name) + (typed ? ", typed " : ", pasted ") +
                             qt(test.shown + U" + " + test.put).toStdString());
                start(kind, test.shown);
                typed ? user::type(control(kind), test.put) : user::paste(control(kind), test.put);
                EXPECT_EQ(shown(kind), qt(test.result));
                EXPECT_EQ(control(kind).getText(), qt(test.result).toLatin1().toStdString());
            }
        }
    }
}

// What an input method commits, and what is dropped on the edit, goes in as the edit can
// hold it too.
TEST_F(EditLimitTest, InputMethodAndDroppedTextGoInAsTheEditCanHoldIt)
{
    const EditKind& edit = editKinds[0];
    start(edit, U"ab");
    QInputMethodEvent commit;
    commit.setCommitString(qt(U"\u0436\U0001F600"));
    QApplication::sendEvent(control(edit).internals().live(), &commit);
    EXPECT_EQ(shown(edit), "ab??");

    start(edit, U"ab");
    QMimeData dragged;
    dragged.setText(qt(U"\u00e9\u20ac"));
    QLineEdit* line = lineEdit(edit);
    const QPointF end(line->rect().right() - 1, line->rect().center().y());
    QDragEnterEvent enter(end.toPoint(), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(line, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(end, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(line, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(shown(edit), qt(U"ab\u00e9?"));
}

// A digits-only edit takes 0 to 9 and no digit of another script.
TEST_F(EditLimitTest, ADigitsOnlyEditTakesOnlyZeroToNine)
{
    const EditKind& digits = editKinds[2];
    for (const std::u32string other : {U"\uFF13", U"\u0663"}) {
        start(digits, U"2");
        user::type(control(digits), other);
        user::paste(control(digits), other);
        user::paste(control(digits), U"4" + other); // not even the 4 of it
        EXPECT_EQ(shown(digits), "2");
        EXPECT_EQ(changes, 0);
    }
    user::type(control(digits), U"3");
    user::paste(control(digits), U"45");
    EXPECT_EQ(shown(digits), "2345");
}

// Text an input method commits is judged where it goes in, wherever the input method
// leaves the caret.
TEST_F(EditLimitTest, AnInputMethodsTextIsCutWhereItGoesIn)
{
    for (const EditKind& kind : editKinds) {
        SCOPED_TRACE(kind.name);
        start(kind, kind.takes.substr(0, 10));
        QInputMethodEvent commit(QString(), {{QInputMethodEvent::Selection, 0, 0, QVariant()}});
        commit.setCommitString(qt(kind.takes.substr(15, 3)));
        QApplication::sendEvent(control(kind).internals().live(), &commit);
        EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, 10) + kind.takes.substr(15, 2)));
        EXPECT_EQ(lineEdit(kind)->cursorPosition(), 0);
    }
}

} // namespace
