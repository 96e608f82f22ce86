#pragma once

#include <deque>

class Window;

// The register of the modal dialogs now open, in the order they were opened. The
// poll timer shows the topmost one on every tick, so a dialog registered before its
// window existed, or one that is on top again after the one above it closed, is shown.
class DialogStack {
public:
    static DialogStack& instance();
    static void destroy();

    void push(Window* window);
    // Removes the window's entry (the last one when it was pushed more than once);
    // nothing when it is not registered.
    void pop(Window* window);
    void showTop();

    const std::deque<Window*>& windows() const { return stack_; }

    // Registers a window for as long as the entry lives, however its modal run ends.
    class Entry {
    public:
        explicit Entry(Window* window) : window_(window) { DialogStack::instance().push(window); }
        ~Entry() { DialogStack::instance().pop(window_); }
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

    private:
        Window* window_;
    };

private:
    DialogStack() = default;

    std::deque<Window*> stack_;
    Window* shownLast_ = nullptr;
};
