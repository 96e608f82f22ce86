#include "ui/DialogStack.h"

#include <algorithm>
#include <memory>

#include "platform/Window.h"

static std::unique_ptr<DialogStack> theInstance;

DialogStack& DialogStack::instance()
{
    if (theInstance == nullptr) {
        // Not make_unique: only the class itself may build the one register.
        theInstance.reset(new DialogStack());
    }
    return *theInstance;
}

void DialogStack::destroy()
{
    theInstance.reset();
}

void DialogStack::push(Window* window)
{
    stack_.push_back(window);
    showTop();
}

void DialogStack::pop(Window* window)
{
    auto found = std::find(stack_.rbegin(), stack_.rend(), window);
    if (found == stack_.rend()) {
        return;
    }
    stack_.erase(std::next(found).base());
    if (window == shownLast_) {
        // A window shown once and then closed may come back as a new entry at the same
        // address; it must be shown again then.
        shownLast_ = nullptr;
    }
    if (stack_.empty()) {
        shownLast_ = nullptr;
    }
    showTop();
}

void DialogStack::showTop()
{
    if (stack_.empty()) {
        return;
    }
    Window* top = stack_.back();
    if (top == nullptr || !top->hasWindow() || top == shownLast_) {
        return;
    }
    top->show(true);
    shownLast_ = top;
}
