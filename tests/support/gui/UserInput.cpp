#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QWidget>

#include <utility>
#include <vector>

#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/qt/Internals.h"
#include "platform/qt/Widgets.h"
#include "support/gui/UserInput.h"

static QWidget* target(Window& window)
{
    ensureApplication();
    return window.internals().live();
}

// A control that the user acts on has the focus of an active window, as on screen.
static void bringToFront(QWidget* widget)
{
    QWidget* top = widget->window();
    if (!top->isVisible()) {
        top->show();
    }
    if (QApplication::activeWindow() != top) {
        top->activateWindow();
        if (!QTest::qWaitForWindowActive(top)) {
            // Its keys would go nowhere: the test's own checks fail on it, after this.
            qWarning("the window acted on did not become active");
        }
    }
}

// Keys go to the control with the focus; one that already has it keeps it without a
// second focus-in.
static void takeKeyboard(QWidget* widget)
{
    bringToFront(widget);
    if (!widget->hasFocus()) {
        widget->setFocus(Qt::MouseFocusReason);
    }
}

static Qt::Key qtKey(user::Key key)
{
    switch (key) {
    case user::Key::Enter:
        return Qt::Key_Return;
    case user::Key::Escape:
        return Qt::Key_Escape;
    case user::Key::Tab:
        return Qt::Key_Tab;
    case user::Key::Up:
        return Qt::Key_Up;
    case user::Key::Down:
        return Qt::Key_Down;
    case user::Key::Left:
        return Qt::Key_Left;
    case user::Key::Right:
        return Qt::Key_Right;
    case user::Key::PageUp:
        return Qt::Key_PageUp;
    case user::Key::PageDown:
        return Qt::Key_PageDown;
    case user::Key::Home:
        return Qt::Key_Home;
    case user::Key::End:
        return Qt::Key_End;
    case user::Key::Backspace:
        return Qt::Key_Backspace;
    }
    return Qt::Key_unknown;
}

void user::click(Window& control)
{
    QWidget* widget = target(control);
    if (widget == nullptr) {
        return;
    }
    QPoint at = widget->rect().center();
    if (qobject_cast<QCheckBox*>(widget) != nullptr || qobject_cast<QRadioButton*>(widget) != nullptr) {
        at.setX(std::min(6, widget->width() - 1)); // on the check mark itself
    }
    programCall([&] {
        bringToFront(widget);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    });
}

void user::focus(Window& control)
{
    QWidget* widget = target(control);
    if (widget == nullptr) {
        return;
    }
    programCall([&] {
        bringToFront(widget);
        widget->setFocus(Qt::MouseFocusReason);
    });
}

