#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMetaObject>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOption>

#include <algorithm>

#include "platform/Controls.h"
#include "platform/Resources.h"
#include "platform/qt/EditValidator.h"
#include "platform/qt/Internals.h"
#include "platform/qt/Widgets.h"

QWidget* WindowPrivate::live() const
{
    QWidget* control = widget.data();
    if (control == nullptr) {
        return nullptr;
    }
    ControlAgent* agent = ControlAgent::of(control);
    if (agent != nullptr && agent->destroyed_) {
        return nullptr;
    }
    return control;
}

void WindowPrivate::bind(Window& wrapper, QWidget* control)
{
    widget = control;
    if (ControlAgent* agent = ControlAgent::of(control)) {
        agent->wrapper_ = &wrapper;
    }
}

Window::Window() : d_(std::make_unique<WindowPrivate>()) {}

Window::~Window()
{
    if (QWidget* control = d_->widget.data()) {
        ControlAgent* agent = ControlAgent::of(control);
        if (agent != nullptr && agent->wrapper_ == this) {
            agent->wrapper_ = nullptr;
        }
    }
}

bool Window::hasWindow() const
{
    return d_->live() != nullptr;
}

bool Window::isSameWindow(const Window* other) const
{
    return other != nullptr && d_->live() != nullptr && d_->live() == other->d_->live();
}

int Window::id() const
{
    QWidget* control = d_->live();
    if (control == nullptr) {
        return 0;
    }
    ControlAgent* agent = ControlAgent::of(control);
    return agent != nullptr ? agent->id_ : 0;
}

// Shows a text in a static text or a button: whole, or, for a control that elides,
// shortened to its room. Buttons follow the mnemonic rule themselves.
static void showText(QWidget* control, const QString& raw, bool elides);

// Static texts and buttons keep the text they were given (their agent's raw text), as
// they show it changed: without mnemonics, or shortened.
static bool keepsRawText(QWidget* control)
{
    return qobject_cast<QLabel*>(control) != nullptr || qobject_cast<QAbstractButton*>(control) != nullptr;
}

// A label or button that already shows the text: setting it again would only repaint it.
static bool showsText(QWidget* control, const std::string& text)
{
    ControlAgent* agent = ControlAgent::of(control);
    return agent != nullptr && agent->hasRawText_ && keepsRawText(control) &&
           agent->rawText_ == QLatin1String(text.data(), qsizetype(text.size()));
}

// A text given by program shows its start, which names it, unless the user is at work
// in the edit: the caret then stays at the end, where typing goes on. It goes there too
// once the user enters the edit.
static void showStart(QLineEdit* edit, ControlAgent* agent)
{
    if (!edit->hasFocus() && agent != nullptr) {
        edit->home(false);
        agent->startShown_ = true;
    }
}

void Window::setText(const std::string& text)
{
    QWidget* control = d_->live();
    if (control == nullptr || showsText(control, text)) {
        return;
    }
    QString qtext = toQt(text);
    programCall([&] {
        ControlAgent* agent = ControlAgent::of(control);
        if (keepsRawText(control)) {
            if (agent != nullptr) {
                agent->rawText_ = qtext;
                agent->hasRawText_ = true;
            }
            showText(control, qtext, agent != nullptr && agent->elides_);
            if (auto* eliding = qobject_cast<QzElidingLabel*>(control)) {
                eliding->refreshToolTip();
            }
        } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
            box->setTitle(qtext);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(qtext);
            showStart(edit, agent);
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            if (combo->isEditable()) {
                combo->setEditText(qtext);
                showStart(combo->lineEdit(), agent);
                if (agent != nullptr) {
                    agent->comboSelection_ = -1;
                }
            }
        } else if (control->isWindow()) {
            control->setWindowTitle(qtext);
        }
    });
}

std::string Window::getText() const
{
    QWidget* control = d_->live();
    if (control == nullptr) {
        return std::string();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        ControlAgent* agent = ControlAgent::of(control);
        return fromQt(agent != nullptr && agent->hasRawText_ ? agent->rawText_ : label->text());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        ControlAgent* agent = ControlAgent::of(control);
        return fromQt(agent != nullptr && agent->hasRawText_ ? agent->rawText_ : button->text());
    }
    if (auto* box = qobject_cast<QGroupBox*>(control)) {
        return fromQt(box->title());
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return fromQt(edit->text());
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        return fromQt(combo->currentText());
    }
    return fromQt(control->windowTitle());
}

