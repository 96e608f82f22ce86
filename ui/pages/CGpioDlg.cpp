#include "ui/pages/CGpioDlg.h"

#include "model/ParameterId.h"

namespace {
// Where each column's parameters begin, entry 0 first, and the string-table entries
// its lists show.
constexpr int inputFunctionBase = 0x1F20;
constexpr int inputTriggerBase = 0x1F00;
constexpr int inputPolarityBase = 0x1F10;
constexpr int outputFunctionBase = 0x2122;
constexpr int outputTriggerBase = 0x2100;
constexpr int outputPolarityBase = 0x2111;
constexpr int functionStrings = 1100;
constexpr int lastInputFunctionString = 1173;
constexpr int lastOutputFunctionString = 1177;
constexpr int triggerStrings = 1200;
constexpr int polarityStrings = 1300;

ParameterId entryId(int base, int entry)
{
    return ParameterId(int16_t(base + entry));
}
} // namespace

// The rows do not follow the catalogue's entry order: the dialog lists the pins as the
// unit's connector numbers them.
const std::array<CGpioDlg::Row, CGpioDlg::inputRows> CGpioDlg::inputRowTable = {{
    {6, 14, 1619, 1638, 1658},
    {23, 0, 1605, 1624, 1644},
    {24, 1, 1606, 1625, 1645},
    {25, 2, 1607, 1626, 1646},
    {26, 3, 1608, 1627, 1647},
    {27, 4, 1609, 1628, 1648},
    {28, 5, 1617, 1629, 1649},
    {29, 6, 1611, 1630, 1650},
    {30, 7, 1610, 1631, 1651},
    {31, 8, 1612, 1632, 1652},
    {32, 9, 1613, 1633, 1653},
    {33, 10, 1614, 1634, 1654},
    {34, 11, 1615, 1635, 1655},
    {35, 12, 1616, 1636, 1656},
    {36, 13, 1618, 1637, 1657},
}};

const std::array<CGpioDlg::Row, CGpioDlg::outputRows> CGpioDlg::outputRowTable = {{
    {3, 0, 1692, 1693, 1694},
    {4, 1, 1620, 1639, 1659},
    {5, 15, 1621, 1640, 1660},
    {7, 2, 1622, 1641, 1661},
    {8, 3, 1623, 1642, 1662},
    {9, 4, 1643, 1663, 1664},
    {10, 5, 1665, 1666, 1667},
    {11, 6, 1668, 1669, 1670},
    {12, 7, 1671, 1672, 1673},
    {13, 8, 1674, 1675, 1676},
    {14, 9, 1677, 1678, 1679},
    {15, 10, 1680, 1681, 1682},
    {16, 11, 1683, 1684, 1685},
    {17, 12, 1686, 1687, 1688},
    {18, 13, 1689, 1690, 1691},
    {19, 14, 1698, 1699, 1700},
}};

CGpioDlg::CGpioDlg(const Win32Controller& pageController) : Dialog(templateId), m_controller(pageController)
{
#define QZ_GPIO_CONNECT(direction, table, pin, row)                                                          \
    connect(table[row].functionId, Notify::SelChange,                                                        \
            [this](Notification&) { OnSelchange##direction##Pin##pin##Function(); });                        \
    connect(table[row].triggerId, Notify::SelChange,                                                         \
            [this](Notification&) { OnSelchange##direction##Pin##pin##Trigger(); });                         \
    connect(table[row].polarityId, Notify::SelChange,                                                        \
            [this](Notification&) { OnSelchange##direction##Pin##pin##Polarity(); });
#define QZ_GPIO_CONNECT_INPUT(pin, row) QZ_GPIO_CONNECT(Input, inputRowTable, pin, row)
#define QZ_GPIO_CONNECT_OUTPUT(pin, row) QZ_GPIO_CONNECT(Output, outputRowTable, pin, row)
    QZ_GPIO_INPUT_ROWS(QZ_GPIO_CONNECT_INPUT)
    QZ_GPIO_OUTPUT_ROWS(QZ_GPIO_CONNECT_OUTPUT)
#undef QZ_GPIO_CONNECT_OUTPUT
#undef QZ_GPIO_CONNECT_INPUT
#undef QZ_GPIO_CONNECT
}

bool CGpioDlg::onInitDialog()
{
    doDataExchange();
    bindControls();
    return true;
}

void CGpioDlg::doDataExchange()
{
    for (int row = 0; row < inputRows; ++row) {
        attach(m_inputFunction[row], inputRowTable[row].functionId);
        attach(m_inputTrigger[row], inputRowTable[row].triggerId);
        attach(m_inputPolarity[row], inputRowTable[row].polarityId);
    }
    for (int row = 0; row < outputRows; ++row) {
        attach(m_outputFunction[row], outputRowTable[row].functionId);
        attach(m_outputTrigger[row], outputRowTable[row].triggerId);
        attach(m_outputPolarity[row], outputRowTable[row].polarityId);
    }
}

void CGpioDlg::bindControls()
{
    for (int row = 0; row < inputRows; ++row) {
        int entry = inputRowTable[row].entry;
        m_controller.addComboBox(&m_inputFunction[row], entryId(inputFunctionBase, entry), functionStrings,
                                 lastInputFunctionString);
        m_controller.addComboBox(&m_inputTrigger[row], entryId(inputTriggerBase, entry), triggerStrings,
                                 triggerStrings + 1);
        m_controller.addComboBox(&m_inputPolarity[row], entryId(inputPolarityBase, entry), polarityStrings,
                                 polarityStrings + 1);
    }
    for (int row = 0; row < outputRows; ++row) {
        int entry = outputRowTable[row].entry;
        m_controller.addComboBox(&m_outputFunction[row], entryId(outputFunctionBase, entry), functionStrings,
                                 lastOutputFunctionString);
        m_controller.addComboBox(&m_outputTrigger[row], entryId(outputTriggerBase, entry), triggerStrings,
                                 triggerStrings + 1);
        m_controller.addComboBox(&m_outputPolarity[row], entryId(outputPolarityBase, entry), polarityStrings,
                                 polarityStrings + 1);
    }
}

#define QZ_GPIO_DEFINE(direction, array, pin, row)                                                           \
    void CGpioDlg::OnSelchange##direction##Pin##pin##Function()                                              \
    {                                                                                                        \
        m_controller.onCommand(&m_##array##Function[row]);                                                   \
    }                                                                                                        \
    void CGpioDlg::OnSelchange##direction##Pin##pin##Trigger()                                               \
    {                                                                                                        \
        m_controller.onCommand(&m_##array##Trigger[row]);                                                    \
    }                                                                                                        \
    void CGpioDlg::OnSelchange##direction##Pin##pin##Polarity()                                              \
    {                                                                                                        \
        m_controller.onCommand(&m_##array##Polarity[row]);                                                   \
    }
#define QZ_GPIO_DEFINE_INPUT(pin, row) QZ_GPIO_DEFINE(Input, input, pin, row)
#define QZ_GPIO_DEFINE_OUTPUT(pin, row) QZ_GPIO_DEFINE(Output, output, pin, row)
QZ_GPIO_INPUT_ROWS(QZ_GPIO_DEFINE_INPUT)
QZ_GPIO_OUTPUT_ROWS(QZ_GPIO_DEFINE_OUTPUT)
#undef QZ_GPIO_DEFINE_OUTPUT
#undef QZ_GPIO_DEFINE_INPUT
#undef QZ_GPIO_DEFINE
