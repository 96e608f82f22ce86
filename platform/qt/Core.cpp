#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QSettings>
#include <QTimer>

#include <QSocketNotifier>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <map>
#include <string>
#include <system_error>

#include "platform/Application.h"
#include "platform/ScratchFolder.h"
#include "platform/qt/Internals.h"
#include "platform/qt/Templates.h"

static void initialiseResources()
{
    Q_INIT_RESOURCE(resources);
}

// --- Application ---------------------------------------------------------------------

static bool quitting = false;

namespace {

std::string temporaryFolder()
{
    std::error_code failed;
    std::filesystem::path folder = std::filesystem::temp_directory_path(failed);
    return failed ? std::string() : folder.string();
}

// The toolkit's own dialogs (the file dialogs) remember their state in a settings
// file of the user's. The connection profile is meant to be the only file the
// application keeps, so what they remember goes to the scratch folder.
void keepToolkitSettingsIn(const ScratchFolder& scratch)
{
    if (scratch.path().empty()) {
        return; // no temporary folder to be had: the toolkit keeps its usual file
    }
    QString folder = QString::fromLocal8Bit(scratch.path().c_str());
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
            QSettings::setPath(format, scope, folder);
        }
    }
}

// The application object and what comes and goes with it.
class ApplicationObject {
public:
    ApplicationObject() : application_(std::make_unique<QApplication>(argc_, argv_))
    {
        // The application object sets the C library's locale from the user's environment.
        // Numbers are written with printf's formats and read back as the classic locale
        // reads them, so that they look and read alike everywhere: their locale goes back
        // to "C", as the toolkit advises. The rest of the user's locale stays.
        std::setlocale(LC_NUMERIC, "C");
        QApplication::setQuitOnLastWindowClosed(false);
        initialiseResources();
        registerApplicationTemplates();
    }
    ~ApplicationObject()
    {
        // What was left to be deleted once the message loop had the control again goes
        // now, while the application object it may use still exists.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        application_.reset();
    }
    ApplicationObject(const ApplicationObject&) = delete;
    ApplicationObject& operator=(const ApplicationObject&) = delete;

private:
    int argc_ = 1;
    char name_[12] = "QZ347Remote";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

// --- Ending on a signal --------------------------------------------------------------
//
// A session's or a terminal's end (SIGTERM, SIGHUP, SIGINT) closes the application as
// File > Exit does, so that it ends through its own path and leaves nothing behind. The
// handler may do next to nothing: it writes a byte that the window's thread reads.

constexpr int endSignals[] = {SIGTERM, SIGHUP, SIGINT};
int endSignalPipe[2] = {-1, -1};

extern "C" void onEndSignal(int)
{
    int savedErrno = errno;
    char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(endSignalPipe[1], &byte, 1);
    errno = savedErrno;
}

// Reads what the handler wrote; true when a signal came.
bool takeEndSignals()
{
    bool came = false;
    char bytes[16];
    while (endSignalPipe[0] >= 0 && ::read(endSignalPipe[0], bytes, sizeof bytes) > 0) {
        came = true;
    }
    return came;
}

class EndSignalWatch {
public:
    EndSignalWatch()
    {
        if (::pipe2(endSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            return; // the application then simply ends as the signal's default does
        }
        notifier_ = std::make_unique<QSocketNotifier>(endSignalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] {
            if (takeEndSignals()) {
                quitApplication();
            }
        });
        struct sigaction action {};
        action.sa_handler = onEndSignal;
        sigemptyset(&action.sa_mask);
        // A second signal, should the first not end the program, ends it at once.
        action.sa_flags = SA_RESETHAND | SA_RESTART;
        for (std::size_t i = 0; i < std::size(endSignals); ++i) {
            ::sigaction(endSignals[i], &action, &previous_[i]);
        }
    }
    ~EndSignalWatch()
    {
        if (endSignalPipe[1] < 0) {
            return;
        }
        for (std::size_t i = 0; i < std::size(endSignals); ++i) {
            ::sigaction(endSignals[i], &previous_[i], nullptr);
        }
        notifier_.reset();
        for (int& end : endSignalPipe) {
            ::close(end);
            end = -1;
        }
    }
    EndSignalWatch(const EndSignalWatch&) = delete;
    EndSignalWatch& operator=(const EndSignalWatch&) = delete;

