#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimerEvent>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/Application.h"
#include "platform/Dialog.h"
#include "platform/qt/EditValidator.h"
#include "platform/qt/Internals.h"
#include "platform/qt/Placement.h"
#include "platform/qt/Templates.h"
#include "platform/qt/Widgets.h"

// The window of a modal dialog: Enter, Escape and the close box go to the dialog.
class QzDialogWindow : public QDialog {
public:
    QzDialogWindow(DialogPrivate* owner, QWidget* parent) : QDialog(parent), dialog_(owner) {}
    DialogPrivate* dialog_;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        bool handled = false;
        if (dialog_ != nullptr && event->modifiers() == Qt::NoModifier) {
            guarded([&] { dialog_->onKey(event->key(), handled); });
        }
        if (!handled) {
            QWidget::keyPressEvent(event);
        }
    }
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore(); // the dialog decides; ending its run hides the window
        if (dialog_ != nullptr) {
            guarded([&] { dialog_->onClose(); });
        }
    }
};

class QzTimerHost;

// A tick being handled. The ticks in hand form a chain on the stack, innermost first,
// so that a modal loop about to start can renew their timers without allocating.
struct TickInHand {
    QzTimerHost* host; // null once its timer was renewed or its host is gone
    int qtId;
    TickInHand* outer;
};
static TickInHand* innermostTick = nullptr;

// Receives the window timers of a dialog and hands each tick to the dialog at once.
class QzTimerHost : public QObject {
public:
    QzTimerHost(DialogPrivate* owner, QObject* parent) : QObject(parent), dialog_(owner) {}
    ~QzTimerHost() override
    {
        for (TickInHand* tick = innermostTick; tick != nullptr; tick = tick->outer) {
            if (tick->host == this) {
                tick->host = nullptr;
            }
        }
    }
    DialogPrivate* dialog_;

protected:
    void timerEvent(QTimerEvent* event) override
    {
        if (dialog_ == nullptr) {
            return;
        }
        TickInHand tick{this, event->timerId(), innermostTick};
        innermostTick = &tick;
        guarded([&] { dialog_->dispatchTimer(tick.qtId); });
        // Only the stack is touched now: the handler may have destroyed the dialog.
        innermostTick = tick.outer;
    }
};

void renewTimersInHand()
{
    for (TickInHand* tick = innermostTick; tick != nullptr; tick = tick->outer) {
        if (tick->host != nullptr && tick->host->dialog_ != nullptr) {
            tick->host->dialog_->renewTimer(tick->qtId);
        }
        tick->host = nullptr; // its fresh timer is not in hand
    }
}

// --- DialogPrivate -------------------------------------------------------------------

bool DialogPrivate::makeWindow(QWidget* parentWidget, bool modal)
{
    ensureApplication();
    QWidget* top = nullptr;
    if (modal) {
        auto* window = new QzDialogWindow(this, parentWidget != nullptr ? parentWidget->window() : nullptr);
        window->setWindowModality(Qt::ApplicationModal);
        top = window;
    } else {
        QWidget* host = parentWidget;
        if (auto* frame = qobject_cast<QzTabFrame*>(parentWidget)) {
            host = frame->displayArea();
        }
        top = new QWidget(host);
        if (auto* frame = qobject_cast<QzTabFrame*>(parentWidget)) {
            frame->addPage(top);
        } else if (host != nullptr && host->layout() != nullptr) {
            host->layout()->addWidget(top);
        }
    }
    // Until its template is built the window is this function's alone to drop.
    std::unique_ptr<QWidget> unbuilt(top);
    if (!buildTemplate(templateId, top)) {
        return false;
    }
    // From here on releaseWindow lets it go.
    widget = unbuilt.release();
    applyWindowBoxes();
    auto* agent = new ControlAgent(top, this, 0);
    agent->wrapper_ = owner;
    owner->internals().widget = top;
    timerHost = new QzTimerHost(this, top);

    controls.clear();
    for (QWidget* child : top->findChildren<QWidget*>()) {
        QVariant id = child->property("id");
        if (id.isValid()) {
            controls[id.toInt()] = new ControlAgent(child, this, id.toInt());
        }
    }
    configureControls();
    for (auto& [id, wrapper] : owned) {
        auto found = controls.find(id);
        if (found != controls.end()) {
            wrapper->internals().bind(*wrapper, found->second->widget_);
        }
    }
    applyMenu();
    if (!icon.isNull()) {
        top->setWindowIcon(icon);
    }
    return true;
}

