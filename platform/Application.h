#pragma once

// The window system's application object: made on first use (any window makes it).
// Ending the application ends every modal run, innermost first.
void ensureApplication();

// The program's hold on the window system, from its start to its end. While it lives,
// the application object exists, a session's or a terminal's end (SIGTERM, SIGHUP,
// SIGINT) ends the application as File > Exit does, and the toolkit's own dialogs keep
// their state in a scratch folder of the run's own, made once those signals are caught.
// Its end ends the application object and everything made on it (timers, windows' system
// resources, exchanges in flight, whose answers then never come), so that nothing of the
// window system is left running when the program's own and the toolkit's static objects
// go. A program holds one for as long as it shows windows, and lets it go before main
// returns. Holders may nest: the outermost makes and ends the window system. A program that
// exits while it is held (the toolkit calls exit when it loses its display) leaves the
// window system alone, as the loops still on the stack run on it: only its scratch folder
// goes.
class WindowSystem {
public:
    WindowSystem();
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;
};
void quitApplication();
// Whether the application is ending; a signal that ended it while the window's thread was
// busy outside any loop counts from the moment this is asked. The end holds until the
// outermost modal run (one counts from the start of its window's set-up) has ended.
bool applicationQuitting();

// Serves the messages that are waiting (tests use it to let posted work run).
void processPendingMessages();

// Paint events the window system has sent to any window or control, counted from the
// first call on (for measurements; the application itself never asks).
unsigned long paintEventCount();
