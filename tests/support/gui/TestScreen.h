#pragma once

// The screen the GUI tests show their windows on, unless told otherwise: the headless
// platform with one 1280 x 800 screen, the size of the laptops the windows are made to
// fit (the headless platform's own screen, 800 x 800, is smaller than the main window,
// which would then open as on a small screen). A platform set in QT_QPA_PLATFORM other
// than the bare "offscreen" is kept: a screen configuration of a test's own, or a real
// display. Call before the window system is made.
void useTestScreen();
