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
    : slider(slider), inverted(inverted), keepThumb(keepThumb)
{
}

void Win32SliderObserver::setRange()
{
    setSliderRange(slider, *subject_, inverted, position);
}

void Win32SliderObserver::setup(int tickFrequency, int newLineSize, int newPageSize)
{
    if (subject_ != nullptr) {
        lineSize = newLineSize;
        pageSize = newPageSize;
    }
    setUpSlider(slider, subject_, inverted, position, tickFrequency, newLineSize, newPageSize);
}

void Win32SliderObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    slider->enable(subject_->available());
    setRange();
    if (!keepThumb) {
        slider->setPos(position);
    }
}

void Win32SliderObserver::onScroll(int code)
{
    int thumb = slider->getPos();
    int lower = slider->getRangeMin();
    int upper = slider->getRangeMax();
    if (inverted) {
        thumb = -thumb;
        std::swap(lower, upper);
        lower = -lower;
        upper = -upper;
    }
    int direction = inverted ? -1 : 1;
    int step = 0;
    switch (code) {
    case 0:
        step = -lineSize * direction;
        break;
    case 1:
        step = lineSize * direction;
        break;
    case 2:
        step = -pageSize * direction;
        break;
    case 3:
        step = pageSize * direction;
        break;
    case 4:
    case 5:
    case 6:
    case 7:
        step = thumb - (inverted ? -position : position);
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

Win32SliderStatusObserver::Win32SliderStatusObserver(Slider* slider) : slider(slider) {}

void Win32SliderStatusObserver::setRange()
{
    setSliderRange(slider, *subject_, false, position);
}

void Win32SliderStatusObserver::setup(int tickFrequency, int lineSize, int pageSize)
{
    setUpSlider(slider, subject_, false, position, tickFrequency, lineSize, pageSize);
}

void Win32SliderStatusObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    slider->enable(subject_->available());
    setRange();
    slider->setPos(position);
}

// --- Spin ----------------------------------------------------------------------------

Win32SpinObserver::Win32SpinObserver(SpinButton* spin) : spin(spin) {}

void Win32SpinObserver::update(Subject* changed, Transaction*)
{
    if (isOwnSubject(changed)) {
        spin->enable(subject_->available());
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
    : state(state), values{statusValue}
{
}

void Win32ButtonStatusObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    bool pressed = std::find(values.begin(), values.end(), subject_->value().toInt16()) != values.end();
    state->shownPressed = pressed;
    state->pushed = pressed;
    state->button->setState(pressed);
    state->button->enable(subject_->available());
}

Win32ButtonControlOnlyObserver::Win32ButtonControlOnlyObserver(ButtonState* state, int16_t value)
    : state(state), value(value)
{
}

void Win32ButtonControlOnlyObserver::update(Subject* changed, Transaction*)
{
    if (isOwnSubject(changed)) {
        state->button->enable(subject_->available() && withinRange(*subject_, value));
    }
}

void Win32ButtonControlOnlyObserver::userChanged(Transaction*)
{
    if (subject_ == nullptr) {
        return;
    }
    state->button->setState(state->pushed); // the click must not change the look
    if (!state->shownPressed) {
        subject_->sendAlways(ParameterValue(value));
    }
}

// --- Check boxes and radio buttons ---------------------------------------------------

Win32CheckBoxObserver::Win32CheckBoxObserver(Button* button, int16_t checkedValue)
    : button(button), checkedValue(checkedValue)
{
    button->setCheck(Button::Unchecked);
}

void Win32CheckBoxObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    button->setCheck(subject_->value().toInt16() == checkedValue ? Button::Checked : Button::Unchecked);
    button->enable(subject_->available() && withinRange(*subject_, checkedValue));
}

void Win32CheckBoxObserver::userChanged(Transaction* transaction)
{
    if (subject_ == nullptr) {
        return;
    }
    bool checked = button->getCheck() != Button::Unchecked;
    // Every observer of the parameter shows its state again, undoing what the click
    // did to the check marks; the new value then checks the right one.
    subject_->notify(nullptr);
    subject_->setPending(ParameterValue(checked ? checkedValue : 0), transaction);
}

// --- Edit ----------------------------------------------------------------------------

Win32EditObserver::Win32EditObserver(Edit* edit, const ParameterConverter* converter)
    : edit(edit), converter(converter)
{
    edit->setText("");
}

void Win32EditObserver::update(Subject* changed, Transaction*)
{
    if (busy || !isOwnSubject(changed)) {
        return;
    }
    converter->toText(shownText, subject_->value());
    {
        // Setting the text raises the edit's change notification; that echo is the
        // value itself and must not be sent back.
        showing = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{showing};
        edit->setText(shownText);
    }
    edit->enable(subject_->available());
    // What the edit actually shows is what later typing is compared with.
    lastText = edit->getText();
}

void Win32EditObserver::refresh()
{
    if (subject_ != nullptr) {
        update(subject_, nullptr);
    }
}

bool Win32EditObserver::commit(Transaction* transaction)
{
    if (showing) {
        return false;
    }
    busy = true;
    // However the commit ends, the edit takes updates again afterwards.
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{busy};
    if (subject_ == nullptr || edit == nullptr || !edit->hasWindow()) {
        return false;
    }
    std::string text = edit->getText();
    std::size_t word = text.find("fuck");
    if (word != std::string::npos) {
        text.replace(word, 4, "$#*!");
    }
    if (text == lastText) {
        return false;
    }
    ParameterValue value;
    if (!converter->toValue(value, text)) {
        return false;
    }
    ParameterTransaction own;
    subject_->setPending(value, transaction != nullptr ? transaction : &own);
    if (transaction == nullptr) {
        own.commit();
    }
    lastText = text;
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
    : combo(combo), listMin(0), listMax(lastStringId - firstStringId), firstStringId(firstStringId),
      lastStringId(lastStringId)
{
    for (int id = firstStringId; id <= lastStringId; ++id) {
        combo->addString(loadEntry(id));
    }
    combo->setCurSel(0);
}

// The string of a value, taken only from the combo box's own entries.
std::string Win32ComboBoxObserver::label(int value) const
{
    return loadEntry(firstStringId + value);
}

void Win32ComboBoxObserver::showOutsideValue(int value)
{
    if (hasOutsideItem && outsideValue == value) {
        return;
    }
    dropOutsideValue();
    // A value without a string of its own shows as its number, in an item after the list.
    combo->addString(std::to_string(value));
    hasOutsideItem = true;
    outsideValue = value;
}

void Win32ComboBoxObserver::dropOutsideValue()
{
    if (hasOutsideItem) {
        combo->deleteString(combo->getCount() - 1);
        hasOutsideItem = false;
    }
}

void Win32ComboBoxObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    if (Window* parent = combo->parentWindow()) {
        parent->invalidate(combo->rectInParent());
    }
    dropOutsideValue();
    // The list holds the values of the parameter's range that have a string; a wide
    // range therefore never loads more than the combo box's own entries.
    int lowest = std::max<int>(subject_->minimum().toInt16(), 0);
    int highest = std::min<int>(subject_->maximum().toInt16(), lastStringId - firstStringId);
    if (lowest > highest) {
        combo->resetContent();
        listMin = lowest;
        listMax = lowest - 1;
    } else {
        if (listMax < listMin || listMin > highest || listMax < lowest) {
            combo->resetContent(); // nothing of the old list stays
            listMin = lowest;
            listMax = lowest - 1;
        }
        while (listMin < lowest) {
            combo->deleteString(0);
            combo->setCurSel(0);
            ++listMin;
        }
        while (listMin > lowest) {
            --listMin;
            combo->insertString(0, label(listMin));
        }
        while (listMax > highest) {
            combo->deleteString(combo->getCount() - 1);
            --listMax;
        }
        while (listMax < highest) {
            ++listMax;
            combo->addString(label(listMax));
        }
    }
    int value = subject_->value().toInt16();
    if (value >= listMin && value <= listMax) {
        selection = value - listMin;
    } else {
        showOutsideValue(value);
        selection = combo->getCount() - 1;
    }
    combo->setCurSel(selection);
    combo->enable(subject_->available());
}

void Win32ComboBoxObserver::userChanged(Transaction* transaction)
{
    if (subject_ == nullptr) {
        return;
    }
    int index = combo->getCurSel();
    combo->setCurSel(selection); // the shown selection changes only through the parameter
    int count = listMax - listMin + 1;
    int value = 0;
    if (index >= 0 && index < count) {
        value = listMin + index;
    } else if (hasOutsideItem && index == count) {
        value = outsideValue;
    } else {
        return; // no item chosen
    }
    subject_->setPending(ParameterValue(value), transaction);
}

// --- Editable combo box of a text parameter ------------------------------------------

Win32DropdownObserver::Win32DropdownObserver(ComboBox* combo) : combo(combo) {}

void Win32DropdownObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    combo->setText(subject_->value().toString());
    combo->enable(subject_->available());
}

void Win32DropdownObserver::userChanged(Transaction* transaction)
{
    if (subject_ == nullptr) {
        return;
    }
    int index = combo->getCurSel();
    // The text read back is byte for byte what the combo box shows.
    std::string text = index >= 0 ? combo->getLBText(index) : combo->getText();
    if (text == lastText) {
        return;
    }
    ParameterTransaction own;
    subject_->setPending(ParameterValue(text), transaction != nullptr ? transaction : &own);
    if (transaction == nullptr) {
        own.commit();
    }
    lastText = text;
}