    // The application object is about to go, and the notifier with it. The signals stay
    // caught: one that comes now is simply not acted on, as the program is ending anyway.
    void stopListening() { notifier_.reset(); }

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_[std::size(endSignals)] {};
};

// The window system's parts, which no static destructor ends. The toolkit itself calls
// exit when it loses its display, from inside the loops that run on the application
// object; the object must not go from under them then. Only the holder of the window
// system ends the parts, in order. An exit while they exist removes the scratch folder
// and leaves the rest to the process's end: reachable still, it is no leak.
//
// The scratch folder is made last, once the window system has started and the end
// signals are caught: a start that fails (no display) or a signal that comes before
// then ends the process with no folder made, and one that comes after ends the
// application through its own path, which removes the folder.
struct WindowSystemParts {
    std::unique_ptr<ApplicationObject> application;
    std::unique_ptr<EndSignalWatch> endSignals;
    std::unique_ptr<ScratchFolder> scratch;
};

WindowSystemParts& parts()
{
    static WindowSystemParts* const made = new WindowSystemParts(); // never deleted, as said
    return *made;
}

extern "C" void removeScratchFolderAtExit()
{
    if (parts().scratch != nullptr) {
        parts().scratch->remove();
    }
}

} // namespace

void ensureApplication()
{
    if (parts().application == nullptr) {
        static const int exitHandled = std::atexit(removeScratchFolderAtExit);
        (void)exitHandled;
        parts().application = std::make_unique<ApplicationObject>();
    }
}

// Holders may nest (a test program holds the window system while the application's
// start it runs holds it too): the outermost one makes and ends it.
static int windowSystemHolders = 0;

WindowSystem::WindowSystem()
{
    if (windowSystemHolders++ > 0) {
        return;
    }
    ensureApplication();
    parts().endSignals = std::make_unique<EndSignalWatch>();
    parts().scratch = std::make_unique<ScratchFolder>(temporaryFolder());
    keepToolkitSettingsIn(*parts().scratch);
}

WindowSystem::~WindowSystem()
{
    if (--windowSystemHolders > 0) {
        return;
    }
    parts().endSignals->stopListening();
    parts().application.reset();
    // After the application object, which may still write the toolkit's settings there.
    parts().scratch.reset();
    // Only now may a signal end the process at once: nothing of the run is left to remove.
    parts().endSignals.reset();
    quitting = false;
}

void quitApplication()
{
    quitting = true;
    for (ModalRun* run : modalRuns()) {
        run->result = -1;
        run->ended = true;
        run->loop.exit(-1);
    }
}

bool applicationQuitting()
{
    // A signal that came while the window's thread was busy outside any loop (connecting,
    // looking up a name) counts from the moment anyone asks, so no window opens after it.
    if (takeEndSignals()) {
        quitApplication();
    }
    return quitting;
}

