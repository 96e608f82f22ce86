#include "model/ParameterId.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "model/Exceptions.h"

ParameterId::ParameterId(int16_t number)
    : group_(static_cast<int8_t>((static_cast<uint16_t>(number) >> 8) & 0xFF)),
      index_(static_cast<int8_t>(static_cast<uint16_t>(number) & 0xFF))
{
}

ParameterId::ParameterId(int8_t group, int8_t index) : group_(group), index_(index) {}

int16_t ParameterId::toInt() const
{
    const auto high = static_cast<uint16_t>(static_cast<uint8_t>(group_));
    const auto low = static_cast<uint16_t>(static_cast<uint8_t>(index_));
    return static_cast<int16_t>((high << 8) | low);
}

bool ParameterId::groupLess(const ParameterId& other) const
{
    return group_ < other.group_;
}

ParameterId ParameterId::previousGroup() const
{
    return ParameterId(static_cast<int8_t>(static_cast<uint8_t>(group_) - 1), index_);
}

ParameterId ParameterId::nextGroup() const
{
    return ParameterId(static_cast<int8_t>(static_cast<uint8_t>(group_) + 1), index_);
}

void ParameterId::appendTo(std::string& bytes) const
{
    bytes.push_back(static_cast<char>(group_));
    bytes.push_back(static_cast<char>(index_));
}

void ParameterId::appendWithSeparator(std::string& bytes, char separator) const
{
    bytes.push_back(static_cast<char>(group_));
    bytes.push_back(separator);
    bytes.push_back(static_cast<char>(index_));
}

void ParameterId::appendIndexTo(std::string& bytes) const
{
    bytes.push_back(static_cast<char>(index_));
}

int ParameterId::write(unsigned char* buffer, unsigned capacity) const
{
    if (capacity < 2)
        throw VormoException("not enough room for id in buffer");
    buffer[0] = static_cast<unsigned char>(group_);
    buffer[1] = static_cast<unsigned char>(index_);
    return 2;
}

int ParameterId::read(const unsigned char* buffer, unsigned available)
{
    if (available < 2)
        throw VormoException("id not found in buffer");
    group_ = static_cast<int8_t>(buffer[0]);
    index_ = static_cast<int8_t>(buffer[1]);
    return 2;
}

void ParameterId::save(std::ostream& out, int32_t& checksum) const
{
    out.put(static_cast<char>(group_));
    out.put(static_cast<char>(index_));
    if (!out)
        throw VormoException("Error saving a parameter id");
    addToChecksum(checksum, group_);
    addToChecksum(checksum, index_);
}

bool ParameterId::restore(std::istream& in, int32_t& checksum)
{
    if (in.peek() == std::char_traits<char>::eof())
        return false;
    char group = 0;
    if (!in.get(group))
        return false;
    addToChecksum(checksum, static_cast<int8_t>(group));
    char index = 0;
    if (!in.get(index))
        throw VormoException("Error restoring a parameter id");
    addToChecksum(checksum, static_cast<int8_t>(index));
    group_ = static_cast<int8_t>(group);
    index_ = static_cast<int8_t>(index);
    return true;
}

std::ostream& operator<<(std::ostream& out, const ParameterId& id)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d (%x, %d)", static_cast<int>(static_cast<uint16_t>(id.toInt())),
                  static_cast<unsigned>(static_cast<uint8_t>(id.group())), static_cast<int>(id.index()));
    return out << text;
}