void user::type(Window& control, const std::u32string& text)
{
    QWidget* widget = target(control);
    if (widget == nullptr) {
        return;
    }
    programCall([&] {
        takeKeyboard(widget);
        for (char32_t character : text) {
            // The key of an ASCII letter or digit is its capital; other characters come
            // as text only, as from a keyboard of their script.
            bool ascii = character < 0x80 && QChar(character).isLetterOrNumber();
            int key = ascii ? QChar(character).toUpper().unicode() : 0;
            QString typed = QString::fromUcs4(&character, 1);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    });
}

// Any byte is a character the keyboard can give (Latin-1), not only ASCII.
static std::u32string latin1Characters(const std::string& text)
{
    std::u32string characters;
    for (char byte : text) {
        characters.push_back(uchar(byte));
    }
    return characters;
}

void user::type(Window& control, const std::string& text)
{
    type(control, latin1Characters(text));
}

// Clicks the key on the control, as the keyboard would with the control in focus.
static void keyClick(Window& control, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* widget = target(control);
    if (widget == nullptr) {
        return;
    }
    programCall([&] {
        takeKeyboard(widget);
        QTest::keyClick(widget, key, modifiers);
    });
}

void user::paste(Window& control, const std::u32string& text)
{
    ensureApplication();
    QApplication::clipboard()->setText(QString::fromUcs4(text.data(), qsizetype(text.size())));
    keyClick(control, Qt::Key_V, Qt::ControlModifier);
}

void user::paste(Window& control, const std::string& text)
{
    paste(control, latin1Characters(text));
}

void user::selectAll(Window& control)
{
    keyClick(control, Qt::Key_A, Qt::ControlModifier);
}

// Clicks the platform's first key for the standard command.
static void standardKey(Window& control, QKeySequence::StandardKey command)
{
    QKeyCombination key = QKeySequence::keyBindings(command).value(0)[0];
    keyClick(control, key.key(), key.keyboardModifiers());
}

void user::undo(Window& control)
{
    standardKey(control, QKeySequence::Undo);
}

void user::redo(Window& control)
{
    standardKey(control, QKeySequence::Redo);
}

void user::press(Window& control, Key key)
{
    keyClick(control, qtKey(key), Qt::NoModifier);
}

void user::choose(ComboBox& combo, int index)
{
    auto* widget = qobject_cast<QComboBox*>(target(combo));
    if (widget == nullptr || index < 0 || index >= widget->count()) {
        return;
    }
    programCall([&] {
        bringToFront(widget);
        widget->setFocus(Qt::MouseFocusReason);
        // The list drops down (the focus goes to it for a moment) and the click on the
        // item closes it again.
        widget->showPopup();
        widget->hidePopup();
        widget->setCurrentIndex(index);
        emit widget->activated(index);
    });
}

void user::drag(Slider& slider, int position)
{
    auto* widget = qobject_cast<QSlider*>(target(slider));
    if (widget == nullptr) {
        return;
    }
    programCall([&] {
        bringToFront(widget);
        widget->setSliderDown(true);
        widget->setSliderPosition(position); // the thumb moves: a thumb-track notification
        widget->setSliderDown(false);        // let go: thumb position, end of scroll
    });
}

static void step(SpinButton& spin, bool up)
{
    auto* widget = qobject_cast<QzUpDown*>(target(spin));
    if (widget == nullptr) {
        return;
    }
    programCall([&] {
        bringToFront(widget);
        QPoint at(widget->width() / 2, up ? widget->height() / 4 : widget->height() * 3 / 4);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    });
}

void user::stepUp(SpinButton& spin)
{
    step(spin, true);
}

void user::stepDown(SpinButton& spin)
{
    step(spin, false);
}

void user::clickTab(TabControl& tabs, int index)
{
    auto* frame = qobject_cast<QzTabFrame*>(target(tabs));
    if (frame == nullptr || index < 0 || index >= frame->tabBar()->count()) {
        return;
    }
    programCall([&] {
        bringToFront(frame);
        QzTabRows* bar = frame->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    });
}

void user::closeWindow(Window& window)
{
    QWidget* widget = target(window);
    if (widget == nullptr) {
        return;
    }
    programCall([&] { widget->window()->close(); });
}

// --- Modal runs ----------------------------------------------------------------------

void user::onModal(std::function<void(Window& modal)> hook)
{
    setModalLoopHandler(std::move(hook));
}

std::string user::messageText(Window& modal)
{
    auto* box = qobject_cast<QMessageBox*>(modal.internals().live());
    return box != nullptr ? fromQt(box->text()) : std::string();
}

void user::answer(Window& modal, int result)
{
    QWidget* widget = modal.internals().live();
    if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        auto* results = static_cast<std::vector<std::pair<QAbstractButton*, int>>*>(
            box->property("qzResults").value<void*>());
        for (auto& [button, code] : *results) {
            if (code == result) {
                programCall([&] { button->click(); });
                return;
            }
        }
    } else if (auto* files = qobject_cast<QFileDialog*>(widget)) {
        programCall([&] {
            QDialog* dialog = files;
            result == IDOK ? dialog->accept() : dialog->reject();
        });
    }
}


void user::chooseFile(Window& modal, const std::string& path)
{
    if (auto* files = qobject_cast<QFileDialog*>(modal.internals().live())) {
        programCall([&] {
            files->selectFile(QString::fromLocal8Bit(path.data(), qsizetype(path.size())));
            static_cast<QDialog*>(files)->accept();
        });
    }
}

// --- Pictures ------------------------------------------------------------------------

struct Grab::Data {
    QImage image;
};

// Lays out what changed since the last message was served, so the picture shows it.
static void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

Grab::Grab(Window& window) : data_(std::make_unique<Data>())
{
    QWidget* widget = target(window);
    if (widget != nullptr) {
        settle();
        data_->image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
}

Grab::~Grab() = default;

int Grab::width() const
{
    return data_->image.width();
}

int Grab::height() const
{
    return data_->image.height();
}

Colour Grab::pixel(int x, int y) const
{
    return fromQColor(QColor(data_->image.pixel(x, y)));
}

bool Grab::save(const std::string& path) const
{
    QFileInfo file(QString::fromLocal8Bit(path.c_str()));
    QDir().mkpath(file.absolutePath());
    return data_->image.save(file.absoluteFilePath(), "PNG");
}

bool saveWindowPicture(Window& window, const std::string& path)
{
    QWidget* widget = target(window);
    if (widget == nullptr) {
        return false;
    }
    settle();
    QFileInfo file(QString::fromLocal8Bit(path.c_str()));
    QDir().mkpath(file.absolutePath());
    return widget->grab().save(file.absoluteFilePath(), "PNG");
}
