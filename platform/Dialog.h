#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"

class Icon;

// Results of modal runs and message boxes.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
// The command that ends the application: closes the dialog's window.
constexpr int ID_APP_EXIT = 57665;

// The control notifications a dialog routes to its handlers.
enum class Notify {
    Clicked,    // a button was clicked, or a menu command chosen (the id is the command)
    EditChange, // an edit's text changed, by the user or by program
    KillFocus,  // an edit or combo box lost the focus (not on Enter, not when its list drops)
    SelChange,  // the user selected a combo box item, or a tab
    DeltaPos,   // an up-down arrow: delta in the notification, result to fill
    HScroll,    // a horizontal track bar moved: scroll code in the notification
    VScroll,    // a vertical track bar moved
};

// Scroll codes of HScroll and VScroll. The thumb has already moved when they arrive.
enum ScrollCode {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Top = 6,
    Bottom = 7,
    EndScroll = 8,
};

// The record of an up-down notification.
struct UpDownNotify {
    int pos = 0;
    int delta = 0;
};

struct Notification {
    int id = 0;
    Notify code = Notify::Clicked;
    Window* control = nullptr;      // the control's wrapper (null for menu commands)
    int scrollCode = 0;             // HScroll, VScroll
    UpDownNotify* upDown = nullptr; // DeltaPos
    long* result = nullptr;         // DeltaPos: non-zero refuses the change
};

// An item of a menu bar: a command (text and id), a separator (empty text), or a
// submenu (text and items).
struct MenuItem {
    std::string text;
    int command = 0;
    std::vector<MenuItem> items;
};

struct DialogPrivate;

// Templates are Designer files resources/templates/<id>_<name>.ui whose top-level
// widget is a QWidget of class Template<id>, laid out with Qt layouts. What the layer
// reads from them:
// - "id" (dynamic, number): the control's id; controls without one are not reachable.
// - QPushButton "checkable": a push-like check box; with "radioGroup" (dynamic, text)
//   a push-like radio button: a click checks it and clears the rest of its group,
//   and a group may show none checked. QCheckBox and QRadioButton likewise.
// - QPushButton "default": the default button, which takes Enter even when hidden.
// - QLineEdit "number" (dynamic, bool): digits only from the keyboard.
// - QComboBox "editable": a drop-down with an edit; "sorted" (dynamic, bool) keeps the
//   list sorted; a drop-down list starts with nothing selected unless "selected"
//   (dynamic) is set.
// - QSlider: a vertical one has its minimum at the top.
// - QzUpDown (an up-down control) with "buddy" (dynamic, the object name of the edit
//   it serves), QzTabFrame (a tab control whose tabs wrap into rows), QzWrappingLabel
//   (a text of fixed width that grows in height) and QzScale (marks kept at the values
//   they name along a slider or meter); all from platform/qt/Widgets.h.
// - QLabel texts follow the mnemonic rule ("&&" shows "&") and are never rich text.
// - The top-level widget's "minimizeBox" and "maximizeBox" (dynamic, bool) give the
//   window those boxes.

// A dialog or property page built from a template. Run it modally with runModal,
// or create it as a child window (a page) with create. Controls are found by the
// numeric id the template gives them. Every call from the window system into a
// dialog (notifications, timers, initialisation of a modal run) is guarded: an
// exception ends the innermost modal run, which throws it on to its caller.
class Dialog : public Window {
public:
    static constexpr int AnyControl = -1;

    explicit Dialog(int templateId, Window* parent = nullptr);
    ~Dialog() override;

    int templateId() const;

    // Runs the dialog modally in a nested message loop and returns the code given to
    // endDialog. Timers and the windows below keep being served while it runs. Its
    // window opens in the middle of the screen's available area, or over its parent;
    // one larger than that area opens within it, its controls scrolled into reach.
    int runModal();
    void endDialog(int result);
    bool isRunningModal() const;

    // Creates the dialog's window as a child of the parent (a page) and initialises it.
    // A parent tab control places it in its display area. Returns false when the
    // template does not exist.
    bool create(Window* parent);
    void destroyWindow();

    // Binds a wrapper of the caller's to the control with the id; throws VormoException
    // when the template has no such control or it is of another kind.
    void attach(Window& wrapper, int controlId);
    // A wrapper owned by the dialog (the same one on every call).
    template <class Control> Control& control(int controlId);
    bool hasControl(int controlId) const;

    // Routes a notification of a control (or AnyControl) to a handler; a later
    // handler for the same control and code replaces the earlier one. Without a
    // handler, a click of IDOK runs onOK, of IDCANCEL onCancel, and ID_APP_EXIT
    // closes the window.
    using Handler = std::function<void(Notification&)>;
    void connect(int controlId, Notify code, Handler handler);

    // Window timers: timerElapsed(id) every interval, in whatever modal loop runs.
    unsigned setTimer(unsigned timerId, int intervalMs);
    bool killTimer(unsigned timerId);

    void setMenu(const std::vector<MenuItem>& menu);
    void setIcon(const Icon& icon);
    void setCaption(const std::string& caption);

    // Sends a notification to the dialog as if the control had sent it.
    void notify(Notification& notification);

protected:
    // Called once the window and its controls exist (modal runs and create).
    virtual bool onInitDialog();
    // Enter with no default button: ends a modal run with IDOK.
    virtual void onOK();
    // Escape and the close box: ends a modal run with IDCANCEL.
    virtual void onCancel();
    // A window timer set with setTimer has run its interval.
    virtual void timerElapsed(unsigned timerId);
    // Called when the window is about to go.
    virtual void onDestroy();

private:
    friend struct DialogPrivate;
    Window& ownedControl(int controlId, const std::function<std::unique_ptr<Window>()>& make);
    std::unique_ptr<DialogPrivate> p_;
};

template <class Control> Control& Dialog::control(int controlId)
{
    return static_cast<Control&>(
        ownedControl(controlId, [] { return std::unique_ptr<Window>(std::make_unique<Control>()); }));
}
