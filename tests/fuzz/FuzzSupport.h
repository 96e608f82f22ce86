#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "device/transport/SerialDevice.h"

// Stops the run with a message when a property of the code under test does not
// hold; libFuzzer reports it as a crash and keeps the input.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            fuzzCheckFailed(#condition, __FILE__, __LINE__);                                                 \
    } while (false)

[[noreturn]] void fuzzCheckFailed(const char* condition, const char* file, int line);

// Reads a prefix of the fuzzer's bytes as small numbers, leaving the rest as data.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    uint8_t takeByte()
    {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }
    std::string takeRest()
    {
        std::string rest(reinterpret_cast<const char*>(data_), size_);
        data_ += size_;
        size_ = 0;
        return rest;
    }
    std::size_t remaining() const { return size_; }

private:
    const uint8_t* data_;
    std::size_t size_;
};

// The far end of a link that sends the given bytes and nothing else. Reads take
// what is asked for, or, like the socket, nothing when not enough is left; with
// partialReads set they take what is left, like a serial port whose time-out ran out.
// Writes are recorded.
class ScriptedDevice : public SerialDevice {
public:
    explicit ScriptedDevice(std::string incoming, bool partialReads = false)
        : SerialDevice(nullptr), incoming_(std::move(incoming)), partialReads_(partialReads)
    {
    }

    void setTimeout(int milliseconds) override { timeout = milliseconds; }
    void write(const unsigned char* bytes, unsigned count) override
    {
        written.append(reinterpret_cast<const char*>(bytes), count);
    }
    unsigned read(unsigned char* buffer, unsigned count) override;

    // More bytes from the far end, after those not read yet.
    void feed(const std::string& bytes) { incoming_ += bytes; }
    std::size_t left() const { return incoming_.size() - position_; }

    int timeout = -1;
    std::string written;

private:
    std::string incoming_;
    std::size_t position_ = 0;
    bool partialReads_;
};
