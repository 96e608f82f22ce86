#pragma once

#include "ui/DialogStack.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Win32Controller.h"

// Opens a modal dialog over a page: the dialog copies the page's controller, and while
// its run lasts it is listed with the error reporter (so a report closes it) and on the
// dialog stack. The result is not used: every change was sent while the dialog was open.
//
// A report during the run may tear the page down and rebuild it; nothing here touches
// the page after the run, only the dialog, the reporter and the stack, and the guards
// undo their registrations however the run ends.
template <class ModalDialog> void runPageDialog(Win32Controller& pageController)
{
    ErrorReporter* reporter = pageController.getErrorReporter();
    ModalDialog dialog(pageController);
    ErrorReporter::WindowEntry listed(reporter, &dialog);
    DialogStack::Entry stacked(&dialog);
    dialog.runModal();
}
