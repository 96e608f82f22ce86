#pragma once

#include <string>
#include <vector>

#include "model/GenericProtocol.h"

class SerialDevice;

// One frame of the serial byte protocol: STX, LEN and the body. LEN is filled in
// and the checksum appended only when the frame is sent; a received frame keeps
// STX, LEN and the body without the checksum.
class SmpteMessage {
public:
    static constexpr unsigned char stx = 0x02;
    static constexpr unsigned char longForm = 0xFF;
    static constexpr std::size_t maximumBody = 255;

    SmpteMessage() = default;

    // A new request: STX and a place for LEN.
    static SmpteMessage start();
    // A set request under a write identifier.
    static SmpteMessage forSet(const ParameterId& writeId, const ParameterValue& value);
    // One get request per group, groups in ascending (signed) order, identifiers in list order.
    static std::vector<SmpteMessage> requestsByGroup(const ParameterIdList& ids);

    // The first identifier brings its group byte, every further one only its index.
    void appendId(const ParameterId& id);

    // Throws VormoException when the body does not fit the one-byte LEN.
    void checkFramable() const;
    // Writes the whole frame with one write.
    void send(SerialDevice& device) const;
    // Reads one frame; a missing or damaged frame drains what still comes and
    // throws ProtocolException.
    void receive(SerialDevice& device);

    // The negated sum of every byte after STX.
    unsigned char checksum() const;
    // Stores the items of a received reply under (group, index).
    void parseValues(ParameterValueMap& result) const;

    const std::string& bytes() const { return bytes_; }

private:
    explicit SmpteMessage(std::string bytes) : bytes_(std::move(bytes)) {}

    std::string bytes_;
};
