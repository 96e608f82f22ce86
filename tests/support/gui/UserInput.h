#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Window.h"

class Button;
class ComboBox;
class Edit;
class Slider;
class SpinButton;
class TabControl;

// A simulated user for the tests: each action reaches the control the way the
// user's mouse or keyboard would, and its notifications run before it returns.
namespace user {

enum class Key { Enter, Escape, Tab, Up, Down, Left, Right, PageUp, PageDown, Home, End, Backspace };

void click(Window& control);
// Gives the control the keyboard focus (the control that had it loses it).
void focus(Window& control);
void type(Window& control, const std::string& text);
// Types characters of any script, one key each; a character outside the Basic
// Multilingual Plane comes as the one key's two UTF-16 units.
void type(Window& control, const std::u32string& text);
// Pastes the text at the caret, through the clipboard and Ctrl+V.
void paste(Window& control, const std::string& text);
void paste(Window& control, const std::u32string& text);
// Selects the whole text of an edit with Ctrl+A.
void selectAll(Window& control);
// Undoes and redoes in an edit with the platform's keys (Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z).
void undo(Window& control);
void redo(Window& control);
void press(Window& control, Key key);
// Selects a list item as with the mouse (the list drops down and closes).
void choose(ComboBox& combo, int index);
// Drags the thumb to the position and lets go.
void drag(Slider& slider, int position);
void stepUp(SpinButton& spin);
void stepDown(SpinButton& spin);
void clickTab(TabControl& tabs, int index);
// Closes the top-level window the control belongs to with its close box.
void closeWindow(Window& window);

// Called with the window of every modal run (dialog or message box) once its loop
// runs; the hook acts as the user, for example by pressing a button. Null: no hook.
void onModal(std::function<void(Window& modal)> hook);
// The text of a message box window handed to the hook.
std::string messageText(Window& modal);
// Presses the message box button with the result (IDOK, IDCANCEL, ...), or accepts
// (IDOK) or cancels a file dialog.
void answer(Window& modal, int result);
// Types the path into a file dialog and accepts it.
void chooseFile(Window& modal, const std::string& path);

} // namespace user

// What a window shows, read back pixel by pixel.
class Grab {
public:
    explicit Grab(Window& window);
    ~Grab();
    Grab(const Grab&) = delete;
    Grab& operator=(const Grab&) = delete;

    int width() const;
    int height() const;
    Colour pixel(int x, int y) const;
    bool save(const std::string& path) const;

private:
    struct Data;
    std::unique_ptr<Data> data_;
};

// Saves a picture of the window (top-level windows with their frame contents) as PNG.
bool saveWindowPicture(Window& window, const std::string& path);
