#include "PageFixture.h"

#include "ui/pages/CMonitorConfigurationPage.h"

namespace {

class MonitorConfigurationPageTest : public PageTest {
protected:
    void SetUp() override { page = openPage<CMonitorConfigurationPage>("monitor_configuration_page"); }

    std::string text(int control) { return page->control<Edit>(control).getText(); }
    // Clears the edit as a user would: to its end, then Backspace over every character.
    void clear(int control)
    {
        Edit& edit = page->control<Edit>(control);
        user::press(edit, user::Key::End);
        for (std::size_t n = edit.getText().size(); n > 0; --n) {
            user::press(edit, user::Key::Backspace);
        }
    }

    CMonitorConfigurationPage* page = nullptr;
};

// Each edit shows its own parameter through its converter; the values shown by program
// send nothing back.
TEST_F(MonitorConfigurationPageTest, EditsShowTheRawStepsInDecibelsAndMilliseconds)
{
    struct Case {
        int edit;
        int parameter;
        int raw;
        const char* shown;
    };
    const Case cases[] = {
        {1143, 0x030D, 0, "-26.0"},    {1143, 0x030D, 180, "-8.0"},   {1168, 0x0508, 161, "+0.125"},
        {1169, 0x0509, 168, "+1.000"}, {1061, 0x050A, 152, "-1.000"}, {1062, 0x050B, 0, "-20.000"},
        {1063, 0x050C, 208, "+6.000"}, {1066, 0x050D, 164, "+0.500"}, {1064, 0x050E, 156, "-0.500"},
        {1065, 0x050F, 160, "0"},      {1929, 0x0701, 3, "0"},        {1929, 0x0701, 0, "-3"},
        {1928, 0x0702, 50, "+50"},     {1940, 0x0703, 0, "0"},        {1940, 0x0703, 7, "+7"},
        {1942, 0x0704, 0, "+10"},      {1942, 0x0704, 90, "+100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        set->report(c.parameter, c.raw);
        EXPECT_EQ(text(c.edit), c.shown);
    }
    // Each trim edit kept its own value: none is bound to another's parameter.
    EXPECT_EQ(text(1168), "+0.125");
    EXPECT_EQ(text(1066), "+0.500");
    EXPECT_EQ(text(1064), "-0.500");
    EXPECT_TRUE(written().empty());
}

TEST_F(MonitorConfigurationPageTest, TypingSendsTheConvertedValueAtOnce)
{
    clear(1143);
    user::type(page->control<Edit>(1143), "-12.5");
    EXPECT_EQ(set->value(0x030D), 135); // 260 + -12.5 * 10
    std::vector<std::string> sent = written();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "setValues 030D=135");

    clear(1168);
    user::type(page->control<Edit>(1168), "+1.5");
    EXPECT_EQ(set->value(0x0508), 172); // 160 + 1.5 * 8
    EXPECT_EQ(written().back(), "setValues 0508=172");
}

// Text out of the range, or that reads as no number, sends nothing; leaving the edit
// shows the value the unit holds again.
TEST_F(MonitorConfigurationPageTest, TextOutOfRangeSendsNothingAndFocusLossShowsTheValue)
{
    Edit& trim = page->control<Edit>(1065); // Bsr, 0 dB
    user::press(trim, user::Key::End);
    user::type(trim, "9"); // "09": +9 dB is beyond +6
    EXPECT_EQ(text(1065), "09");
    user::type(trim, "x");
    EXPECT_TRUE(written().empty());
    EXPECT_EQ(set->value(0x050F), 160);

    user::focus(page->control<Edit>(1066));
    EXPECT_EQ(text(1065), "0");
    EXPECT_TRUE(written().empty());
}

TEST_F(MonitorConfigurationPageTest, SpinArrowsStepOneRawStepAtOnce)
{
    struct Case {
        int spin;
        int edit;
        int parameter;
        bool up;
        int value;
        const char* shown;
    };
    const Case cases[] = {
        {1930, 1168, 0x0508, true, 161, "+0.125"}, // trims move by 0.125 dB
        {1953, 1062, 0x050B, false, 159, "-0.125"},
        {1933, 1143, 0x030D, true, 61, "-19.9"}, // the reference by 0.1 dB
        {1939, 1929, 0x0701, true, 4, "+1"},     // delays by 1
        {1947, 1942, 0x0704, false, 4, "+14"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        SpinButton& spin = page->control<SpinButton>(c.spin);
        c.up ? user::stepUp(spin) : user::stepDown(spin);
        char expected[40];
        std::snprintf(expected, sizeof expected, "setValueAndRead %04X=%d", unsigned(c.parameter), c.value);
        EXPECT_EQ(written(), std::vector<std::string>{expected});
        EXPECT_EQ(text(c.edit), c.shown);
    }
}

// The arrow keys in each edit step its parameter as the spin beside it does.
TEST_F(MonitorConfigurationPageTest, ArrowKeysInEachEditStepIt)
{
    struct Row {
        int editId;
        int parameter;
    };
    // Every edit of the page: the reference, the trims L, R, C, SW, Ls, Rs, Bsl, Bsr
    // and the delays of the centre, the surrounds, the back surrounds and Tessiva.
    const Row rows[] = {
        {1143, 0x030D}, {1168, 0x0508}, {1169, 0x0509}, {1061, 0x050A}, {1062, 0x050B},
        {1063, 0x050C}, {1066, 0x050D}, {1064, 0x050E}, {1065, 0x050F}, {1929, 0x0701},
        {1928, 0x0702}, {1940, 0x0703}, {1942, 0x0704},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.editId);
        Edit& edit = page->control<Edit>(row.editId);
        set->report(row.parameter, 4); // inside every row's range
        const int before = 4;
        char expected[40];
        std::snprintf(expected, sizeof expected, "setValueAndRead %04X=%d", unsigned(row.parameter),
                      before - 1);
        user::press(edit, user::Key::Down);
        EXPECT_EQ(written(), std::vector<std::string>{expected});
        std::snprintf(expected, sizeof expected, "setValueAndRead %04X=%d", unsigned(row.parameter), before);
        user::press(edit, user::Key::Up);
        EXPECT_EQ(written(), std::vector<std::string>{expected});
    }
}

// +6 dB (52) at the top, -20 dB (0) at the bottom; the readout follows.
TEST_F(MonitorConfigurationPageTest, MasterTrimSliderIsInvertedWithItsReadout)
{
    Slider& slider = page->control<Slider>(MonitorConfigurationTemplate::masterTrimSlider);
    EXPECT_EQ(slider.getPageSize(), 10);
    EXPECT_EQ(slider.getLineSize(), 1);
    EXPECT_EQ(page->control<Static>(1249).getText(), "0 dB"); // the factory 40

    user::drag(slider, slider.getRangeMin()); // the top
    EXPECT_EQ(set->value(0x0510), 52);
    EXPECT_EQ(written().back(), "setValueAndRead 0510=52");
    EXPECT_EQ(page->control<Static>(1249).getText(), "+6.0");

    user::drag(slider, slider.getRangeMax()); // the bottom
    EXPECT_EQ(set->value(0x0510), 0);
    EXPECT_EQ(page->control<Static>(1249).getText(), "-20.0");
}

// "Wideband" and "Filtered" are two exclusive toggles over the test noise.
TEST_F(MonitorConfigurationPageTest, TestNoiseButtonsToggleTheNoise)
{
    struct Case {
        int button;
        int value;
        int wideband;
        int filtered;
    };
    const Case cases[] = {
        {1164, 2, Button::Unchecked, Button::Checked},   {1145, 1, Button::Checked, Button::Unchecked},
        {1145, 0, Button::Unchecked, Button::Unchecked}, {1164, 2, Button::Unchecked, Button::Checked},
        {1164, 0, Button::Unchecked, Button::Unchecked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        user::click(page->control<Button>(c.button));
        EXPECT_EQ(written(), std::vector<std::string>{"setValues 2300=" + std::to_string(c.value)});
        EXPECT_EQ(page->control<Button>(1145).getCheck(), c.wideband);
        EXPECT_EQ(page->control<Button>(1164).getCheck(), c.filtered);
    }

    user::click(page->control<Button>(1051));
    EXPECT_EQ(written(), std::vector<std::string>{"setValues 030F=1"});
    user::click(page->control<Button>(1051));
    EXPECT_EQ(written(), std::vector<std::string>{"setValues 030F=0"});
}

TEST_F(MonitorConfigurationPageTest, ListsShowTheirStringsAndSendTheChoice)
{
    struct Case {
        int combo;
        int parameter;
        int count;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {1241, 0x0512, 38, "Mute", "+6 dB"},  {1055, 0x0706, 2, "Large", "Small"},
        {1056, 0x0705, 2, "Large", "Small"},  {1057, 0x0707, 2, "Large", "Small"},
        {1058, 0x0709, 2, "No", "Yes"},       {1059, 0x0700, 3, "None", "Two"},
        {1060, 0x0708, 3, "80 Hz", "120 Hz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.combo);
        ComboBox& list = page->control<ComboBox>(c.combo);
        ASSERT_EQ(list.getCount(), c.count);
        EXPECT_EQ(list.getLBText(0), c.first);
        EXPECT_EQ(list.getLBText(c.count - 1), c.last);
        EXPECT_EQ(list.getCurSel(), set->value(c.parameter));
        int choice = (set->value(c.parameter) + 1) % c.count;
        user::choose(list, choice);
        char expected[32];
        std::snprintf(expected, sizeof expected, "setValues %04X=%d", unsigned(c.parameter), choice);
        EXPECT_EQ(written(), std::vector<std::string>{expected});
    }

    ComboBox& dim = page->control<ComboBox>(1241);
    set->report(0x0512, 0);
    EXPECT_EQ(dim.getLBText(dim.getCurSel()), "Mute");
    set->report(0x0512, 31);
    EXPECT_EQ(dim.getLBText(dim.getCurSel()), "0 dB");
}

// The channel list sets the application's own selector; the rule turns on the unit's
// channel cycling for "Cycle".
TEST_F(MonitorConfigurationPageTest, CycleInTheTestNoiseChannelListCyclesTheUnit)
{
    ComboBox& channel = page->control<ComboBox>(1181);
    ASSERT_EQ(channel.getCount(), 9);
    EXPECT_EQ(channel.getLBText(8), "Cycle");
    user::choose(channel, 8);
    EXPECT_EQ(set->value(0x4301), 8);
    EXPECT_EQ(set->value(0x2302), 1);
    EXPECT_EQ(channel.getCurSel(), 8);
}

} // namespace
