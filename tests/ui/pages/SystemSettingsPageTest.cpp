#include "PageFixture.h"

#include "support/gui/UserInput.h"
#include "ui/pages/CSystemSettingsPage.h"

namespace {

using SystemSettingsPageTest = PageTest;

TEST_F(SystemSettingsPageTest, TheListsShowAndSendTheirSettings)
{
    set->report(0x2D01, 2);
    set->report(0x2D02, 1);
    set->report(0x2D00, 1);
    open<CSystemSettingsPage>();
    ComboBox& timeout = control<ComboBox>(1146);
    ComboBox& design = control<ComboBox>(1147);
    ComboBox& timecode = control<ComboBox>(1148);
    EXPECT_EQ(timeout.getText(), "4 Hours");
    EXPECT_EQ(design.getText(), "Unit Name");
    EXPECT_EQ(timecode.getText(), "TS Delay Word");
    ASSERT_EQ(timeout.getCount(), 3);
    EXPECT_EQ(timeout.getLBText(0), "10 Minutes");
    EXPECT_EQ(design.getLBText(0), "Logo");
    EXPECT_EQ(timecode.getLBText(2), "Disabled");
    picture();

    struct Choice {
        ComboBox* combo;
        int index;
        std::string sent;
    };
    for (const Choice& choice : {Choice{&timeout, 0, "2D01=0"}, Choice{&design, 0, "2D02=0"},
                                 Choice{&timecode, 2, "2D00=2"}, Choice{&timeout, 1, "2D01=1"}}) {
        user::choose(*choice.combo, choice.index);
        EXPECT_EQ(sent(), std::vector<std::string>{choice.sent});
    }
    // The unit reports a change of its own: the list follows.
    set->report(0x2D00, 0);
    EXPECT_EQ(timecode.getText(), "Timecode");
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(SystemSettingsPageTest, TheUnitNameIsSentWhenTheEditLosesTheFocus)
{
    CSystemSettingsPage& page = open<CSystemSettingsPage>();
    Edit& name = control<Edit>(1056);
    EXPECT_EQ(name.getText(), protocol.values[ParameterId(0x0103)].toString());

    // Typing sends nothing; leaving the edit sends the whole name once.
    user::focus(name);
    name.setText("");
    user::type(name, "Studio B");
    EXPECT_TRUE(sent().empty());
    user::focus(control<ComboBox>(1146));
    EXPECT_EQ(sent(), std::vector<std::string>{"103=\"Studio B\""});

    // Leaving it again without a change sends nothing.
    user::focus(name);
    user::focus(control<ComboBox>(1147));
    EXPECT_TRUE(sent().empty());

    // Enter (the main window's call) sends without leaving the edit.
    user::focus(name);
    user::type(name, "2");
    page.OnKillfocusUnitName();
    EXPECT_EQ(sent(), std::vector<std::string>{"103=\"Studio B2\""});
    EXPECT_TRUE(name.hasFocus());
}

TEST_F(SystemSettingsPageTest, TheEditTakesTwelveCharactersButShowsALongerName)
{
    open<CSystemSettingsPage>();
    Edit& name = control<Edit>(1056);
    name.setText("");
    user::type(name, "ABCDEFGHIJKLM");
    EXPECT_EQ(name.getText(), "ABCDEFGHIJKL");
    set->report(0x0103, ParameterValue(std::string("A much longer unit name")));
    EXPECT_EQ(name.getText(), "A much longer unit name");
}

} // namespace
