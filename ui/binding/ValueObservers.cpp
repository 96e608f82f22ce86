#include "ui/binding/ValueObservers.h"

#include <algorithm>

#include "model/Exceptions.h"
#include "platform/Resources.h"

std::string doubleAmpersands(const std::string& text)
{
    std::string doubled = text;
    for (std::size_t at = doubled.find('&'); at != std::string::npos; at = doubled.find('&', at + 2)) {
        doubled.insert(at, 1, '&');
    }
    return doubled;
}

// --- Room for every value ------------------------------------------------------------

bool isFreeText(const Parameter& parameter)
{
    return dynamic_cast<const StringFormatter*>(parameter.formatter()) != nullptr;
}

// Two bytes, one of them zero: a number, as no text the unit sends is.
static bool holdsNumber(const ParameterValue& value)
{
    return value.isInteger() && value.toString().find('\0') != std::string::npos;
}

std::string heldText(const ParameterValue& value)
{
    return holdsNumber(value) ? std::string() : value.toString();
}

std::vector<int> valuesToFit(const Parameter& parameter, const ParameterFormatter* formatter)
{
    // Up to this many values every one is formatted; a longer range's texts grow with
    // the magnitude of the number, so its ends stand for it.
    constexpr int longRange = 1024;
    int lowest = parameter.minimum().toInt16();
    int highest = parameter.maximum().toInt16();
    if (lowest > highest) {
        // A range up to 0xFFFF, say: it holds the unsigned readings.
        lowest = parameter.minimum().toUInt16();
        highest = parameter.maximum().toUInt16();
    }
    std::vector<int> values;
    if (highest - lowest < longRange) {
        for (int value = lowest; value <= highest; ++value) {
            values.push_back(value);
        }
        return values;
    }
    for (int value : {lowest, highest, 0, -1}) {
        if (lowest <= value && value <= highest) {
            values.push_back(value);
        }
    }
    auto* labelled =
        dynamic_cast<const EnumeratedFormatter*>(formatter != nullptr ? formatter : parameter.formatter());
    if (labelled != nullptr) {
        for (const auto& entry : labelled->labels()) {
            int value = entry.first.toInt16();
            if (lowest <= value && value <= highest) {
                values.push_back(value);
            }
        }
    }
    return values;
}

// Gives the control room for the text of every value the parameter can take, as textOf
// writes it; free text, of any length, keeps the room the window gives it.
template <class TextOf>
static void fitEveryValue(Window& control, const Parameter& parameter, const ParameterFormatter* formatter,
                          TextOf textOf)
{
    if (isFreeText(parameter)) {
        control.fitFreeText();
        return;
    }
    std::vector<std::string> texts;
    for (int value : valuesToFit(parameter, formatter)) {
        texts.push_back(textOf(value));
    }
    control.fitTexts(texts);
}

void fitFormattedTexts(Window& control, const Parameter& parameter, const ParameterFormatter* formatter)
{
    fitEveryValue(control, parameter, formatter,
                  [&](int value) { return shownText(parameter, ParameterValue(value), formatter); });
}

std::string shownText(const Parameter& parameter, const ParameterValue& value,
                      const ParameterFormatter* formatter)
{
    if (isFreeText(parameter) && holdsNumber(value)) {
        return std::string();
    }
    std::ostringstream text;
    parameter.format(text, value, formatter);
    return doubleAmpersands(text.str());
}

static bool withinRange(const Parameter& parameter, int value)
{
    return parameter.minimum().toInt16() <= value && value <= parameter.maximum().toInt16();
}

// --- Sliders -------------------------------------------------------------------------

// The range follows the parameter's minimum and maximum (read unsigned); inverted, both
// are negated, so a vertical track bar shows the maximum at the top.
template <class ParameterClass>
static void setSliderRange(Slider* slider, const ParameterClass& parameter, bool inverted, int& position)
{
    int minimum = parameter.minimum().toUInt16();
    int maximum = parameter.maximum().toUInt16();
    int value = parameter.value().toUInt16();
    if (inverted) {
        slider->setRangeMin(-maximum, true);
        slider->setRangeMax(-minimum, true);
        position = -value;
    } else {
        slider->setRangeMin(minimum, true);
        slider->setRangeMax(maximum, true);
        position = value;
    }
}

