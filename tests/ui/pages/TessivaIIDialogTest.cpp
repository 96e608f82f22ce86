#include "PageFixture.h"

#include "ui/pages/CTessivaIIDlg.h"

namespace {

class TessivaIIDialogTest : public PageTest {
protected:
    void run(const std::function<void(Dialog& dialog)>& actions)
    {
        ModalScript script([&](Dialog& dialog) {
            actions(dialog);
            if (dialog.isRunningModal()) {
                user::click(dialog.control<Button>(CTessivaIIDlg::okButtonId));
            }
        });
        CTessivaIIDlg dialog(pageController);
        dialog.runModal();
        EXPECT_EQ(script.runs, 1);
    }

    Win32Controller pageController{set.get(), &reporter};
};

TEST_F(TessivaIIDialogTest, ModeAndPanoramaButtonsSetTheirValues)
{
    run([&](Dialog& dialog) {
        savePicture(dialog, "tessiva_ii_dialog");
        // "Enable" carries 1 and "Disable" 0.
        clickEachRow(dialog, {{1086, 0x0D01, 1},
                              {1087, 0x0D01, 2},
                              {1088, 0x0D01, 3},
                              {1085, 0x0D01, 0},
                              {1101, 0x0D02, 1},
                              {1102, 0x0D02, 0},
                              {1102, 0x0D02, 0}});
    });
}

TEST_F(TessivaIIDialogTest, SlidersCoverTheirRangesAndShowTheirReadouts)
{
    set->report(0x0D04, 7);
    run([&](Dialog& dialog) {
        Slider& width = dialog.control<Slider>(1130);
        Slider& dimension = dialog.control<Slider>(1091);
        // Centre width 7 is the right end; a page step spans the whole range.
        EXPECT_EQ(width.getRangeMin(), 0);
        EXPECT_EQ(width.getRangeMax(), 7);
        EXPECT_EQ(width.getPos(), 7);
        EXPECT_EQ(width.getPageSize(), 7);
        EXPECT_EQ(dimension.getRangeMax(), 6);
        EXPECT_EQ(dimension.getPageSize(), 6);
        EXPECT_EQ(dialog.control<Static>(1165).getText(), "L/R"); // the right end

        user::drag(dimension, 0);
        EXPECT_EQ(set->value(0x0D03), 0);
        EXPECT_EQ(dialog.control<Static>(1166).getText(), "-3"); // the value minus 3

        user::press(width, user::Key::PageUp);
        EXPECT_EQ(set->value(0x0D04), 0);
        EXPECT_EQ(width.getPos(), 0);
    });
    EXPECT_EQ(set->value(0x0D03), 0);
}

} // namespace
