#pragma once

#include <functional>

// What the application's own windows need of the window system beyond dialogs and
// controls: how deep the modal runs are nested, and work queued for the message loop.

// The number of modal runs (dialogs, message boxes, file dialogs) now running, the
// outermost included; 0 when none runs.
int modalDepth();

// Queues the call for the message loop that runs next; it runs after the current
// message has been handled, in whichever loop serves it.
void postToMessageLoop(std::function<void()> call);
