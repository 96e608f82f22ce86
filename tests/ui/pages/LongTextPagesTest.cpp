#include "PageFixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <functional>
#include <map>

#include "platform/qt/Internals.h"
#include "support/gui/UserInput.h"
#include "tests/support/HttpTestServer.h"
#include "tests/ui/AppTestSupport.h"
#include "ui/pages/CStreamingPage.h"
#include "ui/pages/CSystemSettingsPage.h"
#include "ui/pages/CUserPresetsPage.h"

namespace {

const QChar ellipsis(0x2026);

// The pages with controls of texts the unit reports. The streaming page asks a server
// of the test's own for its file list.
class LongTextPagesTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        server.setReply("HTTP/1.1 200 OK\r\n\r\nfiles!alpha.ac3!@end");
        protocol.values[ParameterId(0x2502)] = ParameterValue(server.address());
        set->report(0x2502, ParameterValue(server.address()));
    }

    // A text control of a page: which page, which control, which text parameter.
    struct TextControl {
        const char* name;
        std::function<Dialog&()> open;
        int control;
        int parameter;
    };
    std::vector<TextControl> edits()
    {
        auto systemSettings = [this]() -> Dialog& { return open<CSystemSettingsPage>(); };
        auto userPresets = [this]() -> Dialog& { return open<CUserPresetsPage>(); };
        auto streaming = [this]() -> Dialog& { return open<CStreamingPage>(); };
        return {
            {"unit name", systemSettings, SystemSettingsTemplate::unitName, 0x0103},
            {"preset name to save", userPresets, UserPresetsTemplate::presetName, 0x1904},
            {"streaming server", streaming, CStreamingPage::serverId, 0x2502},
            {"streaming file", streaming, CStreamingPage::fileId, 0x2503},
        };
    }
    // The edit of an edit control, or of an editable drop-down list.
    QLineEdit* lineEdit(int id)
    {
        QWidget* widget = control<Window>(id).internals().live();
        auto* combo = qobject_cast<QComboBox*>(widget);
        return combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(widget);
    }
    // Leaves the edit as the user does when done: Tab, or for the name of a preset to
    // save, which only Enter or "Save" sends, Enter (the main window's call).
    void commitTyping(Dialog& page, Window& control)
    {
        if (auto* presets = dynamic_cast<CUserPresetsPage*>(&page)) {
            presets->commitName();
        } else {
            user::press(control, user::Key::Tab);
        }
    }
    // No file list on its way when the page goes.
    void finishFetching(Dialog& page)
    {
        if (auto* streaming = dynamic_cast<CStreamingPage*>(&page)) {
            EXPECT_TRUE(apptest::waitUntil([&] { return !streaming->isFetchingFileList(); }, 20000));
        }
    }

    HttpTestServer server;
};

// A recall button shows the start of a name too long for it, then "…", and the whole
// name in its tooltip; it keeps its size and place. A name that fits shows whole.
TEST_F(LongTextPagesTest, ARecallButtonShortensALongNameAndShowsItWholeInItsTooltip)
{
    CUserPresetsPage& page = open<CUserPresetsPage>();
    std::map<int, QRect> places;
    for (int i = 0; i < 32; ++i) {
        QWidget* button = page.control<Button>(2152 + i).internals().live();
        places[i] = button->geometry();
    }
    QSize pageSize = page.internals().live()->size();

    auto nameOf = [](int i) {
        std::string name = i == 2 ? "Rock&Roll " : "Preset " + std::to_string(i + 1) + " ";
        return name + std::string(32 - name.size(), 'W');
    };
    for (int i = 0; i < 32; ++i) {
        set->report(0x1D00 + i, ParameterValue(nameOf(i)));
    }
    set->report(0x1B00, 5); // the active preset shows pushed, shortened all the same
    processMessages();
    for (int i = 0; i < 32; ++i) {
        SCOPED_TRACE(i + 1);
        Button& button = page.control<Button>(2152 + i);
        auto* widget = qobject_cast<QAbstractButton*>(button.internals().live());
        ASSERT_NE(widget, nullptr);
        QString name = QString::fromLatin1(nameOf(i));
        QString shown = withoutMnemonics(widget->text());
        EXPECT_TRUE(shown.endsWith(ellipsis) && name.startsWith(shown.chopped(1))) << shown.toStdString();
        EXPECT_GT(shown.size(), 8); // as much of the name as the button holds
        EXPECT_EQ(widget->toolTip().toStdString(), nameOf(i));
        EXPECT_EQ(button.getText(), doubleAmpersands(nameOf(i)));
        EXPECT_EQ(widget->geometry(), places[i]);
    }
    EXPECT_EQ(page.internals().live()->size(), pageSize);
    savePicture(page, "user_presets_32_character_names");

    // A name that fits again shows whole, without a tooltip.
    set->report(0x1D1F, ParameterValue(std::string("Last")));
    auto* last = qobject_cast<QAbstractButton*>(page.control<Button>(2183).internals().live());
    EXPECT_EQ(last->text().toStdString(), "Last");
    EXPECT_EQ(last->toolTip().toStdString(), "");
    EXPECT_EQ(last->geometry(), places[31]);
    EXPECT_TRUE(sent().empty());
}

