#include "PageFixture.h"

#include "support/gui/UserInput.h"
#include "ui/pages/CUserPresetsPage.h"

namespace {

using UserPresetsPageTest = PageTest;

Button& recall(PageTest&, Dialog& page, int preset)
{
    return page.control<Button>(2151 + preset);
}

bool pushed(Button& button)
{
    return (button.getState() & Button::PushedBit) != 0;
}

TEST_F(UserPresetsPageTest, TheRecallButtonsShowTheNamesAndTheActivePreset)
{
    for (int i = 0; i < 32; ++i) {
        set->report(0x1D00 + i, ParameterValue("Preset " + std::to_string(i + 1)));
    }
    set->report(0x1D02, ParameterValue(std::string("Rock&Roll")));
    set->report(0x1B00, 5);
    CUserPresetsPage& page = open<CUserPresetsPage>();
    for (int preset = 1; preset <= 32; ++preset) {
        SCOPED_TRACE(preset);
        Button& button = recall(*this, page, preset);
        if (preset != 3) {
            EXPECT_EQ(button.getText(), "Preset " + std::to_string(preset));
        }
        EXPECT_EQ(pushed(button), preset == 5);
    }
    // The "&" is shown, not taken as a mnemonic.
    EXPECT_EQ(recall(*this, page, 3).getText(), "Rock&&Roll");
    picture();

    // The active preset's button looks as every other pushed button does ("Save" is
    // pushed while the unit saves), and unlike the others.
    set->report(0x1902, 1);
    auto face = [](Window& button) {
        Grab grab(button);
        return grab.pixel(4, grab.height() / 2); // left of the caption
    };
    Button& save = page.control<Button>(UserPresetsTemplate::savePreset);
    ASSERT_EQ(save.getCheck(), Button::Checked);
    EXPECT_EQ(face(recall(*this, page, 5)), face(save));
    EXPECT_NE(face(recall(*this, page, 6)), face(save));

    set->report(0x1B00, 0); // "None"
    for (int preset = 1; preset <= 32; ++preset) {
        EXPECT_FALSE(pushed(recall(*this, page, preset))) << preset;
    }
    // A name changed on the unit reaches its button.
    set->report(0x1D1F, ParameterValue(std::string("Last")));
    EXPECT_EQ(recall(*this, page, 32).getText(), "Last");
    EXPECT_TRUE(sent().empty());
}

TEST_F(UserPresetsPageTest, ARecallButtonSendsItsNumberUnlessItIsActive)
{
    set->report(0x1900, 7);
    set->report(0x1B00, 5);
    CUserPresetsPage& page = open<CUserPresetsPage>();

    user::click(recall(*this, page, 5));
    EXPECT_TRUE(sent().empty()); // already the active preset
    user::click(recall(*this, page, 7));
    EXPECT_EQ(sent(), std::vector<std::string>{"1900=7"}); // sent although 0x1900 holds 7
    user::click(recall(*this, page, 32));
    EXPECT_EQ(sent(), std::vector<std::string>{"1900=32"});

    // A click changes neither look: the pushed mark follows the active preset alone, and
    // no button stays pressed in by its own clicks.
    for (int preset : {5, 7, 32}) {
        Button& button = recall(*this, page, preset);
        EXPECT_EQ(pushed(button), preset == 5) << preset;
        EXPECT_EQ(button.getCheck(), Button::Unchecked) << preset;
    }
    set->report(0x1B00, 32);
    EXPECT_TRUE(pushed(recall(*this, page, 32)));
    EXPECT_FALSE(pushed(recall(*this, page, 5)));
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(UserPresetsPageTest, ThePresetNumberCountsFromOne)
{
    set->report(0x1903, 3);
    open<CUserPresetsPage>();
    Edit& number = control<Edit>(1173);
    EXPECT_EQ(number.getText(), "4");

    struct Typed {
        std::string text;
        std::vector<std::string> sent;
    };
    for (const Typed& typed : {Typed{"5", {"1903=4"}}, Typed{"28", {"1903=27"}}, Typed{"1", {"1903=0"}},
                               Typed{"0", {}}, Typed{"29", {"1903=1"}}, Typed{"x7", {"1903=6"}}}) {
        SCOPED_TRACE(typed.text);
        user::focus(number);
        number.setText("");
        sent();
        // Each keystroke sends what it leaves, if in range: "29" sends 1 on its way; the
        // edit takes digits only, so the "x" is refused.
        user::type(number, typed.text);
        std::vector<std::string> values = sent();
        if (typed.sent.empty()) {
            EXPECT_TRUE(values.empty());
        } else {
            ASSERT_FALSE(values.empty());
            EXPECT_EQ(values.back(), typed.sent.back());
        }
    }
    // Leaving the edit after a refused number shows the preset in use again.
    user::focus(number);
    number.setText("");
    user::type(number, "0");
    EXPECT_TRUE(sent().empty());
    user::focus(control<Edit>(1175));
    EXPECT_EQ(number.getText(), "7");

    user::stepDown(control<SpinButton>(1174)); // the down arrow counts down
    EXPECT_EQ(sent(), std::vector<std::string>{"1903=5"});
    EXPECT_EQ(number.getText(), "6");

    // Digits of other scripts are refused, typed or pasted: the number shown is the one sent.
    user::focus(number);
    number.setText("");
    sent();
    user::type(number, "2");
    user::type(number, U"\uFF13\u0663");
    user::paste(number, U"\uFF13");
    user::paste(number, U"\u0663");
    EXPECT_EQ(number.getText(), "2");
    EXPECT_EQ(sent(), std::vector<std::string>{"1903=1"});
}

TEST_F(UserPresetsPageTest, SaveSendsTheNameThenTheTrigger)
{
    set->report(0x1904, ParameterValue(std::string("Old")));
    CUserPresetsPage& page = open<CUserPresetsPage>();
    Edit& name = control<Edit>(1175);
    Button& save = control<Button>(1145);
    EXPECT_EQ(name.getText(), "Old");

    // Typing or leaving the edit sends nothing.
    user::focus(name);
    name.setText("");
    user::type(name, "Concert");
    user::focus(control<Edit>(1173));
    EXPECT_TRUE(sent().empty());

    user::click(save);
    EXPECT_EQ(sent(), (std::vector<std::string>{"1904=\"Concert\"", "1902=1"}));
    EXPECT_EQ(save.getCheck(), Button::Checked);

    // Clicking it while it shows checked sends 0 (the unchanged name is not sent again).
    user::click(save);
    EXPECT_EQ(sent(), std::vector<std::string>{"1902=0"});

    // Enter (the main window's call) sends only the name.
    user::focus(name);
    user::type(name, "!");
    page.commitName();
    EXPECT_EQ(sent(), std::vector<std::string>{"1904=\"Concert!\""});
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(UserPresetsPageTest, TheNameEditTakesTwelveCharactersButShowsALongerName)
{
    open<CUserPresetsPage>();
    Edit& name = control<Edit>(1175);
    name.setText("");
    user::type(name, "0123456789ABC");
    EXPECT_EQ(name.getText(), "0123456789AB");
    set->report(0x1904, ParameterValue(std::string("Thirteen char")));
    EXPECT_EQ(name.getText(), "Thirteen char");
}

// The main window's reporter replaces the pages at once on a report (hiding them): a
// name that could not be sent must not be followed by the save itself.
class HidingReporter : public RecordingReporter {
public:
    Window* page = nullptr;
    void reportError(const VormoException& error) override
    {
        RecordingReporter::reportError(error);
        page->show(false);
        page->enable(false);
    }
};

TEST_F(UserPresetsPageTest, NoSaveAfterTheNameFailed)
{
    HidingReporter hiding;
    CUserPresetsPage page(set.get(), &hiding);
    hiding.page = &page;
    ASSERT_TRUE(page.create(nullptr));
    page.show(true);
    processMessages();
    Edit& name = page.control<Edit>(1175);
    name.setText("");
    user::type(name, "Lost");
    protocol.clearCalls();
    protocol.throwOnNextCall(ProtocolException("no reply"));
    user::click(page.control<Button>(1145));
    EXPECT_EQ(hiding.reports, std::vector<std::string>{"reportError: no reply"});
    std::vector<std::string> values = sent();
    EXPECT_EQ(values, std::vector<std::string>{"1904=\"Lost\""}); // the failed attempt, and nothing after it
    page.destroyWindow();
    processMessages();
}

} // namespace