// Page and line sizes, range and thumb once the observer has its parameter; the tick
// frequency in any case.
template <class ParameterClass>
static void setUpSlider(Slider* slider, const ParameterClass* parameter, bool inverted, int& position,
                        int tickFrequency, int lineSize, int pageSize)
{
    if (parameter != nullptr) {
        slider->setPageSize(pageSize);
        slider->setLineSize(lineSize);
        setSliderRange(slider, *parameter, inverted, position);
        slider->setPos(position);
    }
    slider->setTicFreq(tickFrequency);
}

Win32SliderObserver::Win32SliderObserver(Slider* slider, bool inverted, bool keepThumb)
    : slider_(slider), inverted_(inverted), keepThumb_(keepThumb)
{
}

void Win32SliderObserver::setRange()
{
    setSliderRange(slider_, *subject_, inverted_, position_);
}

void Win32SliderObserver::setup(int tickFrequency, int newLineSize, int newPageSize)
{
    if (subject_ != nullptr) {
        lineSize_ = newLineSize;
        pageSize_ = newPageSize;
    }
    setUpSlider(slider_, subject_, inverted_, position_, tickFrequency, newLineSize, newPageSize);
}

void Win32SliderObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    slider_->enable(subject_->available());
    setRange();
    if (!keepThumb_) {
        slider_->setPos(position_);
    }
}

void Win32SliderObserver::onScroll(int code)
{
    int thumb = slider_->getPos();
    int lower = slider_->getRangeMin();
    int upper = slider_->getRangeMax();
    if (inverted_) {
        thumb = -thumb;
        std::swap(lower, upper);
        lower = -lower;
        upper = -upper;
    }
    int direction = inverted_ ? -1 : 1;
    int step = 0;
    switch (code) {
    case 0:
        step = -lineSize_ * direction;
        break;
    case 1:
        step = lineSize_ * direction;
        break;
    case 2:
        step = -pageSize_ * direction;
        break;
    case 3:
        step = pageSize_ * direction;
        break;
    case 4:
    case 5:
    case 6:
    case 7:
        step = thumb - (inverted_ ? -position_ : position_);
        break;
    default:
        step = 0;
        break;
    }
    if (step == 0 || subject_ == nullptr) {
        return;
    }
    int target = std::clamp(valueToPosition(subject_->value().toUInt16()) + step, lower, upper);
    subject_->setValue(ParameterValue(positionToValue(target)));
}

Win32SliderStatusObserver::Win32SliderStatusObserver(Slider* slider) : slider_(slider) {}

void Win32SliderStatusObserver::setRange()
{
    setSliderRange(slider_, *subject_, false, position_);
}

void Win32SliderStatusObserver::setup(int tickFrequency, int lineSize, int pageSize)
{
    setUpSlider(slider_, subject_, false, position_, tickFrequency, lineSize, pageSize);
}

void Win32SliderStatusObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    slider_->enable(subject_->available());
    setRange();
    slider_->setPos(position_);
}

// --- Spin ----------------------------------------------------------------------------

Win32SpinObserver::Win32SpinObserver(SpinButton* spin) : spin_(spin) {}

void Win32SpinObserver::update(Subject* changed, Transaction*)
{
    if (isOwnSubject(changed)) {
        spin_->enable(subject_->available());
    }
}

void Win32SpinObserver::step(int delta)
{
    if (subject_ == nullptr) {
        return;
    }
    // No clamping: a value outside the range is ignored by setValue.
    subject_->setValue(ParameterValue(positionToValue(valueToPosition(subject_->value().toInt16()) + delta)));
}

// --- Push buttons --------------------------------------------------------------------

// Only the pushed bit counts: a focused or checked button is not pushed.
ButtonState::ButtonState(Button* button)
    : button(button), pushed((button->getState() & Button::PushedBit) != 0)
{
}

Win32ButtonStatusObserver::Win32ButtonStatusObserver(ButtonState* state, int16_t statusValue)
    : state_(state), values_{statusValue}
{
}

void Win32ButtonStatusObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    bool pressed = std::find(values_.begin(), values_.end(), subject_->value().toInt16()) != values_.end();
    state_->shownPressed = pressed;
    state_->pushed = pressed;
    state_->button->setState(pressed);
    state_->button->enable(subject_->available());
}

Win32ButtonControlOnlyObserver::Win32ButtonControlOnlyObserver(ButtonState* state, int16_t value)
    : state_(state), value_(value)
{
}

