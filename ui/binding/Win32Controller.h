#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "model/ParameterConverter.h"
#include "model/ParameterFormatter.h"
#include "model/ParameterId.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Indicators.h"
#include "ui/binding/ValueObservers.h"

class ParameterSet;

// Binds the controls of one dialog or page to the parameters of a set and routes the
// controls' notifications to their observers. It owns every observer it creates; a
// control bound again loses its previous observer. No exception leaves a dispatch
// operation: each goes to the error reporter.
class Win32Controller {
public:
    Win32Controller(ParameterSet* parameterSet, ErrorReporter* errorReporter);
    // The same set and reporter, and no bindings.
    Win32Controller(const Win32Controller& other);
    Win32Controller& operator=(const Win32Controller&) = delete;
    virtual ~Win32Controller();

    virtual bool isMessageBased();

    // Later bindings use this set; bindings made stay as they are.
    void setParameterSet(ParameterSet* parameterSet);
    ErrorReporter* getErrorReporter() const { return errorReporter_; }

    void addSpin(SpinButton* spin, const ParameterId& id);
    void addButton(Button* button, const ParameterId& controlId, const ParameterId& statusId, int16_t value,
                   int16_t statusValue);
    void addButton(Button* button, const ParameterId& controlId, const ParameterId& statusId, int16_t value);
    void addCheckBox(Button* button, const ParameterId& id, int16_t checkedValue);
    void addEdit(Edit* edit, const ParameterId& id, const ParameterConverter* converter = nullptr);
    Win32SliderObserver* addSlider(Slider* slider, const ParameterId& id, bool inverted, bool keepThumb);
    Win32SliderStatusObserver* addSliderStatus(Slider* slider, const ParameterId& id);
    void addComboBox(ComboBox* combo, const ParameterId& id, int firstStringId, int lastStringId);
    // A drop-down list of the parameter's own labels.
    void addComboBox(ComboBox* combo, const ParameterId& id);
    void addDropdown(ComboBox* combo, const ParameterId& id);
    void addStatusText(Window* control, const ParameterId& id, ParameterFormatter* formatter = nullptr);
    void addControlText(Window* control, const ParameterId& id, ParameterFormatter* formatter = nullptr);
    void addBitmap(Static* picture, const ParameterId& id, const ValuePredicate* predicate,
                   const Bitmap* whenTrue, const Bitmap* whenFalse, bool controlParameter);
    Win32BitmapMapObserver* addBitmapMap(Static* picture, const ParameterId& id, const Bitmap* defaultBitmap,
                                         bool controlParameter);
    void addMeter(Window* meter, const ParameterId& id, const MeterScaler* scaler,
                  const MeterSettings* settings);

    void onCommand(Window* control);
    void onEditChange(Window* control);
    void onEditKillFocus(Window* control);
    void onSpinDelta(SpinButton* spin, UpDownNotify* record, long* result);
    void onScroll(Window* scrollBar, int code);

private:
    template <class F> void dispatch(F&& action);
    void attachControl(const ParameterId& id, Observer<ControlParameter>* observer);
    void attachStatus(const ParameterId& id, Observer<Parameter>* observer);
    void attachIndicator(const ParameterId& id, Observer<Parameter>* observer, bool controlParameter);
    template <class Map> void unbind(Map& map, Window* control);

    // Observers replaced while a notification is being handled may be the ones handling
    // it: they are detached at once and deleted when the outermost dispatch ends.
    int dispatching_ = 0;
    std::vector<std::unique_ptr<GenericObserver>> retiredObservers_;
    std::vector<std::unique_ptr<ButtonState>> retiredStates_;

    ErrorReporter* errorReporter_;
    ParameterSet* parameterSet_;
    std::map<Window*, std::unique_ptr<Win32ControlParameterObserver>> commandObservers_;
    std::map<Window*, std::unique_ptr<Observer<Parameter>>> statusObservers_;
    std::map<Window*, std::unique_ptr<Observer<ControlParameter>>> controlObservers_;
    std::map<Window*, std::unique_ptr<Win32SliderObserver>> sliderObservers_;
    std::map<Window*, std::unique_ptr<Win32SpinObserver>> spinObservers_;
    std::map<Window*, std::unique_ptr<ButtonState>> buttonStates_;
    StringParameterConverter defaultConverter_;
};
