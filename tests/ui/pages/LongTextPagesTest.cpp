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

} // namespace