void processPendingMessages()
{
    ensureApplication();
    programCall([] {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
}

// --- Exceptions ----------------------------------------------------------------------

static std::exception_ptr pendingError;

int& programCallDepth()
{
    static int depth = 0;
    return depth;
}

std::vector<ModalRun*>& modalRuns()
{
    static std::vector<ModalRun*> runs;
    return runs;
}

void deliverException(std::exception_ptr error)
{
    if (programCallDepth() > 0 || modalRuns().empty()) {
        if (!pendingError) {
            pendingError = error;
        }
        return;
    }
    ModalRun* run = modalRuns().back();
    if (!run->error) {
        run->error = error;
    }
    run->ended = true;
    run->loop.exit(-1);
}

void rethrowPendingException()
{
    if (programCallDepth() == 0 && pendingError) {
        std::exception_ptr error = pendingError;
        pendingError = nullptr;
        std::rethrow_exception(error);
    }
}

// --- Modal loops ---------------------------------------------------------------------

static std::function<void(Window&)> modalLoopHandler;

void setModalLoopHandler(std::function<void(Window& modal)> handler)
{
    modalLoopHandler = std::move(handler);
}

ModalRunRegistration::ModalRunRegistration(ModalRun& run)
{
    if (applicationQuitting()) {
        run.ended = true;
        run.result = -1;
    }
    modalRuns().push_back(&run);
}

ModalRunRegistration::~ModalRunRegistration()
{
    modalRuns().pop_back();
    if (modalRuns().empty()) {
        quitting = false; // the outermost loop took the quit
    }
}

int runModalLoop(ModalRun& run, Window& window)
{
    if (!run.ended) {
        if (modalLoopHandler) {
            QPointer<QWidget> target = run.widget;
            QTimer::singleShot(0, run.widget, [target, &window, &run] {
                if (target && !run.ended && modalLoopHandler) {
                    auto handler = modalLoopHandler;
                    guarded([&] { handler(window); });
                }
            });
        }
        renewTimersInHand();
        run.loop.exec();
    }
    if (run.error) {
        std::exception_ptr error = run.error;
        run.error = nullptr;
        std::rethrow_exception(error);
    }
    return run.result;
}

// --- Templates -----------------------------------------------------------------------

static std::map<int, TemplateBuilder>& templates()
{
    static std::map<int, TemplateBuilder> table;
    return table;
}

void registerTemplate(int id, TemplateBuilder builder)
{
    templates()[id] = std::move(builder);
}

bool buildTemplate(int id, QWidget* widget)
{
    auto found = templates().find(id);
    if (found == templates().end()) {
        return false;
    }
    found->second(widget);
    return true;
}

// --- Helpers -------------------------------------------------------------------------

QString withoutMnemonics(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i; // "&&" gives "&", "&x" gives x
        }
        shown.append(text[i]);
    }
    return shown;
}

QColor toQColor(Colour colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

Colour fromQColor(const QColor& colour)
{
    return rgb(colour.red(), colour.green(), colour.blue());
}

Colour dialogFaceColour()
{
    ensureApplication();
    return fromQColor(QApplication::palette().color(QPalette::Button));
}

QFont fontFor(const FontDescription& description, const QFont& base)
{
    QFont font(base);
    QString face = toQt(description.face);
    if (!face.isEmpty() && QFontDatabase::families().contains(face, Qt::CaseInsensitive)) {
        font.setFamily(face);
    } else if (!face.isEmpty()) {
        font.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        font.setStyleHint(QFont::Monospace);
    }
    if (description.height < 0) {
        font.setPixelSize(-description.height);
    } else if (description.height > 0) {
        // A cell height holds the internal leading; the characters are about 4/5 of it.
        font.setPixelSize(std::max(1, description.height * 4 / 5));
    }
    font.setWeight(QFont::Weight(std::clamp(description.weight == 0 ? 400 : description.weight, 100, 900)));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    return font;
}

FontDescription describe(const QFont& font)
{
    FontDescription description;
    description.face = fromQt(QFontInfo(font).family());
    int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    description.height = -pixels;
    description.weight = font.weight();
    description.italic = font.italic();
    description.underline = font.underline();
    return description;
}

// Leak checking (sanitizer builds): the font configuration library keeps caches it
// never frees, and the message bus library, which the toolkit uses under an X display,
// leaves a buffer of its own at the end; they are not ours to mend. The toolkit keeps
// its font cache and its FreeType faces per thread; when it ends the program with exit()
// from inside a window's run (its display gone), Qt 6.8 destroys that per-thread storage
// before the main thread's entries are released, and what they held is no longer
// reachable. Only those two caches are named, by the functions that make them. Named
// here, every program on the window system leaves them out, whoever runs it.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:QFontCache::instance\n"
           "leak:QFreetypeFace::getFace\n";
}
