#pragma once

#include <cstdint>
#include <span>

#include "model/ParameterConverter.h"
#include "model/ParameterFormatter.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "ui/binding/Indicators.h"

class Win32Controller;

// How a bound control shows its parameter, and which of its notifications reach the
// controller.
enum class Observe {
    CheckBox,    // checked while the parameter equals the row's value; a click sets it
    Led,         // a picture: one bitmap while the row's test holds, the other otherwise
    StatusText,  // the status parameter's text
    ControlText, // the control parameter's text
    Edit,        // an edit; every change is sent, leaving it shows the parameter again
    TypedEdit,   // an edit sent only when it is left, so a half-typed text never is
    Spin,        // an up-down control; an arrow steps the parameter
    Slider,      // a track bar; a move sets the parameter
    StatusSlider, // a track bar whose thumb shows a status parameter
    ComboBox,    // a drop-down list; a selection sets the parameter
    Dropdown,    // an editable drop-down of a text; a choice or leaving it sets it
    Meter,       // a level bar
    PushButton,  // sends its value; pushed in while a status holds the status value
};

// One bound control of a window: which control, which parameter, how it is observed,
// and what its kind needs (the value a check box sets, a LED's test and pictures, a
// text's formatter, a slider's set-up). Rows are built with the functions below.
struct ControlRow {
    int control = 0;
    int16_t parameter = 0;
    Observe kind = Observe::StatusText;
    int16_t value = 0;
    int16_t statusParameter = 0;  // a push button's status
    int16_t statusValue = 0;      // the status value that shows it pushed
    int16_t captionParameter = 0; // a push button's caption; 0: the template's
    const ValuePredicate* test = nullptr;
    const Bitmap* whenTrue = nullptr;
    const Bitmap* whenFalse = nullptr;
    bool controlParameter = false; // a LED that reads the settable parameter
    ParameterFormatter* formatter = nullptr;
    const ParameterConverter* converter = nullptr; // an edit's; none: plain text
    Window* window = nullptr; // a wrapper of the window's own instead of the dialog's
    bool routed = true;       // false: the window handles the control's actions itself
    bool inverted = false;    // a slider with its maximum at the start
    bool keepThumb = false;   // a slider whose thumb a status slider moves
    int tickFrequency = 10;   // a slider's set-up; it steps by one a line
    int pageSize = 10;
    int firstString = 0;      // the string-table range a combo box shows; none: its labels
    int lastString = 0;
    const MeterScaler* scaler = nullptr;
    const MeterSettings* settings = nullptr;
};

ControlRow checkBox(int control, int16_t parameter, int16_t checkedValue);
ControlRow led(int control, int16_t parameter, const ValuePredicate& test, const Bitmap& whenTrue,
               const Bitmap& whenFalse);
// A LED of a control parameter (the settable value rather than the unit's status).
ControlRow controlLed(int control, int16_t parameter, const ValuePredicate& test, const Bitmap& whenTrue,
                      const Bitmap& whenFalse);
ControlRow statusText(int control, int16_t parameter, ParameterFormatter* formatter = nullptr);
ControlRow controlText(int control, int16_t parameter);
ControlRow edit(int control, int16_t parameter, const ParameterConverter* converter = nullptr);
ControlRow typedEdit(int control, int16_t parameter);
ControlRow spin(int control, int16_t parameter);
// A slider stepping by one, by ten a page, with a tick every ten.
ControlRow slider(int control, int16_t parameter, bool inverted = false);
// A slider over a short range: a tick at every step, the page given.
ControlRow shortSlider(int control, int16_t parameter, int pageSize);
// A drop-down list of the parameter's own labels.
ControlRow comboBox(int control, int16_t parameter);
// A drop-down list of other texts: the entries of a string-table range.
ControlRow comboBox(int control, int16_t parameter, int firstString, int lastString);
ControlRow meter(int control, int16_t parameter, const MeterScaler& scaler, const MeterSettings& settings);
// A push button that sends the value of the parameter at once and shows itself pushed
// in while the status parameter holds the status value.
ControlRow pushButton(int control, int16_t parameter, int16_t statusParameter, int16_t value,
                      int16_t statusValue);
// The same push button, captioned by a parameter's text.
ControlRow captioned(ControlRow row, int16_t captionParameter);
// A slider that only shows a status parameter, and one that sets a parameter while
// leaving its thumb to the status, both over a long range (a page is a hundred steps).
ControlRow statusSlider(int control, int16_t parameter);
ControlRow targetSlider(int control, int16_t parameter);
// An editable drop-down list of a text parameter.
ControlRow dropdown(int control, int16_t parameter);
// The same row, shown through a wrapper of the window's own (one with a look of its own).
ControlRow through(ControlRow row, Window& window);
// The same row, bound by the table but with its actions handled by the window itself.
ControlRow handledByWindow(ControlRow row);

// Binds the control of every row through the controller, in the rows' order.
void bindRows(Dialog& dialog, Win32Controller& controller, std::span<const ControlRow> rows);
// Routes the user's actions on every row's control to the controller: clicks of check
// boxes, selections of combo boxes, changes and focus loss of edits, arrows of up-down
// controls and moves of sliders. Call once, when the window is built.
void routeRows(Dialog& dialog, Win32Controller& controller, std::span<const ControlRow> rows);
