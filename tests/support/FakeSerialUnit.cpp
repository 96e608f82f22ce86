#include "FakeSerialUnit.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "model/Exceptions.h"

namespace {

unsigned char checksumOf(const std::string& lengthAndBody)
{
    unsigned sum = 0;
    for (char byte : lengthAndBody)
        sum += static_cast<unsigned char>(byte);
    return static_cast<unsigned char>(0x100 - (sum & 0xFF));
}

} // namespace

void ScriptedSerialLine::write(const unsigned char* bytes, unsigned count)
{
    if (failWrites)
        throw VormoException("Error sending serial data.");
    written.append(reinterpret_cast<const char*>(bytes), count);
}

unsigned ScriptedSerialLine::read(unsigned char* buffer, unsigned count)
{
    const std::size_t taken = std::min<std::size_t>(count, incoming.size());
    std::copy_n(incoming.begin(), taken, buffer);
    incoming.erase(0, taken);
    return static_cast<unsigned>(taken);
}

FakeSerialUnit::FakeSerialUnit(int address, int comPort)
{
    termios raw{};
    ::cfmakeraw(&raw);
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = name;
    variable_ = "QZ347_COM" + std::to_string(comPort);
    ::setenv(variable_.c_str(), slavePath_.c_str(), 1);
    select_[0] = poll_[0] = static_cast<unsigned char>((address >> 8) & 0xFF);
    select_[1] = static_cast<unsigned char>(address & 0xFF);
    poll_[1] = static_cast<unsigned char>((address + 1) & 0xFF);
    thread_ = std::thread(&FakeSerialUnit::run, this);
}

FakeSerialUnit::~FakeSerialUnit()
{
    running_ = false;
    thread_.join();
    ::unsetenv(variable_.c_str());
    ::close(master_);
    ::close(slave_);
}

void FakeSerialUnit::setValue(const ParameterId& id, const ParameterValue& value)
{
    std::lock_guard lock(mutex_);
    values_[id] = value;
}

void FakeSerialUnit::setValues(const ParameterValueMap& values)
{
    std::lock_guard lock(mutex_);
    for (const auto& [id, value] : values)
        values_[id] = value;
}

ParameterValue FakeSerialUnit::value(const ParameterId& id) const
{
    std::lock_guard lock(mutex_);
    const auto found = values_.find(id);
    return found != values_.end() ? found->second : ParameterValue();
}

void FakeSerialUnit::answerBusy(int polls)
{
    std::lock_guard lock(mutex_);
    busyPolls_ = polls;
}

void FakeSerialUnit::answerNotYet(int polls)
{
    std::lock_guard lock(mutex_);
    notYetPerReply_ = polls;
}

void FakeSerialUnit::corruptChecksums(int replies)
{
    std::lock_guard lock(mutex_);
    corruptReplies_ = replies;
}

void FakeSerialUnit::staySilent(int requests)
{
    std::lock_guard lock(mutex_);
    silentRequests_ = requests;
}

void FakeSerialUnit::replaceNextReply(std::string raw)
{
    replaceReplyAfter(0, std::move(raw));
}

void FakeSerialUnit::replaceReplyAfter(int replies, std::string raw)
{
    std::lock_guard lock(mutex_);
    rawReply_ = std::move(raw);
    hasRawReply_ = true;
    repliesBeforeRaw_ = replies;
}

void FakeSerialUnit::trailNextReply(std::string bytes)
{
    std::lock_guard lock(mutex_);
    trailer_ = std::move(bytes);
}

std::size_t FakeSerialUnit::bytesFromHost() const
{
    std::lock_guard lock(mutex_);
    return fromHost_;
}

std::size_t FakeSerialUnit::bytesToHost() const
{
    std::lock_guard lock(mutex_);
    return toHost_;
}

int FakeSerialUnit::requestsSeen() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

bool FakeSerialUnit::waitForRequests(int count, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    return requestSeen_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return requests_ >= count; });
}

void FakeSerialUnit::resetCounters()
{
    std::lock_guard lock(mutex_);
    fromHost_ = toHost_ = 0;
    requests_ = 0;
}

void FakeSerialUnit::run()
{
    std::string pending;
    while (running_) {
        pollfd entry{master_, POLLIN, 0};
        if (::poll(&entry, 1, 10) <= 0 || (entry.revents & POLLIN) == 0)
            continue;
        char chunk[512];
        const ssize_t got = ::read(master_, chunk, sizeof chunk);
        if (got <= 0)
            continue;
        std::lock_guard lock(mutex_);
        fromHost_ += static_cast<std::size_t>(got);
        pending.append(chunk, static_cast<std::size_t>(got));
        handle(pending);
    }
}

