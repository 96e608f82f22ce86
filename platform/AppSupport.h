#pragma once

// What the application's own windows need of the window system beyond dialogs and
// controls.

// The number of modal runs (dialogs, message boxes, file dialogs) now running, the
// outermost included; 0 when none runs.
int modalDepth();
