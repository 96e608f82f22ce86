// Windows on screens of every size. Where a window is larger than the screen's available
// area (a small screen, a panel, a larger scale factor) it opens within that area and
// every control can be scrolled into view; where it fits, it opens as it always has.
//
// The tour of the windows runs on whatever screen the program has: on the tests' own
// screen in a run of the suite, and on screens of other sizes in copies of this program
// that the test of small screens starts, each on a headless screen of its own.
#include <gtest/gtest.h>

#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "platform/Application.h"
#include "platform/qt/Internals.h"
#include "support/gui/UserInput.h"
#include "templates/MainTemplate.h"
#include "ui/CAboutDlg.h"
#include "ui/CConnectionDlg.h"
#include "ui/CMessageDlg.h"
#include "ui/CRemoteDlg.h"
#include "ui/pages/CGpioDlg.h"
#include "ui/pages/CKaraokeDlg.h"
#include "ui/pages/CTessivaIIDlg.h"

extern char** environ;

using namespace apptest;

namespace {

// Where a copy of the program writes what it saw, and the name of the picture of its
// screen with the main window open.
constexpr const char* recordVariable = "QZ_SCREEN_FIT_RECORD";
constexpr const char* pictureVariable = "QZ_SCREEN_FIT_PICTURE";

// One window as it opened (the main window once per page): the size of its window, and
// the place of each control in the window's own contents (below its menu bar, scrolled
// or not), by name.
struct Opened {
    bool scrolled = false;
    QSize size;
    std::map<std::string, QRect> controls;
};
using Record = std::map<std::string, Opened>;

QScrollArea* scrollerOf(QWidget* window)
{
    return window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
}

// The widgets the template made that the user sees now (the toolkit's own parts aside).
std::vector<QWidget*> shownControls(QWidget* window)
{
    std::vector<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith("qt_") && widget->isVisible() && !widget->isWindow()) {
            controls.push_back(widget);
        }
    }
    return controls;
}

// The window on its screen: within the available area, no larger at its smallest, and
// each control, once scrolled into view, as much in view as the window has room for.
Opened look(QWidget* window, const std::string& name, bool centred)
{
    processPendingMessages();
    const QRect available = window->screen()->availableGeometry();
    // The window is placed again once its frame is known, a moment after it is shown.
    auto inMiddle = [&] {
        QPoint off = window->frameGeometry().center() - available.center();
        return off.manhattanLength() <= 1;
    };
    EXPECT_TRUE(waitUntil([&] { return available.contains(window->frameGeometry()) && (!centred || inMiddle()); }))
        << name << ": the frame stands at " << window->frameGeometry().x() << "," << window->frameGeometry().y()
        << " " << window->frameGeometry().width() << "x" << window->frameGeometry().height() << " on "
        << available.x() << "," << available.y() << " " << available.width() << "x" << available.height()
        << (centred ? ", not in the middle of it" : "");
    processPendingMessages(); // and the layout that fitting asked for
    EXPECT_LE(window->minimumWidth(), available.width()) << name;
    EXPECT_LE(window->minimumHeight(), available.height()) << name;

    Opened opened;
    QScrollArea* scroller = scrollerOf(window);
    opened.scrolled = scroller != nullptr;
    opened.size = window->size();
    QWidget* root = scroller != nullptr ? scroller->widget() : window;
    // The contents start below the menu bar, which stays in the window when they scroll.
    auto* menuBar = root->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    const QPoint origin(0, menuBar != nullptr ? menuBar->height() : 0);
    for (QWidget* control : shownControls(root)) {
        const std::string at = name + " " + control->objectName().toStdString();
        opened.controls[control->objectName().toStdString()] = QRect(control->mapTo(root, QPoint()) - origin, control->size());
        QWidget* view = window;
        if (scroller != nullptr) {
            scroller->ensureWidgetVisible(control, 0, 0);
            view = scroller->viewport();
        }
        const QRect inView(view->mapToGlobal(QPoint()), view->size());
        const QRect place(control->mapToGlobal(QPoint()), control->size());
        const QRect shown = place & inView;
        EXPECT_EQ(shown.size(), place.size().boundedTo(inView.size())) << at << " cannot be brought into view";
        EXPECT_TRUE(available.contains(shown)) << at << " is off the screen's available area";
    }
    return opened;
}

std::string wordOf(const std::string& caption)
{
    std::string word = caption;
    for (char& c : word) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? char(std::tolower(static_cast<unsigned char>(c))) : '_';
    }
    return word;
}

