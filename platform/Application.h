#pragma once

// The window system's application object: made on first use (any window makes it).
// Ending the application ends every modal run, innermost first.
void ensureApplication();
void quitApplication();
bool applicationQuitting();

// Serves the messages that are waiting (tests use it to let posted work run).
void processPendingMessages();

// Paint events the window system has sent to any window or control, counted from the
// first call on (for measurements; the application itself never asks).
unsigned long paintEventCount();
