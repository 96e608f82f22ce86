#pragma once

#include <array>

#include "platform/Dialog.h"
#include "ui/binding/Win32Controller.h"

// The rows of the dialog, top to bottom, as (pin label, row index).
#define QZ_GPIO_INPUT_ROWS(X)                                                                                \
    X(6, 0)                                                                                                  \
    X(23, 1) X(24, 2) X(25, 3) X(26, 4) X(27, 5) X(28, 6) X(29, 7) X(30, 8) X(31, 9) X(32, 10) X(33, 11)     \
        X(34, 12) X(35, 13) X(36, 14)
#define QZ_GPIO_OUTPUT_ROWS(X)                                                                               \
    X(3, 0)                                                                                                  \
    X(4, 1) X(5, 2) X(7, 3) X(8, 4) X(9, 5) X(10, 6) X(11, 7) X(12, 8) X(13, 9) X(14, 10) X(15, 11)          \
        X(16, 12) X(17, 13) X(18, 14) X(19, 15)

// The General Purpose Input/Output dialog: function, trigger and polarity of the
// unit's input and output pins, each a drop list sent at once when it changes.
class CGpioDlg : public Dialog {
public:
    static constexpr int templateId = 114;
    // "OK" carries the cancel id: it only ends the dialog, which the window layer does.
    static constexpr int okButtonId = IDCANCEL;
    static constexpr int inputRows = 15;
    static constexpr int outputRows = 16;

    // One row: the pin it is labelled with, the catalogue entry it binds (0-based) and
    // the ids of its three drop lists.
    struct Row {
        int pin;
        int entry;
        int functionId;
        int triggerId;
        int polarityId;
    };
    static const std::array<Row, inputRows> inputRowTable;
    static const std::array<Row, outputRows> outputRowTable;

    explicit CGpioDlg(const Win32Controller& pageController);

#define QZ_GPIO_DECLARE(direction, pin)                                                                      \
    void OnSelchange##direction##Pin##pin##Function();                                                       \
    void OnSelchange##direction##Pin##pin##Trigger();                                                        \
    void OnSelchange##direction##Pin##pin##Polarity();
#define QZ_GPIO_DECLARE_INPUT(pin, row) QZ_GPIO_DECLARE(Input, pin)
#define QZ_GPIO_DECLARE_OUTPUT(pin, row) QZ_GPIO_DECLARE(Output, pin)
    QZ_GPIO_INPUT_ROWS(QZ_GPIO_DECLARE_INPUT)
    QZ_GPIO_OUTPUT_ROWS(QZ_GPIO_DECLARE_OUTPUT)
#undef QZ_GPIO_DECLARE_OUTPUT
#undef QZ_GPIO_DECLARE_INPUT
#undef QZ_GPIO_DECLARE

protected:
    bool onInitDialog() override;
    void doDataExchange();
    void bindControls();

private:
    std::array<ComboBox, inputRows> m_inputFunction;
    std::array<ComboBox, inputRows> m_inputTrigger;
    std::array<ComboBox, inputRows> m_inputPolarity;
    std::array<ComboBox, outputRows> m_outputFunction;
    std::array<ComboBox, outputRows> m_outputTrigger;
    std::array<ComboBox, outputRows> m_outputPolarity;
    Win32Controller m_controller;
};