void Window::enable(bool enabled)
{
    if (QWidget* control = d_->live()) {
        programCall([&] { control->setEnabled(enabled); });
    }
}

bool Window::isEnabled() const
{
    QWidget* control = d_->live();
    return control != nullptr && control->isEnabled();
}

void Window::show(bool visible)
{
    if (QWidget* control = d_->live()) {
        programCall([&] { control->setVisible(visible); });
    }
}

bool Window::isVisible() const
{
    QWidget* control = d_->live();
    return control != nullptr && !control->isHidden();
}

void Window::setFocus()
{
    if (QWidget* control = d_->live()) {
        programCall([&] {
            control->activateWindow();
            control->setFocus(Qt::OtherFocusReason);
        });
    }
}

bool Window::hasFocus() const
{
    QWidget* control = d_->live();
    return control != nullptr && control->hasFocus();
}

Rect Window::rectInParent() const
{
    QWidget* control = d_->live();
    if (control == nullptr) {
        return Rect{};
    }
    QRect area = control->geometry();
    return Rect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

Rect Window::clientRect() const
{
    QWidget* control = d_->live();
    if (control == nullptr) {
        return Rect{};
    }
    return Rect{0, 0, control->width(), control->height()};
}

void Window::invalidate(const Rect& area)
{
    if (QWidget* control = d_->live()) {
        control->update(QRect(area.left, area.top, area.width(), area.height()));
    }
}

void Window::invalidate()
{
    if (QWidget* control = d_->live()) {
        control->update();
    }
}

// The font a static text draws with: a control with a look of its own (an LCD readout)
// picks it just before drawing, so it is asked now, before the text is measured.
static void takeDrawingFont(Window& window, QLabel* label)
{
    Window::ControlColours colours;
    bool use = false;
    guarded([&] { use = WindowPrivate::controlColour(window, colours); });
    if (use && colours.setFont) {
        QFont font = fontFor(colours.font, label->font());
        if (font != label->font()) {
            programCall([&] { label->setFont(font); });
        }
    }
}

// The width a control needs to show a text of the given width whole.
static int widthForText(QWidget* control, int textWidth)
{
    if (auto* label = qobject_cast<QLabel*>(control)) {
        int indent = label->indent() >= 0      ? label->indent()
                     : label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                                               : 0;
        // The frame and the contents margins: all of the label that is not its contents.
        int chrome = label->width() - label->contentsRect().width();
        return textWidth + indent + 2 * label->margin() + chrome;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        // The part of the button its caption is drawn in, for the kind of button it is.
        QStyleOptionButton option;
        option.initFrom(button);
        QStyle::SubElement contents = qobject_cast<QCheckBox*>(button) != nullptr      ? QStyle::SE_CheckBoxContents
                                      : qobject_cast<QRadioButton*>(button) != nullptr ? QStyle::SE_RadioButtonContents
                                                                                       : QStyle::SE_PushButtonContents;
        return textWidth + button->width() - button->style()->subElementRect(contents, &option, button).width();
    }
    QFontMetrics metrics = control->fontMetrics();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        // As the edit sizes itself: its text margins, the frame the style draws, and the caret.
        constexpr int horizontalMargin = 2;
        QMargins text = edit->textMargins();
        QMargins margins = edit->contentsMargins();
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth =
            edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        QSize contents(textWidth + 1 + 2 * horizontalMargin + text.left() + text.right() + margins.left() +
                           margins.right(),
                       metrics.height());
        return edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, edit).width();
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        return combo->style()
            ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(textWidth, metrics.height()), combo)
            .width();
    }
    return 0;
}

