#include "PageFixture.h"

#include "support/gui/UserInput.h"
#include "ui/pages/CCompressionPage.h"
#include "ui/pages/COutputMetersPage.h"

namespace {

constexpr Colour ground = Win32MeterObserver::background;
constexpr Colour amber = Win32MeterObserver::aboveReference;
constexpr Colour red = Win32MeterObserver::belowReference;

// The colour at each of the given fractions of the meter's width, in the middle row.
std::vector<Colour> coloursAt(Window& meter, std::initializer_list<double> fractions)
{
    Grab grab(meter);
    std::vector<Colour> colours;
    for (double fraction : fractions) {
        colours.push_back(grab.pixel(int(fraction * grab.width()), grab.height() / 2));
    }
    return colours;
}

using OutputMetersPageTest = PageTest;

TEST_F(OutputMetersPageTest, EachMeterShowsItsOwnChannel)
{
    struct Channel {
        int control;
        int parameter;
    };
    const Channel channels[] = {{1028, 0x2700}, {1030, 0x2701}, {1029, 0x2702}, {1033, 0x2703},
                                {1031, 0x2704}, {1032, 0x2705}, {1034, 0x2706}, {1035, 0x2707}};
    for (const Channel& channel : channels) {
        protocol.values[ParameterId(int16_t(channel.parameter))] = ParameterValue(0);
        set->report(channel.parameter, 0);
    }
    for (const Channel& loud : channels) {
        SCOPED_TRACE(loud.control);
        // A new page each time: its meters draw the first level at once.
        set->report(loud.parameter, 1023);
        open<COutputMetersPage>();
        for (const Channel& channel : channels) {
            Colour expected = channel.control == loud.control ? amber : ground;
            EXPECT_EQ(coloursAt(control<Static>(channel.control), {0.05, 0.5, 0.95}),
                      std::vector<Colour>(3, expected))
                << channel.control;
        }
        if (loud.control == 1028) {
            picture("left_channel_full");
        }
        closePage();
        set->report(loud.parameter, 0);
    }
    EXPECT_TRUE(sent().empty());
}

TEST_F(OutputMetersPageTest, AMeterFallsFortyDecibelsASecond)
{
    long clock = 10000;
    Win32MeterObserver::setClock([&] { return clock; });
    set->report(0x2700, 1023);
    open<COutputMetersPage>();
    Static& left = control<Static>(1028);
    EXPECT_EQ(coloursAt(left, {0.05, 0.95}), (std::vector<Colour>{amber, amber}));

    // 1023 to 0 between two updates 500 ms apart: drawn at -20 dB, two thirds along.
    clock += 500;
    set->report(0x2700, 0);
    EXPECT_EQ(coloursAt(left, {0.05, 0.6, 0.7, 0.95}), (std::vector<Colour>{amber, amber, ground, ground}));
    picture("falling");

    // Long enough for the floor: nothing but the ground; a rise is drawn at once.
    clock += 5000;
    set->report(0x2700, 0);
    EXPECT_EQ(coloursAt(left, {0.02, 0.5, 0.98}), std::vector<Colour>(3, ground));
    clock += 100;
    set->report(0x2700, 1023);
    EXPECT_EQ(coloursAt(left, {0.02, 0.5, 0.98}), std::vector<Colour>(3, amber));
}

using CompressionPageTest = PageTest;

TEST_F(CompressionPageTest, TheMetersReadTheLowByteAsASignedNumber)
{
    // 0x1526 at 256 ("N/A") has a low byte of 0: the line-mode meter stands at its centre.
    set->report(0x1526, 256);
    // 0x1523 at 16 is 6 dB of RF-mode compression: amber from the centre to 6 of 48.
    set->report(0x1523, 16);
    open<CCompressionPage>();
    EXPECT_EQ(coloursAt(control<Static>(1163), {0.1, 0.45, 0.55, 0.9}), std::vector<Colour>(4, ground));
    EXPECT_EQ(coloursAt(control<Static>(1160), {0.1, 0.45, 0.52, 0.6, 0.9}),
              (std::vector<Colour>{ground, ground, amber, ground, ground}));
    picture();

    // A negative low byte (0xF0 is -16, -3 dB) is red from the level up to the centre.
    set->report(0x1526, 0x00F0);
    EXPECT_EQ(coloursAt(control<Static>(1163), {0.1, 0.45, 0.55}),
              (std::vector<Colour>{ground, red, ground}));
    EXPECT_TRUE(sent().empty());
}

TEST_F(CompressionPageTest, TheCustomFactorsAreTypedOrStepped)
{
    struct Factor {
        int edit;
        int spin;
        int parameter;
    };
    for (Factor factor : {Factor{1177, 1178, 0x0B04}, Factor{1169, 1931, 0x0B05}}) {
        SCOPED_TRACE(factor.edit);
        set->report(factor.parameter, 3);
        CCompressionPage& page = open<CCompressionPage>();
        Edit& edit = control<Edit>(factor.edit);
        EXPECT_EQ(edit.getText(), "+0.3");

        edit.setText("");
        sent();
        user::type(edit, "0.5");
        std::vector<std::string> typed = sent();
        ASSERT_FALSE(typed.empty());
        EXPECT_EQ(typed.back(), describe(ParameterId(int16_t(factor.parameter)), ParameterValue(5)));

        // The up arrow steps up by one; at the maximum 10 nothing more is sent.
        user::stepUp(control<SpinButton>(factor.spin));
        EXPECT_EQ(sent(), std::vector<std::string>{
                              describe(ParameterId(int16_t(factor.parameter)), ParameterValue(6))});
        // The arrow keys in the edit step it as its arrows do.
        user::press(edit, user::Key::Down);
        EXPECT_EQ(sent(), std::vector<std::string>{
                              describe(ParameterId(int16_t(factor.parameter)), ParameterValue(5))});
        user::press(edit, user::Key::Up);
        EXPECT_EQ(sent(), std::vector<std::string>{
                              describe(ParameterId(int16_t(factor.parameter)), ParameterValue(6))});
        set->report(factor.parameter, 10);
        user::stepUp(control<SpinButton>(factor.spin));
        EXPECT_TRUE(sent().empty());

        // A text the converter refuses sends nothing; leaving the edit shows the value again.
        user::type(edit, "x");
        EXPECT_TRUE(sent().empty());
        user::focus(control<Edit>(factor.edit == 1177 ? 1169 : 1177));
        EXPECT_EQ(edit.getText(), "+1.0");
        EXPECT_TRUE(reporter.reports.empty());
        (void)page;
        closePage();
    }
}

} // namespace
