#include "device/transport/ByteQueue.h"

#include <algorithm>

#include "model/Exceptions.h"

ByteQueue::ByteQueue(std::size_t capacity, int producerWaitMs)
    : producerWait_(std::max(producerWaitMs, 0)), capacity_(std::max<std::size_t>(capacity, 1))
{
}

bool ByteQueue::push(const unsigned char* bytes, std::size_t count)
{
    std::unique_lock lock(mutex_);
    while (count > 0) {
        if (bytes_.size() >= capacity_) {
            if (!room_.wait_for(lock, producerWait_,
                                [this] { return stopped_ || bytes_.size() < capacity_; }))
                throw VormoException("queue full");
        }
        if (stopped_)
            return false;
        const std::size_t room = std::min(count, capacity_ - bytes_.size());
        bytes_.insert(bytes_.end(), bytes, bytes + room);
        bytes += room;
        count -= room;
        data_.notify_one();
    }
    return !stopped_;
}

std::size_t ByteQueue::takeLocked(unsigned char* buffer, std::size_t count)
{
    const std::size_t taken = std::min(count, bytes_.size());
    std::copy_n(bytes_.begin(), taken, buffer);
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(taken));
    if (taken > 0)
        room_.notify_one();
    return taken;
}

bool ByteQueue::pop(unsigned char& byte)
{
    std::lock_guard lock(mutex_);
    return takeLocked(&byte, 1) == 1;
}

bool ByteQueue::popExactly(unsigned char* buffer, std::size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    if (bytes_.size() < count) {
        if (timeout <= std::chrono::milliseconds::zero())
            return false;
        // A count above the capacity can never be met: it waits out the time-out like any other shortfall.
        if (!data_.wait_for(lock, timeout, [&] { return bytes_.size() >= count; }))
            return false;
    }
    takeLocked(buffer, count);
    return true;
}

std::size_t ByteQueue::count() const
{
    std::lock_guard lock(mutex_);
    return bytes_.size();
}

void ByteQueue::stop()
{
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    room_.notify_all();
}