void Win32ButtonControlOnlyObserver::update(Subject* changed, Transaction*)
{
    if (isOwnSubject(changed)) {
        state_->button->enable(subject_->available() && withinRange(*subject_, value_));
    }
}

void Win32ButtonControlOnlyObserver::userChanged(Transaction*)
{
    if (subject_ == nullptr) {
        return;
    }
    state_->button->setState(state_->pushed); // the click must not change the look
    if (!state_->shownPressed) {
        subject_->sendAlways(ParameterValue(value_));
    }
}

// --- Check boxes and radio buttons ---------------------------------------------------

Win32CheckBoxObserver::Win32CheckBoxObserver(Button* button, int16_t checkedValue)
    : button_(button), checkedValue_(checkedValue)
{
    button->setCheck(Button::Unchecked);
}

void Win32CheckBoxObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    button_->setCheck(subject_->value().toInt16() == checkedValue_ ? Button::Checked : Button::Unchecked);
    button_->enable(subject_->available() && withinRange(*subject_, checkedValue_));
}

void Win32CheckBoxObserver::userChanged(Transaction* transaction)
{
    if (subject_ == nullptr) {
        return;
    }
    bool checked = button_->getCheck() != Button::Unchecked;
    // Every observer of the parameter shows its state again, undoing what the click
    // did to the check marks; the new value then checks the right one.
    subject_->notify(nullptr);
    subject_->setPending(ParameterValue(checked ? checkedValue_ : 0), transaction);
}

// --- Edit ----------------------------------------------------------------------------

Win32EditObserver::Win32EditObserver(Edit* edit, const ParameterConverter* converter)
    : edit_(edit), converter_(converter)
{
    edit->setText("");
}

void Win32EditObserver::update(Subject* changed, Transaction*)
{
    if (busy_ || !isOwnSubject(changed)) {
        return;
    }
    if (!fitted_) {
        fitEveryValue(*edit_, *subject_, nullptr, [this](int value) {
            std::string text;
            converter_->toText(text, ParameterValue(value));
            return text;
        });
        fitted_ = true;
    }
    if (isFreeText(*subject_) && holdsNumber(subject_->value())) {
        shownText_.clear(); // so that what the user types is all that is sent
    } else {
        converter_->toText(shownText_, subject_->value());
    }
    {
        // Setting the text raises the edit's change notification; that echo is the
        // value itself and must not be sent back.
        showing_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{showing_};
        edit_->setText(shownText_);
    }
    edit_->enable(subject_->available());
    // What the edit actually shows is what later typing is compared with.
    lastText_ = edit_->getText();
}

void Win32EditObserver::refresh()
{
    if (subject_ != nullptr) {
        update(subject_, nullptr);
    }
}

bool Win32EditObserver::commit(Transaction* transaction)
{
    if (showing_) {
        return false;
    }
    busy_ = true;
    // However the commit ends, the edit takes updates again afterwards.
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{busy_};
    if (subject_ == nullptr || edit_ == nullptr || !edit_->hasWindow()) {
        return false;
    }
    std::string text = edit_->getText();
    std::size_t word = text.find("fuck");
    if (word != std::string::npos) {
        text.replace(word, 4, "$#*!");
    }
    if (text == lastText_) {
        return false;
    }
    ParameterValue value;
    if (!converter_->toValue(value, text)) {
        return false;
    }
    ParameterTransaction own;
    subject_->setPending(value, transaction != nullptr ? transaction : &own);
    if (transaction == nullptr) {
        own.commit();
    }
    lastText_ = text;
    return true;
}

// --- Combo box of string-table entries -----------------------------------------------

static std::string loadEntry(int id)
{
    std::string text;
    if (!loadString(id, text)) {
        throw VormoException("Unable to load the string with id: " + std::to_string(id));
    }
    return text;
}

Win32ComboBoxObserver::Win32ComboBoxObserver(ComboBox* combo, int firstStringId, int lastStringId)
    : combo_(combo), listMin_(0), listMax_(lastStringId - firstStringId), firstStringId_(firstStringId),
      lastStringId_(lastStringId)
{
    for (int id = firstStringId; id <= lastStringId; ++id) {
        combo->addString(loadEntry(id));
    }
    combo->setCurSel(0);
}

// The list fills from the parameter once attached.
Win32ComboBoxObserver::Win32ComboBoxObserver(ComboBox* combo)
    : combo_(combo), listMin_(0), listMax_(-1), firstStringId_(0), lastStringId_(maxFormatterItems - 1),
      fromFormatter_(true)
{
}

