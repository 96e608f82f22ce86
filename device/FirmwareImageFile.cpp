#include "device/FirmwareImageFile.h"

#include <cerrno>
#include <vector>

#include "device/SystemReason.h"
#include "model/Exceptions.h"

FirmwareImageFile::FirmwareImageFile(const std::string& path, const Validator* validator)
    : validator_(validator)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        const int error = errno;
        throw VormoException(withSystemReason("Error opening " + path, error));
    }
    try {
        if (std::fseek(file_, 0, SEEK_END) != 0)
            throw VormoException("error reading file");
        const long end = std::ftell(file_);
        if (end < 0)
            throw VormoException("error reading file");
        size_ = static_cast<uint64_t>(end);
        rewind();
        checkWholeFile();
        if (std::fseek(file_, static_cast<long>(headerSize), SEEK_SET) != 0)
            throw VormoException("error reading file");
    } catch (...) {
        close();
        throw;
    }
}

FirmwareImageFile::~FirmwareImageFile()
{
    close();
}

void FirmwareImageFile::checkWholeFile()
{
    // Only a header, whole blocks and the checksum can be sent as the unit expects:
    // anything else would send checksum bytes or count a block negative.
    const uint64_t trailer = validator_->checksumLength();
    if (size_ < headerSize + trailer || (size_ - headerSize - trailer) % blockSize != 0)
        throw VormoException("error reading file");
    std::vector<unsigned char> whole(size_);
    if (std::fread(whole.data(), 1, whole.size(), file_) != whole.size())
        throw VormoException("error reading file");
    rewind();
    validator_->validate(whole.data(), whole.size());
}

int FirmwareImageFile::readBlock(unsigned char* buffer)
{
    std::size_t count = std::fread(buffer, 1, blockSize, file_);
    if (atEnd()) {
        // The read that reaches the end carries the checksum, which is not sent.
        const std::size_t trailer = validator_->checksumLength();
        count = count > trailer ? count - trailer : 0;
    }
    return static_cast<int>(count);
}

uint64_t FirmwareImageFile::position() const
{
    if (file_ == nullptr)
        return size_;
    const long where = std::ftell(file_);
    return where < 0 ? size_ : static_cast<uint64_t>(where);
}

void FirmwareImageFile::rewind()
{
    if (file_ != nullptr)
        std::fseek(file_, 0, SEEK_SET);
}

void FirmwareImageFile::close()
{
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}
