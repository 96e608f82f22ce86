#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

struct ErrorType {
    int16_t code;
    std::string text;
};

// Turns the 16-bit codes of the unit's Error and Flash Operation Done messages
// into texts. One instance, made on first use; the message connection destroys
// it when it ends.
class ErrorTypeRegistry {
public:
    virtual ~ErrorTypeRegistry() = default;

    static ErrorTypeRegistry& instance();
    static void destroyInstance();

    // The entry for a code; a code without an entry gives the default, {-1, "Host Error"}.
    const ErrorType& error(int16_t code) const;
    const ErrorType& flashResult(int16_t code) const;

    // The big-endian code at bytes; throws when fewer than two bytes are available.
    static int16_t readErrorId(const unsigned char* bytes, unsigned available);

private:
    ErrorTypeRegistry();

    const ErrorType defaultEntry_{-1, "Host Error"};
    std::map<int16_t, std::unique_ptr<ErrorType>> errors_;
    std::map<int16_t, std::unique_ptr<ErrorType>> flashResults_;
};