// The label of a value: the parameter's own text for it, or the combo box's own
// string-table entry.
std::string Win32ComboBoxObserver::label(int value) const
{
    if (fromFormatter_) {
        std::ostringstream text;
        subject_->format(text, ParameterValue(value));
        return text.str();
    }
    return loadEntry(firstStringId_ + value);
}

std::string Win32ComboBoxObserver::itemText(int value) const
{
    return value >= 0 && value <= lastStringId_ - firstStringId_ ? label(value) : std::to_string(value);
}

void Win32ComboBoxObserver::showOutsideValue(int value)
{
    if (hasOutsideItem_ && outsideValue_ == value) {
        return;
    }
    dropOutsideValue();
    // A value without a string of its own shows as its number, in an item after the list.
    combo_->addString(std::to_string(value));
    hasOutsideItem_ = true;
    outsideValue_ = value;
}

void Win32ComboBoxObserver::dropOutsideValue()
{
    if (hasOutsideItem_) {
        combo_->deleteString(combo_->getCount() - 1);
        hasOutsideItem_ = false;
    }
}

void Win32ComboBoxObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    if (Window* parent = combo_->parentWindow()) {
        parent->invalidate(combo_->rectInParent());
    }
    if (!fitted_) {
        fitEveryValue(*combo_, *subject_, nullptr, [this](int value) { return itemText(value); });
        fitted_ = true;
    }
    dropOutsideValue();
    // The list holds the values of the parameter's range that have a string; a wide
    // range therefore never loads more than the combo box's own entries.
    int lowest = std::max<int>(subject_->minimum().toInt16(), 0);
    int highest = std::min<int>(subject_->maximum().toInt16(), lastStringId_ - firstStringId_);
    if (lowest > highest) {
        combo_->resetContent();
        listMin_ = lowest;
        listMax_ = lowest - 1;
    } else {
        if (listMax_ < listMin_ || listMin_ > highest || listMax_ < lowest) {
            combo_->resetContent(); // nothing of the old list stays
            listMin_ = lowest;
            listMax_ = lowest - 1;
        }
        while (listMin_ < lowest) {
            combo_->deleteString(0);
            combo_->setCurSel(0);
            ++listMin_;
        }
        while (listMin_ > lowest) {
            --listMin_;
            combo_->insertString(0, label(listMin_));
        }
        while (listMax_ > highest) {
            combo_->deleteString(combo_->getCount() - 1);
            --listMax_;
        }
        while (listMax_ < highest) {
            ++listMax_;
            combo_->addString(label(listMax_));
        }
    }
    int value = subject_->value().toInt16();
    if (value >= listMin_ && value <= listMax_) {
        selection_ = value - listMin_;
    } else {
        showOutsideValue(value);
        selection_ = combo_->getCount() - 1;
    }
    combo_->setCurSel(selection_);
    combo_->enable(subject_->available());
}

void Win32ComboBoxObserver::userChanged(Transaction* transaction)
{
    if (subject_ == nullptr) {
        return;
    }
    int index = combo_->getCurSel();
    combo_->setCurSel(selection_); // the shown selection changes only through the parameter
    int count = listMax_ - listMin_ + 1;
    int value = 0;
    if (index >= 0 && index < count) {
        value = listMin_ + index;
    } else if (hasOutsideItem_ && index == count) {
        value = outsideValue_;
    } else {
        return; // no item chosen
    }
    subject_->setPending(ParameterValue(value), transaction);
}

// --- Editable combo box of a text parameter ------------------------------------------

Win32DropdownObserver::Win32DropdownObserver(ComboBox* combo) : combo_(combo) {}

void Win32DropdownObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    combo_->setText(heldText(subject_->value()));
    combo_->enable(subject_->available());
}

void Win32DropdownObserver::userChanged(Transaction* transaction)
{
    if (subject_ == nullptr) {
        return;
    }
    int index = combo_->getCurSel();
    // The text read back is byte for byte what the combo box shows.
    std::string text = index >= 0 ? combo_->getLBText(index) : combo_->getText();
    if (text == lastText_) {
        return;
    }
    ParameterTransaction own;
    subject_->setPending(ParameterValue(text), transaction != nullptr ? transaction : &own);
    if (transaction == nullptr) {
        own.commit();
    }
    lastText_ = text;
}