void DialogPrivate::configureControls()
{
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(child)) {
            // Labels show plain text with the mnemonic rule applied; no rich text ever.
            label->setTextFormat(Qt::PlainText);
            if (ControlAgent* agent = ControlAgent::of(label)) {
                agent->rawText_ = label->text();
                agent->hasRawText_ = true;
            }
            label->setText(withoutMnemonics(label->text()));
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            button->setAutoExclusive(false); // groups may show none checked
            if (auto* push = qobject_cast<QPushButton*>(button)) {
                push->setAutoDefault(false);
            }
            ControlAgent* agent = ControlAgent::of(button);
            if (agent != nullptr) {
                QString group = button->property("radioGroup").toString();
                if (group.isEmpty() && qobject_cast<QRadioButton*>(button) != nullptr) {
                    group = QString::number(quintptr(button->parentWidget()));
                }
                agent->radioGroup_ = group;
                if (!group.isEmpty()) {
                    button->setCheckable(true);
                }
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(child)) {
            if (qobject_cast<QComboBox*>(edit->parentWidget()) == nullptr) {
                edit->setValidator(new QzEditValidator(edit));
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(child)) {
            combo->setInsertPolicy(QComboBox::NoInsert);
            if (!combo->isEditable() && combo->count() > 0 && !combo->property("selected").isValid()) {
                combo->setCurrentIndex(-1); // a drop-down list starts with nothing selected
            }
        } else if (auto* spin = qobject_cast<QzUpDown*>(child)) {
            QString buddy = spin->property("buddy").toString();
            if (!buddy.isEmpty()) {
                spin->setBuddy(widget->findChild<QWidget*>(buddy));
            }
        } else if (auto* slider = qobject_cast<QSlider*>(child)) {
            // A vertical track bar has its minimum at the top.
            slider->setInvertedAppearance(slider->orientation() == Qt::Vertical);
        }
    }
}

// A template asks for the minimise and maximise boxes of a main window with the
// properties "minimizeBox" and "maximizeBox".
void DialogPrivate::applyWindowBoxes()
{
    QWidget* top = widget.data();
    bool minimize = top->property("minimizeBox").toBool();
    bool maximize = top->property("maximizeBox").toBool();
    if (!top->isWindow() || (!minimize && !maximize)) {
        return;
    }
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minimize) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (maximize) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    top->setWindowFlags(flags);
}

void DialogPrivate::applyMenu()
{
    auto* dialogWindow = qobject_cast<QDialog*>(widget.data());
    if (dialogWindow == nullptr || menu.empty()) {
        return;
    }
    auto* bar = new QMenuBar(dialogWindow);
    std::function<void(QMenu*, const std::vector<MenuItem>&)> fill = [&](QMenu* target,
                                                                         const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            if (!item.items.empty()) {
                fill(target->addMenu(toQt(item.text)), item.items);
            } else if (item.text.empty()) {
                target->addSeparator();
            } else {
                QAction* action = target->addAction(toQt(item.text));
                int command = item.command;
                QObject::connect(action, &QAction::triggered, dialogWindow, [this, command] {
                    guarded([&] {
                        Notification notification;
                        notification.id = command;
                        notification.code = Notify::Clicked;
                        dispatch(notification);
                    });
                });
            }
        }
    };
    for (const MenuItem& top : menu) {
        fill(bar->addMenu(toQt(top.text)), top.items);
    }
    if (dialogWindow->layout() != nullptr) {
        dialogWindow->layout()->setMenuBar(bar);
    }
}

void DialogPrivate::releaseWindow()
{
    QWidget* top = widget.data();
    if (top == nullptr) {
        return;
    }
    for (auto& [id, agent] : controls) {
        agent->destroyed_ = true;
        agent->dialog_ = nullptr;
    }
    if (ControlAgent* agent = ControlAgent::of(top)) {
        agent->destroyed_ = true;
        agent->dialog_ = nullptr;
    }
    if (auto* window = dynamic_cast<QzDialogWindow*>(top)) {
        window->dialog_ = nullptr;
    }
    if (auto* host = dynamic_cast<QzTimerHost*>(timerHost)) {
        host->dialog_ = nullptr;
    }
    // The host itself goes later; its timers need not wake the loop until then.
    for (auto& [id, timer] : timers) {
        timerHost->killTimer(timer.qtId);
    }
    timers.clear();
    controls.clear();
    timerHost = nullptr;
    widget = nullptr;
    top->hide();
    // The window may be in the middle of delivering the notification that destroys it.
    top->deleteLater();
}

