#include "PageFixture.h"

#include "ui/pages/CKaraokeDlg.h"

namespace {

class KaraokeDialogTest : public PageTest {
protected:
    // Runs the dialog as the Monitor Control page opens it, with the script as the user.
    void run(const std::function<void(Dialog& dialog)>& actions)
    {
        ModalScript script([&](Dialog& dialog) {
            actions(dialog);
            if (dialog.isRunningModal()) {
                user::click(dialog.control<Button>(CKaraokeDlg::okButtonId));
            }
        });
        CKaraokeDlg dialog(pageController);
        dialog.runModal();
        EXPECT_EQ(script.runs, 1);
    }

    Win32Controller pageController{set.get(), &reporter};
};

TEST_F(KaraokeDialogTest, OpensShowingTheUnitsCurrentValues)
{
    set->report(0x0B07, 2);
    set->report(0x0B08, 20);
    set->report(0x0B09, 61);
    set->report(0x0B0A, 0);
    set->report(0x0B0B, 0);
    set->report(0x0B0C, 20);
    run([&](Dialog& dialog) {
        savePicture(dialog, "karaoke_dialog");
        EXPECT_EQ(dialog.control<Button>(1084).getCheck(), Button::Checked);
        EXPECT_EQ(dialog.control<Button>(1082).getCheck(), Button::Unchecked);
        EXPECT_EQ(dialog.control<Button>(1083).getCheck(), Button::Unchecked);
        struct Case {
            int slider;
            int readout;
            int mute;
            int value;
            const char* shown;
        };
        // Levels in dB down to "Mute" at 61; pans from "Hard Left" (0) over "Center" (10)
        // to "Hard Right" (20).
        for (Case c : {Case{1134, 1139, 1067, 20, "-20 dB"}, Case{1135, 1138, 1065, 61, "Mute"},
                       Case{1136, 1137, 1063, 0, "0 dB"}, Case{1131, 1140, 0, 0, "Hard Left"},
                       Case{1132, 1141, 0, 20, "Hard Right"}, Case{1133, 1142, 0, 10, "Center"}}) {
            SCOPED_TRACE(c.slider);
            EXPECT_EQ(dialog.control<Slider>(c.slider).getPos(), c.value);
            EXPECT_EQ(dialog.control<Static>(c.readout).getText(), c.shown);
            if (c.mute != 0) {
                EXPECT_EQ(dialog.control<Button>(c.mute).getCheck(),
                          c.value == 61 ? Button::Checked : Button::Unchecked);
            }
        }
    });
    EXPECT_TRUE(written().empty());
}

TEST_F(KaraokeDialogTest, ModeButtonsSetTheKaraokeMode)
{
    run([&](Dialog& dialog) {
        clickEachRow(dialog, {{1084, 0x0B07, 2}, {1083, 0x0B07, 1}, {1082, 0x0B07, 0}, {1082, 0x0B07, 0}});
    });
}

// "Mute" only mutes: a second click leaves it checked and sends nothing, and only the
// level slider brings the channel back.
TEST_F(KaraokeDialogTest, MuteOnlyMutesAndTheSliderUnmutes)
{
    set->report(0x0B09, 20);
    run([&](Dialog& dialog) {
        Button& mute = dialog.control<Button>(1065);
        Slider& level = dialog.control<Slider>(1135);
        EXPECT_EQ(mute.getCheck(), Button::Unchecked);

        user::click(mute);
        EXPECT_EQ(written(), std::vector<std::string>{"setValues 0B09=61"});
        EXPECT_EQ(mute.getCheck(), Button::Checked);
        EXPECT_EQ(level.getPos(), 61); // the bottom end
        EXPECT_EQ(dialog.control<Static>(1138).getText(), "Mute");

        user::click(mute);
        EXPECT_TRUE(written().empty());
        EXPECT_EQ(mute.getCheck(), Button::Checked);
        EXPECT_EQ(set->value(0x0B09), 61);

        user::drag(level, 0);
        EXPECT_EQ(set->value(0x0B09), 0);
        std::vector<std::string> sent = written();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back(), "setValueAndRead 0B09=0");
        EXPECT_EQ(mute.getCheck(), Button::Unchecked);
        // The other channels were left alone.
        EXPECT_EQ(dialog.control<Button>(1067).getCheck(), Button::Unchecked);
    });
    EXPECT_EQ(set->value(0x0B09), 0); // closing keeps the change
}

// The handler checks "Mute" before the controller reads it; when the unit refuses the
// mute, the button shows the level the unit kept, not the forced check.
TEST_F(KaraokeDialogTest, ARefusedMuteLeavesTheButtonUnchecked)
{
    set->report(0x0B08, 30);
    run([&](Dialog& dialog) {
        protocol.throwOnNextCall(HostException("Parameter locked"));
        user::click(dialog.control<Button>(1067));
        EXPECT_EQ(dialog.control<Button>(1067).getCheck(), Button::Unchecked);
        EXPECT_EQ(dialog.control<Slider>(1134).getPos(), 30);
    });
    EXPECT_EQ(reporter.reports, std::vector<std::string>{"reportHostError: Parameter locked"});
    EXPECT_EQ(set->value(0x0B08), 30);
}

TEST_F(KaraokeDialogTest, SlidersStepByTheirLineAndPageSizes)
{
    run([&](Dialog& dialog) {
        for (int id : {1131, 1132, 1133, 1134, 1135, 1136}) {
            EXPECT_EQ(dialog.control<Slider>(id).getLineSize(), 1) << id;
            EXPECT_EQ(dialog.control<Slider>(id).getPageSize(), 10) << id;
        }
        Slider& pan = dialog.control<Slider>(1133);
        EXPECT_EQ(pan.getRangeMin(), 0);
        EXPECT_EQ(pan.getRangeMax(), 20);
        int before = set->value(0x0B0D);
        user::press(pan, user::Key::PageUp);
        EXPECT_EQ(std::abs(set->value(0x0B0D) - before), 10);
        EXPECT_EQ(pan.getPos(), set->value(0x0B0D));
        EXPECT_EQ(dialog.control<Static>(1142).getText(), "Hard Left");

        user::drag(pan, 20);
        EXPECT_EQ(set->value(0x0B0D), 20);
        EXPECT_EQ(dialog.control<Static>(1142).getText(), "Hard Right");
    });
}

} // namespace
