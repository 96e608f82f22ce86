#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>

#include <string>

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

// A paste of which only part fits keeps that part, as one undo step, whether it comes
// from Ctrl+V or from the edit's own menu.
TEST_F(EditLimitTest, APasteCutToFitIsOneUndoStep)
{
    auto pasteByMenu = [this](const EditKind& kind, const std::u32string& text) {
        QApplication::clipboard()->setText(qt(text)); // the menu's Paste is on once it holds text
        QWidget* widget = control(kind).internals().live();
        QPoint middle = widget->rect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, middle, widget->mapToGlobal(middle));
        QApplication::sendEvent(widget, &request);
        QMenu* menu = lineEdit(kind)->findChild<QMenu*>();
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
                action->trigger();
            }
        }
        menu->close();
        delete menu;
    };
    for (bool byMenu : {false, true}) {
        for (const EditKind& kind : editKinds) {
            SCOPED_TRACE(std::string(kind.name) + (byMenu ? ", by the menu" : ", by Ctrl+V"));
            start(kind, U"");
            user::type(control(kind), kind.takes.substr(0, 5));
            std::u32string pasted = kind.takes.substr(5, 13);
            if (byMenu) {
                pasteByMenu(kind, pasted);
            } else {
                user::paste(control(kind), pasted);
            }
            EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, limit)));

            user::undo(control(kind));
            EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, 5)));
            user::undo(control(kind));
            EXPECT_EQ(shown(kind), "");
            user::redo(control(kind));
            user::redo(control(kind));
            EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, limit)));
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

// A cut keeps whole characters: a character of two UTF-16 units that does not fit whole
// is left out, typed or pasted; one that fits goes in whole.
TEST_F(EditLimitTest, ACutKeepsWholeCharacters)
{
    const std::u32string smiley = U"\U0001F600";
    for (const EditKind& kind : editKinds) {
        SCOPED_TRACE(kind.name);
        const bool takesLetters = kind.id != NumberId;
        for (bool typed : {false, true}) {
            SCOPED_TRACE(typed ? "typed" : "pasted");
            auto put = [&](const std::u32string& text) {
                typed ? user::type(control(kind), text) : user::paste(control(kind), text);
            };
            start(kind, kind.takes.substr(0, 11));
            put(smiley);
            EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, 11)));
            EXPECT_EQ(changes, 0);

            start(kind, kind.takes.substr(0, 10));
            put(smiley);
            EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, 10) + (takesLetters ? smiley : U"")));
        }
        start(kind, kind.takes.substr(0, 10));
        user::paste(control(kind), kind.takes.substr(10, 1) + smiley);
        EXPECT_EQ(shown(kind), qt(kind.takes.substr(0, takesLetters ? 11 : 10)));
    }
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
