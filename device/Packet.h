#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "device/Message.h"

class SerialDevice;

// One frame of the TCP link: a 4-byte big-endian length that counts itself,
// then the payload (command code and body).
class GenericPacket {
public:
    virtual ~GenericPacket() = default;

    // A new empty packet of the same kind.
    virtual std::unique_ptr<GenericPacket> create() = 0;
    // Reads one frame; false when none began within the device's read time-out.
    virtual bool receive(SerialDevice& device) = 0;
    virtual void send(SerialDevice& device) = 0;
    // Encodes the message into the packet; the caller keeps it alive until sent. Null empties the packet.
    virtual void setMessage(Message* message) = 0;
    // The message the packet holds, decoding the received payload on first call.
    virtual Message* decodeMessage() = 0;
    virtual uint32_t length() const = 0;
};

class Packet : public GenericPacket {
public:
    // The receiver's limit on a payload; anything longer is refused before allocation.
    static constexpr uint32_t maximumPayload = 16384;
    // The read time-out that receive leaves in force once a length has arrived.
    static constexpr int payloadTimeoutMs = 10000;

    explicit Packet(Message* message = nullptr);
    ~Packet() override;
    Packet(const Packet&) = delete;
    Packet& operator=(const Packet&) = delete;

    std::unique_ptr<GenericPacket> create() override;
    bool receive(SerialDevice& device) override;
    void send(SerialDevice& device) override;
    void setMessage(Message* message) override;
    Message* decodeMessage() override;
    uint32_t length() const override { return length_; }

    const std::vector<unsigned char>& payload() const { return payload_; }

private:
    void release();

    Message* message_ = nullptr;
    std::unique_ptr<Message> owned_; // set when the packet decoded the message itself
    std::vector<unsigned char> payload_;
    uint32_t length_ = 0;
};
