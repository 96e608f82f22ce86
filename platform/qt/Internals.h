#pragma once

// What the window layer keeps behind its wrappers. Only platform/ includes this.

#include <QEventLoop>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Resources.h"

// Texts cross the layer as bytes, one character each: lossless both ways for every byte.
inline QString toQt(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}
inline std::string fromQt(const QString& text)
{
    QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// "&&" shows one "&", "&x" shows x (the mnemonic mark is not drawn by plain labels).
QString withoutMnemonics(const QString& text);

// --- Exceptions may not unwind through the window system ---------------------------
//
// Every call from the window system into our code runs inside guarded(). An exception
// it catches ends the innermost modal run, whose runModal throws it on; when the call
// came from inside one of our own calls into the window system (a notification raised
// by setting a text, a simulated user action), that call throws it once it returns.

void deliverException(std::exception_ptr error);
int& programCallDepth();
void rethrowPendingException();

template <class F> void guarded(F&& function)
{
    try {
        function();
    } catch (...) {
        deliverException(std::current_exception());
    }
}

// Wraps a call into the window system that may raise notifications; an exception of
// one of them is thrown once the call has returned.
template <class F> auto programCall(F&& function)
{
    struct Depth {
        Depth() { ++programCallDepth(); }
        ~Depth() { --programCallDepth(); }
    };
    if constexpr (std::is_void_v<decltype(function())>) {
        {
            Depth depth;
            function();
        }
        rethrowPendingException();
    } else {
        auto result = [&] {
            Depth depth;
            return function();
        }();
        rethrowPendingException();
        return result;
    }
}

struct ModalRun {
    QEventLoop loop;
    std::exception_ptr error;
    int result = -1;
    bool ended = false;
    QWidget* widget = nullptr;
};
std::vector<ModalRun*>& modalRuns();
// A modal run counts from the start of its window's set-up to its end, so that a run the
// set-up starts (a message of the connect, say) is nested in it, and a quit in there ends
// it too. A run registered while the application quits has ended already.
class ModalRunRegistration {
public:
    explicit ModalRunRegistration(ModalRun& run);
    ~ModalRunRegistration();
    ModalRunRegistration(const ModalRunRegistration&) = delete;
    ModalRunRegistration& operator=(const ModalRunRegistration&) = delete;
};
// Runs a nested loop for the window of the registered run until it ends; a modal-loop
// handler, when one is set, is called with the window once the loop runs.
int runModalLoop(ModalRun& run, Window& window);
// Sets (or, with an empty function, clears) the modal-loop handler.
void setModalLoopHandler(std::function<void(Window& modal)> handler);
// The window system never fires a timer again while its tick is being handled, but
// a window timer goes on ticking in a modal loop its own tick runs. So a modal loop
// about to start gives each timer whose tick is in hand a fresh window-system timer.
void renewTimersInHand();

// --- Per control state ------------------------------------------------------------

struct DialogPrivate;

// One per control of a dialog (and one for the dialog's own window): routes the
// control's notifications and keeps the state the window system does not.
class ControlAgent : public QObject {
    Q_OBJECT
public:
    ControlAgent(QWidget* widget, DialogPrivate* dialog, int id);
    ~ControlAgent() override;

    static ControlAgent* of(const QWidget* widget);

    QWidget* widget_;
    DialogPrivate* dialog_; // null once the dialog's window is destroyed
    int id_;
    Window* wrapper_ = nullptr; // the wrapper bound last
    bool destroyed_ = false;

    bool pushed_ = false; // the pushed look of a button
    QString radioGroup_;  // buttons of one group check exclusively on a click
    QString rawText_;     // a label's or button's text before the mnemonic rule
    bool hasRawText_ = false;
    bool elides_ = false; // shows rawText_ shortened to its room (Window::fitFreeText)
    bool startShown_ = false; // an edit shows its text's start, not yet entered by the user
    QImage canvas_; // what fillSolidRect painted
    QRect canvasDirty_; // painted into the canvas, not yet asked to be shown
    unsigned long paints_ = 0; // paint events the control has been sent
    const Bitmap* bitmap_ = nullptr;
    int comboSelection_ = -1; // an editable combo box: the selection, -1 after typing

    bool eventFilter(QObject* watched, QEvent* event) override;

    void notify(Notify code, int scrollCode = 0, UpDownNotify* upDown = nullptr, long* result = nullptr);
    void paintPushedButton();
    void onFocusIn();
    Notify scrollNotification() const;
};

struct WindowPrivate {
    QPointer<QWidget> widget;

    // The control, or null once it (or its dialog's window) is gone.
    QWidget* live() const;
    void bind(Window& wrapper, QWidget* control);

    static bool controlColour(Window& window, Window::ControlColours& colours)
    {
        return window.onControlColour(colours);
    }
};

struct DialogPrivate {
    Dialog* owner = nullptr;
    int templateId = 0;
    Window* parent = nullptr;
    QPointer<QWidget> widget;
    std::map<int, ControlAgent*> controls;
    std::map<int, std::unique_ptr<Window>> owned;
    std::map<std::pair<int, Notify>, Dialog::Handler> handlers;
    struct Timer {
        int qtId = 0; // the window system's id
        int intervalMs = 0;
    };
    std::map<unsigned, Timer> timers; // by our id
    std::vector<MenuItem> menu;
    QPixmap icon;
    ModalRun* run = nullptr;
    QObject* timerHost = nullptr;

    bool makeWindow(QWidget* parentWidget, bool modal);
    void configureControls();
    void applyWindowBoxes();
    void applyMenu();
    void releaseWindow();
    void dispatch(Notification& notification);
    void onKey(int key, bool& handled);
    void onClose();
    void dispatchTimer(int qtTimerId);
    void renewTimer(int qtTimerId);
    std::map<unsigned, Timer>::iterator timerOf(int qtTimerId);
};

struct ImagePrivate {
    QPixmap pixmap;
    int id = 0;
};

// Shows what was painted into a control's canvas: the repaints of every canvas are
// gathered and asked for at most once per frame of the screen.
void requestCanvasRepaint(ControlAgent& agent, const QRect& area);

// Shows the agent's raw text in its static text or button: whole, or shortened to the
// control's room when it elides.
void showRawText(ControlAgent& agent);

// Applies a font description, with a monospaced face where the face is missing.
QFont fontFor(const FontDescription& description, const QFont& base);
FontDescription describe(const QFont& font);
QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);
