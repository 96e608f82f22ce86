#include "UnitSetPageFixture.h"

#include "ui/pages/CGpioDlg.h"

namespace {

// One drop list of the dialog and the parameter it must bind, worked out from the pin
// its row is labelled with: input pin 6 is entry 14 and pins 23 to 36 entries 0 to 13;
// output pins 3 and 4 are entries 0 and 1, pin 5 entry 15, pins 7 to 19 entries 2 to 14.
struct Column {
    int control;
    int parameter;
    int count;
    std::string last;
};

std::vector<Column> columns()
{
    std::vector<Column> all;
    for (const CGpioDlg::Row& row : CGpioDlg::inputRowTable) {
        int entry = row.pin == 6 ? 14 : row.pin - 23;
        all.push_back({row.functionId, 0x1F20 + entry, 74, "Dim/Mute"});
        all.push_back({row.triggerId, 0x1F00 + entry, 2, "Edge"});
        all.push_back({row.polarityId, 0x1F10 + entry, 2, "Positive"});
    }
    for (const CGpioDlg::Row& row : CGpioDlg::outputRowTable) {
        int entry = row.pin == 3 ? 0 : row.pin == 4 ? 1 : row.pin == 5 ? 15 : row.pin - 5;
        all.push_back({row.functionId, 0x2122 + entry, 78, "Vormo Digital Input"});
        all.push_back({row.triggerId, 0x2100 + entry, 2, "Edge"});
        all.push_back({row.polarityId, 0x2111 + entry, 2, "Positive"});
    }
    return all;
}

class GpioDialogTest : public UnitSetPageTest {
protected:
    void run(const std::function<void(Dialog& dialog)>& actions)
    {
        ModalScript script([&](Dialog& dialog) {
            actions(dialog);
            user::click(dialog.control<Button>(CGpioDlg::okButtonId));
        });
        CGpioDlg dialog(pageController);
        dialog.runModal();
        EXPECT_EQ(script.runs, 1);
    }

    Win32Controller pageController{set.get(), &reporter};
};

TEST_F(GpioDialogTest, TheRowsStandInPinOrder)
{
    std::vector<int> inputs, outputs;
    for (const CGpioDlg::Row& row : CGpioDlg::inputRowTable) {
        inputs.push_back(row.pin);
    }
    for (const CGpioDlg::Row& row : CGpioDlg::outputRowTable) {
        outputs.push_back(row.pin);
    }
    EXPECT_EQ(inputs, (std::vector<int>{6, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36}));
    EXPECT_EQ(outputs, (std::vector<int>{3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
}

// Every one of the 93 lists shows its parameter's value and sends a selection to it,
// and nothing else.
TEST_F(GpioDialogTest, EveryListShowsAndSetsItsOwnParameter)
{
    std::vector<Column> all = columns();
    ASSERT_EQ(all.size(), 93u);
    run([&](Dialog& dialog) {
        savePicture(dialog, "gpio_dialog");
        for (const Column& column : all) {
            SCOPED_TRACE("control " + std::to_string(column.control));
            ComboBox& list = dialog.control<ComboBox>(column.control);
            ASSERT_EQ(list.getCount(), column.count);
            EXPECT_EQ(list.getLBText(column.count - 1), column.last);
            EXPECT_EQ(list.getCurSel(), set->value(column.parameter));

            int choice = (set->value(column.parameter) + 1) % column.count;
            user::choose(list, choice);
            char expected[32];
            std::snprintf(expected, sizeof expected, "setValues %04X=%d", unsigned(column.parameter), choice);
            EXPECT_EQ(written(), std::vector<std::string>{expected});
            EXPECT_EQ(set->value(column.parameter), choice);
        }
    });
}

TEST_F(GpioDialogTest, ListsShowTheDialogsOwnTexts)
{
    run([&](Dialog& dialog) {
        ComboBox& inputFunction = dialog.control<ComboBox>(1605); // pin 23
        EXPECT_EQ(inputFunction.getLBText(0), "Bypass");
        EXPECT_EQ(inputFunction.getLBText(32), "Preset 32");
        EXPECT_EQ(inputFunction.getLBText(33), "AES1 Input");
        ComboBox& outputFunction = dialog.control<ComboBox>(1692); // pin 3
        EXPECT_EQ(outputFunction.getLBText(73), "Dim/Mute");
        EXPECT_EQ(outputFunction.getLBText(74), "Error");
        EXPECT_EQ(dialog.control<ComboBox>(1624).getLBText(0), "Level");
        EXPECT_EQ(dialog.control<ComboBox>(1644).getLBText(0), "Negative");

        // The rows labelled pin 6 and pin 5 follow entries 15 and 16.
        set->report(0x1F2E, 5);
        EXPECT_EQ(dialog.control<ComboBox>(1619).getLBText(dialog.control<ComboBox>(1619).getCurSel()),
                  "Preset 5");
        set->report(0x2131, 77);
        EXPECT_EQ(dialog.control<ComboBox>(1621).getCurSel(), 77);
    });
}

// The entries without a row, the active pins and the edit mode are neither shown
// nor changed.
TEST_F(GpioDialogTest, ParametersWithoutARowChangeNothing)
{
    run([&](Dialog& dialog) {
        std::vector<Column> all = columns();
        auto selections = [&] {
            std::vector<int> shown;
            for (const Column& column : all) {
                shown.push_back(dialog.control<ComboBox>(column.control).getCurSel());
            }
            return shown;
        };
        std::vector<int> before = selections();
        for (auto [parameter, value] : {std::pair{0x1F0F, 1},
                                        {0x1F1F, 1},
                                        {0x1F2F, 40},
                                        {0x2110, 1},
                                        {0x2121, 1},
                                        {0x2132, 60},
                                        {0x1F30, 9},
                                        {0x2133, 12},
                                        {0x2134, 1}}) {
            set->report(parameter, value);
        }
        EXPECT_EQ(selections(), before);
    });
    EXPECT_TRUE(written().empty());
}

} // namespace
