#pragma once

// The window system's application object: made on first use (any window makes it).
// Ending the application ends every modal run, innermost first.
void ensureApplication();
void quitApplication();
bool applicationQuitting();

// Serves the messages that are waiting (tests use it to let posted work run).
void processPendingMessages();
