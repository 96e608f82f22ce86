#include "device/UnitLink.h"

#include <cstdio>

#include "device/NetworkDeviceConnection.h"
#include "device/Packet.h"
#include "device/ProtocolAdapter.h"
#include "device/RetryingProtocol.h"
#include "device/SmpteDeviceConnection.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32SerialPort.h"
#include "device/transport/Win32Socket.h"
#include "model/Exceptions.h"

UnitLink::UnitLink(Opening) {}

UnitLink::~UnitLink() = default;

GenericProtocol& UnitLink::protocol() const
{
    if (retrying_ != nullptr) {
        return *retrying_;
    }
    return *adapter_;
}

// Each open function fills a link piece by piece: when a piece throws, the link is
// destroyed on the way out and takes the pieces built so far with it, top first.

std::unique_ptr<UnitLink> openTcpLink(const std::string& address)
{
    auto link = std::make_unique<UnitLink>(UnitLink::Opening());
    link->transport_ = std::make_unique<Win32Socket>(address, UnitLink::unitPort);
    link->bridge_ = std::make_unique<SerialDevice>(link->transport_.get());
    link->packet_ = std::make_unique<Packet>();
    link->connection_ = std::make_unique<NetworkDeviceConnection>(link->bridge_.get(), link->packet_.get());
    link->adapter_ = std::make_unique<ProtocolAdapter>(link->connection_.get());
    return link;
}

std::unique_ptr<UnitLink> openSerialLink(int comPort, const std::string& smpteAddress)
{
    auto link = std::make_unique<UnitLink>(UnitLink::Opening());
    link->transport_ = std::make_unique<Win32SerialPort>(comPort, UnitLink::serialBaudRate);
    link->bridge_ = std::make_unique<SerialDevice>(link->transport_.get());
    int address = parseSmpteAddress(smpteAddress);
    link->connection_ = std::make_unique<SmpteDeviceConnection>(address, link->bridge_.get());
    link->adapter_ = std::make_unique<ProtocolAdapter>(link->connection_.get());
    link->retrying_ = std::make_unique<RetryingProtocol>(link->adapter_.get(), UnitLink::serialTries);
    return link;
}

std::unique_ptr<UnitLink> openOffLineLink(DeviceConnection& store)
{
    auto link = std::make_unique<UnitLink>(UnitLink::Opening());
    link->adapter_ = std::make_unique<ProtocolAdapter>(&store);
    return link;
}

int parseSmpteAddress(const std::string& text)
{
    unsigned address = 0;
    int digitsStart = 0;
    int digitsEnd = 0;
    if (std::sscanf(text.c_str(), " %n%x%n", &digitsStart, &address, &digitsEnd) != 1) {
        throw VormoException("invalid SMPTE address");
    }
    if (digitsEnd - digitsStart > 4 || address > 0xFFFF) {
        throw VormoException("invalid SMPTE address");
    }
    return int(address);
}
