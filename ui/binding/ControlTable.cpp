#include "ui/binding/ControlTable.h"

#include "model/ParameterId.h"
#include "ui/binding/Win32Controller.h"

namespace {

ControlRow row(int control, int16_t parameter, Observe kind)
{
    ControlRow made;
    made.control = control;
    made.parameter = parameter;
    made.kind = kind;
    return made;
}

// The wrapper a row's control is bound and routed through: the window's own when the
// row names one, else the dialog's (the same one on every call).
template <class Control> Control& wrapperOf(Dialog& dialog, const ControlRow& row)
{
    if (row.window != nullptr) {
        return static_cast<Control&>(*row.window);
    }
    return dialog.control<Control>(row.control);
}

void bindRow(Dialog& dialog, Win32Controller& controller, const ControlRow& row)
{
    ParameterId id(row.parameter);
    switch (row.kind) {
    case Observe::CheckBox:
        controller.addCheckBox(&wrapperOf<Button>(dialog, row), id, row.value);
        break;
    case Observe::Led:
        controller.addBitmap(&wrapperOf<Static>(dialog, row), id, row.test, row.whenTrue, row.whenFalse,
                             row.controlParameter);
        break;
    case Observe::StatusText:
        controller.addStatusText(&wrapperOf<Static>(dialog, row), id, row.formatter);
        break;
    case Observe::ControlText:
        controller.addControlText(&wrapperOf<Static>(dialog, row), id, row.formatter);
        break;
    case Observe::Edit:
    case Observe::TypedEdit:
        controller.addEdit(&wrapperOf<Edit>(dialog, row), id, row.converter);
        break;
    case Observe::Spin:
        controller.addSpin(&wrapperOf<SpinButton>(dialog, row), id);
        break;
    case Observe::Slider: {
        Win32SliderObserver* observer =
            controller.addSlider(&wrapperOf<Slider>(dialog, row), id, row.inverted, row.keepThumb);
        observer->setup(row.tickFrequency, 1, row.pageSize);
        break;
    }
    case Observe::StatusSlider:
        controller.addSliderStatus(&wrapperOf<Slider>(dialog, row), id)->setup(row.tickFrequency, 1, row.pageSize);
        break;
    case Observe::Dropdown:
        controller.addDropdown(&wrapperOf<ComboBox>(dialog, row), id);
        break;
    case Observe::ComboBox:
        if (row.firstString == 0) {
            controller.addComboBox(&wrapperOf<ComboBox>(dialog, row), id);
        } else {
            controller.addComboBox(&wrapperOf<ComboBox>(dialog, row), id, row.firstString, row.lastString);
        }
        break;
    case Observe::PushButton: {
        Button& button = wrapperOf<Button>(dialog, row);
        controller.addButton(&button, id, ParameterId(row.statusParameter), row.value, row.statusValue);
        if (row.captionParameter != 0) {
            controller.addControlText(&button, ParameterId(row.captionParameter));
        }
        break;
    }
    case Observe::Meter:
        controller.addMeter(&wrapperOf<Static>(dialog, row), id, row.scaler, row.settings);
        break;
    }
}

void routeRow(Dialog& dialog, Win32Controller& controller, const ControlRow& row)
{
    if (!row.routed) {
        return;
    }
    Dialog* window = &dialog;
    Win32Controller* bound = &controller;
    switch (row.kind) {
    case Observe::CheckBox:
    case Observe::PushButton:
        dialog.connect(row.control, Notify::Clicked,
                       [window, bound, row](Notification&) { bound->onCommand(&wrapperOf<Button>(*window, row)); });
        break;
    case Observe::ComboBox:
    case Observe::Dropdown:
        dialog.connect(row.control, Notify::SelChange, [window, bound, row](Notification&) {
            bound->onCommand(&wrapperOf<ComboBox>(*window, row));
        });
        if (row.kind == Observe::Dropdown) {
            dialog.connect(row.control, Notify::KillFocus, [window, bound, row](Notification&) {
                bound->onCommand(&wrapperOf<ComboBox>(*window, row));
            });
        }
        break;
    case Observe::Edit:
        dialog.connect(row.control, Notify::EditChange, [window, bound, row](Notification&) {
            bound->onEditChange(&wrapperOf<Edit>(*window, row));
        });
        dialog.connect(row.control, Notify::KillFocus, [window, bound, row](Notification&) {
            bound->onEditKillFocus(&wrapperOf<Edit>(*window, row));
        });
        break;
    case Observe::TypedEdit:
        dialog.connect(row.control, Notify::KillFocus, [window, bound, row](Notification&) {
            bound->onEditChange(&wrapperOf<Edit>(*window, row));
        });
        break;
    case Observe::Spin:
        dialog.connect(row.control, Notify::DeltaPos, [window, bound, row](Notification& n) {
            bound->onSpinDelta(&wrapperOf<SpinButton>(*window, row), n.upDown, n.result);
        });
        break;
    case Observe::Slider:
        for (Notify code : {Notify::HScroll, Notify::VScroll}) {
            dialog.connect(row.control, code, [window, bound, row](Notification& n) {
                bound->onScroll(&wrapperOf<Slider>(*window, row), n.scrollCode);
            });
        }
        break;
    case Observe::StatusSlider:
    case Observe::Led:
    case Observe::StatusText:
    case Observe::ControlText:
    case Observe::Meter:
        break; // shows only
    }
}

} // namespace

