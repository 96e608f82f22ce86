#include "BindingFixture.h"

#include "model/Exceptions.h"
#include "platform/Application.h"
#include "support/gui/UserInput.h"

namespace {

using Texts = std::vector<std::string>;

TEST_F(BindingTest, BindingShowsEveryParameterAtOnce)
{
    BindingDialog& d = *dialog;
    EXPECT_EQ(d.aes1.getCheck(), Button::Checked);
    EXPECT_EQ(d.aes2.getCheck() + d.optical.getCheck() + d.bypass.getCheck(), 0);
    EXPECT_EQ(d.cut.getText(), "+0.3");
    EXPECT_EQ(d.unitName.getText(), "QZ347");
    EXPECT_EQ(d.timeout.getCurSel(), 1);
    EXPECT_EQ(d.timeout.getText(), "1 Hour");
    EXPECT_EQ(d.file.getText(), "intro.ac3");
    EXPECT_EQ(d.volume.getRangeMin(), -40); // inverted: the maximum at the top
    EXPECT_EQ(d.volume.getRangeMax(), 0);
    EXPECT_EQ(d.volume.getPos(), -20);
    EXPECT_EQ(d.trim.getPos(), 95);
    EXPECT_EQ(d.volumeText.getText(), "20");
    EXPECT_EQ(d.stop.getState() & Button::PushedBit, Button::PushedBit); // state 1: stopped
    EXPECT_EQ(d.play.getState() & Button::PushedBit, 0);
    EXPECT_EQ(d.led.getBitmap(), &d.blueOn);
    EXPECT_EQ(d.ledMap.getBitmap(), &d.greenOn);
    EXPECT_TRUE(sent().empty()); // showing sends nothing
    savePicture(d, "binding_dialog");
}

TEST_F(BindingTest, StatusTextsDoubleTheirAmpersands)
{
    EXPECT_EQ(dialog->inputType.getText(), "R&&D Digital"); // shown as "R&D Digital"
    set->report(ids::inputType, 7);
    EXPECT_EQ(dialog->inputType.getText(), "7");
    EXPECT_EQ(dialog->led.getBitmap(), &dialog->blueOff);
}

TEST_F(BindingTest, ARadioClickSetsItsValueInOneTransactionAndChecksOnlyItself)
{
    user::click(dialog->optical);
    EXPECT_EQ(batches(), Texts{"setValues: 301=2"});
    EXPECT_EQ(dialog->optical.getCheck(), Button::Checked);
    EXPECT_EQ(dialog->aes1.getCheck() + dialog->aes2.getCheck(), 0);
    user::click(dialog->optical); // clicking the checked one sends nothing
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(dialog->optical.getCheck(), Button::Checked);
}

TEST_F(BindingTest, ACheckBoxSendsItsValueOrZero)
{
    user::click(dialog->bypass);
    EXPECT_EQ(batches(), Texts{"setValues: 309=1"});
    set->reportControl(ids::bypass, ParameterValue(1));
    user::click(dialog->bypass);
    EXPECT_EQ(batches(), Texts{"setValues: 309=0"});
    EXPECT_EQ(dialog->bypass.getCheck(), Button::Unchecked);
}

TEST_F(BindingTest, ACheckBoxOutsideTheRangeIsDisabled)
{
    set->control(ids::inputSelect).setMaximum(ParameterValue(1), nullptr);
    EXPECT_FALSE(dialog->optical.isEnabled());
    EXPECT_TRUE(dialog->aes2.isEnabled());
}

TEST_F(BindingTest, TypingSendsEachAcceptedTextAndFocusLossShowsTheValue)
{
    BindingDialog& d = *dialog;
    user::focus(d.cut);
    user::press(d.cut, user::Key::End);
    for (int i = 0; i < 4; ++i) {
        user::press(d.cut, user::Key::Backspace); // "+0.", "+0", "+", ""
    }
    EXPECT_EQ(batches(), Texts{"setValues: B04=0"}); // only "+0." reads as a new value
    user::type(d.cut, "0.5");                        // "0", "0." read 0 again
    EXPECT_EQ(batches(), Texts{"setValues: B04=5"});
    user::type(d.cut, "x"); // "0.5x" reads 0.5: the value is unchanged
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(d.cut.getText(), "0.5x"); // the typed text stays while typing
    user::focus(d.unitName);
    EXPECT_EQ(d.cut.getText(), "+0.5");
}

TEST_F(BindingTest, AnUpArrowStepsTheValueUpAndSendsItAtOnce)
{
    user::stepUp(dialog->cutSpin);
    EXPECT_EQ(batches(), Texts{"setValueAndRead: B04=4"});
    EXPECT_EQ(dialog->cut.getText(), "+0.4");
    user::stepDown(dialog->cutSpin);
    EXPECT_EQ(batches(), Texts{"setValueAndRead: B04=3"});
    protocol.values[ids::customCut] = ParameterValue(0);
    set->reportControl(ids::customCut, ParameterValue(0));
    user::stepDown(dialog->cutSpin); // below the minimum: nothing
    EXPECT_TRUE(sent().empty());
}

TEST_F(BindingTest, SlidersStepByLineAndPageWithinTheRange)
{
    BindingDialog& d = *dialog;
    user::press(d.volume, user::Key::Down); // down the inverted slider: one lower
    EXPECT_EQ(batches(), Texts{"setValueAndRead: 511=19"});
    EXPECT_EQ(d.volume.getPos(), -19);
    EXPECT_EQ(d.volumeText.getText(), "19");
    user::press(d.volume, user::Key::PageUp);
    EXPECT_EQ(batches(), Texts{"setValueAndRead: 511=29"});
    user::press(d.trim, user::Key::PageDown); // 95 + 10 clamps to 100
    EXPECT_EQ(batches(), Texts{"setValueAndRead: 510=100"});
    user::drag(d.trim, 40);
    EXPECT_EQ(batches(), Texts{"setValueAndRead: 510=40"});
    EXPECT_EQ(d.trim.getPos(), 40);
}

TEST_F(BindingTest, TheSliderThumbFollowsWhatTheUnitReportsBack)
{
    protocol.readBack = [](const ParameterId&, const ParameterValue&) { return ParameterValue(25); };
    user::press(dialog->volume, user::Key::Down);
    EXPECT_EQ(dialog->volume.getPos(), -25);
}

TEST_F(BindingTest, RebindingDetachesTheOldObserver)
{
    BindingDialog& d = *dialog;
    Win32SliderObserver* second = d.controller.addSlider(&d.volume, ids::digitalVolume, true, false);
    second->setup(10, 1, 10);
    EXPECT_EQ(d.volume.getPos(), -50);
    set->reportControl(ids::volume, ParameterValue(5));
    EXPECT_EQ(d.volume.getPos(), -50); // the former parameter no longer moves it
    user::press(d.volume, user::Key::Down);
    EXPECT_EQ(batches(), Texts{"setValueAndRead: 312=49"});
}

TEST_F(BindingTest, ComboBoxesFollowTheRangeAndSelectionSetsMinimumPlusIndex)
{
    BindingDialog& d = *dialog;
    EXPECT_EQ(d.timeout.getCount(), 3);
    user::choose(d.timeout, 2);
    EXPECT_EQ(batches(), Texts{"setValues: 2D01=2"});
    EXPECT_EQ(d.timeout.getText(), "4 Hours");

    ControlParameter& timeout = set->control(ids::timeout);
    timeout.setMaximum(ParameterValue(2), nullptr);
    set->reportControl(ids::timeout, ParameterValue(1));
    EXPECT_EQ(d.timeout.getText(), "1 Hour");
}

TEST_F(BindingTest, AComboBoxShowsOnlyItsOwnStringsAndOtherValuesAsNumbers)
{
    BindingDialog& d = *dialog;
    // Range -5..20 over the five strings 1100..1104: only values 0..4 have strings.
    ASSERT_EQ(d.wide.getCount(), 5);
    EXPECT_EQ(d.wide.getLBText(0), "Bypass");
    EXPECT_EQ(d.wide.getLBText(4), "Preset 4");
    EXPECT_EQ(d.wide.getText(), "Preset 2");
    set->reportControl(ids::wide, ParameterValue(7));
    EXPECT_EQ(d.wide.getText(), "7");
    set->reportControl(ids::wide, ParameterValue(-3));
    EXPECT_EQ(d.wide.getText(), "-3");
    EXPECT_EQ(d.wide.getCount(), 6);
    user::choose(d.wide, 1);
    EXPECT_EQ(batches(), Texts{"setValues: 700=1"});
    EXPECT_EQ(d.wide.getCount(), 5); // the number item goes once the value has a string
}

TEST_F(BindingTest, AComboBoxNarrowedToPartOfItsStrings)
{
    BindingDialog& d = *dialog;
    // Entries 1100..1104 for a parameter whose range becomes 2..4.
    ControlParameter& wide = set->control(ids::wide);
    wide.setMaximum(ParameterValue(4), nullptr);
    ControlParameter narrowed(&protocol, ids::wide, ParameterValue(2), ParameterValue(4), nullptr);
    set->control(ids::wide) = narrowed; // a copy keeps the observers of the target
    set->reportControl(ids::wide, ParameterValue(3));
    ASSERT_EQ(d.wide.getCount(), 3);
    EXPECT_EQ(d.wide.getLBText(0), "Preset 2");
    user::choose(d.wide, 0);
    EXPECT_EQ(batches(), Texts{"setValues: 700=2"});
}

TEST_F(BindingTest, ADropdownSendsAChosenOrTypedNameOnceAndEchoesUnchanged)
{
    BindingDialog& d = *dialog;
    d.file.addString("music.ac3");
    d.file.addString("demo.ac3");
    user::choose(d.file, 1); // sorted: demo, music
    EXPECT_EQ(batches(), Texts{"setValues: 2503=\"music.ac3\""});
    user::choose(d.file, 1);
    EXPECT_TRUE(sent().empty()); // the last text sent
    user::focus(d.file);
    user::type(d.file, "2");
    user::focus(d.cut);
    EXPECT_EQ(batches(), Texts{"setValues: 2503=\"music.ac32\""});
}

TEST_F(BindingTest, ANameFromTheUnitIsCommittedBackByteIdentical)
{
    BindingDialog& d = *dialog;
    std::string name = "Caf\xE9 \x80\xFF&";
    set->reportControl(ids::unitName, ParameterValue(name));
    set->reportControl(ids::fileName, ParameterValue(name));
    EXPECT_EQ(d.unitName.getText(), name);
    user::focus(d.unitName);
    user::focus(d.file); // the unit name is committed on focus loss
    user::focus(d.cut);  // and so is the drop-down
    EXPECT_TRUE(sent().empty());
    // A longer name than the edit takes from the keyboard is shown whole and not cut.
    std::string longName = "A name of twenty bytes";
    set->reportControl(ids::unitName, ParameterValue(longName));
    EXPECT_EQ(d.unitName.getText(), longName);
    user::focus(d.unitName);
    user::press(d.unitName, user::Key::Enter);
    user::focus(d.cut);
    EXPECT_TRUE(sent().empty());
}

TEST_F(BindingTest, TheUnitNameIsSentOnEnterAndOnFocusLossOnly)
{
    BindingDialog& d = *dialog;
    user::focus(d.unitName);
    user::type(d.unitName, "X");
    EXPECT_TRUE(sent().empty());
    user::press(d.unitName, user::Key::Enter); // to the hidden default button
    EXPECT_EQ(batches(), Texts{"setValues: 103=\"QZ347X\""});
    user::focus(d.cut);
    EXPECT_TRUE(sent().empty()); // unchanged since it was sent
    // Only the first occurrence of the filtered word is replaced; the edit keeps what was typed.
    set->reportControl(ids::unitName, ParameterValue(std::string("")));
    user::type(d.unitName, "fuck fuck");
    user::focus(d.cut);
    EXPECT_EQ(batches(), Texts{"setValues: 103=\"$#*! fuck\""});
}

TEST_F(BindingTest, PushButtonsSendTheirValueUnlessShownPushed)
{
    BindingDialog& d = *dialog;
    user::click(d.stop); // state 1 shows Stop pushed
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(d.stop.getState() & Button::PushedBit, Button::PushedBit);
    user::click(d.play);
    EXPECT_EQ(batches(), Texts{"setValueAndRead: 2500=0"});
    EXPECT_EQ(d.play.getState() & Button::PushedBit, 0); // only the status pushes it
    user::click(d.play);                                 // sent again although 0x2500 already holds 0
    EXPECT_EQ(batches(), Texts{"setValueAndRead: 2500=0"});
    set->report(ids::state, 4);
    EXPECT_EQ(d.play.getState() & Button::PushedBit, Button::PushedBit);
    EXPECT_EQ(d.stop.getState() & Button::PushedBit, 0);
}

TEST(ButtonStateTest, OnlyThePushedBitCountsAsPushed)
{
    // A button that is checked and has the focus is not pushed.
    Dialog plain(9100);
    ASSERT_TRUE(plain.create(nullptr));
    Button& button = plain.control<Button>(3004);
    button.setCheck(Button::Checked);
    user::focus(button);
    ASSERT_NE(button.getState() & (Button::CheckedBit | Button::FocusBit), 0);
    EXPECT_FALSE(ButtonState(&button).pushed);
    button.setState(true);
    EXPECT_TRUE(ButtonState(&button).pushed);
    plain.destroyWindow();
    processPendingMessages();
}

} // namespace