void DialogPrivate::dispatch(Notification& notification)
{
    auto found = handlers.find({notification.id, notification.code});
    if (found == handlers.end()) {
        found = handlers.find({Dialog::AnyControl, notification.code});
    }
    if (found != handlers.end()) {
        Dialog::Handler handler = found->second; // it may replace itself while it runs
        handler(notification);
        return;
    }
    // The commands every dialog understands without a handler of its own.
    if (notification.code == Notify::Clicked) {
        if (notification.id == IDOK) {
            owner->onOK();
        } else if (notification.id == IDCANCEL) {
            owner->onCancel();
        } else if (notification.id == ID_APP_EXIT) {
            owner->postClose();
        }
    }
}

void DialogPrivate::onKey(int key, bool& handled)
{
    if (key == Qt::Key_Escape) {
        handled = true;
        owner->onCancel();
        return;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        return;
    }
    handled = true;
    // A push button with the focus takes Enter itself.
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    if (focused != nullptr && !focused->isCheckable() && focused->window() == widget &&
        focused->isEnabled()) {
        focused->click();
        return;
    }
    // Otherwise the default button, even a hidden one.
    for (auto& [id, agent] : controls) {
        auto* button = qobject_cast<QPushButton*>(agent->widget_);
        if (button != nullptr && button->isDefault()) {
            if (button->isEnabled()) {
                agent->notify(Notify::Clicked);
            }
            return;
        }
    }
    owner->onOK();
}

void DialogPrivate::onClose()
{
    owner->onCancel();
}

std::map<unsigned, DialogPrivate::Timer>::iterator DialogPrivate::timerOf(int qtTimerId)
{
    return std::find_if(timers.begin(), timers.end(),
                        [qtTimerId](const auto& entry) { return entry.second.qtId == qtTimerId; });
}

void DialogPrivate::dispatchTimer(int qtTimerId)
{
    auto found = timerOf(qtTimerId);
    if (found != timers.end()) {
        unsigned timerId = found->first;
        owner->timerElapsed(timerId); // may destroy this
    }
}

// Gives a timer whose tick is in hand a fresh window-system timer, one the window
// system fires again in a nested loop. Killing a timer during its own tick is safe.
void DialogPrivate::renewTimer(int qtTimerId)
{
    auto found = timerOf(qtTimerId);
    if (found == timers.end()) {
        return; // killed or set anew by its handler: nothing of it is in hand
    }
    timerHost->killTimer(qtTimerId);
    found->second.qtId = timerHost->startTimer(found->second.intervalMs, Qt::PreciseTimer);
    if (found->second.qtId == 0) {
        timers.erase(found);
    }
}

// --- Dialog --------------------------------------------------------------------------

Dialog::Dialog(int templateId, Window* parent) : p_(std::make_unique<DialogPrivate>())
{
    p_->owner = this;
    p_->templateId = templateId;
    p_->parent = parent;
}

Dialog::~Dialog()
{
    p_->releaseWindow();
}

int Dialog::templateId() const
{
    return p_->templateId;
}

int Dialog::runModal()
{
    if (applicationQuitting()) {
        return -1;
    }
    QWidget* parentWidget = p_->parent != nullptr ? p_->parent->internals().live() : nullptr;
    if (p_->widget != nullptr || !p_->makeWindow(parentWidget, true)) {
        return -1;
    }
    ModalRun run;
    run.widget = p_->widget;
    p_->run = &run;
    struct Finish {
        Dialog* dialog;
        ~Finish()
        {
            dialog->p_->run = nullptr;
            if (dialog->p_->widget != nullptr) {
                guarded([&] { dialog->onDestroy(); });
                dialog->p_->releaseWindow();
            }
        }
    } finish{this};
    ModalRunRegistration registration(run);
    onInitDialog();
    // A request to end that came while the window was being set up (connecting, say)
    // counts before it shows.
    if (!run.ended && !applicationQuitting()) {
        programCall([&] {
            // A window of its own opens in the middle of the screen, a dialog over its owner.
            openWithinScreen(p_->widget, parentWidget == nullptr);
            p_->widget->show();
            p_->widget->raise();
            p_->widget->activateWindow();
        });
    }
    return runModalLoop(run, *this);
}

void Dialog::endDialog(int result)
{
    if (p_->run == nullptr) {
        return;
    }
    p_->run->result = result;
    p_->run->ended = true;
    p_->run->loop.exit(result);
    if (p_->widget != nullptr) {
        p_->widget->hide();
    }
}

bool Dialog::isRunningModal() const
{
    return p_->run != nullptr && !p_->run->ended;
}

bool Dialog::create(Window* parent)
{
    if (p_->widget != nullptr) {
        return false;
    }
    p_->parent = parent;
    QWidget* parentWidget = parent != nullptr ? parent->internals().live() : nullptr;
    if (!p_->makeWindow(parentWidget, false)) {
        return false;
    }
    onInitDialog();
    if (p_->widget != nullptr) {
        p_->widget->show();
    }
    return true;
}

