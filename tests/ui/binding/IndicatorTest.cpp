#include "BindingFixture.h"

#include <cmath>

#include "model/Exceptions.h"
#include "platform/Application.h"
#include "support/gui/UserInput.h"

namespace {

constexpr Colour darkBlue = 0x800000;
constexpr Colour red = 0x0000FF;
constexpr Colour amber = 0x00BEFF;

TEST(MeterScalerTest, LevelLineAndRfScales)
{
    LevelMeterScaler level;
    LineModeMeterScaler line;
    RfModeMeterScaler rf;
    struct Case {
        const MeterScaler& scaler;
        double raw;
        double expected;
    };
    for (const Case& c : std::vector<Case>{{level, 1023, 0.0},
                                           {level, 0, -60.0},
                                           {level, -5, -60.0},
                                           {level, 385, -60.0},
                                           {level, 386, (386 - 1023.0) * 0.094071},
                                           {level, 1, -60.0},
                                           {line, 256, 0.0},
                                           {line, 16, 3.0},
                                           {line, 255, -0.1875},
                                           {line, 128, -24.0},
                                           {rf, 128, -48.0},
                                           {rf, 127, 47.625}}) {
        EXPECT_DOUBLE_EQ(c.scaler.scale(c.raw, -60.0), c.expected) << c.raw;
    }
    EXPECT_NEAR(level.scale(386, -60.0), -59.9, 0.05);
    EXPECT_DOUBLE_EQ(level.scale(1, -100.0), (1 - 1023.0) * 0.094071); // about -96.1
}

TEST(PredicateTest, EqualsAndNonZero)
{
    EXPECT_TRUE(ValueEqualsPredicate(2).test(ParameterValue(2)));
    EXPECT_FALSE(ValueEqualsPredicate(2).test(ParameterValue(3)));
    EXPECT_TRUE(ValueEqualsPredicate(-1).test(ParameterValue(0xFFFF)));
    EXPECT_TRUE(ValueNonZeroPredicate().test(ParameterValue(-7)));
    EXPECT_FALSE(ValueNonZeroPredicate().test(ParameterValue(0)));
}

// The colour in the middle of each tenth of the meter, left to right.
std::vector<Colour> tenths(Window& meter)
{
    Grab grab(meter);
    std::vector<Colour> colours;
    for (int i = 0; i < 10; ++i) {
        colours.push_back(grab.pixel((2 * i + 1) * grab.width() / 20, grab.height() / 2));
    }
    return colours;
}

TEST_F(BindingTest, AnOutputMeterIsAmberFromTheLeftToTheLevel)
{
    // 1023 is 0 dB: a full amber bar.
    EXPECT_EQ(tenths(dialog->meter), std::vector<Colour>(10, amber));
    savePicture(dialog->meter, "output_meter_full");
}

TEST_F(BindingTest, AnOutputMeterFallsAtItsRate)
{
    long clock = 1000;
    Win32MeterObserver::setClock([&] { return clock; });
    // The first update after binding draws at once; rebind so the test clock is used.
    dialog->controller.addMeter(&dialog->meter, ids::level, &dialog->levelScaler, &dialog->outputMeter);
    std::vector<Colour> full(10, amber);
    EXPECT_EQ(tenths(dialog->meter), full);
    for (int step = 1; step <= 3; ++step) {
        clock += 100;
        set->report(ids::level, step % 2); // 0 and 1 both mean the floor, -60
        // Falling 40 per second: 100 ms later the bar stands 4 lower.
        std::vector<Colour> colours = tenths(dialog->meter);
        EXPECT_EQ(colours.front(), amber);
        EXPECT_EQ(colours.back(), darkBlue) << step; // -4 * step leaves the right end
    }
    clock += 10000;
    set->report(ids::level, 0);
    EXPECT_EQ(tenths(dialog->meter), std::vector<Colour>(10, darkBlue)); // at the floor only the ground
    set->report(ids::level, 1023);
    EXPECT_EQ(tenths(dialog->meter), full); // rises at once
    savePicture(dialog->meter, "output_meter_after_fall");
}

TEST(MeterObserverTest, TheFallIsFourPerTenthOfASecond)
{
    RecordingProtocol protocol;
    TestSet set(&protocol);
    Dialog dialog(9100);
    ASSERT_TRUE(dialog.create(nullptr));
    long clock = 500;
    Win32MeterObserver::setClock([&] { return clock; });
    MeterSettings settings;
    settings.reference = -60.0;
    settings.maximum = 0.0;
    settings.minimum = -60.0;
    settings.fallRate = 40.0;
    LevelMeterScaler scaler;
    Win32MeterObserver meter(&dialog.control<Static>(3054), &scaler, &settings);
    set.attachStatusObserver(ids::level, &meter);
    EXPECT_DOUBLE_EQ(meter.getShownLevel(), 0.0);
    int raw = 0;
    for (double expected : {-4.0, -8.0, -12.0}) {
        clock += 100;
        set.report(ids::level, raw); // 0 and 1 both read as the floor
        raw = 1 - raw;
        EXPECT_NEAR(meter.getShownLevel(), expected, 1e-9);
    }
    Win32MeterObserver::setClock(nullptr);
    dialog.destroyWindow();
    processPendingMessages();
}

TEST_F(BindingTest, ACentreZeroMeterIsRedBelowAndAmberAboveTheCentre)
{
    // 16 gives +3 of -24..24: amber from the centre to 3 (a sixteenth of the width).
    Grab above(dialog->centreMeter);
    int y = above.height() / 2;
    int w = above.width();
    EXPECT_EQ(above.pixel(w / 4, y), darkBlue);
    EXPECT_EQ(above.pixel(w / 2 + w / 32, y), amber);
    EXPECT_EQ(above.pixel(3 * w / 4, y), darkBlue);
    set->report(ids::lineMode, 0xC0); // -64 * 0.1875 = -12
    Grab below(dialog->centreMeter);
    EXPECT_EQ(below.pixel(w / 8, y), darkBlue);
    EXPECT_EQ(below.pixel(3 * w / 8, y), red);
    EXPECT_EQ(below.pixel(3 * w / 4, y), darkBlue);
    set->report(ids::lineMode, 256); // the centre itself: only the ground
    EXPECT_EQ(tenths(dialog->centreMeter), std::vector<Colour>(10, darkBlue));
    savePicture(dialog->centreMeter, "centre_meter");
}

TEST(MeterObserverTest, RefusesAMissingWindowOrScaler)
{
    MeterSettings settings;
    LevelMeterScaler scaler;
    Static unbound;
    try {
        Win32MeterObserver meter(&unbound, &scaler, &settings);
        FAIL();
    } catch (const VormoException& error) {
        EXPECT_STREQ(error.what(), "Null meter window");
    }
    Dialog dialog(9100);
    ASSERT_TRUE(dialog.create(nullptr));
    try {
        Win32MeterObserver meter(&dialog.control<Static>(3054), nullptr, &settings);
        FAIL();
    } catch (const VormoException& error) {
        EXPECT_STREQ(error.what(), "Null meter scaler");
    }
    dialog.destroyWindow();
    processPendingMessages();
}

TEST(BitmapObserverTest, RefusesMissingPartsByName)
{
    Bitmap bitmap;
    Static picture;
    ValueNonZeroPredicate predicate;
    EXPECT_THROW(Win32BitmapObserver(&picture, &predicate, &bitmap, nullptr), VormoException);
    try {
        Win32BitmapMapObserver observer(&picture, nullptr);
        FAIL();
    } catch (const VormoException& error) {
        EXPECT_STREQ(error.what(), "Error initializing a Win32BitmapMapObserver");
    }
}

TEST_F(BindingTest, ABitmapMapShowsTheDefaultForValuesWithoutAnEntry)
{
    BindingDialog& d = *dialog;
    EXPECT_EQ(d.ledMap.getBitmap(), &d.greenOn);
    set->reportControl(ids::aesRef, ParameterValue(2));
    EXPECT_EQ(d.ledMap.getBitmap(), &d.redOn);
    set->reportControl(ids::aesRef, ParameterValue(3));
    EXPECT_EQ(d.ledMap.getBitmap(), &d.greenOff);
    // The map reads the pending value of its control parameter.
    set->control(ids::aesRef).setPending(ParameterValue(1), nullptr);
    EXPECT_EQ(d.ledMap.getBitmap(), &d.greenOn);
    savePicture(d.ledMap, "led_map");
}

TEST_F(BindingTest, TheLcdReadoutIsGreenOnBlackInItsOwnFace)
{
    BindingDialog& d = *dialog;
    Grab grab(d.lcd);
    bool green = false;
    for (int y = 0; y < grab.height(); ++y) {
        for (int x = 0; x < grab.width(); ++x) {
            Colour c = grab.pixel(x, y);
            EXPECT_EQ(redOf(c), 0);
            EXPECT_EQ(blueOf(c), 0);
            green = green || greenOf(c) > 128;
        }
    }
    EXPECT_TRUE(green);
    EXPECT_EQ(grab.pixel(0, 0), rgb(0, 0, 0));
    FontDescription font = d.lcd.getFont();
    EXPECT_EQ(font.height, -26);
    EXPECT_FALSE(font.face.empty()); // Digiface where installed, a monospaced face elsewhere
    savePicture(d.lcd, "lcd_readout");
}

// --- Tab pages -----------------------------------------------------------------------

TEST_F(BindingTest, TheSelectedTabShowsAndEnablesOnlyItsPage)
{
    CTabPageControl& tabs = dialog->tabs;
    Dialog first(9101), second(9101), third(9101);
    for (Dialog* page : {&first, &second, &third}) {
        ASSERT_TRUE(page->create(&tabs));
    }
    tabs.addPage("First", &first);
    tabs.addPage("Second", &second);
    tabs.addPage(std::string(60, 'x'), &third);
    EXPECT_EQ(tabs.getCurSel(), 0);
    EXPECT_TRUE(first.isVisible() && first.isEnabled());
    EXPECT_FALSE(second.isVisible() || second.isEnabled() || third.isVisible() || third.isEnabled());
    EXPECT_EQ(tabs.getItemText(2), std::string(50, 'x'));
    savePicture(*dialog, "tab_first_page");

    user::clickTab(tabs, 2);
    tabs.showSelected();
    EXPECT_TRUE(third.isVisible() && third.isEnabled());
    EXPECT_FALSE(first.isVisible() || first.isEnabled() || second.isVisible());
    savePicture(*dialog, "tab_third_page");

    tabs.removeAll();
    EXPECT_EQ(tabs.getItemCount(), 0);
    EXPECT_TRUE(tabs.getPages().empty());
    tabs.showSelected(); // no pages: nothing
}

TEST(TabPageControlTest, RemoveAllWithoutAWindowOnlyForgetsThePages)
{
    CTabPageControl tabs;
    Window page;
    tabs.addPage("Page", &page);
    EXPECT_EQ(tabs.getPages().size(), 1U);
    tabs.removeAll();
    EXPECT_TRUE(tabs.getPages().empty());
}

TEST(TabPageControlTest, NoSelectionHidesEveryPage)
{
    Dialog dialog(9100);
    ASSERT_TRUE(dialog.create(nullptr));
    ChangeTabPage<Window> change(-1);
    Dialog real(9101);
    ASSERT_TRUE(real.create(&dialog.control<TabControl>(3060)));
    change(&real);
    change(nullptr);
    EXPECT_FALSE(real.isVisible());
    EXPECT_FALSE(real.isEnabled());
    real.destroyWindow();
    dialog.destroyWindow();
    processPendingMessages();
}

} // namespace