namespace {

// The values whose texts a control must have room for, and what a text shows.
TEST(RoomForEveryValueTest, ShortRangesGiveEveryValueLongOnesTheirEndsAndLabels)
{
    EnumeratedFormatter labels("Level");
    labels.add(ParameterValue(1500), "Half way");
    labels.add(ParameterValue(9000), "Beyond the range");
    struct Case {
        const char* what;
        int minimum;
        int maximum;
        const ParameterFormatter* formatter;
        std::vector<int> values;
    };
    std::vector<int> shortRange;
    for (int value = -5; value <= 20; ++value) {
        shortRange.push_back(value);
    }
    const Case cases[] = {
        {"a short range, every value", -5, 20, nullptr, shortRange},
        {"a long range: its ends, zero and the labels within it", 0, 3000, &labels, {0, 3000, 0, 1500}},
        {"a long signed range: minus one too", -2000, 2000, nullptr, {-2000, 2000, 0, -1}},
        {"a range up to 0xFFFF holds unsigned readings", 0, 0xFFFF, nullptr, {0, 0xFFFF, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Parameter parameter(nullptr, ParameterId(0x0700), ParameterValue(c.minimum),
                            ParameterValue(c.maximum));
        EXPECT_EQ(valuesToFit(parameter, c.formatter), c.values);
    }
}

TEST(RoomForEveryValueTest, AFreeTextShowsNothingUntilReadAndItsAmpersandsDoubled)
{
    StringFormatter name("Preset Name");
    Parameter text(nullptr, ParameterId(0x1B01), MinimumValue(), MaximumValue(), &name);
    ASSERT_TRUE(isFreeText(text));
    // Its value is still the bottom of its range, a number whose byte the font cannot draw.
    EXPECT_EQ(shownText(text, text.value(), nullptr), "");
    EXPECT_EQ(shownText(text, ParameterValue(std::string("Rock&Roll")), nullptr), "Rock&&Roll");
    Parameter number(nullptr, ParameterId(0x1B00), ParameterValue(0), ParameterValue(32));
    EXPECT_FALSE(isFreeText(number));
    EXPECT_EQ(shownText(number, number.value(), nullptr), "0");
}

} // namespace
