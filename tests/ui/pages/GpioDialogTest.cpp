#include "PageFixture.h"

#include "ui/pages/CGpioDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <span>

#include "platform/qt/Internals.h"

namespace {

// Each row of the dialog as the user reads it, top to bottom: the pin it is labelled
// with and the ids of its function, trigger and polarity lists.
struct PinRow {
    int pin;
    int function;
    int trigger;
    int polarity;
};
const PinRow inputRows[] = {
    {6, 1619, 1638, 1658},  {23, 1605, 1624, 1644}, {24, 1606, 1625, 1645}, {25, 1607, 1626, 1646},
    {26, 1608, 1627, 1647}, {27, 1609, 1628, 1648}, {28, 1617, 1629, 1649}, {29, 1611, 1630, 1650},
    {30, 1610, 1631, 1651}, {31, 1612, 1632, 1652}, {32, 1613, 1633, 1653}, {33, 1614, 1634, 1654},
    {34, 1615, 1635, 1655}, {35, 1616, 1636, 1656}, {36, 1618, 1637, 1657},
};
const PinRow outputRows[] = {
    {3, 1692, 1693, 1694},  {4, 1620, 1639, 1659},  {5, 1621, 1640, 1660},  {7, 1622, 1641, 1661},
    {8, 1623, 1642, 1662},  {9, 1643, 1663, 1664},  {10, 1665, 1666, 1667}, {11, 1668, 1669, 1670},
    {12, 1671, 1672, 1673}, {13, 1674, 1675, 1676}, {14, 1677, 1678, 1679}, {15, 1680, 1681, 1682},
    {16, 1683, 1684, 1685}, {17, 1686, 1687, 1688}, {18, 1689, 1690, 1691}, {19, 1698, 1699, 1700},
};

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
    for (const PinRow& row : inputRows) {
        int entry = row.pin == 6 ? 14 : row.pin - 23;
        all.push_back({row.function, 0x1F20 + entry, 74, "Dim/Mute"});
        all.push_back({row.trigger, 0x1F00 + entry, 2, "Edge"});
        all.push_back({row.polarity, 0x1F10 + entry, 2, "Positive"});
    }
    for (const PinRow& row : outputRows) {
        int entry = row.pin == 3 ? 0 : row.pin == 4 ? 1 : row.pin == 5 ? 15 : row.pin - 5;
        all.push_back({row.function, 0x2122 + entry, 78, "Vormo Digital Input"});
        all.push_back({row.trigger, 0x2100 + entry, 2, "Edge"});
        all.push_back({row.polarity, 0x2111 + entry, 2, "Positive"});
    }
    return all;
}

// Where the widget with the id stands on the dialog, top edge first.
QRect placeOf(QWidget* root, QWidget* widget)
{
    return QRect(widget->mapTo(root, QPoint(0, 0)), widget->size());
}

QWidget* controlWidget(QWidget* root, int id)
{
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (child->property("id").toInt() == id) {
            return child;
        }
    }
    return nullptr;
}

class GpioDialogTest : public PageTest {
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

// Each group's rows stand top to bottom in pin order, each pin's label on the line of
// its own three lists.
TEST_F(GpioDialogTest, TheRowsStandInPinOrder)
{
    run([&](Dialog& dialog) {
        QWidget* root = dialog.internals().live();
        ASSERT_NE(root, nullptr);
        for (auto [title, rows] : {std::pair{"Inputs", std::span<const PinRow>(inputRows)},
                                   std::pair{"Outputs", std::span<const PinRow>(outputRows)}}) {
            QGroupBox* group = nullptr;
            for (QGroupBox* box : root->findChildren<QGroupBox*>()) {
                group = box->title() == title ? box : group;
            }
            ASSERT_NE(group, nullptr) << title;
            int above = -1;
            for (const PinRow& row : rows) {
                SCOPED_TRACE(row.pin);
                QLabel* pinLabel = nullptr;
                for (QLabel* label : group->findChildren<QLabel*>()) {
                    pinLabel = label->text() == QString::number(row.pin) ? label : pinLabel;
                }
                ASSERT_NE(pinLabel, nullptr);
                QRect pinPlace = placeOf(root, pinLabel);
                EXPECT_GT(pinPlace.top(), above);
                above = pinPlace.top();
                for (int list : {row.function, row.trigger, row.polarity}) {
                    QWidget* widget = controlWidget(group, list);
                    ASSERT_NE(widget, nullptr) << list;
                    QRect listPlace = placeOf(root, widget);
                    EXPECT_GT(listPlace.left(), pinPlace.right());
                    EXPECT_NEAR(listPlace.center().y(), pinPlace.center().y(), 3) << list;
                }
            }
        }
    });
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
