#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

// A bounded first-in-first-out queue of bytes between one producer (a socket's
// read thread) and one consumer (the user-interface thread).
class ByteQueue {
public:
    // Must hold the largest frame the packet layer allows (16384 payload bytes plus
    // their 4-byte length), since a read takes all the bytes it asks for or none.
    static constexpr std::size_t defaultCapacity = 32768;
    static constexpr int defaultProducerWaitMs = 10000;

    explicit ByteQueue(std::size_t capacity = defaultCapacity, int producerWaitMs = defaultProducerWaitMs);

    ByteQueue(const ByteQueue&) = delete;
    ByteQueue& operator=(const ByteQueue&) = delete;

    // Producer side. Appends the bytes in order, waiting for room while the queue is
    // full. Throws VormoException "queue full" when no room appears within the
    // producer wait; returns false, without queuing the rest, once stop() was called.
    bool push(unsigned char byte) { return push(&byte, 1); }
    bool push(const unsigned char* bytes, std::size_t count);

    // Consumer side. Takes the oldest byte; false when the queue is empty.
    bool pop(unsigned char& byte);

    // Consumer side. Waits until at least count bytes are queued or the time-out has
    // passed, then takes exactly count bytes (true) or nothing (false).
    bool popExactly(unsigned char* buffer, std::size_t count, std::chrono::milliseconds timeout);

    std::size_t count() const;
    std::size_t capacity() const { return capacity_; }

    // Wakes and turns away a producer waiting for room, now and from now on.
    void stop();

private:
    std::size_t takeLocked(unsigned char* buffer, std::size_t count);

    const std::chrono::milliseconds producerWait_;
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable room_;
    std::condition_variable data_;
    std::deque<unsigned char> bytes_;
    bool stopped_ = false;
};
