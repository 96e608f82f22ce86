#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Window.h"

class CRemoteDlg;

namespace apptest {

// Saves a picture of the window under the build folder.
void savePicture(Window& window, const std::string& name);

// Serves the window system's messages until the condition holds or the time is up.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// Serves the messages for a while (poll ticks run meanwhile), and once more after it:
// what fell due in that while is served even if a loaded machine kept the loop still.
void serveFor(int milliseconds);
// Serves the messages until a spell of the given length passes without a paint
// anywhere; false if none has within a few seconds.
bool settlePaints(int spellMs = 100);

// Shows the page of the main window's upper tab control that has the caption.
void showTab(CRemoteDlg& window, const std::string& caption);
// Opens in turn the dialogs the main window's pages and menu open: Karaoke and
// Tessiva II (Monitor Control), GPIO (I/O Control) and About. Each runs modally until
// the modal-run hook ends it.
void openDialogsOfMainWindow(CRemoteDlg& window);

// A settings profile of the test's own: XDG_CONFIG_HOME points at a fresh folder
// while it lives, so no test reads or writes the user's profile.
class TemporaryProfile {
public:
    TemporaryProfile();
    ~TemporaryProfile();
    const std::string& folder() const { return folder_; }
    std::string path() const;

private:
    std::string folder_;
    std::string previous_;
    bool hadPrevious_ = false;
};

// A fresh temporary folder, removed with its contents at the end.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// What a modal window showed: the template of a message dialog (-1 for a message
// box of the window system) and its text.
struct Shown {
    int templateId;
    std::string text;
};

// Acts as the user on every modal run while it lives: the script gets each window
// first; what it leaves (returns false for) is answered as the user would: message
// dialogs and message boxes are read and confirmed, other dialogs cancelled.
class ModalUser {
public:
    ModalUser();
    ~ModalUser();

    std::function<bool(Window& modal)> script;
    std::vector<Shown> shown;

    std::vector<std::string> texts(int templateId) const;

private:
    void handle(Window& modal);
};

} // namespace apptest