void Window::fitTexts(const std::vector<std::string>& texts)
{
    QWidget* control = d_->live();
    if (control == nullptr || texts.empty() || qobject_cast<QzElidingLabel*>(control) != nullptr ||
        qobject_cast<QAbstractButton*>(control) != nullptr) {
        return;
    }
    auto* label = qobject_cast<QLabel*>(control);
    if (label != nullptr) {
        takeDrawingFont(*this, label);
    }
    int widest = 0;
    QFontMetrics metrics = control->fontMetrics();
    for (const std::string& text : texts) {
        // Glyphs may reach past their advance (the slash of "N/A"): the larger of the two.
        QString shown = withoutMnemonics(toQt(text));
        widest = std::max({widest, metrics.horizontalAdvance(shown), metrics.size(0, shown).width()});
    }
    int width = std::max(widthForText(control, widest), control->minimumWidth());
    programCall([&] {
        if (label != nullptr) {
            // Its size no longer follows the text, so a value never moves its neighbours.
            label->setFixedWidth(width);
        } else {
            control->setMinimumWidth(width);
        }
    });
}

void Window::fitFreeText()
{
    QWidget* control = d_->live();
    ControlAgent* agent = ControlAgent::of(control);
    // An eliding label of the template shortens its text itself.
    if (agent == nullptr || qobject_cast<QzElidingLabel*>(control) != nullptr) {
        return;
    }
    auto* label = qobject_cast<QLabel*>(control);
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (label == nullptr && button == nullptr) {
        return;
    }
    if (label != nullptr) {
        takeDrawingFont(*this, label);
    }
    programCall([&] {
        // The layout gives it the room it gives an empty text: the template's minimum
        // width at least, and whatever its column has beyond that.
        QSizePolicy policy = control->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        control->setSizePolicy(policy);
        if (!agent->hasRawText_) {
            agent->rawText_ = label != nullptr ? label->text() : button->text();
            agent->hasRawText_ = true;
        }
        agent->elides_ = true;
        showRawText(*agent);
    });
}

