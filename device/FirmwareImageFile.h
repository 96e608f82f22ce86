#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "device/Validator.h"

// A firmware image file: a 4-byte header, the payload in whole 4096-byte blocks,
// then the validator's checksum of everything before it. The file is checked
// whole when it is opened, so a bad image is refused before anything is sent.
class FirmwareImageFile {
public:
    static constexpr std::size_t blockSize = 4096;
    static constexpr std::size_t headerSize = 4;

    // Throws VormoException "Error opening <path> (<the system's reason>)" or
    // "error reading file", or the validator's exception. The validator is not owned.
    FirmwareImageFile(const std::string& path, const Validator* validator);
    ~FirmwareImageFile();
    FirmwareImageFile(const FirmwareImageFile&) = delete;
    FirmwareImageFile& operator=(const FirmwareImageFile&) = delete;

    // Reads the next block into a buffer of blockSize bytes; returns the payload
    // bytes read, 0 once only the checksum is left.
    int readBlock(unsigned char* buffer);
    // The file position in whole blocks: after block k (from 1) has been read it is k.
    int blockIndex() const { return static_cast<int>(position() >> 12); }
    uint64_t position() const;
    uint64_t size() const { return size_; }
    bool atEnd() const { return position() >= size_; }
    void rewind();
    void close();

private:
    void checkWholeFile();

    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
    const Validator* validator_;
};
