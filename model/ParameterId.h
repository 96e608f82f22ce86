#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

// Names one parameter of the unit: a signed group byte and a signed index byte.
// Held and copied by value.
class ParameterId {
public:
    explicit ParameterId(int16_t number = 0);
    ParameterId(int8_t group, int8_t index);

    int16_t toInt() const;
    int8_t group() const { return group_; }
    int8_t index() const { return index_; }

    // Group first, then index, both signed. Inline: every map lookup asks it.
    bool operator<(const ParameterId& other) const
    {
        return group_ != other.group_ ? group_ < other.group_ : index_ < other.index_;
    }
    bool operator==(const ParameterId& other) const = default;
    bool groupLess(const ParameterId& other) const;

    // The unit takes writes under the same index in the group below.
    ParameterId previousGroup() const;
    ParameterId nextGroup() const;

    // Serial byte-protocol builders.
    void appendTo(std::string& bytes) const;
    void appendWithSeparator(std::string& bytes, char separator) const;
    void appendIndexTo(std::string& bytes) const;

    // Message codec: both return the number of bytes used (always 2).
    int write(unsigned char* buffer, unsigned capacity) const;
    int read(const unsigned char* buffer, unsigned available);

    // Configuration-stream codec.
    void save(std::ostream& out, int32_t& checksum) const;
    bool restore(std::istream& in, int32_t& checksum);

private:
    int8_t group_;
    int8_t index_;
};

// "%d (%x, %d)": the identifier unsigned, the group in hex, the index signed.
std::ostream& operator<<(std::ostream& out, const ParameterId& id);

// Adds a signed amount to a running 32-bit checksum with wrap-around.
inline void addToChecksum(int32_t& checksum, int32_t amount)
{
    checksum = static_cast<int32_t>(static_cast<uint32_t>(checksum) + static_cast<uint32_t>(amount));
}
