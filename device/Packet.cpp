#include "device/Packet.h"

#include <string>
#include <utility>
#include <vector>

#include "device/transport/SerialDevice.h"
#include "model/Exceptions.h"

Packet::Packet(Message* message)
{
    setMessage(message);
}

Packet::~Packet()
{
    release();
}

void Packet::release()
{
    owned_.reset();
    message_ = nullptr;
    payload_ = std::vector<unsigned char>();
    length_ = 0;
}

std::unique_ptr<GenericPacket> Packet::create()
{
    return std::make_unique<Packet>();
}

void Packet::setMessage(Message* message)
{
    release();
    if (message == nullptr)
        return;
    // Encode aside first: a message that cannot be encoded leaves the packet empty.
    const uint32_t length = message->encodedSize();
    std::vector<unsigned char> payload(length);
    message->encode(payload.data(), length);
    message_ = message;
    payload_ = std::move(payload);
    length_ = length;
}

void Packet::send(SerialDevice& device)
{
    const uint32_t frameLength = length_ + 4;
    const unsigned char header[4] = {
        static_cast<unsigned char>(frameLength >> 24), static_cast<unsigned char>(frameLength >> 16),
        static_cast<unsigned char>(frameLength >> 8), static_cast<unsigned char>(frameLength)};
    device.write(header, sizeof header);
    device.write(payload_.data(), length_);
}

bool Packet::receive(SerialDevice& device)
{
    release();
    unsigned char header[4] = {};
    const unsigned got = device.read(header, sizeof header);
    if (got == 0)
        return false;
    if (got < sizeof header)
        throw ProtocolException("error receiving packet length value: numBytesReceived==" +
                                std::to_string(got));
    device.setTimeout(payloadTimeoutMs);

    const uint32_t frameLength = (static_cast<uint32_t>(header[0]) << 24) |
                                 (static_cast<uint32_t>(header[1]) << 16) |
                                 (static_cast<uint32_t>(header[2]) << 8) | header[3];
    if (frameLength < 4)
        throw ProtocolException("packet size too small: " + std::to_string(frameLength));
    const uint32_t payloadLength = frameLength - 4;
    if (payloadLength > maximumPayload)
        throw ProtocolException("packet size too large: " + std::to_string(payloadLength));

    std::vector<unsigned char> payload(payloadLength);
    if (device.read(payload.data(), payloadLength) != payloadLength)
        throw ProtocolException("packet length received but packet data missing");
    payload_ = std::move(payload);
    length_ = payloadLength;
    return true;
}

Message* Packet::decodeMessage()
{
    if (message_ != nullptr)
        return message_;
    const unsigned char* bytes = payload_.data();
    const CommandType& type = CommandType::read(bytes, length_);
    std::unique_ptr<Message> message;
    switch (type.code()) {
    case CommandType::PingRequest:
        message = std::make_unique<PingRequestMessage>();
        message->decode(bytes, length_);
        break;
    case CommandType::PingResponse:
        message = std::make_unique<PingResponseMessage>();
        message->decode(bytes, length_);
        break;
    case CommandType::Status:
    case CommandType::GetAllResponse:
        message = std::make_unique<StatusMessage>(bytes, length_);
        break;
    case CommandType::Error:
        message = std::make_unique<ErrorMessage>(bytes, length_);
        break;
    case CommandType::FlashOperationDone:
        message = std::make_unique<FlashOperationDoneMessage>(bytes, length_);
        break;
    case CommandType::DownloadData:
        message = std::make_unique<DownloadDataMessage>(bytes, length_);
        break;
    case CommandType::EventLog:
    case CommandType::ErrorLog:
        message = std::make_unique<LogMessage>(type, bytes, length_);
        break;
    default:
        throw VormoException("unrecognized message");
    }
    owned_ = std::move(message);
    message_ = owned_.get();
    return message_;
}
