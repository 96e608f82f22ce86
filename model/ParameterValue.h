#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>

#include "model/ParameterId.h"

// One value as the unit carries it: integers are two bytes, most significant
// first; texts are their bytes without terminator. Only the length tells them apart.
class ParameterValue {
public:
    ParameterValue() = default;
    explicit ParameterValue(int number);
    explicit ParameterValue(std::string bytes) : bytes_(std::move(bytes)) {}

    int16_t toInt16() const;
    uint16_t toUInt16() const;
    const std::string& toString() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool isInteger() const { return bytes_.size() == 2; }

    bool operator==(const ParameterValue& other) const { return bytes_ == other.bytes_; }
    bool operator!=(const ParameterValue& other) const { return !(*this == other); }

    // Bytes that write() produces: 3 for an integer, otherwise length + 2.
    unsigned encodedSize() const;

    // Serial byte protocol: a length byte unless the value is an integer, then the bytes.
    void appendTo(std::string& bytes) const;

    // Message codec: both return the number of bytes used.
    int write(unsigned char* buffer, unsigned capacity) const;
    int read(const unsigned char* buffer, unsigned available);

    // Configuration-stream codec. A restored length above the maximum is refused
    // before any byte of the value is read.
    void save(std::ostream& out, int32_t& checksum) const;
    bool restore(std::istream& in, int32_t& checksum, uint32_t maximumLength = UINT32_MAX);

    // Longest value the program sends. The unit's length byte counts 0 to 127, and a
    // longer value sent could not be read back as the unit reports it; read() still
    // takes what a unit reports in the whole byte.
    static constexpr std::size_t maximumEncodedLength = 127;

private:
    void checkEncodable() const;

    std::string bytes_;
};

// The range given to every text parameter, so that the signed range check never refuses a text.
class MaximumValue : public ParameterValue {
public:
    MaximumValue() : ParameterValue(0x7FFF) {}
};

class MinimumValue : public ParameterValue {
public:
    MinimumValue() : ParameterValue(-0x8000) {}
};

using ParameterValueMap = std::map<ParameterId, ParameterValue>;

// The configuration stream's integers: 32 bits, least significant byte first.
// Both return whether the stream shows no error afterwards.
bool writeStreamInt32(std::ostream& out, uint32_t number);
bool readStreamInt32(std::istream& in, uint32_t& number);
