#include "ui/binding/Win32Controller.h"

#include "model/Exceptions.h"
#include "model/ParameterSet.h"

namespace {

// Files a new object under its control, replacing what was there, and hands it back
// for binding.
template <class Stored, class Made>
Made* keep(std::map<Window*, std::unique_ptr<Stored>>& map, Window* control, std::unique_ptr<Made> made)
{
    Made* kept = made.get();
    map[control] = std::move(made);
    return kept;
}

} // namespace

Win32Controller::Win32Controller(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : errorReporter_(errorReporter), parameterSet_(parameterSet)
{
}

Win32Controller::Win32Controller(const Win32Controller& other)
    : errorReporter_(other.errorReporter_), parameterSet_(other.parameterSet_)
{
}

Win32Controller::~Win32Controller()
{
    commandObservers_.clear();
    spinObservers_.clear();
    sliderObservers_.clear();
    controlObservers_.clear();
    statusObservers_.clear();
    buttonStates_.clear();
}

bool Win32Controller::isMessageBased()
{
    return parameterSet_ != nullptr && parameterSet_->isMessageBased();
}

void Win32Controller::setParameterSet(ParameterSet* newSet)
{
    parameterSet_ = newSet;
}

// --- Binding -------------------------------------------------------------------------

template <class Map> void Win32Controller::unbind(Map& map, Window* control)
{
    auto found = map.find(control);
    if (found == map.end()) {
        return;
    }
    auto observer = std::move(found->second);
    map.erase(found);
    if (dispatching_ > 0) {
        observer->setSubject(nullptr); // detached now, deleted after the dispatch
        retiredObservers_.push_back(std::move(observer));
    }
}

void Win32Controller::attachControl(const ParameterId& id, Observer<ControlParameter>* observer)
{
    if (parameterSet_ == nullptr) {
        throw VormoException("No parameter set to bind to");
    }
    parameterSet_->attachControlObserver(id, observer);
}

void Win32Controller::attachStatus(const ParameterId& id, Observer<Parameter>* observer)
{
    if (parameterSet_ == nullptr) {
        throw VormoException("No parameter set to bind to");
    }
    parameterSet_->attachStatusObserver(id, observer);
}

void Win32Controller::attachIndicator(const ParameterId& id, Observer<Parameter>* observer,
                                      bool controlParameter)
{
    if (!controlParameter) {
        attachStatus(id, observer);
        return;
    }
    if (parameterSet_ == nullptr) {
        throw VormoException("No parameter set to bind to");
    }
    // The set's own control map, without a derived set's redirection of preset names.
    auto& parameter = const_cast<ControlParameter&>(parameterSet_->controls().find(id));
    observer->setSubject(&parameter);
    parameter.attach(observer);
}

void Win32Controller::addSpin(SpinButton* spin, const ParameterId& id)
{
    unbind(spinObservers_, spin);
    auto* observer = keep(spinObservers_, spin, std::make_unique<Win32SpinObserver>(spin));
    attachControl(id, observer);
}

void Win32Controller::addButton(Button* button, const ParameterId& controlId, const ParameterId& statusId,
                                int16_t value, int16_t statusValue)
{
    unbind(commandObservers_, button);
    unbind(statusObservers_, button);
    auto oldState = buttonStates_.find(button);
    if (oldState != buttonStates_.end()) {
        if (dispatching_ > 0) {
            retiredStates_.push_back(std::move(oldState->second));
        }
        buttonStates_.erase(oldState);
    }
    auto* state = keep(buttonStates_, button, std::make_unique<ButtonState>(button));
    auto* control =
        keep(commandObservers_, button, std::make_unique<Win32ButtonControlOnlyObserver>(state, value));
    auto* status =
        keep(statusObservers_, button, std::make_unique<Win32ButtonStatusObserver>(state, statusValue));
    attachControl(controlId, control);
    attachStatus(statusId, status);
}

void Win32Controller::addButton(Button* button, const ParameterId& controlId, const ParameterId& statusId,
                                int16_t value)
{
    addButton(button, controlId, statusId, value, value);
}

void Win32Controller::addCheckBox(Button* button, const ParameterId& id, int16_t checkedValue)
{
    unbind(commandObservers_, button);
    auto* observer =
        keep(commandObservers_, button, std::make_unique<Win32CheckBoxObserver>(button, checkedValue));
    attachControl(id, observer);
}

void Win32Controller::addEdit(Edit* edit, const ParameterId& id, const ParameterConverter* converter)
{
    unbind(controlObservers_, edit);
    auto* observer =
        keep(controlObservers_, edit,
             std::make_unique<Win32EditObserver>(edit, converter != nullptr ? converter : &defaultConverter_));
    attachControl(id, observer);
}

Win32SliderObserver* Win32Controller::addSlider(Slider* slider, const ParameterId& id, bool inverted,
                                                bool keepThumb)
{
    unbind(sliderObservers_, slider);
    auto* observer =
        keep(sliderObservers_, slider, std::make_unique<Win32SliderObserver>(slider, inverted, keepThumb));
    attachControl(id, observer);
    return observer;
}

Win32SliderStatusObserver* Win32Controller::addSliderStatus(Slider* slider, const ParameterId& id)
{
    unbind(statusObservers_, slider);
    auto* observer = keep(statusObservers_, slider, std::make_unique<Win32SliderStatusObserver>(slider));
    attachStatus(id, observer);
    return observer;
}

void Win32Controller::addComboBox(ComboBox* combo, const ParameterId& id, int firstStringId, int lastStringId)
{
    unbind(commandObservers_, combo);
    auto* observer = keep(commandObservers_, combo,
                          std::make_unique<Win32ComboBoxObserver>(combo, firstStringId, lastStringId));
    attachControl(id, observer);
}

void Win32Controller::addComboBox(ComboBox* combo, const ParameterId& id)
{
    unbind(commandObservers_, combo);
    auto* observer = keep(commandObservers_, combo, std::make_unique<Win32ComboBoxObserver>(combo));
    attachControl(id, observer);
}

void Win32Controller::addDropdown(ComboBox* combo, const ParameterId& id)
{
    unbind(commandObservers_, combo);
    auto* observer = keep(commandObservers_, combo, std::make_unique<Win32DropdownObserver>(combo));
    attachControl(id, observer);
}

void Win32Controller::addStatusText(Window* control, const ParameterId& id, ParameterFormatter* formatter)
{
    unbind(statusObservers_, control);
    auto* observer =
        keep(statusObservers_, control, std::make_unique<Win32TextObserver<Parameter>>(control, formatter));
    attachStatus(id, observer);
}

void Win32Controller::addControlText(Window* control, const ParameterId& id, ParameterFormatter* formatter)
{
    unbind(controlObservers_, control);
    auto* observer = keep(controlObservers_, control,
                          std::make_unique<Win32TextObserver<ControlParameter>>(control, formatter));
    attachControl(id, observer);
}

void Win32Controller::addBitmap(Static* picture, const ParameterId& id, const ValuePredicate* predicate,
                                const Bitmap* whenTrue, const Bitmap* whenFalse, bool controlParameter)
{
    unbind(statusObservers_, picture);
    auto* observer = keep(statusObservers_, picture,
                          std::make_unique<Win32BitmapObserver>(picture, predicate, whenTrue, whenFalse));
    attachIndicator(id, observer, controlParameter);
}

Win32BitmapMapObserver* Win32Controller::addBitmapMap(Static* picture, const ParameterId& id,
                                                      const Bitmap* defaultBitmap, bool controlParameter)
{
    unbind(statusObservers_, picture);
    auto* observer =
        keep(statusObservers_, picture, std::make_unique<Win32BitmapMapObserver>(picture, defaultBitmap));
    attachIndicator(id, observer, controlParameter);
    return observer;
}

void Win32Controller::addMeter(Window* meter, const ParameterId& id, const MeterScaler* scaler,
                               const MeterSettings* settings)
{
    unbind(statusObservers_, meter);
    auto* observer =
        keep(statusObservers_, meter, std::make_unique<Win32MeterObserver>(meter, scaler, settings));
    attachStatus(id, observer);
}

// --- Dispatch ------------------------------------------------------------------------

template <class F> void Win32Controller::dispatch(F&& action)
{
    ++dispatching_;
    struct Leave {
        Win32Controller& controller;
        ~Leave()
        {
            if (--controller.dispatching_ == 0) {
                controller.retiredObservers_.clear();
                controller.retiredStates_.clear();
            }
        }
    } leave{*this};
    try {
        action();
    } catch (const HostException& error) {
        if (errorReporter_ == nullptr) {
            throw;
        }
        errorReporter_->reportHostError(error);
    } catch (const VormoException& error) {
        if (errorReporter_ == nullptr) {
            throw;
        }
        errorReporter_->reportError(error);
    } catch (...) {
        if (errorReporter_ == nullptr) {
            throw;
        }
        errorReporter_->reportUnknown();
    }
}

void Win32Controller::onCommand(Window* control)
{
    dispatch([&] {
        auto found = commandObservers_.find(control);
        if (found == commandObservers_.end()) {
            return;
        }
        ParameterTransaction transaction;
        found->second->userChanged(&transaction);
        transaction.commit();
        transaction.clear();
    });
}

void Win32Controller::onEditChange(Window* control)
{
    dispatch([&] {
        auto found = controlObservers_.find(control);
        if (found == controlObservers_.end()) {
            return;
        }
        if (auto* edit = dynamic_cast<Win32EditObserver*>(found->second.get())) {
            edit->commit(nullptr);
        }
    });
}

void Win32Controller::onEditKillFocus(Window* control)
{
    dispatch([&] {
        auto found = controlObservers_.find(control);
        if (found == controlObservers_.end()) {
            return;
        }
        if (auto* edit = dynamic_cast<Win32EditObserver*>(found->second.get())) {
            edit->refresh();
        }
    });
}

void Win32Controller::onSpinDelta(SpinButton* spin, UpDownNotify* record, long* result)
{
    dispatch([&] {
        if (result != nullptr) {
            *result = 0;
        }
        if (spin == nullptr || record == nullptr) {
            return;
        }
        auto found = spinObservers_.find(spin);
        if (found == spinObservers_.end()) {
            return;
        }
        found->second->step(-record->delta);
    });
}

void Win32Controller::onScroll(Window* scrollBar, int code)
{
    dispatch([&] {
        auto found = sliderObservers_.find(scrollBar);
        if (found == sliderObservers_.end()) {
            return;
        }
        found->second->onScroll(code);
    });
}
