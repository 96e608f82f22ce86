#include "ui/SafeFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/Exceptions.h"

void writeFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    bool exists = fs::exists(target, error);
    // A file the user may not write is refused before anything is written.
    if (exists && ::access(path.c_str(), W_OK) != 0) {
        throw VormoException("Error opening " + path);
    }
    std::string temporaryName = path + ".XXXXXX";
    int descriptor = ::mkstemp(temporaryName.data());
    if (descriptor < 0) {
        throw VormoException("Error opening " + path);
    }
    ::close(descriptor);
    struct Temporary {
        fs::path path;
        bool kept = false;
        ~Temporary()
        {
            if (!kept) {
                std::error_code ignored;
                fs::remove(path, ignored);
            }
        }
    } temporary{temporaryName};

    fs::perms permissions =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
    if (exists) {
        permissions = fs::status(target, error).permissions();
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        permissions = fs::perms(0666 & ~mask);
    }
    fs::permissions(temporary.path, permissions, error);

    std::ofstream out(temporary.path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw VormoException("Error opening " + path);
    }
    try {
        write(out);
    } catch (const VormoException&) {
        if (!out.good()) {
            throw VormoException("Error writing " + path);
        }
        throw;
    }
    out.flush();
    std::streamoff written = out.tellp();
    out.close();
    if (out.fail() || written < 0) {
        throw VormoException("Error writing " + path);
    }
    std::uintmax_t size = fs::file_size(temporary.path, error);
    if (error || size != std::uintmax_t(written)) {
        throw VormoException("Error writing " + path);
    }
    fs::rename(temporary.path, target, error);
    if (error) {
        throw VormoException("Error writing " + path);
    }
    temporary.kept = true;
}
