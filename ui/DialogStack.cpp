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
    stack.push_back(window);
    showTop();
}

void DialogStack::pop(Window* window)
{
    auto found = std::find(stack.rbegin(), stack.rend(), window);
    if (found == stack.rend()) {
        return;
    }
    stack.erase(std::next(found).base());
    if (window == shownLast) {
        // A window shown once and then closed may come back as a new entry at the same
        // address; it must be shown again then.
        shownLast = nullptr;
    }
    if (stack.empty()) {
        shownLast = nullptr;
    }
    showTop();
}

void DialogStack::showTop()
{
    if (stack.empty()) {
        return;
    }
    Window* top = stack.back();
    if (top == nullptr || !top->hasWindow() || top == shownLast) {
        return;
    }
    top->show(true);
    shownLast = top;
}