// The screen as the user sees it, from its top-left corner, into the tests' pictures:
// what the window manager keeps for itself (a panel) grey, the area it leaves black, and
// the window where it stands.
void saveScreenPicture(QWidget* window, const std::string& name)
{
    processPendingMessages();
    const QRect available = window->screen()->availableGeometry();
    const qreal scale = window->devicePixelRatioF();
    QImage screen(QSize(available.right() + 1, available.bottom() + 1) * scale, QImage::Format_RGB32);
    screen.setDevicePixelRatio(scale); // the screen's own pixels, at a scale factor too
    screen.fill(Qt::darkGray);
    QPainter painter(&screen);
    painter.fillRect(available, Qt::black);
    painter.drawPixmap(window->geometry().topLeft(), window->grab());
    painter.end();
    const std::string path = std::string(QZ_PICTURE_DIR) + "/" + name + ".png";
    EXPECT_TRUE(screen.save(QString::fromStdString(path))) << path;
}

// Every page of both tab controls of the main window, and the dialogs its pages and
// menu open.
void tourMainWindow(CRemoteDlg& window, Record& record)
{
    QWidget* top = window.internals().live();
    for (int tabsId : {MainTemplate::upperTabs, MainTemplate::lowerTabs}) {
        TabControl& tabs = window.control<TabControl>(tabsId);
        for (int i = 0; i < tabs.getItemCount(); ++i) {
            user::clickTab(tabs, i);
            std::string name = "main_window_" + wordOf(tabs.getItemText(i));
            record[name] = look(top, name, true);
        }
    }
    if (const char* picture = std::getenv(pictureVariable)) {
        saveScreenPicture(top, picture); // scrolled to the last control looked at
    }
    openDialogsOfMainWindow(window);
}

// Opens every window of the application in turn, as its user meets them.
Record tourEveryWindow()
{
    TemporaryProfile profile;
    ModalUser modal;
    Record record;
    CRemoteDlg window(CRemoteDlg::offLine, "", 1);
    modal.script = [&](Window& shown) {
        auto* dialog = dynamic_cast<Dialog*>(&shown);
        if (dialog == &window) {
            tourMainWindow(window, record);
            window.endDialog(IDCANCEL);
            return true;
        }
        if (dialog != nullptr) {
            QWidget* top = dialog->internals().live();
            std::string name = "dialog_" + std::to_string(dialog->templateId());
            record[name] = look(top, name, top->parentWidget() == nullptr);
        }
        return false; // then closed as the user would
    };
    CConnectionDlg connection;
    connection.runModal();
    window.runModal();
    CMessageDlg(applicationErrorTemplateId, applicationErrorText).runModal();
    CCommErrorDlg("Socket closed").runModal();
    return record;
}

void write(const Record& record, const std::string& path)
{
    std::ofstream out(path);
    for (const auto& [name, opened] : record) {
        out << "window " << name << " " << opened.scrolled << " " << opened.size.width()
            << " " << opened.size.height() << "\n";
        for (const auto& [control, place] : opened.controls) {
            out << "control " << name << " " << control << " " << place.x() << " " << place.y() << " "
                << place.width() << " " << place.height() << "\n";
        }
    }
}

Record read(const std::string& path)
{
    Record record;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind, name;
        fields >> kind >> name;
        Opened& opened = record[name];
        int x = 0, y = 0, width = 0, height = 0;
        if (kind == "window") {
            fields >> opened.scrolled >> width >> height;
            opened.size = QSize(width, height);
        } else {
            std::string control;
            fields >> control >> x >> y >> width >> height;
            opened.controls[control] = QRect(x, y, width, height);
        }
    }
    return record;
}

TEST(ScreenFitTest, EveryWindowOpensWithinTheScreenWithEveryControlInReach)
{
    Record record = tourEveryWindow();
    for (int dialog : {CConnectionDlg::templateId, CKaraokeDlg::templateId, CTessivaIIDlg::templateId,
                       CGpioDlg::templateId, CAboutDlg::templateId, applicationErrorTemplateId,
                       CCommErrorDlg::templateId}) {
        EXPECT_EQ(record.count("dialog_" + std::to_string(dialog)), 1u) << "dialog " << dialog << " never opened";
    }
    EXPECT_EQ(record.count("main_window_user_presets"), 1u);
    if (const char* path = std::getenv(recordVariable)) {
        write(record, path);
    }
}

// --- Screens of other sizes ------------------------------------------------------------

struct Screen {
    const char* name;
    QRect area; // the screen the window manager leaves free, in pixels
    const char* scale;
    std::vector<std::string> tooLarge; // the windows larger than the area, by the start of their name
};

