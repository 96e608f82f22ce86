#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The window layer the user interface is written against. Texts cross it as byte
// strings: every byte is one character (Latin-1), so a text shown and read back is
// byte-identical. Window texts follow the mnemonic rule: "&x" marks x as the
// mnemonic and "&&" shows a single "&".

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// 0x00BBGGRR, the order the painting code is written in.
using Colour = uint32_t;

constexpr Colour rgb(int red, int green, int blue)
{
    return Colour(red & 0xFF) | Colour(green & 0xFF) << 8 | Colour(blue & 0xFF) << 16;
}
constexpr int redOf(Colour colour)
{
    return colour & 0xFF;
}
constexpr int greenOf(Colour colour)
{
    return colour >> 8 & 0xFF;
}
constexpr int blueOf(Colour colour)
{
    return colour >> 16 & 0xFF;
}

// The face colour of dialogs and buttons.
Colour dialogFaceColour();

// A font as a window reports it and as one is asked for. A negative height is the
// character height in pixels, a positive one the cell height, 0 the default size.
struct FontDescription {
    std::string face;
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
};

class Dialog;
class Bitmap;
struct WindowPrivate;

// A window or a control of a dialog. A wrapper is bound to a control by
// Dialog::attach or handed out by Dialog::control; it does not own the control,
// and once the control is gone (the dialog ended) every operation does nothing.
class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool hasWindow() const;
    // The same control, whichever wrapper is asked.
    bool isSameWindow(const Window* other) const;
    int id() const;

    void setText(const std::string& text);
    std::string getText() const;

    void enable(bool enabled);
    bool isEnabled() const;
    void show(bool visible);
    bool isVisible() const;
    void setFocus();
    bool hasFocus() const;

    // The window rectangle in the client coordinates of the parent, and the client
    // rectangle (origin 0, 0) of this window.
    Rect rectInParent() const;
    Rect clientRect() const;
    // Asks for a repaint of part of the client area (the background is erased).
    void invalidate(const Rect& area);
    void invalidate();

    // Makes the control wide enough for each of the texts (window texts: the mnemonic
    // rule applies), measured in the font it draws them with, so that no value shown
    // later is cut or moves the controls around it. A static text keeps exactly that
    // width (or the template's, when wider), whatever it shows; one whose texts come
    // from outside and are shortened to its column fits nothing. Never narrows a control.
    void fitTexts(const std::vector<std::string>& texts);
    // For a control whose texts come from outside, of any length (a name the unit
    // reports): its width no longer follows its text, so that no text moves the controls
    // around it; it keeps the room its window's layout gives it. A static text or a
    // button shows a text too long for that room by its start and "…", and whole in its
    // tooltip. (An edit's width never follows its text.)
    void fitFreeText();

    FontDescription getFont() const;
    // Applies the font; when its face is missing, a monospaced face stands in. Returns
    // the face actually used.
    std::string setFont(const FontDescription& font);

    // Paints a solid rectangle into the client area. What is painted stays until painted
    // over, so the control shows it after being covered and shown again. The control is
    // repainted at most once per frame of the screen, however often it is painted into.
    void fillSolidRect(const Rect& area, Colour colour);

    // Paint events the window system has sent to this control (for tests and measurements).
    unsigned long paintCount() const;

    // Asks the window to close, after the current message has been handled: a
    // modal dialog then ends as by its close box.
    void postClose();

    Window* parentWindow() const;

    WindowPrivate& internals() const { return *d_; }

    // Called before a static control draws itself, so a derived class can pick the
    // colours and font (the framework's reflected control-colour message).
    struct ControlColours {
        bool setTextColour = false;
        Colour textColour = 0;
        bool setBackground = false;
        Colour background = 0;
        bool setFont = false;
        FontDescription font;
    };

protected:
    virtual bool onControlColour(ControlColours& colours);

private:
    friend struct WindowPrivate;
    std::unique_ptr<WindowPrivate> d_;
};
