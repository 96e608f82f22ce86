#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/CommandType.h"
#include "device/ErrorTypeRegistry.h"
#include "model/ParameterValue.h"

class GenericPacket;
class SerialDevice;

// One payload of the TCP link. Outgoing messages encode themselves into a
// payload; incoming ones are decoded by the packet and then executed, which is
// what the unit's report does to the application.
class Message {
public:
    Message() = default;
    virtual ~Message() = default;
    Message(const Message&) = delete;
    Message& operator=(const Message&) = delete;

    // cache: the connection's value cache; reply: a fresh packet on which an answer may be sent.
    virtual void execute(ParameterValueMap& cache, SerialDevice& device, GenericPacket& reply);
    virtual const CommandType& type() const = 0;
    // Writes the payload (code byte first); returns the bytes written.
    virtual int encode(unsigned char* buffer, unsigned capacity) const;
    virtual unsigned encodedSize() const { return 1; }
    // Reads a whole payload; returns the bytes consumed.
    virtual int decode(const unsigned char* buffer, unsigned length);
    virtual bool contains(const ParameterId& id) const;
};

// A message whose body is a list of identifier and value pairs.
// Built by the application, its keys are write identifiers; on the wire and in
// sharesAnyId they become the parameters' own identifiers again. Decoded, it
// keeps the identifiers as received.
class ParameterListMessage : public Message {
public:
    void execute(ParameterValueMap& cache, SerialDevice& device, GenericPacket& reply) override;
    int encode(unsigned char* buffer, unsigned capacity) const override;
    unsigned encodedSize() const override;
    int decode(const unsigned char* buffer, unsigned length) override;
    bool contains(const ParameterId& id) const override;
    // Whether the other message names any of this message's parameters.
    virtual bool sharesAnyId(const Message& other) const;

    const ParameterValueMap& entries() const { return entries_; }

protected:
    ParameterValueMap entries_;
};

class PingRequestMessage : public Message {
public:
    const CommandType& type() const override;
    // Answers with a Ping Response on the reply packet.
    void execute(ParameterValueMap& cache, SerialDevice& device, GenericPacket& reply) override;
};

class PingResponseMessage : public Message {
public:
    const CommandType& type() const override;
};

class GetAllMessage : public Message {
public:
    const CommandType& type() const override;
};

class EraseFlashMessage : public Message {
public:
    const CommandType& type() const override;
};

class BurnAndRebootMessage : public Message {
public:
    const CommandType& type() const override;
};

// A body-less request of any kind (the two log requests).
class CommandMessage : public Message {
public:
    explicit CommandMessage(const CommandType& type) : type_(type) {}
    const CommandType& type() const override { return type_; }

private:
    CommandType type_;
};

// One block of a firmware image.
class DownloadDataMessage : public Message {
public:
    DownloadDataMessage(const unsigned char* bytes, std::size_t length) : bytes_(bytes, bytes + length) {}
    const CommandType& type() const override;
    int encode(unsigned char* buffer, unsigned capacity) const override;
    unsigned encodedSize() const override { return 1 + static_cast<unsigned>(bytes_.size()); }
    const std::vector<unsigned char>& bytes() const { return bytes_; }

private:
    std::vector<unsigned char> bytes_;
};

// A message whose body is uninterpreted bytes.
class RawDataMessage : public Message {
public:
    explicit RawDataMessage(const CommandType& type) : type_(type) {}
    const CommandType& type() const override { return type_; }
    int encode(unsigned char* buffer, unsigned capacity) const override;
    unsigned encodedSize() const override { return 1 + static_cast<unsigned>(bytes_.size()); }
    int decode(const unsigned char* buffer, unsigned length) override;
    const std::vector<unsigned char>& bytes() const { return bytes_; }

private:
    CommandType type_;
    std::vector<unsigned char> bytes_;
};

// The unit's event or error log; filed in the value cache under the log identifier.
class LogMessage : public RawDataMessage {
public:
    LogMessage(const CommandType& type, const unsigned char* payload, unsigned length);
    void execute(ParameterValueMap& cache, SerialDevice& device, GenericPacket& reply) override;

    // The cache entry that holds the last log text (0xFFFF).
    static const ParameterId& logId();
};

// The unit's answer to a flash step: code 0 lets the download go on.
class FlashOperationDoneMessage : public Message {
public:
    FlashOperationDoneMessage(const unsigned char* payload, unsigned length);
    const CommandType& type() const override;
    int decode(const unsigned char* buffer, unsigned length) override;
    void execute(ParameterValueMap& cache, SerialDevice& device, GenericPacket& reply) override;
    const ErrorType& result() const { return result_; }

private:
    // A copy, so that the message stays whole if the registry is destroyed first.
    ErrorType result_{-1, ""};
};

// The unit reports a failure; executing it throws HostException.
class ErrorMessage : public Message {
public:
    ErrorMessage(const unsigned char* payload, unsigned length);
    const CommandType& type() const override;
    int decode(const unsigned char* buffer, unsigned length) override;
    void execute(ParameterValueMap& cache, SerialDevice& device, GenericPacket& reply) override;
    const ErrorType& error() const { return error_; }

private:
    ErrorType error_{-1, ""};
};

class SetMessage : public ParameterListMessage {
public:
    // The parameters' own identifiers; they are kept as write identifiers.
    explicit SetMessage(const ParameterValueMap& values);
    // One entry under a write identifier, taken unchanged.
    SetMessage(const ParameterId& writeId, const ParameterValue& value);
    const CommandType& type() const override;
};

// Values the unit reports, on its own (Status) or in answer to Get All.
class StatusMessage : public ParameterListMessage {
public:
    StatusMessage(const unsigned char* payload, unsigned length);
    const CommandType& type() const override { return type_; }
    int decode(const unsigned char* buffer, unsigned length) override;

private:
    CommandType type_;
};
