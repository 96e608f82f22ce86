#include "ui/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "model/Exceptions.h"

namespace {

namespace fs = std::filesystem;

// A chain of links longer than this is taken as a loop; opening it then fails.
constexpr int linkHopsAtMost = 40;

// The file a path names through any symbolic links, so that saving to a link
// writes the file it points at and leaves the link in place. A link pointing
// nowhere names the file it would create.
fs::path resolveLinks(const fs::path& path)
{
    fs::path file = path;
    std::error_code error;
    for (int hop = 0; hop < linkHopsAtMost && fs::is_symlink(fs::symlink_status(file, error)); ++hop) {
        const fs::path next = fs::read_symlink(file, error);
        if (error)
            break;
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    return file;
}

// The whole content, made before the file is touched. A stream that failed
// under the writer is a failed write, whatever the writer says.
std::string contentOf(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    std::ostringstream out;
    try {
        write(out);
    } catch (const VormoException&) {
        if (!out.good())
            throw fileFailure("Error writing", path, 0);
        throw;
    }
    if (!out.good())
        throw fileFailure("Error writing", path, 0);
    return std::move(out).str();
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return descriptor_; }
    bool isOpen() const { return descriptor_ >= 0; }
    // Closing reports what a delayed write (on a network file system, say) failed with.
    bool close()
    {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

bool writeAll(int descriptor, const std::string& content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t wrote = ::write(descriptor, content.data() + done, content.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return ::fsync(descriptor) == 0;
}

// A file system that cannot reserve room, or a file that takes none (a device),
// is written as before: only a lack of room refuses the save. Where the file system
// cannot, the C library takes the room by reading and writing a byte in each block,
// which a file open for writing alone refuses as a bad descriptor.
bool reservingIsUnsupported(int error)
{
    return error == EOPNOTSUPP || error == EINVAL || error == ENOSYS || error == ENODEV || error == ESPIPE ||
           error == EBADF;
}

// Takes the room the new content needs before a byte of the old one is overwritten,
// so that a full disk (or a quota, or a file size limit) refuses the save while the
// old content is still whole. Returns the system's reason when there is no room.
int reserveRoom(int descriptor, std::size_t size)
{
    struct stat before {};
    if (size == 0 || ::fstat(descriptor, &before) != 0)
        return 0;
    int error = 0;
    do {
        error = ::posix_fallocate(descriptor, 0, static_cast<off_t>(size));
    } while (error == EINTR);
    if (error == 0 || reservingIsUnsupported(error))
        return 0;
    // A file system may keep the room it found before running out, as zeros after the
    // old content: the old length comes back. Whether it does or not, the reason to
    // give is the lack of room.
    [[maybe_unused]] const int restored = ::ftruncate(descriptor, before.st_size);
    return error;
}

// Opened for reading too, so that the room can be taken where the file system
// cannot reserve it (see above); a file the user may only write is still written.
int openToOverwrite(const fs::path& file)
{
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EACCES)
        return descriptor;
    return ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
}

// Only for a file that keeps other names (hard links) or whose folder takes no
// new file: the content is complete, so only the system's own write can fail.
void writeInPlace(const fs::path& file, const std::string& content, const std::string& path)
{
    Descriptor out(openToOverwrite(file));
    if (!out.isOpen())
        throw fileFailure("Error opening", path, errno);
    if (const int error = reserveRoom(out.get(), content.size()); error != 0)
        throw fileFailure("Error writing", path, error);
    // Overwrite first and cut the rest off after, so the old bytes go only as the new arrive.
    const bool written = writeAll(out.get(), content) &&
                         ::ftruncate(out.get(), static_cast<off_t>(content.size())) == 0 && out.close();
    if (!written)
        throw fileFailure("Error writing", path, errno);
}

// A user may not give a file away but may keep its group; what the system
// refuses stays the user's. Tells whether the owner or the group was kept.
bool keepOwner(int descriptor, const struct stat& previous)
{
    return ::fchown(descriptor, previous.st_uid, previous.st_gid) == 0 ||
           ::fchown(descriptor, static_cast<uid_t>(-1), previous.st_gid) == 0;
}

class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& beside)
        : name_(beside.string() + ".XXXXXX"), out_(::mkstemp(name_.data())), created_(out_.isOpen())
    {
    }
    ~TemporaryFile()
    {
        if (created_ && !renamed_)
            ::unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return created_; }

    // The file takes the place of the one it was made beside, with that one's
    // mode and, where the system allows, owner and group.
    bool replace(const fs::path& file, const std::string& content, const struct stat* previous)
    {
        if (previous != nullptr) {
            keepOwner(out_.get(), *previous);
            ::fchmod(out_.get(), previous->st_mode & 07777);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(out_.get(), 0666 & ~mask);
        }
        if (!writeAll(out_.get(), content) || !out_.close())
            return false;
        renamed_ = ::rename(name_.c_str(), file.c_str()) == 0;
        return renamed_;
    }

private:
    std::string name_;
    Descriptor out_;
    bool created_;
    bool renamed_ = false;
};

} // namespace

VormoException fileFailure(const std::string& action, const std::string& path, int error)
{
    std::string text = action + " " + path;
    if (error != 0)
        text += ": " + std::generic_category().message(error);
    return VormoException(text);
}

void writeFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    const std::string content = contentOf(path, write);
    const fs::path file = resolveLinks(path);
    struct stat previous {};
    const bool exists = ::stat(file.c_str(), &previous) == 0;
    // A file the user may not write is refused before anything is written.
    if (exists && ::access(file.c_str(), W_OK) != 0)
        throw fileFailure("Error opening", path, errno);
    // Replacing a file with further names would part it from them.
    if (exists && previous.st_nlink > 1) {
        writeInPlace(file, content, path);
        return;
    }
    TemporaryFile temporary(file);
    if (!temporary.created()) {
        writeInPlace(file, content, path);
        return;
    }
    if (!temporary.replace(file, content, exists ? &previous : nullptr))
        throw fileFailure("Error writing", path, errno);
}