ControlRow checkBox(int control, int16_t parameter, int16_t checkedValue)
{
    ControlRow made = row(control, parameter, Observe::CheckBox);
    made.value = checkedValue;
    return made;
}

ControlRow led(int control, int16_t parameter, const ValuePredicate& test, const Bitmap& whenTrue,
               const Bitmap& whenFalse)
{
    ControlRow made = row(control, parameter, Observe::Led);
    made.test = &test;
    made.whenTrue = &whenTrue;
    made.whenFalse = &whenFalse;
    return made;
}

ControlRow controlLed(int control, int16_t parameter, const ValuePredicate& test, const Bitmap& whenTrue,
                      const Bitmap& whenFalse)
{
    ControlRow made = led(control, parameter, test, whenTrue, whenFalse);
    made.controlParameter = true;
    return made;
}

ControlRow statusText(int control, int16_t parameter, ParameterFormatter* formatter)
{
    ControlRow made = row(control, parameter, Observe::StatusText);
    made.formatter = formatter;
    return made;
}

ControlRow controlText(int control, int16_t parameter)
{
    return row(control, parameter, Observe::ControlText);
}

ControlRow edit(int control, int16_t parameter, const ParameterConverter* converter)
{
    ControlRow made = row(control, parameter, Observe::Edit);
    made.converter = converter;
    return made;
}

ControlRow typedEdit(int control, int16_t parameter)
{
    return row(control, parameter, Observe::TypedEdit);
}

ControlRow spin(int control, int16_t parameter)
{
    return row(control, parameter, Observe::Spin);
}

ControlRow slider(int control, int16_t parameter, bool inverted)
{
    ControlRow made = row(control, parameter, Observe::Slider);
    made.inverted = inverted;
    return made;
}

ControlRow shortSlider(int control, int16_t parameter, int pageSize)
{
    ControlRow made = row(control, parameter, Observe::Slider);
    made.tickFrequency = 1;
    made.pageSize = pageSize;
    return made;
}

ControlRow comboBox(int control, int16_t parameter)
{
    return row(control, parameter, Observe::ComboBox);
}

ControlRow comboBox(int control, int16_t parameter, int firstString, int lastString)
{
    ControlRow made = row(control, parameter, Observe::ComboBox);
    made.firstString = firstString;
    made.lastString = lastString;
    return made;
}

ControlRow meter(int control, int16_t parameter, const MeterScaler& scaler, const MeterSettings& settings)
{
    ControlRow made = row(control, parameter, Observe::Meter);
    made.scaler = &scaler;
    made.settings = &settings;
    return made;
}

ControlRow pushButton(int control, int16_t parameter, int16_t statusParameter, int16_t value,
                      int16_t statusValue)
{
    ControlRow made = row(control, parameter, Observe::PushButton);
    made.statusParameter = statusParameter;
    made.value = value;
    made.statusValue = statusValue;
    return made;
}

ControlRow captioned(ControlRow row, int16_t captionParameter)
{
    row.captionParameter = captionParameter;
    return row;
}

ControlRow statusSlider(int control, int16_t parameter)
{
    ControlRow made = row(control, parameter, Observe::StatusSlider);
    made.pageSize = 100;
    return made;
}

ControlRow targetSlider(int control, int16_t parameter)
{
    ControlRow made = row(control, parameter, Observe::Slider);
    made.keepThumb = true;
    made.pageSize = 100;
    return made;
}

ControlRow dropdown(int control, int16_t parameter)
{
    return row(control, parameter, Observe::Dropdown);
}

ControlRow through(ControlRow row, Window& window)
{
    row.window = &window;
    return row;
}

ControlRow handledByWindow(ControlRow row)
{
    row.routed = false;
    return row;
}

void bindRows(Dialog& dialog, Win32Controller& controller, std::span<const ControlRow> rows)
{
    for (const ControlRow& row : rows) {
        bindRow(dialog, controller, row);
    }
}

void routeRows(Dialog& dialog, Win32Controller& controller, std::span<const ControlRow> rows)
{
    for (const ControlRow& row : rows) {
        routeRow(dialog, controller, row);
    }
}
