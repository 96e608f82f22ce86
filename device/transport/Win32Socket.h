#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "device/transport/ByteQueue.h"
#include "device/transport/SerialDeviceImplementation.h"

// A TCP client connection. A read thread of its own receives the stream into a
// byte queue; reads on the caller's thread take exactly the bytes they ask for, or
// none when they do not arrive within the read time-out.
class Win32Socket : public SerialDeviceImplementation {
public:
    // Connects (giving up after connectTimeoutMs) and starts the read thread; throws
    // VormoException on any failure, leaving no thread or socket behind. The queue
    // settings are fixed for the application; tests may shrink them.
    Win32Socket(const std::string& host, uint16_t port,
                std::size_t queueCapacity = ByteQueue::defaultCapacity,
                int producerWaitMs = ByteQueue::defaultProducerWaitMs);
    ~Win32Socket() override;

    Win32Socket(const Win32Socket&) = delete;
    Win32Socket& operator=(const Win32Socket&) = delete;

    void setReadTimeout(int milliseconds) override;
    void write(const unsigned char* bytes, unsigned count) override;
    unsigned read(unsigned char* buffer, unsigned count) override;

    static constexpr int connectTimeoutMs = 5000;
    static constexpr int startTimeoutMs = 1000;

private:
    void createSocket();
    void resolveAndConnect();
    void startReadThread();
    void stopReadThread();
    void readThread();

    int socket_ = -1;
    std::string host_;
    uint16_t port_;
    unsigned readTimeoutMs_ = 0;
    ByteQueue queue_;
    std::thread thread_;
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    bool started_ = false;
};
