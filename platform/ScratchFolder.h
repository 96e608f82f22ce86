#pragma once

#include <string>

// A folder of the process's own, "qz347remote.<random>" in a temporary folder, for what
// must not go among the user's files. While the process lives it holds a lock on a file
// in the folder, so that a later start can tell the folder of a run that was killed
// (nobody holds its lock any more) from that of a copy still running, and remove only
// the former. The lock ends with the process however it ends.
class ScratchFolder {
public:
    // Makes the folder in `parent`, having first removed from there the folders that
    // ended runs left behind. When no folder can be made, path() is empty.
    explicit ScratchFolder(const std::string& parent);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    // Removes the folder with all in it now; then path() is empty. Uses nothing but
    // system calls, so it may run while the program exits.
    void remove();

private:
    std::string path_;
    int folder_ = -1;
    int lock_ = -1;
};

// Removes from `parent` each folder of this user that has the shape a run gives its own
// ("qz347remote." and six letters or digits, mode 0700, a lock that is a plain file of the
// user's) and whose lock nobody holds. Nothing else is touched: no symbolic link is
// followed, and a folder without a lock (one being made this moment, or one not made this
// way) is left alone. A folder's lock goes last, once all else in it has gone.
void removeFoldersOfEndedRuns(const std::string& parent);