// An edit given a long text by the unit shows the text's start, which names it; the
// user who enters it goes on typing at its end.
TEST_F(LongTextPagesTest, AnEditShowsTheStartOfALongText)
{
    for (const TextControl& row : edits()) {
        SCOPED_TRACE(row.name);
        Dialog& page = row.open();
        std::string text = "Start of " + std::string(row.name) + " ";
        text.resize(ParameterValue::maximumEncodedLength, 'W');
        set->report(row.parameter, ParameterValue(text));
        processMessages();
        Window& control = this->control<Window>(row.control);
        QLineEdit* edit = lineEdit(row.control);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(control.getText(), text);
        ASSERT_GT(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width()); // too long to show whole
        EXPECT_EQ(edit->cursorPosition(), 0);
        std::string picture = "long_text_edit_" + std::string(row.name);
        std::replace(picture.begin(), picture.end(), ' ', '_');
        savePicture(page, picture);

        user::focus(control);
        EXPECT_EQ(edit->cursorPosition(), edit->text().size());
        finishFetching(page);
    }
}

// A unit that leaves a text out of its reply leaves the number 0 where the text
// belongs: the control shows no text, and leaving it after typing sends exactly what
// was typed (the preset name to save is sent only by "Save" or Enter).
TEST_F(LongTextPagesTest, ANumberWhereATextBelongsShowsAsNoTextAndTypingSendsExactlyTheTyped)
{
    for (const TextControl& row : edits()) {
        SCOPED_TRACE(row.name);
        std::string typed = row.parameter == 0x2502 ? server.address() : "Studio B";
        protocol.values[ParameterId(int16_t(row.parameter))] = ParameterValue(0);
        set->report(row.parameter, ParameterValue(0));
        Dialog& page = row.open();
        Window& control = this->control<Window>(row.control);
        EXPECT_EQ(control.getText(), "");

        user::type(control, typed);
        user::press(control, user::Key::Tab);
        std::vector<std::string> expected;
        if (row.parameter != 0x1904) {
            expected.push_back(describe(ParameterId(int16_t(row.parameter)), ParameterValue(typed)));
        }
        EXPECT_EQ(sent(), expected);
        finishFetching(page);
    }
    EXPECT_TRUE(reporter.reports.empty());
}

// An edit takes no more typed characters than its limit, even when the unit reported a
// longer text: typing or pasting into that text changes nothing and sends nothing, while
// deleting works and a name typed over the whole text is sent.
TEST_F(LongTextPagesTest, AnEditKeepsItsTypingLimitWhenTheUnitsTextIsLonger)
{
    struct Case {
        std::size_t edit; // into edits()
        std::size_t length;
        std::size_t limit;
    };
    const std::size_t most = ParameterValue::maximumEncodedLength;
    const Case cases[] = {
        {0, 20, 12}, {0, most, 12}, // unit name
        {1, 20, 12}, {1, most, 12}, // preset name to save
        {2, 60, 50},                // streaming server
        {3, most, most},            // streaming file
    };
    const std::vector<TextControl> rows = edits();
    for (const Case& test : cases) {
        const TextControl& row = rows[test.edit];
        SCOPED_TRACE(std::string(row.name) + ", " + std::to_string(test.length) + " characters");
        std::string reported = "Reported by the unit ";
        reported.resize(test.length, 'R');
        protocol.values[ParameterId(int16_t(row.parameter))] = ParameterValue(reported);
        set->report(row.parameter, ParameterValue(reported));
        Dialog& page = row.open();
        Window& control = this->control<Window>(row.control);
        ASSERT_EQ(control.getText(), reported); // shown whole

        user::focus(control);
        user::press(control, user::Key::End);
        user::type(control, "Z");
        user::press(control, user::Key::Home);
        user::type(control, "Y");
        user::paste(control, "Pasted");
        EXPECT_EQ(control.getText(), reported);
        commitTyping(page, control);
        EXPECT_TRUE(sent().empty());

        // Undo brings the unit's text back after a Backspace, and typing into it is
        // refused as before: nothing is sent.
        user::focus(control);
        user::press(control, user::Key::End);
        user::press(control, user::Key::Backspace);
        user::undo(control);
        EXPECT_EQ(control.getText(), reported);
        user::type(control, "Z");
        EXPECT_EQ(control.getText(), reported);
        commitTyping(page, control);
        EXPECT_TRUE(sent().empty());

        // Typing stays refused after a refusal; deleting is always possible, and typing
        // is taken again once the text is within the limit.
        user::focus(control);
        user::press(control, user::Key::End);
        user::type(control, "Z");
        user::press(control, user::Key::Backspace);
        std::string shorter = reported.substr(0, reported.size() - 1);
        EXPECT_EQ(control.getText(), shorter);
        user::type(control, "Z");
        EXPECT_EQ(control.getText(), shorter.size() < test.limit ? shorter + "Z" : shorter);

        user::selectAll(control);
        user::type(control, "Studio B");
        EXPECT_EQ(control.getText(), "Studio B");
        commitTyping(page, control);
        EXPECT_EQ(sent(), std::vector<std::string>{describe(ParameterId(int16_t(row.parameter)),
                                                            ParameterValue(std::string("Studio B")))});
        finishFetching(page);
    }
    EXPECT_TRUE(reporter.reports.empty());
}