// What moved or changed size between two openings of a window, by control.
std::string changes(const Opened& expected, const Opened& seen)
{
    std::ostringstream out;
    auto text = [](const QRect& place) {
        std::ostringstream at;
        at << place.x() << "," << place.y() << " " << place.width() << "x" << place.height();
        return at.str();
    };
    for (const auto& [name, place] : expected.controls) {
        auto found = seen.controls.find(name);
        if (found == seen.controls.end()) {
            out << " " << name << " not shown;";
        } else if (found->second != place) {
            out << " " << name << " at " << text(found->second) << " instead of " << text(place) << ";";
        }
    }
    return out.str();
}

// Runs the tour in a copy of this program on a headless screen of the size given, and
// reads back what it saw. False when the copy failed; its output is then reported.
bool tourOn(const Screen& screen, const TemporaryFolder& folder, Record& record)
{
    const std::string config = folder.file(wordOf(screen.name) + ".json");
    const std::string seen = folder.file(wordOf(screen.name) + ".txt");
    const std::string output = folder.file(wordOf(screen.name) + ".log");
    std::ofstream(config) << "{\"screens\": [{\"name\": \"small\", \"x\": " << screen.area.x() << ", \"y\": "
                          << screen.area.y() << ", \"width\": " << screen.area.width()
                          << ", \"height\": " << screen.area.height() << "}]}\n";
    std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen:configfile=" + config,
                                            std::string("QT_SCALE_FACTOR=") + screen.scale,
                                            std::string(recordVariable) + "=" + seen,
                                            std::string(pictureVariable) + "=screen_fit_" + wordOf(screen.name)};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string text = *entry;
        if (text.rfind("QT_QPA_PLATFORM=", 0) != 0 && text.rfind("QT_SCALE_FACTOR=", 0) != 0 &&
            text.rfind("GTEST_", 0) != 0) {
            environment.push_back(text);
        }
    }
    std::vector<std::string> arguments = {"/proc/self/exe",
                                          "--gtest_filter=ScreenFitTest.EveryWindowOpensWithinTheScreen*"};
    auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> result;
        for (std::string& text : texts) {
            result.push_back(text.data());
        }
        result.push_back(nullptr);
        return result;
    };
    std::vector<char*> argv = pointers(arguments);
    std::vector<char*> envp = pointers(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    int status = -1;
    if (failed == 0) {
        ::waitpid(pid, &status, 0);
    }
    if (status != 0) {
        std::ifstream log(output);
        ADD_FAILURE() << "on " << screen.name << ":\n" << std::string(std::istreambuf_iterator<char>(log), {});
        return false;
    }
    record = read(seen);
    return true;
}

TEST(ScreenFitTest, OnASmallScreenWindowsScrollAndWhereTheyFitTheyOpenAsEver)
{
    const Screen testScreen{"the tests' own 1280x800", QRect(0, 0, 1280, 800), "1", {}};
    const std::string main = "main_window";
    const Screen screens[] = {
        {"1920x1200", QRect(0, 0, 1920, 1200), "1", {}},
        {"1366x800", QRect(0, 0, 1366, 800), "1", {}},
        {"1366x768 less a 32-px panel", QRect(0, 32, 1366, 736), "1", {main}},
        {"1280x800 at a scale of 1.25", QRect(0, 0, 1280, 800), "1.25", {main}},
        {"1024x600", QRect(0, 0, 1024, 600), "1", {main}},
        {"1024x600 at a scale of 1.25", QRect(0, 0, 1024, 600), "1.25",
         {main, "dialog_" + std::to_string(CGpioDlg::templateId), "dialog_" + std::to_string(CKaraokeDlg::templateId)}},
    };
    TemporaryFolder folder;
    Record reference;
    ASSERT_TRUE(tourOn(testScreen, folder, reference));
    for (const auto& [name, opened] : reference) {
        EXPECT_FALSE(opened.scrolled) << name << " does not fit the tests' screen";
    }
    // A window that fits opens as on the tests' screen; one larger than the area scrolls
    // its contents. Either way every control keeps its size and place in them (and each
    // copy checked that the window lies within the area and every control is in reach).
    for (const Screen& screen : screens) {
        Record record;
        if (!tourOn(screen, folder, record)) {
            continue;
        }
        for (const auto& [name, opened] : reference) {
            const Opened& seen = record[name];
            const bool tooLarge = std::any_of(screen.tooLarge.begin(), screen.tooLarge.end(),
                                              [&](const std::string& start) { return name.rfind(start, 0) == 0; });
            EXPECT_EQ(seen.scrolled, tooLarge) << name << " on " << screen.name;
            if (!tooLarge) {
                EXPECT_EQ(seen.size, opened.size) << name << " on " << screen.name;
            }
            EXPECT_EQ(changes(opened, seen), "") << name << " on " << screen.name;
        }
    }
}

} // namespace
