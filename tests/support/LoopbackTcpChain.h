#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

#include "device/NetworkDeviceConnection.h"
#include "device/Packet.h"
#include "device/ProtocolAdapter.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32Socket.h"
#include "support/FakeUnit.h"

// The whole chain of a TCP connection: socket, bridge, message connection and
// adapter, against a fake unit on loopback, on a clock the test moves. It is built
// in two steps, so that a test can act between the socket and the connection.
class LoopbackTcpChain : public ::testing::Test {
protected:
    // The socket and the bridge over it.
    void buildSocket(std::size_t queueCapacity = ByteQueue::defaultCapacity,
                     int producerWaitMs = ByteQueue::defaultProducerWaitMs)
    {
        socket_ = std::make_unique<Win32Socket>(unit_.address(), unit_.port(), queueCapacity, producerWaitMs);
        device_ = std::make_unique<SerialDevice>(socket_.get());
    }

    // The message connection over the open socket (runs the Get All exchange).
    void startConnection()
    {
        connection_ = std::make_unique<NetworkDeviceConnection>(device_.get(), &packet_, [this] { return now_; });
        adapter_ = std::make_unique<ProtocolAdapter>(connection_.get());
    }

    FakeUnit unit_;
    std::time_t now_ = 50000;
    Packet packet_;
    std::unique_ptr<Win32Socket> socket_;
    std::unique_ptr<SerialDevice> device_;
    std::unique_ptr<NetworkDeviceConnection> connection_;
    std::unique_ptr<ProtocolAdapter> adapter_;
};
