#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <new>
#include <unordered_map>

#include "platform/qt/Internals.h"
#include "platform/qt/Widgets.h"

// The agent of each control. Every operation on a control asks for its agent, polls
// many times a second among them: a hash lookup, not a property search by name.
// It is never destroyed: controls of windows that outlive main() still leave it.
static std::unordered_map<const QWidget*, ControlAgent*>& agents()
{
    using Table = std::unordered_map<const QWidget*, ControlAgent*>;
    alignas(Table) static unsigned char storage[sizeof(Table)];
    static Table* table = ::new (storage) Table();
    return *table;
}

ControlAgent::ControlAgent(QWidget* control, DialogPrivate* owner, int controlId)
    : QObject(control), widget_(control), dialog_(owner), id_(controlId)
{
    agents()[widget_] = this;
    widget_->installEventFilter(this);

    if (auto* button = qobject_cast<QAbstractButton*>(widget_)) {
        connect(button, &QAbstractButton::clicked, this, [this, button] {
            guarded([&] {
                if (!radioGroup_.isEmpty()) {
                    // An automatic radio button checks itself and clears the rest of its group.
                    button->setChecked(true);
                    if (dialog_ != nullptr) {
                        for (auto& [otherId, other] : dialog_->controls) {
                            if (other != this && other->radioGroup_ == radioGroup_) {
                                if (auto* otherButton = qobject_cast<QAbstractButton*>(other->widget_)) {
                                    otherButton->setChecked(false);
                                }
                            }
                        }
                    }
                }
                notify(Notify::Clicked);
            });
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
        connect(edit, &QLineEdit::textChanged, this,
                [this] { guarded([&] { notify(Notify::EditChange); }); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget_)) {
        connect(combo, &QComboBox::activated, this, [this](int index) {
            comboSelection_ = index;
            guarded([&] { notify(Notify::SelChange); });
        });
        if (combo->lineEdit() != nullptr) {
            connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this] { comboSelection_ = -1; });
            combo->lineEdit()->installEventFilter(this);
        }
    } else if (auto* slider = qobject_cast<QSlider*>(widget_)) {
        connect(slider, &QSlider::actionTriggered, this, [this](int action) {
            int code = EndScroll;
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub:
                code = LineUp;
                break;
            case QAbstractSlider::SliderSingleStepAdd:
                code = LineDown;
                break;
            case QAbstractSlider::SliderPageStepSub:
                code = PageUp;
                break;
            case QAbstractSlider::SliderPageStepAdd:
                code = PageDown;
                break;
            case QAbstractSlider::SliderMove:
                code = ThumbTrack;
                break;
            case QAbstractSlider::SliderToMinimum:
                code = Top;
                break;
            case QAbstractSlider::SliderToMaximum:
                code = Bottom;
                break;
            default:
                return;
            }
            guarded([&] { notify(scrollNotification(), code); });
        });
        connect(slider, &QSlider::sliderReleased, this, [this] {
            guarded([&] {
                notify(scrollNotification(), ThumbPosition);
                notify(scrollNotification(), EndScroll);
            });
        });
    } else if (auto* spin = qobject_cast<QzUpDown*>(widget_)) {
        connect(spin, &QzUpDown::stepped, this, [this](int delta) {
            guarded([&] {
                UpDownNotify record;
                record.delta = delta;
                long result = 0;
                notify(Notify::DeltaPos, 0, &record, &result);
            });
        });
    } else if (auto* tabs = qobject_cast<QzTabFrame*>(widget_)) {
        connect(tabs->tabBar(), &QzTabRows::currentChanged, this,
                [this] { guarded([&] { notify(Notify::SelChange); }); });
    }
}

Notify ControlAgent::scrollNotification() const
{
    auto* slider = qobject_cast<QSlider*>(widget_);
    return slider != nullptr && slider->orientation() == Qt::Vertical ? Notify::VScroll : Notify::HScroll;
}

ControlAgent::~ControlAgent()
{
    // A child of its control: it goes while the control's address is still the key.
    auto found = agents().find(widget_);
    if (found != agents().end() && found->second == this) {
        agents().erase(found);
    }
}

ControlAgent* ControlAgent::of(const QWidget* widget)
{
    if (widget == nullptr) {
        return nullptr;
    }
    auto found = agents().find(widget);
    return found != agents().end() ? found->second : nullptr;
}

void ControlAgent::notify(Notify code, int scrollCode, UpDownNotify* upDown, long* result)
{
    if (dialog_ == nullptr || destroyed_) {
        return;
    }
    Notification notification;
    notification.id = id_;
    notification.code = code;
    notification.control = wrapper_;
    notification.scrollCode = scrollCode;
    notification.upDown = upDown;
    notification.result = result;
    dialog_->dispatch(notification);
}

void ControlAgent::paintPushedButton()
{
    auto* button = static_cast<QPushButton*>(widget_);
    QStylePainter painter(button);
    QStyleOptionButton option;
    option.initFrom(button);
    option.features = QStyleOptionButton::None;
    if (button->isDefault()) {
        option.features |= QStyleOptionButton::DefaultButton;
    }
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    // Pushed in, by its check mark or by its status, shows in the highlight colour: the
    // style's own look of either is a shade of grey too faint to tell from a button that
    // is not, and both mean the same to the user.
    option.state |= QStyle::State_Sunken | QStyle::State_On;
    option.palette.setColor(QPalette::Button, option.palette.color(QPalette::Highlight));
    option.palette.setColor(QPalette::ButtonText, option.palette.color(QPalette::HighlightedText));
    painter.drawControl(QStyle::CE_PushButton, option);
}

