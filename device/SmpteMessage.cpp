#include "device/SmpteMessage.h"

#include <algorithm>
#include <map>

#include "device/transport/SerialDevice.h"
#include "model/Exceptions.h"

namespace {

// Reads what the unit is still sending, so that the next exchange starts on a quiet line.
[[noreturn]] void failAfterDraining(SerialDevice& device, const std::string& text)
{
    unsigned char discard[256];
    device.read(discard, sizeof discard);
    throw ProtocolException(text);
}

} // namespace

SmpteMessage SmpteMessage::start()
{
    return SmpteMessage(std::string{static_cast<char>(stx), '\0'});
}

SmpteMessage SmpteMessage::forSet(const ParameterId& writeId, const ParameterValue& value)
{
    SmpteMessage message = start();
    if (value.isInteger())
        writeId.appendTo(message.bytes_);
    else
        writeId.appendWithSeparator(message.bytes_, static_cast<char>(longForm));
    value.appendTo(message.bytes_);
    return message;
}

std::vector<SmpteMessage> SmpteMessage::requestsByGroup(const ParameterIdList& ids)
{
    struct GroupLess {
        bool operator()(int8_t a, int8_t b) const { return a < b; }
    };
    std::map<int8_t, SmpteMessage, GroupLess> byGroup;
    for (const ParameterId& id : ids) {
        auto [entry, added] = byGroup.try_emplace(id.group());
        if (added)
            entry->second = start();
        entry->second.appendId(id);
    }
    std::vector<SmpteMessage> requests;
    requests.reserve(byGroup.size());
    for (auto& [group, message] : byGroup)
        requests.push_back(std::move(message));
    return requests;
}

void SmpteMessage::appendId(const ParameterId& id)
{
    if (bytes_.size() <= 2)
        id.appendTo(bytes_);
    else
        id.appendIndexTo(bytes_);
}

void SmpteMessage::checkFramable() const
{
    const std::size_t body = bytes_.size() < 2 ? 0 : bytes_.size() - 2;
    if (body > maximumBody)
        throw VormoException("The request is too long for the serial link (" + std::to_string(body) +
                             " bytes, at most " + std::to_string(maximumBody) + ").");
}

void SmpteMessage::send(SerialDevice& device) const
{
    checkFramable();
    SmpteMessage frame(*this);
    frame.bytes_.resize(std::max<std::size_t>(frame.bytes_.size(), 2));
    frame.bytes_[0] = static_cast<char>(stx);
    frame.bytes_[1] = static_cast<char>(frame.bytes_.size() - 2);
    frame.bytes_.push_back(static_cast<char>(frame.checksum()));
    device.write(reinterpret_cast<const unsigned char*>(frame.bytes_.data()),
                 static_cast<unsigned>(frame.bytes_.size()));
}

void SmpteMessage::receive(SerialDevice& device)
{
    bytes_.clear();
    unsigned char byte = 0;
    if (device.read(&byte, 1) != 1)
        failAfterDraining(device, "The device didn't transmit after receiving authorization.");
    if (byte != stx)
        failAfterDraining(device, "The Smpte keyword is not STX");
    unsigned char length = 0;
    if (device.read(&length, 1) != 1)
        failAfterDraining(device, "The message length is missing.");
    unsigned char rest[maximumBody + 1];
    const unsigned wanted = length + 1u;
    if (device.read(rest, wanted) != wanted)
        failAfterDraining(device, "Some of the message data is missing.");
    bytes_.push_back(static_cast<char>(stx));
    bytes_.push_back(static_cast<char>(length));
    bytes_.append(reinterpret_cast<const char*>(rest), length);
    if (checksum() != rest[length])
        failAfterDraining(device, "Incorrect checksum");
}

unsigned char SmpteMessage::checksum() const
{
    unsigned sum = 0;
    for (std::size_t i = 1; i < bytes_.size(); ++i)
        sum += static_cast<unsigned char>(bytes_[i]);
    return static_cast<unsigned char>(0x100 - (sum & 0xFF));
}

void SmpteMessage::parseValues(ParameterValueMap& result) const
{
    const std::size_t n = bytes_.size();
    if (n < 3)
        return;
    const auto at = [this](std::size_t position) { return static_cast<unsigned char>(bytes_[position]); };
    const auto group = static_cast<int8_t>(at(2));
    std::size_t p = 3;
    // Every item moves p on by at least three, and no value reaches past the end.
    while (p + 3 <= n) {
        if (at(p) == longForm) {
            const auto index = static_cast<int8_t>(at(p + 1));
            const std::size_t length = at(p + 2);
            const std::size_t available = std::min(length, n - (p + 3));
            result[ParameterId(group, index)] = ParameterValue(bytes_.substr(p + 3, available));
            p += 3 + length;
        } else {
            const auto index = static_cast<int8_t>(at(p));
            result[ParameterId(group, index)] = ParameterValue(bytes_.substr(p + 1, 2));
            p += 3;
        }
    }
}
