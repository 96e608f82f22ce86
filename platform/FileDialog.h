#pragma once

#include <memory>
#include <string>

class Window;
struct FileDialogPrivate;

// The open and save file dialogs. The filter is a list of description and pattern
// pairs separated by "|" and ended by "||", as "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||".
class FileDialog {
public:
    static constexpr int HideReadOnly = 0x4;
    static constexpr int OverwritePrompt = 0x2;

    FileDialog(bool open, const std::string& defaultExtension, const std::string& fileName, int flags,
               const std::string& filter, Window* owner);
    ~FileDialog();

    // IDOK when a file was chosen, IDCANCEL otherwise. A name given without extension
    // gets the default extension; saving over an existing file asks first when
    // OverwritePrompt is set.
    int runModal();
    std::string getPathName() const;

    // The dialog's name filters as the window system takes them.
    static std::string translateFilter(const std::string& filter);

private:
    std::unique_ptr<FileDialogPrivate> d_;
};
