#include "model/ParameterValue.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "model/Exceptions.h"

namespace {

constexpr unsigned char integerTag = 0x00;
constexpr unsigned char bytesTag = 0x01;

} // namespace

bool writeStreamInt32(std::ostream& out, uint32_t number)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.put(static_cast<char>((number >> shift) & 0xFF));
    return !out.fail();
}

bool readStreamInt32(std::istream& in, uint32_t& number)
{
    number = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        char byte = 0;
        if (!in.get(byte))
            return false;
        number |= static_cast<uint32_t>(static_cast<unsigned char>(byte)) << shift;
    }
    return true;
}

ParameterValue::ParameterValue(int number)
{
    bytes_.push_back(static_cast<char>((number >> 8) & 0xFF));
    bytes_.push_back(static_cast<char>(number & 0xFF));
}

uint16_t ParameterValue::toUInt16() const
{
    uint16_t number = 0;
    for (char byte : bytes_)
        number = static_cast<uint16_t>((number << 8) | static_cast<unsigned char>(byte));
    return number;
}

int16_t ParameterValue::toInt16() const
{
    return static_cast<int16_t>(toUInt16());
}

unsigned ParameterValue::encodedSize() const
{
    return isInteger() ? 3u : static_cast<unsigned>(bytes_.size() + 2);
}

void ParameterValue::checkEncodable() const
{
    if (bytes_.size() > maximumEncodedLength) {
        std::ostringstream text;
        text << "parameter value too long (" << bytes_.size() << " bytes, at most " << maximumEncodedLength
             << ")";
        throw VormoException(text.str());
    }
}

void ParameterValue::appendTo(std::string& bytes) const
{
    checkEncodable();
    if (!isInteger())
        bytes.push_back(static_cast<char>(bytes_.size() & 0xFF));
    bytes += bytes_;
}

int ParameterValue::write(unsigned char* buffer, unsigned capacity) const
{
    checkEncodable();
    if (capacity < encodedSize())
        throw VormoException("not enough room for value in buffer");
    if (isInteger()) {
        buffer[0] = integerTag;
        buffer[1] = static_cast<unsigned char>(bytes_[0]);
        buffer[2] = static_cast<unsigned char>(bytes_[1]);
        return 3;
    }
    buffer[0] = bytesTag;
    buffer[1] = static_cast<unsigned char>(bytes_.size());
    for (std::size_t i = 0; i < bytes_.size(); ++i)
        buffer[2 + i] = static_cast<unsigned char>(bytes_[i]);
    return static_cast<int>(bytes_.size() + 2);
}

int ParameterValue::read(const unsigned char* buffer, unsigned available)
{
    if (available == 0)
        throw VormoException("value not found in buffer");
    bytes_.clear();
    switch (buffer[0]) {
    case integerTag:
        if (available < 3)
            throw VormoException("value not found in buffer");
        bytes_.assign(reinterpret_cast<const char*>(buffer + 1), 2);
        return 3;
    case bytesTag: {
        if (available < 2)
            throw VormoException("value not found in buffer");
        const unsigned length = buffer[1];
        if (available - 2 < length)
            throw VormoException("value not found in buffer");
        bytes_.assign(reinterpret_cast<const char*>(buffer + 2), length);
        return static_cast<int>(length + 2);
    }
    default:
        throw VormoException("unrecognized value type");
    }
}

void ParameterValue::save(std::ostream& out, int32_t& checksum) const
{
    const auto length = static_cast<uint32_t>(bytes_.size());
    if (!writeStreamInt32(out, length))
        throw VormoException("Error saving a parameter value.");
    addToChecksum(checksum, static_cast<int32_t>(length));
    for (char byte : bytes_) {
        if (!out.put(byte))
            throw VormoException("Error saving a parameter value.");
        addToChecksum(checksum, static_cast<int8_t>(byte));
    }
}

bool ParameterValue::restore(std::istream& in, int32_t& checksum, uint32_t maximumLength)
{
    bytes_.clear();
    uint32_t length = 0;
    if (!readStreamInt32(in, length))
        throw VormoException("Error restoring a parameter value.");
    addToChecksum(checksum, static_cast<int32_t>(length));
    if (length > maximumLength)
        throw VormoException("Error restoring a parameter value.");
    // Grow only with the bytes actually read: a damaged length must not reserve memory.
    for (uint32_t i = 0; i < length; ++i) {
        char byte = 0;
        if (!in.get(byte))
            throw VormoException("Error restoring a parameter value.");
        bytes_.push_back(byte);
        addToChecksum(checksum, static_cast<int8_t>(byte));
    }
    return true;
}