void Dialog::destroyWindow()
{
    if (p_->widget == nullptr) {
        return;
    }
    onDestroy();
    p_->releaseWindow();
}

void Dialog::attach(Window& wrapper, int controlId)
{
    auto found = p_->controls.find(controlId);
    if (found == p_->controls.end()) {
        throw std::runtime_error("No control " + std::to_string(controlId) + " in template " +
                             std::to_string(p_->templateId));
    }
    QWidget* control = found->second->widget_;
    bool fits = true;
    if (dynamic_cast<Button*>(&wrapper) != nullptr) {
        fits = qobject_cast<QAbstractButton*>(control) != nullptr;
    } else if (dynamic_cast<Edit*>(&wrapper) != nullptr) {
        fits = qobject_cast<QLineEdit*>(control) != nullptr;
    } else if (dynamic_cast<ComboBox*>(&wrapper) != nullptr) {
        fits = qobject_cast<QComboBox*>(control) != nullptr;
    } else if (dynamic_cast<Slider*>(&wrapper) != nullptr) {
        fits = qobject_cast<QSlider*>(control) != nullptr;
    } else if (dynamic_cast<SpinButton*>(&wrapper) != nullptr) {
        fits = qobject_cast<QzUpDown*>(control) != nullptr;
    } else if (dynamic_cast<Static*>(&wrapper) != nullptr) {
        fits = qobject_cast<QLabel*>(control) != nullptr;
    } else if (dynamic_cast<TabControl*>(&wrapper) != nullptr) {
        fits = qobject_cast<QzTabFrame*>(control) != nullptr;
    }
    if (!fits) {
        throw std::runtime_error("Control " + std::to_string(controlId) + " of template " +
                             std::to_string(p_->templateId) + " is of another kind");
    }
    wrapper.internals().bind(wrapper, control);
}

Window& Dialog::ownedControl(int controlId, const std::function<std::unique_ptr<Window>()>& make)
{
    auto found = p_->owned.find(controlId);
    if (found == p_->owned.end()) {
        std::unique_ptr<Window> wrapper = make();
        if (p_->widget != nullptr) {
            attach(*wrapper, controlId);
        }
        found = p_->owned.emplace(controlId, std::move(wrapper)).first;
    }
    return *found->second;
}

bool Dialog::hasControl(int controlId) const
{
    return p_->controls.count(controlId) != 0;
}

void Dialog::connect(int controlId, Notify code, Handler handler)
{
    p_->handlers[{controlId, code}] = std::move(handler);
}

unsigned Dialog::setTimer(unsigned timerId, int intervalMs)
{
    if (p_->timerHost == nullptr) {
        return 0;
    }
    killTimer(timerId);
    DialogPrivate::Timer timer;
    timer.intervalMs = std::max(intervalMs, 1);
    timer.qtId = p_->timerHost->startTimer(timer.intervalMs, Qt::PreciseTimer);
    if (timer.qtId == 0) {
        return 0;
    }
    p_->timers[timerId] = timer;
    return timerId;
}

bool Dialog::killTimer(unsigned timerId)
{
    auto found = p_->timers.find(timerId);
    if (found == p_->timers.end() || p_->timerHost == nullptr) {
        return false;
    }
    p_->timerHost->killTimer(found->second.qtId);
    p_->timers.erase(found);
    return true;
}

void Dialog::setMenu(const std::vector<MenuItem>& menu)
{
    p_->menu = menu;
    if (p_->widget != nullptr) {
        p_->applyMenu();
    }
}

void Dialog::setIcon(const Icon& icon)
{
    p_->icon = icon.internals().pixmap;
    if (p_->widget != nullptr) {
        p_->widget->setWindowIcon(p_->icon);
    }
}

void Dialog::setCaption(const std::string& caption)
{
    if (p_->widget != nullptr) {
        p_->widget->setWindowTitle(toQt(caption));
    }
}

void Dialog::notify(Notification& notification)
{
    if (notification.control == nullptr) {
        auto found = p_->controls.find(notification.id);
        if (found != p_->controls.end()) {
            notification.control = found->second->wrapper_;
        }
    }
    p_->dispatch(notification);
}

bool Dialog::onInitDialog()
{
    return true;
}

void Dialog::onOK()
{
    endDialog(IDOK);
}

void Dialog::onCancel()
{
    endDialog(IDCANCEL);
}

void Dialog::timerElapsed(unsigned) {}

void Dialog::onDestroy() {}
