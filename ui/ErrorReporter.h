#pragma once

#include <algorithm>
#include <vector>

#include "model/Exceptions.h"
#include "platform/Window.h"

// Where the user interface sends every failure it catches. The controllers and pages
// hold one and never own it; the main window's reporter shows the failure and falls
// back to off-line mode.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;

    virtual void reportError(const VormoException& error) = 0;
    virtual void reportHostError(const HostException& error) = 0;
    virtual void reportProtocolError(const ProtocolException& error) = 0;
    // A failure from outside the system's own family: the application ends.
    virtual void reportUnknown() = 0;

    // The modal dialogs open above a page, in the order they were opened. A report
    // asks every one of them to close, so none is left over the off-line window.
    void addWindow(Window* window) { windowList_.push_back(window); }
    // Removes every entry of the window; nothing when it is not listed.
    void removeWindow(Window* window)
    {
        windowList_.erase(std::remove(windowList_.begin(), windowList_.end(), window), windowList_.end());
    }
    // Asks each listed window to close, in list order, and empties the list.
    void closeWindows()
    {
        std::vector<Window*> open;
        open.swap(windowList_);
        for (Window* window : open) {
            if (window != nullptr) {
                window->postClose();
            }
        }
    }
    const std::vector<Window*>& windows() const { return windowList_; }

    // Lists a window for as long as the entry lives, however the dialog's run ends.
    class WindowEntry {
    public:
        WindowEntry(ErrorReporter* reporter, Window* window) : reporter_(reporter), window_(window)
        {
            if (reporter != nullptr) {
                reporter->addWindow(window);
            }
        }
        ~WindowEntry()
        {
            if (reporter_ != nullptr) {
                reporter_->removeWindow(window_);
            }
        }
        WindowEntry(const WindowEntry&) = delete;
        WindowEntry& operator=(const WindowEntry&) = delete;

    private:
        ErrorReporter* reporter_;
        Window* window_;
    };

private:
    std::vector<Window*> windowList_;
};
