#pragma once

#include <cstdint>
#include <string>

// The first byte of every payload on the TCP link: which kind of message follows.
// Exactly one instance per code lives in a table built on first use; two command
// types are equal when their codes are.
class CommandType {
public:
    enum Code : uint8_t {
        PingRequest = 0,
        PingResponse = 1,
        Set = 2,
        GetAll = 3,
        Status = 4,
        Minimum = 5,
        Maximum = 6,
        Enable = 7,
        Error = 8,
        EraseFlash = 9,
        DownloadData = 10,
        BurnAndReboot = 11,
        FlashOperationDone = 12,
        EventLog = 13,
        ErrorLog = 14,
        GetAllResponse = 15,
        GetEventLog = 16,
        GetErrorLog = 17,
    };
    static constexpr unsigned count = 18;

    CommandType(uint8_t code, std::string name) : code_(code), name_(std::move(name)) {}

    uint8_t code() const { return code_; }
    const std::string& name() const { return name_; }
    bool operator==(const CommandType& other) const { return code_ == other.code_; }

    // The command type named by the first byte of a payload.
    static const CommandType& read(const unsigned char* buffer, unsigned length);
    // Throws VormoException "unrecognized command type" for codes 18 to 255.
    static const CommandType& fromCode(unsigned code);

    // Writes the code byte; returns 1.
    int write(unsigned char* buffer, unsigned capacity) const;

private:
    uint8_t code_;
    std::string name_;
};
