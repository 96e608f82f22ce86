#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/Application.h"
#include "platform/Dialog.h"
#include "support/gui/UserInput.h"
#include "templates/IOControlTemplate.h"
#include "templates/MainTemplate.h"
#include "templates/MonitorControlTemplate.h"
#include "ui/CMessageDlg.h"
#include "ui/CRemoteDlg.h"

namespace apptest {

void savePicture(Window& window, const std::string& name)
{
    EXPECT_TRUE(saveWindowPicture(window, std::string(QZ_PICTURE_DIR) + "/" + name + ".png"));
}

void showTab(CRemoteDlg& window, const std::string& caption)
{
    TabControl& tabs = window.control<TabControl>(MainTemplate::upperTabs);
    for (int i = 0; i < tabs.getItemCount(); ++i) {
        if (tabs.getItemText(i) == caption) {
            user::clickTab(tabs, i);
        }
    }
}

void openDialogsOfMainWindow(CRemoteDlg& window)
{
    showTab(window, "Monitor Control");
    user::click(window.page(CRemoteDlg::MonitorControl)->control<Button>(MonitorControlTemplate::karaoke));
    user::click(window.page(CRemoteDlg::MonitorControl)->control<Button>(MonitorControlTemplate::tessivaII));
    showTab(window, "I/O Control");
    user::click(window.page(CRemoteDlg::IOControl)->control<Button>(IOControlTemplate::gpio));
    Notification about;
    about.id = CRemoteDlg::commandAbout;
    window.notify(about);
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        processPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void serveFor(int milliseconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        processPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // A timer due at the end posts its work (a repaint, say) for the turn after it.
    processPendingMessages();
    processPendingMessages();
}

bool settlePaints(int spellMs)
{
    for (int spell = 0; spell < 3000 / spellMs; ++spell) {
        const unsigned long before = paintEventCount();
        serveFor(spellMs);
        if (paintEventCount() == before) {
            return true;
        }
    }
    return false;
}

static std::string makeFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qz347app.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder";
    }
    return pattern;
}

TemporaryProfile::TemporaryProfile() : folder_(makeFolder())
{
    if (const char* previous = std::getenv("XDG_CONFIG_HOME")) {
        previous_ = previous;
        hadPrevious_ = true;
    }
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
}

TemporaryProfile::~TemporaryProfile()
{
    if (hadPrevious_) {
        setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string TemporaryProfile::path() const
{
    return folder_ + "/QZ347Remote.ini";
}

TemporaryFolder::TemporaryFolder() : path_(makeFolder()) {}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ModalUser::ModalUser()
{
    user::onModal([this](Window& modal) { handle(modal); });
}

ModalUser::~ModalUser()
{
    user::onModal(nullptr);
}

std::vector<std::string> ModalUser::texts(int templateId) const
{
    std::vector<std::string> result;
    for (const Shown& entry : shown) {
        if (entry.templateId == templateId) {
            result.push_back(entry.text);
        }
    }
    return result;
}

void ModalUser::handle(Window& modal)
{
    if (script && script(modal)) {
        return;
    }
    if (auto* message = dynamic_cast<CMessageDlg*>(&modal)) {
        shown.push_back({message->templateId(), message->control<Static>(CMessageDlg::textId).getText()});
        user::click(message->control<Button>(CMessageDlg::okId));
    } else if (auto* dialog = dynamic_cast<Dialog*>(&modal)) {
        dialog->endDialog(IDCANCEL);
    } else {
        std::string text = user::messageText(modal);
        if (!text.empty()) {
            shown.push_back({-1, text});
            user::answer(modal, IDOK);
        } else {
            user::answer(modal, IDCANCEL); // a file dialog
        }
    }
}

} // namespace apptest
