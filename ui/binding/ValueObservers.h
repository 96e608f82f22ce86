#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "model/Observer.h"
#include "model/Parameter.h"
#include "model/ParameterConverter.h"
#include "model/ParameterFormatter.h"
#include "model/Transaction.h"
#include "platform/Controls.h"

// The observers that tie one dialog control to one parameter: each shows the
// parameter in its control on every update, and the settable ones turn the user's
// action on the control into a change of the parameter. Win32Controller creates,
// owns, attaches and drives them.

// Doubles every "&", so that a window text shows the ampersand instead of taking
// the next character as its mnemonic.
std::string doubleAmpersands(const std::string& text);

// A text parameter's value is free text from the unit, of any length.
bool isFreeText(const Parameter& parameter);
// The text a text parameter's value holds: its bytes, or nothing while the parameter
// holds a number instead (the bottom of its range until the unit reports the text, 0
// where a reply left it out).
std::string heldText(const ParameterValue& value);
// The values whose texts a control of the parameter must have room for: every value of
// a short range; of a long one its ends, zero, minus one and the values the formatter
// (the parameter's own when null) labels.
std::vector<int> valuesToFit(const Parameter& parameter, const ParameterFormatter* formatter);
// Gives the control room for the text of every value the parameter can take, as the
// formatter (the parameter's own when null) writes it; a control of free text keeps the
// room its window gives it and shortens what does not fit there.
void fitFormattedTexts(Window& control, const Parameter& parameter, const ParameterFormatter* formatter);
// What a static text shows for the value: the formatter's text, with every "&" doubled;
// nothing for a text parameter that holds no text.
std::string shownText(const Parameter& parameter, const ParameterValue& value,
                      const ParameterFormatter* formatter);

// A static text showing the formatted value.
template <class ParameterClass> class Win32TextObserver : public Observer<ParameterClass> {
public:
    Win32TextObserver(Window* control, ParameterFormatter* formatter)
        : formatter_(formatter), control_(control)
    {
        control->setText("");
    }

    void update(Subject* changed, Transaction*) override
    {
        if (!this->isOwnSubject(changed)) {
            return;
        }
        // Parameters that notify on every poll mostly bring the value already shown:
        // the text is formatted, set and repainted only when what it shows changes.
        const ParameterValue& value = this->subject_->value();
        const bool available = this->subject_->available();
        if (shown_ && shown_->value == value && shown_->formatter == effectiveFormatter() &&
            shown_->available == available) {
            return;
        }
        if (!shown_) {
            fitFormattedTexts(*control_, *this->subject_, formatter_);
        }
        control_->setText(shownText(*this->subject_, value, formatter_));
        control_->enable(available);
        shown_ = Shown{value, effectiveFormatter(), available};
        // A control drawn without a background of its own is repainted over its parent.
        if (Window* parent = control_->parentWindow()) {
            parent->invalidate(control_->rectInParent());
        }
    }

private:
    struct Shown {
        ParameterValue value;
        const ParameterFormatter* formatter = nullptr;
        bool available = false;
    };

    const ParameterFormatter* effectiveFormatter() const
    {
        return formatter_ != nullptr ? formatter_ : this->subject_->formatter();
    }

    ParameterFormatter* formatter_;
    Window* control_;
    std::optional<Shown> shown_; // none until the first update
};

// A track bar over a control parameter: the user's scrolling sets the value at once.
class Win32SliderObserver : public Observer<ControlParameter> {
public:
    Win32SliderObserver(Slider* slider, bool inverted, bool keepThumb);

    void update(Subject* changed, Transaction* hint) override;
    virtual int positionToValue(int position) { return position; }
    virtual int valueToPosition(int value) { return value; }

    void setup(int tickFrequency, int lineSize, int pageSize);
    void onScroll(int code);

private:
    void setRange();

    Slider* slider_;
    int position_ = 0;
    bool inverted_;
    int lineSize_ = 1;
    int pageSize_ = 1;
    bool keepThumb_;
};

// A track bar that only shows a status parameter.
class Win32SliderStatusObserver : public Observer<Parameter> {
public:
    explicit Win32SliderStatusObserver(Slider* slider);

    void update(Subject* changed, Transaction* hint) override;
    virtual int positionToValue(int position) { return position; }
    virtual int valueToPosition(int value) { return value; }

    void setup(int tickFrequency, int lineSize, int pageSize);

private:
    void setRange();

