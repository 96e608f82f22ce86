#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

#include "platform/Application.h"
#include "platform/Dialog.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "platform/qt/Internals.h"

// A window system dialog run in one of our modal loops.
class SystemModal : public Window {
public:
    explicit SystemModal(QWidget* widget) { internals().widget = widget; }
};

static int runSystemModal(QDialog* dialog, const std::function<int(int finished)>& result)
{
    ModalRun run;
    run.widget = dialog;
    SystemModal window(dialog);
    ModalRunRegistration registration(run);
    QObject::connect(dialog, &QDialog::finished, dialog, [&run, &result](int code) {
        if (!run.ended) {
            run.result = result(code);
            run.ended = true;
            run.loop.exit(run.result);
        }
    });
    if (!run.ended) {
        programCall([&] {
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->show();
            dialog->raise();
            dialog->activateWindow();
        });
    }
    return runModalLoop(run, window);
}

int messageBox(Window* owner, const std::string& text, const std::string& caption, int type)
{
    ensureApplication();
    if (applicationQuitting()) {
        return -1;
    }
    QWidget* parent = owner != nullptr ? owner->internals().live() : nullptr;
    QMessageBox box(parent != nullptr ? parent->window() : nullptr);
    box.setWindowTitle(toQt(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQt(text));
    if ((type & 0xF0) == MB_ICONERROR) {
        box.setIcon(QMessageBox::Critical);
    } else if ((type & 0xF0) == MB_ICONWARNING) {
        box.setIcon(QMessageBox::Warning);
    }
    std::vector<std::pair<QAbstractButton*, int>> results;
    switch (type & 0xF) {
    case MB_OKCANCEL:
        results = {{box.addButton(QMessageBox::Ok), IDOK}, {box.addButton(QMessageBox::Cancel), IDCANCEL}};
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MB_YESNO:
        results = {{box.addButton(QMessageBox::Yes), IDYES}, {box.addButton(QMessageBox::No), IDNO}};
        box.setEscapeButton(QMessageBox::No);
        break;
    default:
        results = {{box.addButton(QMessageBox::Ok), IDOK}};
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
    box.setProperty("qzResults", QVariant::fromValue(static_cast<void*>(&results)));
    return runSystemModal(&box, [&](int) {
        for (auto& [button, result] : results) {
            if (button == box.clickedButton()) {
                return result;
            }
        }
        return results.size() == 1 ? IDOK : IDCANCEL;
    });
}

// --- File dialogs --------------------------------------------------------------------

struct FileDialogPrivate {
    bool open = true;
    QString defaultExtension;
    QString fileName;
    int flags = 0;
    QString filter;
    Window* owner = nullptr;
    QString chosen;
};

FileDialog::FileDialog(bool open, const std::string& defaultExtension, const std::string& fileName, int flags,
                       const std::string& filter, Window* owner)
    : d_(std::make_unique<FileDialogPrivate>())
{
    d_->open = open;
    d_->defaultExtension = toQt(defaultExtension);
    d_->fileName = toQt(fileName);
    d_->flags = flags;
    d_->filter = toQt(translateFilter(filter));
    d_->owner = owner;
}

FileDialog::~FileDialog() = default;

std::string FileDialog::translateFilter(const std::string& filter)
{
    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||": pairs of description and
    // patterns; the window system shows "Text Files (*.txt)" and matches the patterns.
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : filter) {
        if (c == '|') {
            pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) {
        pieces.push_back(piece);
    }
    std::string result;
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
        if (pieces[i].empty()) {
            break;
        }
        std::string description = pieces[i];
        std::size_t paren = description.find(" (");
        if (paren != std::string::npos) {
            description.erase(paren);
        }
        std::string patterns = pieces[i + 1];
        for (char& c : patterns) {
            if (c == ';') {
                c = ' ';
            }
        }
        if (patterns == "*.*") {
            patterns = "*";
        }
        if (!result.empty()) {
            result += ";;";
        }
        result += description + " (" + patterns + ")";
    }
    return result;
}

int FileDialog::runModal()
{
    ensureApplication();
    if (applicationQuitting()) {
        return -1;
    }
    QWidget* parent = d_->owner != nullptr ? d_->owner->internals().live() : nullptr;
    QFileDialog dialog(parent != nullptr ? parent->window() : nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(d_->open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(d_->open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (d_->flags & OverwritePrompt) == 0);
    dialog.setNameFilter(d_->filter);
    dialog.setDefaultSuffix(d_->defaultExtension);
    if (!d_->fileName.isEmpty()) {
        dialog.selectFile(d_->fileName);
    }
    int result =
        runSystemModal(&dialog, [](int code) { return code == QDialog::Accepted ? IDOK : IDCANCEL; });
    if (result == IDOK && !dialog.selectedFiles().isEmpty()) {
        d_->chosen = dialog.selectedFiles().front();
    }
    return result;
}

std::string FileDialog::getPathName() const
{
    QByteArray path = d_->chosen.toLocal8Bit();
    return std::string(path.constData(), std::size_t(path.size()));
}

// --- Wait cursor ---------------------------------------------------------------------

static int waitCursors = 0;

WaitCursor::WaitCursor()
{
    ensureApplication();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++waitCursors;
}

WaitCursor::~WaitCursor()
{
    --waitCursors;
    QApplication::restoreOverrideCursor();
}

bool WaitCursor::isShown()
{
    return waitCursors > 0;
}
