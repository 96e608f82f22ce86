#pragma once

// The application: asks how to reach the unit, then runs the main window until it
// closes. It has no message loop of its own: the modal runs of the two windows are
// the only ones.
class CRemoteApp {
public:
    // Runs the whole application; returns false, the application then ends.
    bool InitInstance();
};