void ControlAgent::onFocusIn()
{
    if (!startShown_) {
        return;
    }
    startShown_ = false;
    auto* combo = qobject_cast<QComboBox*>(widget_);
    auto* edit = combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(widget_);
    if (edit != nullptr) {
        edit->end(false); // where typing goes on; a click then puts the caret where it points
    }
}

// A list that drops down takes the focus for a moment; that is no loss of focus.
static bool isPopupReason(QEvent* event)
{
    return static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason ||
           QApplication::activePopupWidget() != nullptr;
}

bool ControlAgent::eventFilter(QObject* watched, QEvent* event)
{
    if (destroyed_) {
        return false;
    }
    auto* combo = qobject_cast<QComboBox*>(widget_);
    if (combo != nullptr && watched == combo->lineEdit()) {
        // The edit part of a combo box: its focus loss is the combo box's.
        if (event->type() == QEvent::FocusOut && !isPopupReason(event) && !combo->hasFocus()) {
            guarded([&] { notify(Notify::KillFocus); });
        } else if (event->type() == QEvent::FocusIn) {
            onFocusIn();
        }
        return false;
    }
    if (watched != widget_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        onFocusIn();
        break;
    case QEvent::FocusOut:
        // Only a real loss of focus: not a list dropping down.
        if ((qobject_cast<QLineEdit*>(widget_) != nullptr || combo != nullptr) && !isPopupReason(event)) {
            if (combo == nullptr || combo->lineEdit() == nullptr || !combo->lineEdit()->hasFocus()) {
                guarded([&] { notify(Notify::KillFocus); });
            }
        }
        break;
    case QEvent::KeyPress:
        if (id_ == 0 && widget_->isWindow() && qobject_cast<QDialog*>(widget_) == nullptr && dialog_ != nullptr) {
            // A dialog shown as a window of its own, not run modally: Enter and Escape as in a modal run.
            auto* key = static_cast<QKeyEvent*>(event);
            bool handled = false;
            if (key->modifiers() == Qt::NoModifier) {
                guarded([&] { dialog_->onKey(key->key(), handled); });
            }
            return handled;
        }
        if (auto* slider = qobject_cast<QSlider*>(widget_)) {
            // Track bar keys: up and left lower the position, down and right raise it.
            QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Left:
                action = QAbstractSlider::SliderSingleStepSub;
                break;
            case Qt::Key_Down:
            case Qt::Key_Right:
                action = QAbstractSlider::SliderSingleStepAdd;
                break;
            case Qt::Key_PageUp:
                action = QAbstractSlider::SliderPageStepSub;
                break;
            case Qt::Key_PageDown:
                action = QAbstractSlider::SliderPageStepAdd;
                break;
            case Qt::Key_Home:
                action = QAbstractSlider::SliderToMinimum;
                break;
            case Qt::Key_End:
                action = QAbstractSlider::SliderToMaximum;
                break;
            default:
                break;
            }
            if (action != QAbstractSlider::SliderNoAction) {
                slider->triggerAction(action);
                return true;
            }
        }
        break;
    case QEvent::Resize:
        if (elides_) {
            showRawText(*this); // shortened to the new room
        }
        break;
    case QEvent::Paint:
        ++paints_;
        if (!canvas_.isNull()) {
            QPainter painter(widget_);
            if (canvas_.size() != widget_->size()) {
                // Grown since it was last painted into: the rest shows the face, not garbage.
                painter.fillRect(widget_->rect(), widget_->palette().color(QPalette::Window));
            }
            painter.drawImage(0, 0, canvas_);
            return true;
        }
        if (auto* push = qobject_cast<QPushButton*>(widget_); push != nullptr && (pushed_ || push->isChecked())) {
            paintPushedButton();
            return true;
        }
        if (wrapper_ != nullptr && qobject_cast<QLabel*>(widget_) != nullptr) {
            Window::ControlColours colours;
            bool use = false;
            guarded([&] { use = WindowPrivate::controlColour(*wrapper_, colours); });
            if (use) {
                QPalette palette = widget_->palette();
                if (colours.setTextColour) {
                    palette.setColor(QPalette::WindowText, toQColor(colours.textColour));
                }
                if (colours.setBackground) {
                    palette.setColor(QPalette::Window, toQColor(colours.background));
                    widget_->setAutoFillBackground(true);
                }
                if (palette != widget_->palette()) {
                    widget_->setPalette(palette);
                }
                if (colours.setFont) {
                    QFont font = fontFor(colours.font, widget_->font());
                    if (font != widget_->font()) {
                        widget_->setFont(font);
                    }
                }
                if (colours.setBackground) {
                    QPainter painter(widget_);
                    painter.fillRect(widget_->rect(), toQColor(colours.background));
                }
            }
        }
        break;
    default:
        break;
    }
    return false;
}