    Slider* slider_;
    int position_ = 0;
};

// An up-down control: each arrow steps the value and sends it at once.
class Win32SpinObserver : public Observer<ControlParameter> {
public:
    explicit Win32SpinObserver(SpinButton* spin);

    void update(Subject* changed, Transaction* hint) override;
    virtual int positionToValue(int position) { return position; }
    virtual int valueToPosition(int value) { return value; }

    void step(int delta);

private:
    SpinButton* spin_;
};

// What the two observers of one push button share: the look the status gave it.
class ButtonState {
public:
    explicit ButtonState(Button* button);

    bool shownPressed = false;
    Button* button;
    bool pushed;
};

// The status half of a push button: pushed in while the status holds one of its values.
class Win32ButtonStatusObserver : public Observer<Parameter> {
public:
    Win32ButtonStatusObserver(ButtonState* state, int16_t statusValue);

    void update(Subject* changed, Transaction* hint) override;

private:
    ButtonState* state_;
    std::list<int16_t> values_;
};

// The observers that Win32Controller::onCommand drives.
class Win32ControlParameterObserver : public Observer<ControlParameter> {
public:
    virtual void userChanged(Transaction* transaction) = 0;
};

// The control half of a push button: a click sends its value, even an unchanged one,
// unless the status shows the button pushed already.
class Win32ButtonControlOnlyObserver : public Win32ControlParameterObserver {
public:
    Win32ButtonControlOnlyObserver(ButtonState* state, int16_t value);

    void update(Subject* changed, Transaction* hint) override;
    void userChanged(Transaction* transaction) override;

private:
    ButtonState* state_;
    int16_t value_;
};

// A check box or radio button: checked while the parameter holds its value.
class Win32CheckBoxObserver : public Win32ControlParameterObserver {
public:
    Win32CheckBoxObserver(Button* button, int16_t checkedValue);

    void update(Subject* changed, Transaction* hint) override;
    void userChanged(Transaction* transaction) override;

private:
    Button* button_;
    int16_t checkedValue_;
};

// An edit: shows the value through its converter and sends what the user types.
class Win32EditObserver : public Observer<ControlParameter> {
public:
    Win32EditObserver(Edit* edit, const ParameterConverter* converter);

    void update(Subject* changed, Transaction* hint) override;
    // Sets the typed text, in the transaction given or in one of its own that it
    // sends; returns whether something was set.
    virtual bool commit(Transaction* transaction);
    // Shows the parameter's value again; nothing is sent.
    virtual void refresh();

private:
    std::string lastText_;
    Edit* edit_;
    const ParameterConverter* converter_;
    bool busy_ = false;
    bool showing_ = false; // the edit is being given the value's text
    bool fitted_ = false;  // the edit has room for the text of every value
    std::string shownText_;
};

// A drop-down list: item i stands for the value listMin + i and shows that value's
// label, the string firstStringId + (listMin + i) of a string-table range or, without
// a range, the parameter's own text for it.
class Win32ComboBoxObserver : public Win32ControlParameterObserver {
public:
    Win32ComboBoxObserver(ComboBox* combo, int firstStringId, int lastStringId);
    // Labels from the parameter's formatter, for at most maxFormatterItems values.
    explicit Win32ComboBoxObserver(ComboBox* combo);

    static constexpr int maxFormatterItems = 256;

    void update(Subject* changed, Transaction* hint) override;
    void userChanged(Transaction* transaction) override;

private:
    std::string label(int value) const;
    // The text the list shows for a value: its label, or its number outside the labels.
    std::string itemText(int value) const;
    void showOutsideValue(int value);
    void dropOutsideValue();

    ComboBox* combo_;
    int listMin_;
    int listMax_;
    int selection_ = 0;
    int firstStringId_;
    int lastStringId_;
    bool fromFormatter_ = false;
    bool hasOutsideItem_ = false; // the last item shows a value without a string
    int outsideValue_ = 0;
    bool fitted_ = false; // the list has room for the text of every value
};

// An editable combo box of a text parameter.
class Win32DropdownObserver : public Win32ControlParameterObserver {
public:
    explicit Win32DropdownObserver(ComboBox* combo);

    void update(Subject* changed, Transaction* hint) override;
    void userChanged(Transaction* transaction) override;

private:
    std::string lastText_;
    ComboBox* combo_;
};
