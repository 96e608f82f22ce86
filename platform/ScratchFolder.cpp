#include "platform/ScratchFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr char namePrefix[] = "qz347remote.";
// What mkdtemp turns into six letters and digits.
constexpr char nameSuffix[] = "XXXXXX";
// The mode mkdtemp gives a folder. Only a folder of this shape in name, mode, owner and
// lock is taken for a run's: a user may keep one of the same prefix.
constexpr mode_t folderMode = S_IRWXU;
constexpr char lockName[] = "lock";
// The lock file is made and locked under this name, and only then renamed to its own:
// so a "lock" that can be taken is never that of a folder still being made.
constexpr char newLockName[] = "lock.new";

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The names in the folder; nothing when it cannot be listed.
std::optional<std::vector<std::string>> namesIn(int folder)
{
    std::vector<std::string> names;
    // The listing takes a descriptor of its own over; it shares the position with the
    // folder's, hence the rewind.
    int listing = ::dup(folder);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (entries == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return std::nullopt;
    }
    ::rewinddir(entries);
    while (const dirent* entry = ::readdir(entries)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(entries);
    return names;
}

// Removes everything in the folder but the entry `kept` (when given); true when all of it
// went. A symbolic link is removed, never followed.
bool emptyFolder(int folder, const char* kept = nullptr)
{
    std::optional<std::vector<std::string>> names = namesIn(folder);
    if (!names) {
        return false;
    }
    bool emptied = true;
    for (const std::string& name : *names) {
        if (kept != nullptr && name == kept) {
            continue;
        }
        struct stat status {};
        bool removed = false;
        if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode)) {
            int inner = ::openat(folder, name.c_str(), folderFlags);
            if (inner >= 0) {
                emptyFolder(inner);
                ::close(inner);
            }
            removed = ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT;
        } else {
            removed = ::unlinkat(folder, name.c_str(), 0) == 0 || errno == ENOENT;
        }
        emptied = emptied && removed;
    }
    return emptied;
}

// Removes the folder `name` of `parent`, open as `folder`, as long as the name still
// stands for that folder. The lock goes only once all else has: a removal that stops
// midway leaves a folder that the next start takes for an ended run's and tries again.
void removeFolder(int parent, const std::string& name, int folder)
{
    if (!emptyFolder(folder, lockName)) {
        return;
    }
    // The folder of a start that could not finish making it has no lock.
    if (::unlinkat(folder, lockName, 0) != 0 && errno != ENOENT) {
        return;
    }
    struct stat opened {};
    struct stat named {};
    if (::fstat(folder, &opened) == 0 && ::fstatat(parent, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
        ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
    }
}

// Of this user, of the type, and (when given) with exactly the permissions.
bool ownOfType(int descriptor, mode_t type, std::optional<mode_t> permissions = std::nullopt)
{
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && (status.st_mode & S_IFMT) == type &&
           status.st_uid == ::geteuid() && (!permissions || (status.st_mode & 07777) == *permissions);
}

bool isLetterOrDigit(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// A name as mkdtemp makes one of namePrefix and nameSuffix.
bool isRunFolderName(const std::string& name)
{
    constexpr std::size_t prefixLength = sizeof namePrefix - 1;
    constexpr std::size_t suffixLength = sizeof nameSuffix - 1;
    if (name.size() != prefixLength + suffixLength || name.compare(0, prefixLength, namePrefix) != 0) {
        return false;
    }
    for (std::size_t i = prefixLength; i < name.size(); ++i) {
        if (!isLetterOrDigit(name[i])) {
            return false;
        }
    }
    return true;
}

// A folder of a run that has ended is ours and has a lock that can be taken; it is
// removed while the lock is held, so no other start judges it meanwhile.
void removeIfEnded(int parent, const std::string& name)
{
    int folder = ::openat(parent, name.c_str(), folderFlags);
    if (folder < 0) {
        return; // a symbolic link, not a folder, or gone
    }
    if (ownOfType(folder, S_IFDIR, folderMode)) {
        int lock = ::openat(folder, lockName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (lock >= 0) {
            if (ownOfType(lock, S_IFREG) && ::flock(lock, LOCK_EX | LOCK_NB) == 0) {
                removeFolder(parent, name, folder);
            }
            ::close(lock);
        }
    }
    ::close(folder);
}

} // namespace

void removeFoldersOfEndedRuns(const std::string& parent)
{
    int folder = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        return;
    }
    for (const std::string& name : namesIn(folder).value_or(std::vector<std::string>())) {
        if (isRunFolderName(name)) {
            removeIfEnded(folder, name);
        }
    }
    ::close(folder);
}

ScratchFolder::ScratchFolder(const std::string& parent)
{
    if (parent.empty()) {
        return;
    }
    removeFoldersOfEndedRuns(parent);
    std::string pattern = parent + "/" + namePrefix + nameSuffix;
    if (::mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    folder_ = ::open(pattern.c_str(), folderFlags);
    if (folder_ < 0) {
        ::rmdir(pattern.c_str());
        return;
    }
    path_ = pattern;
    // The umask may have taken bits of mkdtemp's mode, which a later start looks for.
    if (::fchmod(folder_, folderMode) != 0) {
        remove();
        return;
    }
    lock_ = ::openat(folder_, newLockName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock_ < 0 || ::flock(lock_, LOCK_EX | LOCK_NB) != 0 ||
        ::renameat(folder_, newLockName, folder_, lockName) != 0) {
        remove();
    }
}

ScratchFolder::~ScratchFolder()
{
    remove();
}

void ScratchFolder::remove()
{
    if (!path_.empty() && folder_ >= 0) {
        std::size_t slash = path_.rfind('/');
        int parent = ::open(path_.substr(0, slash + 1).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (parent >= 0) {
            removeFolder(parent, path_.substr(slash + 1), folder_);
            ::close(parent);
        }
    }
    // The lock goes last: until the folder is gone, no other start takes it for its own to remove.
    for (int* descriptor : {&folder_, &lock_}) {
        if (*descriptor >= 0) {
            ::close(*descriptor);
            *descriptor = -1;
        }
    }
    path_.clear();
}