// "&" doubled: a button shows the text as it is.
static QString withMnemonicsEscaped(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

static void showText(QWidget* control, const QString& raw, bool elides)
{
    QString whole = withoutMnemonics(raw);
    QString shown = whole;
    if (elides) {
        int room = std::max(0, control->width() - widthForText(control, 0));
        shown = control->fontMetrics().elidedText(whole, Qt::ElideRight, room);
        QString tip = shown != whole ? whole : QString();
        if (control->toolTip() != tip) {
            control->setToolTip(tip);
        }
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(shown);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(shown != whole ? withMnemonicsEscaped(shown) : raw);
    }
}

void showRawText(ControlAgent& agent)
{
    showText(agent.widget_, agent.rawText_, agent.elides_);
}

FontDescription Window::getFont() const
{
    QWidget* control = d_->live();
    return control != nullptr ? describe(control->font()) : FontDescription{};
}

std::string Window::setFont(const FontDescription& font)
{
    QWidget* control = d_->live();
    if (control == nullptr) {
        return std::string();
    }
    QFont applied = fontFor(font, control->font());
    programCall([&] { control->setFont(applied); });
    return fromQt(QFontInfo(applied).family());
}

void Window::fillSolidRect(const Rect& area, Colour colour)
{
    QWidget* control = d_->live();
    ControlAgent* agent = ControlAgent::of(control);
    if (control == nullptr || agent == nullptr) {
        return;
    }
    QSize size = control->size().expandedTo(QSize(1, 1));
    if (agent->canvas_.size() != size) {
        QImage canvas(size, QImage::Format_RGB32);
        canvas.fill(control->palette().color(QPalette::Window));
        if (!agent->canvas_.isNull()) {
            QPainter painter(&canvas);
            painter.drawImage(0, 0, agent->canvas_);
        }
        agent->canvas_ = canvas;
        // The canvas covers the whole control: nothing behind it needs painting first.
        control->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    if (area.right == area.left || area.bottom == area.top) {
        return; // an empty band paints nothing
    }
    QRect rect = QRect(QPoint(area.left, area.top), QPoint(area.right - 1, area.bottom - 1)).normalized();
    QPainter painter(&agent->canvas_);
    painter.fillRect(rect, toQColor(colour));
    requestCanvasRepaint(*agent, rect);
}

unsigned long Window::paintCount() const
{
    ControlAgent* agent = ControlAgent::of(d_->live());
    return agent != nullptr ? agent->paints_ : 0;
}

void Window::postClose()
{
    if (QWidget* control = d_->live()) {
        QPointer<QWidget> target = control->window();
        QMetaObject::invokeMethod(
            control,
            [target] {
                if (target) {
                    target->close();
                }
            },
            Qt::QueuedConnection);
    }
}

Window* Window::parentWindow() const
{
    QWidget* control = d_->live();
    for (QWidget* parent = control != nullptr ? control->parentWidget() : nullptr; parent != nullptr;
         parent = parent->parentWidget()) {
        ControlAgent* agent = ControlAgent::of(parent);
        if (agent != nullptr && agent->wrapper_ != nullptr) {
            return agent->wrapper_;
        }
    }
    return nullptr;
}

bool Window::onControlColour(ControlColours&)
{
    return false;
}

// --- Button --------------------------------------------------------------------------

int Button::getCheck() const
{
    auto* button = qobject_cast<QAbstractButton*>(internals().live());
    return button != nullptr && button->isChecked() ? Checked : Unchecked;
}

void Button::setCheck(int check)
{
    auto* button = qobject_cast<QAbstractButton*>(internals().live());
    if (button == nullptr) {
        return;
    }
    programCall([&] {
        QSignalBlocker block(button);
        if (!button->isCheckable() && check != Unchecked) {
            button->setCheckable(true);
        }
        button->setChecked(check != Unchecked);
    });
}

int Button::getState() const
{
    QWidget* control = internals().live();
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button == nullptr) {
        return 0;
    }
    ControlAgent* agent = ControlAgent::of(control);
    int state = button->isChecked() ? CheckedBit : 0;
    if (agent != nullptr && agent->pushed_) {
        state |= PushedBit;
    }
    if (button->hasFocus()) {
        state |= FocusBit;
    }
    return state;
}

void Button::setState(bool pushed)
{
    QWidget* control = internals().live();
    if (ControlAgent* agent = ControlAgent::of(control)) {
        if (agent->pushed_ != pushed) {
            agent->pushed_ = pushed;
            control->update();
        }
    }
}

// --- Edit ----------------------------------------------------------------------------

// A validator limits typing only; a text set by program is shown whole.
static void limitTyping(QLineEdit* edit, int characters)
{
    edit->setProperty("qzLimit", characters);
    if (edit->validator() == nullptr) {
        edit->setValidator(new QzEditValidator(edit)); // the edit owns it
    }
}

void Edit::setLimitText(int characters)
{
    if (auto* edit = qobject_cast<QLineEdit*>(internals().live())) {
        limitTyping(edit, characters);
    }
}

// --- ComboBox ------------------------------------------------------------------------

static QComboBox* comboOf(const Window& window)
{
    return qobject_cast<QComboBox*>(window.internals().live());
}

static int insertItem(QComboBox* combo, int index, const QString& text)
{
    int before = combo->currentIndex();
    QSignalBlocker block(combo);
    combo->insertItem(index, text);
    if (before < 0 && !combo->isEditable()) {
        combo->setCurrentIndex(-1); // adding an item selects nothing
    }
    return index;
}

int ComboBox::addString(const std::string& text)
{
    QComboBox* combo = comboOf(*this);
    if (combo == nullptr) {
        return Error;
    }
    QString qtext = toQt(text);
    int index = combo->count();
    if (combo->property("sorted").toBool()) {
        index = 0;
        while (index < combo->count() &&
               QString::compare(combo->itemText(index), qtext, Qt::CaseInsensitive) <= 0) {
            ++index;
        }
    }
    return programCall([&] { return insertItem(combo, index, qtext); });
}

void ComboBox::replaceList(const std::vector<std::string>& items)
{
    QComboBox* combo = comboOf(*this);
    if (combo == nullptr) {
        return;
    }
    QStringList texts;
    texts.reserve(qsizetype(items.size()));
    for (const std::string& item : items) {
        texts.append(toQt(item));
    }
    if (combo->property("sorted").toBool()) {
        // addString's order: case ignored, equal texts in the order they came.
        std::stable_sort(texts.begin(), texts.end(), [](const QString& left, const QString& right) {
            return QString::compare(left, right, Qt::CaseInsensitive) < 0;
        });
    }
    // One line of text per item: the list need not measure every item before it first
    // drops down, a pause of a third of a second for a hundred thousand of them.
    if (auto* view = qobject_cast<QListView*>(combo->view())) {
        view->setUniformItemSizes(true);
    }
    programCall([&] {
        QSignalBlocker block(combo);
        QString text = combo->currentText();
        combo->clear();
        combo->addItems(texts);
        combo->setCurrentIndex(-1);
        if (combo->isEditable()) {
            combo->setEditText(text);
        }
    });
    if (ControlAgent* agent = ControlAgent::of(combo)) {
        agent->comboSelection_ = -1;
    }
}

int ComboBox::insertString(int index, const std::string& text)
{
    QComboBox* combo = comboOf(*this);
    if (combo == nullptr || index > combo->count()) {
        return Error;
    }
    if (index < 0) {
        index = combo->count();
    }
    return programCall([&] { return insertItem(combo, index, toQt(text)); });
}

int ComboBox::deleteString(int index)
{
    QComboBox* combo = comboOf(*this);
    if (combo == nullptr || index < 0 || index >= combo->count()) {
        return Error;
    }
    programCall([&] {
        QSignalBlocker block(combo);
        QString text = combo->currentText();
        bool wasSelected = combo->currentIndex() == index;
        combo->removeItem(index);
        if (wasSelected && !combo->isEditable()) {
            combo->setCurrentIndex(-1);
        } else if (combo->isEditable()) {
            combo->setEditText(text);
        }
    });
    return combo->count();
}

void ComboBox::resetContent()
{
    QComboBox* combo = comboOf(*this);
    if (combo == nullptr) {
        return;
    }
    programCall([&] {
        QSignalBlocker block(combo);
        QString text = combo->currentText();
        combo->clear();
        if (combo->isEditable()) {
            combo->setEditText(text); // the edit part keeps its text
        }
    });
    if (ControlAgent* agent = ControlAgent::of(combo)) {
        agent->comboSelection_ = -1;
    }
}

int ComboBox::getCount() const
{
    QComboBox* combo = comboOf(*this);
    return combo != nullptr ? combo->count() : 0;
}

int ComboBox::getCurSel() const
{
    QComboBox* combo = comboOf(*this);
    if (combo == nullptr) {
        return Error;
    }
    if (combo->isEditable()) {
        ControlAgent* agent = ControlAgent::of(combo);
        return agent != nullptr ? agent->comboSelection_ : Error;
    }
    return combo->currentIndex();
}

int ComboBox::setCurSel(int index)
{
    QComboBox* combo = comboOf(*this);
    if (combo == nullptr) {
        return Error;
    }
    if (index < 0 || index >= combo->count()) {
        index = -1;
    }
    programCall([&] {
        QSignalBlocker block(combo);
        combo->setCurrentIndex(index);
    });
    if (ControlAgent* agent = ControlAgent::of(combo)) {
        agent->comboSelection_ = index;
    }
    return index;
}

std::string ComboBox::getLBText(int index) const
{
    QComboBox* combo = comboOf(*this);
    if (combo == nullptr || index < 0 || index >= combo->count()) {
        return std::string();
    }
    return fromQt(combo->itemText(index));
}

void ComboBox::setLimitText(int characters)
{
    QComboBox* combo = comboOf(*this);
    if (combo != nullptr && combo->lineEdit() != nullptr) {
        limitTyping(combo->lineEdit(), characters);
    }
}

// --- Slider --------------------------------------------------------------------------

static QSlider* sliderOf(const Window& window)
{
    return qobject_cast<QSlider*>(window.internals().live());
}

template <class F> static void withSlider(const Window& window, F&& action)
{
    if (QSlider* slider = sliderOf(window)) {
        programCall([&] {
            QSignalBlocker block(slider);
            action(slider);
        });
    }
}

void Slider::setRangeMin(int minimum, bool)
{
    withSlider(*this, [&](QSlider* slider) { slider->setMinimum(minimum); });
}

void Slider::setRangeMax(int maximum, bool)
{
    withSlider(*this, [&](QSlider* slider) { slider->setMaximum(maximum); });
}

int Slider::getRangeMin() const
{
    QSlider* slider = sliderOf(*this);
    return slider != nullptr ? slider->minimum() : 0;
}

int Slider::getRangeMax() const
{
    QSlider* slider = sliderOf(*this);
    return slider != nullptr ? slider->maximum() : 0;
}

void Slider::setPos(int position)
{
    withSlider(*this, [&](QSlider* slider) {
        slider->setValue(position);
        slider->setSliderPosition(slider->value());
    });
}

int Slider::getPos() const
{
    QSlider* slider = sliderOf(*this);
    return slider != nullptr ? slider->sliderPosition() : 0;
}

void Slider::setTicFreq(int frequency)
{
    withSlider(*this, [&](QSlider* slider) { slider->setTickInterval(frequency); });
}

void Slider::setLineSize(int size)
{
    withSlider(*this, [&](QSlider* slider) { slider->setSingleStep(size); });
}

void Slider::setPageSize(int size)
{
    withSlider(*this, [&](QSlider* slider) { slider->setPageStep(size); });
}

int Slider::getLineSize() const
{
    QSlider* slider = sliderOf(*this);
    return slider != nullptr ? slider->singleStep() : 0;
}

int Slider::getPageSize() const
{
    QSlider* slider = sliderOf(*this);
    return slider != nullptr ? slider->pageStep() : 0;
}

// --- Static --------------------------------------------------------------------------

void Static::setBitmap(const Bitmap* bitmap)
{
    QWidget* control = internals().live();
    auto* label = qobject_cast<QLabel*>(control);
    ControlAgent* agent = ControlAgent::of(control);
    if (label == nullptr || agent == nullptr) {
        return;
    }
    const QPixmap shown = bitmap != nullptr && bitmap->isLoaded() ? bitmap->internals().pixmap : QPixmap();
    if (agent->bitmap_ == bitmap && label->pixmap().cacheKey() == shown.cacheKey()) {
        return; // already shown: setting it again would only repaint it
    }
    agent->bitmap_ = bitmap;
    label->setPixmap(shown);
}

const Bitmap* Static::getBitmap() const
{
    ControlAgent* agent = ControlAgent::of(internals().live());
    return agent != nullptr ? agent->bitmap_ : nullptr;
}

// --- TabControl ----------------------------------------------------------------------

static QzTabRows* tabBarOf(const Window& window)
{
    auto* frame = qobject_cast<QzTabFrame*>(window.internals().live());
    return frame != nullptr ? frame->tabBar() : nullptr;
}

int TabControl::insertItem(int index, const std::string& text)
{
    QzTabRows* bar = tabBarOf(*this);
    if (bar == nullptr) {
        return -1;
    }
    return programCall([&] {
        QSignalBlocker block(bar);
        return bar->insertTab(index, toQt(text));
    });
}

bool TabControl::deleteAllItems()
{
    QzTabRows* bar = tabBarOf(*this);
    if (bar == nullptr) {
        return false;
    }
    programCall([&] {
        QSignalBlocker block(bar);
        while (bar->count() > 0) {
            bar->removeTab(bar->count() - 1);
        }
    });
    return true;
}

int TabControl::getItemCount() const
{
    QzTabRows* bar = tabBarOf(*this);
    return bar != nullptr ? bar->count() : 0;
}

std::string TabControl::getItemText(int index) const
{
    QzTabRows* bar = tabBarOf(*this);
    return bar != nullptr ? fromQt(bar->tabText(index)) : std::string();
}

int TabControl::getCurSel() const
{
    QzTabRows* bar = tabBarOf(*this);
    return bar != nullptr ? bar->currentIndex() : -1;
}

int TabControl::setCurSel(int index)
{
    QzTabRows* bar = tabBarOf(*this);
    if (bar == nullptr || index >= bar->count()) {
        return -1;
    }
    int previous = bar->currentIndex();
    programCall([&] {
        QSignalBlocker block(bar);
        bar->setCurrentIndex(index);
    });
    return previous;
}
