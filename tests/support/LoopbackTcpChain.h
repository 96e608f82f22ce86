#pragma once

#include <gtest/gtest.h>

#include <chrono>
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

    // Polls until the condition holds for what a poll gives back (the unit's reports
    // arrive on their own); false after ten seconds. Counted in time, not in polls: a
    // poll that finds nothing waits a millisecond only, and on a loaded machine the
    // unit's bytes may take longer than a few hundred of them to come.
    template <typename Condition> bool pollUntil(const ParameterIdList& ids, Condition done)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            ParameterValueMap result;
            adapter_->getValues(ids, result);
            if (done(result))
                return true;
        }
        return false;
    }
    // Polls until a poll throws, and lets the failure through; false if none has.
    bool pollUntilAFailure(const ParameterIdList& ids)
    {
        return pollUntil(ids, [](const ParameterValueMap&) { return false; });
    }

    FakeUnit unit_;
    std::time_t now_ = 50000;
    Packet packet_;
    std::unique_ptr<Win32Socket> socket_;
    std::unique_ptr<SerialDevice> device_;
    std::unique_ptr<NetworkDeviceConnection> connection_;
    std::unique_ptr<ProtocolAdapter> adapter_;
};