// What an edit of a text the unit holds shows is what the unit gets, byte for byte: a
// character outside Latin-1, typed or pasted, shows as "?" the moment it goes in, and
// Latin-1 characters stay as they are.
TEST_F(LongTextPagesTest, AnEditShowsWhatTheUnitWillGet)
{
    struct Entry {
        const char* name;
        std::u32string text;
        bool typed;
        std::string shown; // Latin-1, as the unit gets it
    };
    const Entry entries[] = {
        {"typed", U"abcd\u0436", true, "abcd?"},
        {"pasted", U"Caf\u00e9 \u20ac5", false, "Caf\xe9 ?5"},
        {"pasted beyond the plane", U"Mix \U0001F600 \u00fc", false, "Mix ? \xfc"},
    };
    for (const TextControl& row : edits()) {
        for (const Entry& entry : entries) {
            SCOPED_TRACE(std::string(row.name) + ", " + entry.name);
            Dialog& page = row.open();
            Window& control = this->control<Window>(row.control);
            user::focus(control);
            user::selectAll(control);
            entry.typed ? user::type(control, entry.text) : user::paste(control, entry.text);
            EXPECT_EQ(lineEdit(row.control)->text(), QString::fromLatin1(entry.shown));
            commitTyping(page, control);
            EXPECT_EQ(sent(), std::vector<std::string>{describe(ParameterId(int16_t(row.parameter)),
                                                                ParameterValue(entry.shown))});
            EXPECT_EQ(lineEdit(row.control)->text(), QString::fromLatin1(entry.shown));
            finishFetching(page);
        }
    }
    EXPECT_TRUE(reporter.reports.empty());
}

// A paste keeps only what fits within the limit, wherever the caret stands, and in place
// of a selection; a text that fits is taken whole.
TEST_F(LongTextPagesTest, APasteKeepsOnlyWhatFits)
{
    struct Case {
        const char* shown;
        int caret; // where the paste goes, or -1 for over the whole text
        const char* pasted;
        const char* result;
    };
    const Case cases[] = {
        {"Studio", 6, "ABCDEFGHIJ", "StudioABCDEF"},
        {"Studio", 0, "ABCDEFGHIJ", "ABCDEFStudio"},
        {"Studio", 3, "ABCDEFGHIJ", "StuABCDEFdio"},
        {"Studio", 3, "AB", "StuABdio"},
        {"Studio", -1, "0123456789ABCDEF", "0123456789AB"},
        {"0123456789AB", 12, "C", "0123456789AB"},
    };
    CSystemSettingsPage& page = open<CSystemSettingsPage>();
    Edit& name = page.control<Edit>(SystemSettingsTemplate::unitName);
    QLineEdit* edit = lineEdit(SystemSettingsTemplate::unitName);
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.shown) + " + " + test.pasted);
        user::focus(name);
        name.setText(test.shown);
        if (test.caret < 0) {
            user::selectAll(name);
        } else {
            edit->setCursorPosition(test.caret);
        }
        user::paste(name, test.pasted);
        EXPECT_EQ(name.getText(), test.result);
    }
}

} // namespace
