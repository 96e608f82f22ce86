#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QSettings>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#include "platform/Application.h"
#include "platform/qt/Internals.h"
#include "platform/qt/Templates.h"

static void initialiseResources()
{
    Q_INIT_RESOURCE(resources);
}

// --- Application ---------------------------------------------------------------------

static bool quitting = false;

// The toolkit's own dialogs (the file dialogs) remember their state in a settings
// file of the user's. The connection profile is meant to be the only file the
// application keeps, so what they remember goes to a folder of the process's own,
// removed when the process ends. Its removal uses no toolkit code, whose own statics
// may be gone by then.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qz347remote.XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

static void keepToolkitSettingsAway()
{
    static ScratchFolder scratch;
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

void ensureApplication()
{
    if (QApplication::instance() != nullptr) {
        return;
    }
    static int argc = 1;
    static char name[] = "QZ347Remote";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends; the global application pointer keeps it reachable.
    new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    keepToolkitSettingsAway();
    initialiseResources();
    registerApplicationTemplates();
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

int runModalLoop(ModalRun& run, Window& window)
{
    if (quitting) {
        return -1;
    }
    modalRuns().push_back(&run);
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
    modalRuns().pop_back();
    if (modalRuns().empty()) {
        quitting = false; // the outermost loop took the quit
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
// never frees; they are not ours to mend.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
