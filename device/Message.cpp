#include "device/Message.h"

#include <algorithm>

#include "device/Packet.h"
#include "model/Exceptions.h"

void Message::execute(ParameterValueMap&, SerialDevice&, GenericPacket&) {}

int Message::encode(unsigned char* buffer, unsigned capacity) const
{
    if (capacity < encodedSize())
        throw VormoException("not enough room for command in buffer");
    return type().write(buffer, capacity);
}

int Message::decode(const unsigned char* buffer, unsigned length)
{
    if (!(CommandType::read(buffer, length) == type()))
        throw VormoException("incorrect command type");
    return 1;
}

bool Message::contains(const ParameterId&) const
{
    return false;
}

void ParameterListMessage::execute(ParameterValueMap& cache, SerialDevice&, GenericPacket&)
{
    for (const auto& [id, value] : entries_)
        cache.insert_or_assign(id, value);
}

int ParameterListMessage::encode(unsigned char* buffer, unsigned capacity) const
{
    unsigned position = static_cast<unsigned>(Message::encode(buffer, capacity));
    for (const auto& [id, value] : entries_) {
        position += static_cast<unsigned>(id.nextGroup().write(buffer + position, capacity - position));
        position += static_cast<unsigned>(value.write(buffer + position, capacity - position));
    }
    return static_cast<int>(position);
}

unsigned ParameterListMessage::encodedSize() const
{
    unsigned size = 1;
    for (const auto& entry : entries_)
        size += 2 + entry.second.encodedSize();
    return size;
}

int ParameterListMessage::decode(const unsigned char* buffer, unsigned length)
{
    unsigned position = static_cast<unsigned>(Message::decode(buffer, length));
    while (position < length) {
        ParameterId id;
        position += static_cast<unsigned>(id.read(buffer + position, length - position));
        ParameterValue value;
        position += static_cast<unsigned>(value.read(buffer + position, length - position));
        entries_.insert_or_assign(id, std::move(value));
    }
    return static_cast<int>(position);
}

bool ParameterListMessage::contains(const ParameterId& id) const
{
    return entries_.find(id) != entries_.end();
}

bool ParameterListMessage::sharesAnyId(const Message& other) const
{
    for (const auto& entry : entries_) {
        if (other.contains(entry.first.nextGroup()))
            return true;
    }
    return false;
}

const CommandType& PingRequestMessage::type() const
{
    return CommandType::fromCode(CommandType::PingRequest);
}

void PingRequestMessage::execute(ParameterValueMap&, SerialDevice& device, GenericPacket& reply)
{
    PingResponseMessage response;
    reply.setMessage(&response);
    reply.send(device);
    reply.setMessage(nullptr);
}

const CommandType& PingResponseMessage::type() const
{
    return CommandType::fromCode(CommandType::PingResponse);
}

const CommandType& GetAllMessage::type() const
{
    return CommandType::fromCode(CommandType::GetAll);
}

const CommandType& EraseFlashMessage::type() const
{
    return CommandType::fromCode(CommandType::EraseFlash);
}

const CommandType& BurnAndRebootMessage::type() const
{
    return CommandType::fromCode(CommandType::BurnAndReboot);
}

const CommandType& DownloadDataMessage::type() const
{
    return CommandType::fromCode(CommandType::DownloadData);
}

int DownloadDataMessage::encode(unsigned char* buffer, unsigned capacity) const
{
    Message::encode(buffer, capacity);
    std::copy(bytes_.begin(), bytes_.end(), buffer + 1);
    return static_cast<int>(1 + bytes_.size());
}

int RawDataMessage::encode(unsigned char* buffer, unsigned capacity) const
{
    Message::encode(buffer, capacity);
    std::copy(bytes_.begin(), bytes_.end(), buffer + 1);
    return static_cast<int>(1 + bytes_.size());
}

int RawDataMessage::decode(const unsigned char* buffer, unsigned length)
{
    Message::decode(buffer, length);
    bytes_.assign(buffer + 1, buffer + length);
    return static_cast<int>(length);
}

LogMessage::LogMessage(const CommandType& type, const unsigned char* payload, unsigned length)
    : RawDataMessage(type)
{
    RawDataMessage::decode(payload, length);
}

void LogMessage::execute(ParameterValueMap& cache, SerialDevice&, GenericPacket&)
{
    cache.insert_or_assign(logId(), ParameterValue(std::string(bytes().begin(), bytes().end())));
}

const ParameterId& LogMessage::logId()
{
    static const ParameterId id(static_cast<int16_t>(-1));
    return id;
}

namespace {
// Built during static initialisation, like the command table.
[[maybe_unused]] const ParameterId& logIdBuiltEarly = LogMessage::logId();
} // namespace

FlashOperationDoneMessage::FlashOperationDoneMessage(const unsigned char* payload, unsigned length)
{
    decode(payload, length);
}

const CommandType& FlashOperationDoneMessage::type() const
{
    return CommandType::fromCode(CommandType::FlashOperationDone);
}

int FlashOperationDoneMessage::decode(const unsigned char* buffer, unsigned length)
{
    Message::decode(buffer, length);
    // Bytes 1 and 2 are not interpreted; the result code follows them.
    if (length <= 3)
        throw FlashException("Missing flash operation success code");
    result_ =
        ErrorTypeRegistry::instance().flashResult(ErrorTypeRegistry::readErrorId(buffer + 3, length - 3));
    return static_cast<int>(length);
}

void FlashOperationDoneMessage::execute(ParameterValueMap&, SerialDevice&, GenericPacket&)
{
    if (result_.code != 0)
        throw FlashException("Error: " + result_.text);
}

ErrorMessage::ErrorMessage(const unsigned char* payload, unsigned length)
{
    decode(payload, length);
}

const CommandType& ErrorMessage::type() const
{
    return CommandType::fromCode(CommandType::Error);
}

int ErrorMessage::decode(const unsigned char* buffer, unsigned length)
{
    Message::decode(buffer, length);
    // Bytes 1 and 2 are not interpreted; the error code follows them. The length
    // is tested before it is reduced, so a short payload cannot wrap around.
    if (length < 5)
        throw VormoException("error type id not found in buffer");
    error_ = ErrorTypeRegistry::instance().error(ErrorTypeRegistry::readErrorId(buffer + 3, length - 3));
    return static_cast<int>(length);
}

void ErrorMessage::execute(ParameterValueMap&, SerialDevice&, GenericPacket&)
{
    throw HostException("Error: " + error_.text);
}

SetMessage::SetMessage(const ParameterValueMap& values)
{
    for (const auto& [id, value] : values)
        entries_.emplace(id.previousGroup(), value);
}

SetMessage::SetMessage(const ParameterId& writeId, const ParameterValue& value)
{
    entries_.emplace(writeId, value);
}

const CommandType& SetMessage::type() const
{
    return CommandType::fromCode(CommandType::Set);
}

StatusMessage::StatusMessage(const unsigned char* payload, unsigned length)
    : type_(CommandType::fromCode(CommandType::Status))
{
    decode(payload, length);
}

int StatusMessage::decode(const unsigned char* buffer, unsigned length)
{
    const CommandType& received = CommandType::read(buffer, length);
    if (!(received == CommandType::fromCode(CommandType::Status) ||
          received == CommandType::fromCode(CommandType::GetAllResponse)))
        throw VormoException("incorrect status command type");
    type_ = received;
    return ParameterListMessage::decode(buffer, length);
}