// Takes whole units off the front of what the host sent: an address, a frame or a
// control byte. A frame is taken whole, so an 0xFB inside its body is no address.
void FakeSerialUnit::handle(std::string& pending)
{
    for (;;) {
        if (pending.empty())
            return;
        const auto first = static_cast<unsigned char>(pending[0]);
        if (first == 0xFB) {
            if (pending.size() < 3)
                return;
            const auto high = static_cast<unsigned char>(pending[1]);
            const auto low = static_cast<unsigned char>(pending[2]);
            pending.erase(0, 3);
            selected_ = high == select_[0] && low == select_[1];
            if (high == poll_[0] && low == poll_[1])
                onPoll();
        } else if (first == 0x02) {
            if (pending.size() < 2)
                return;
            const std::size_t size = 3 + static_cast<unsigned char>(pending[1]);
            if (pending.size() < size)
                return;
            const std::string frame = pending.substr(0, size);
            pending.erase(0, size);
            if (selected_)
                onRequest(frame);
        } else {
            pending.erase(0, 1);
            if (first == 0x09 && selected_)
                onAuthorize();
        }
    }
}

void FakeSerialUnit::onRequest(const std::string& frame)
{
    ++requests_;
    requestSeen_.notify_all();
    const std::string lengthAndBody = frame.substr(1, frame.size() - 2);
    if (checksumOf(lengthAndBody) != static_cast<unsigned char>(frame.back()))
        return; // a damaged request is not acknowledged
    if (silentRequests_ > 0) {
        --silentRequests_;
        return;
    }
    send(std::string(1, '\x04'));
    const std::string body = frame.substr(2, frame.size() - 3);
    if (body.empty())
        return;
    const auto group = static_cast<int8_t>(body[0]);
    if ((group & 1) == 0) {
        // A set, under the write identifier one group below the parameter's.
        if (body.size() >= 4 && static_cast<unsigned char>(body[1]) == 0xFF) {
            const std::size_t length = static_cast<unsigned char>(body[3]);
            values_[ParameterId(static_cast<int8_t>(group + 1), static_cast<int8_t>(body[2]))] =
                ParameterValue(body.substr(4, length));
        } else if (body.size() == 4) {
            values_[ParameterId(static_cast<int8_t>(group + 1), static_cast<int8_t>(body[1]))] =
                ParameterValue(body.substr(2, 2));
        }
        return;
    }
    std::string reply(1, static_cast<char>(group));
    for (std::size_t i = 1; i < body.size(); ++i) {
        const auto index = static_cast<int8_t>(body[i]);
        const auto found = values_.find(ParameterId(group, index));
        if (found == values_.end())
            continue;
        const std::string& bytes = found->second.toString();
        if (bytes.size() == 2) {
            reply.push_back(static_cast<char>(index));
        } else {
            reply.push_back('\xFF');
            reply.push_back(static_cast<char>(index));
            reply.push_back(static_cast<char>(bytes.size()));
        }
        reply += bytes;
    }
    replyBody_ = reply;
    replyPending_ = true;
    notYetLeft_ = notYetPerReply_;
}

void FakeSerialUnit::onPoll()
{
    char answer = 0x04;
    if (busyPolls_ > 0) {
        --busyPolls_;
        answer = 0x06;
    } else if (replyPending_) {
        if (notYetLeft_ > 0) {
            --notYetLeft_;
            answer = 0x07;
        } else {
            answer = 0x08;
        }
    }
    send(std::string(1, answer));
}

void FakeSerialUnit::onAuthorize()
{
    if (!replyPending_)
        return;
    replyPending_ = false;
    if (hasRawReply_ && repliesBeforeRaw_ > 0) {
        --repliesBeforeRaw_;
    } else if (hasRawReply_) {
        hasRawReply_ = false;
        send(rawReply_);
        return;
    }
    if (replyBody_.size() > 255)
        return; // cannot be framed: the host sees no reply
    std::string lengthAndBody(1, static_cast<char>(replyBody_.size()));
    lengthAndBody += replyBody_;
    auto checksum = checksumOf(lengthAndBody);
    if (corruptReplies_ > 0) {
        --corruptReplies_;
        checksum = static_cast<unsigned char>(checksum + 1);
    }
    send("\x02" + lengthAndBody + static_cast<char>(checksum) + trailer_);
    trailer_.clear();
}

void FakeSerialUnit::send(const std::string& bytes)
{
    toHost_ += bytes.size();
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            return;
        written += static_cast<std::size_t>(n);
    }
}
