#pragma once

#include <cstdint>
#include <memory>
#include <string>

class DeviceConnection;
class GenericProtocol;
class Packet;
class ProtocolAdapter;
class RetryingProtocol;
class SerialDevice;
class SerialDeviceImplementation;

// Everything between the parameter set and the unit: the byte transport, the bridge
// over it, the device connection, the adapter and, on a serial link, the retrying
// decorator. No piece owns the one below it, so the link owns them all and lets them
// go from the top down: nothing is used after it is gone. A link is made whole by one
// of the open functions below, or not at all.
class UnitLink {
    // Only the open functions can name it, so only they make links.
    struct Opening {
        explicit Opening() = default;
    };

public:
    static constexpr uint16_t unitPort = 4444;
    static constexpr int serialBaudRate = 115200;
    static constexpr unsigned serialTries = 5;

    explicit UnitLink(Opening);
    ~UnitLink();
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;

    // The protocol at the top of the chain, for the parameter set to talk through.
    GenericProtocol& protocol() const;

    friend std::unique_ptr<UnitLink> openTcpLink(const std::string& address);
    friend std::unique_ptr<UnitLink> openSerialLink(int comPort, const std::string& smpteAddress);
    friend std::unique_ptr<UnitLink> openOffLineLink(DeviceConnection& store);

private:
    // In the order they are built; members go in reverse order, the top first.
    std::unique_ptr<SerialDeviceImplementation> transport_;
    std::unique_ptr<SerialDevice> bridge_;
    std::unique_ptr<Packet> packet_;
    std::unique_ptr<DeviceConnection> connection_;
    std::unique_ptr<ProtocolAdapter> adapter_;
    std::unique_ptr<RetryingProtocol> retrying_;
};

// The TCP link to the unit at the host name or address, port 4444. Connecting and the
// unit's first exchange happen here; any failure throws and leaves nothing open.
std::unique_ptr<UnitLink> openTcpLink(const std::string& address);

// The serial link on COM port comPort (115200 baud) to the unit at the hexadecimal
// SMPTE address, with five tries per request. The port is opened before the address
// is read, so a port that will not open is reported first.
std::unique_ptr<UnitLink> openSerialLink(int comPort, const std::string& smpteAddress);

// The link of off-line mode: only an adapter over the store, which the caller keeps.
std::unique_ptr<UnitLink> openOffLineLink(DeviceConnection& store);

// Reads an SMPTE address: one hexadecimal number after optional white space, anything
// after its digits ignored. The unit's address has 16 bits, and a longer number would
// select another unit, so more than four digits are refused as well as none. Throws
// VormoException "invalid SMPTE address".
int parseSmpteAddress(const std::string& text);
