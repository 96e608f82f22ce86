#include "support/FakeUnit.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace unitframes {

std::string frame(const std::string& payload)
{
    const uint32_t length = static_cast<uint32_t>(payload.size() + 4);
    std::string framed;
    for (int shift = 24; shift >= 0; shift -= 8)
        framed.push_back(static_cast<char>((length >> shift) & 0xFF));
    return framed + payload;
}

std::string entries(const ParameterValueMap& values)
{
    std::string body;
    for (const auto& [id, value] : values) {
        const uint16_t number = static_cast<uint16_t>(id.toInt());
        body.push_back(static_cast<char>(number >> 8));
        body.push_back(static_cast<char>(number & 0xFF));
        if (value.size() == 2) {
            body.push_back('\x00');
        } else {
            body.push_back('\x01');
            body.push_back(static_cast<char>(value.size()));
        }
        body += value.toString();
    }
    return body;
}

std::string status(const ParameterValueMap& values, uint8_t code)
{
    std::string frame(1, static_cast<char>(code));
    frame += entries(values);
    return frame;
}

namespace {
std::string codeMessage(uint8_t command, int16_t code)
{
    const uint16_t number = static_cast<uint16_t>(code);
    return bytes({command, 0, 0, number >> 8, number & 0xFF});
}
} // namespace

std::string error(int16_t code)
{
    return codeMessage(8, code);
}

std::string flashDone(int16_t result)
{
    return codeMessage(12, result);
}

std::string log(uint8_t code, const std::string& text)
{
    return std::string(1, static_cast<char>(code)) + text;
}

ParameterValueMap parseEntries(const std::string& payload)
{
    ParameterValueMap values;
    std::size_t at = 1;
    auto byte = [&](std::size_t i) {
        if (i >= payload.size())
            throw std::runtime_error("fake unit: entries end early");
        return static_cast<unsigned char>(payload[i]);
    };
    while (at < payload.size()) {
        const ParameterId id(static_cast<int16_t>((byte(at) << 8) | byte(at + 1)));
        const unsigned char tag = byte(at + 2);
        std::size_t length = 2;
        std::size_t start = at + 3;
        if (tag == 1) {
            length = byte(at + 3);
            start = at + 4;
        } else if (tag != 0) {
            throw std::runtime_error("fake unit: bad value tag");
        }
        if (start + length > payload.size())
            throw std::runtime_error("fake unit: value ends early");
        values[id] = ParameterValue(payload.substr(start, length));
        at = start + length;
    }
    return values;
}

std::string bytes(std::initializer_list<int> values)
{
    std::string result;
    for (int value : values)
        result.push_back(static_cast<char>(value & 0xFF));
    return result;
}

} // namespace unitframes

std::vector<std::string> FakeUnitEngine::answer(const std::string& payload)
{
    received.push_back(payload);
    if (payload.empty())
        return {};
    if (errorOnNextMessage) {
        const int16_t code = *errorOnNextMessage;
        errorOnNextMessage.reset();
        return {unitframes::error(code)};
    }
    switch (static_cast<unsigned char>(payload[0])) {
    case 0: // Ping Request
        return answerPings ? std::vector<std::string>{unitframes::bytes({1})} : std::vector<std::string>{};
    case 2: { // Set
        ParameterValueMap values = unitframes::parseEntries(payload);
        std::vector<std::string> replies;
        for (int i = 0; i < unrelatedStatusesPerSet; ++i)
            replies.push_back(unitframes::status({{ParameterId(0x3D06), ParameterValue(i % 100)}}));
        for (const auto& [id, value] : values)
            store[id] = value;
        if (confirmSets)
            replies.push_back(unitframes::status(values));
        return replies;
    }
    case 3: // GetAll
        return answerGetAll ? std::vector<std::string>{unitframes::status(store, 15)}
                            : std::vector<std::string>{};
    case 9:  // Erase Flash
    case 11: // Burn And Reboot
        return {unitframes::flashDone(flashResult)};
    case 10: // Download Data
        flashBlocks.push_back(payload.substr(1));
        return {unitframes::flashDone(flashResult)};
    case 16: // Get Event Log
        return {unitframes::log(13, eventLog)};
    case 17: // Get Error Log
        return {unitframes::log(14, errorLog)};
    default:
        return {};
    }
}

std::size_t FakeUnitEngine::countReceived(uint8_t code) const
{
    std::size_t count = 0;
    for (const std::string& payload : received)
        count += !payload.empty() && static_cast<unsigned char>(payload[0]) == code ? 1 : 0;
    return count;
}

void FakeUnitLink::write(const unsigned char* bytes, unsigned count)
{
    writes.emplace_back(reinterpret_cast<const char*>(bytes), count);
    outgoing_.append(reinterpret_cast<const char*>(bytes), count);
    // Answer every whole frame written so far.
    while (outgoing_.size() >= 4) {
        const uint32_t length = (static_cast<uint32_t>(static_cast<unsigned char>(outgoing_[0])) << 24) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(outgoing_[1])) << 16) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(outgoing_[2])) << 8) |
                                static_cast<unsigned char>(outgoing_[3]);
        if (length < 4)
            throw std::runtime_error("fake unit: frame length below 4");
        if (outgoing_.size() < length)
            break;
        const std::string payload = outgoing_.substr(4, length - 4);
        outgoing_.erase(0, length);
        for (const std::string& reply : unit.answer(payload))
            pushFrame(reply);
    }
}

unsigned FakeUnitLink::read(unsigned char* buffer, unsigned count)
{
    if (beforeRead)
        beforeRead(*this);
    if (incoming.size() < count && !partialReads)
        return 0;
    const unsigned taken = std::min<unsigned>(count, static_cast<unsigned>(incoming.size()));
    for (unsigned i = 0; i < taken; ++i) {
        buffer[i] = incoming.front();
        incoming.pop_front();
    }
    return taken;
}

namespace {

class AddressInUse : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace

FakeUnit::FakeUnit(std::string address, uint16_t port) : address_(std::move(address))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0)
        throw std::runtime_error("fake unit: socket failed");
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(port);
    if (::inet_pton(AF_INET, address_.c_str(), &where.sin_addr) != 1 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
        ::listen(listener_, 4) != 0) {
        const int error = errno;
        ::close(listener_);
        const std::string text = "fake unit: cannot listen on " + address_ + ": " + std::strerror(error);
        if (error == EADDRINUSE)
            throw AddressInUse(text);
        throw std::runtime_error(text);
    }
    socklen_t size = sizeof where;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&where), &size);
    port_ = ntohs(where.sin_port);
    thread_ = std::thread([this] { serve(); });
}

std::unique_ptr<FakeUnit> FakeUnit::onFreeLoopbackAddress(uint16_t port)
{
    // Addresses in 127.200.0.0/16, starting where this process's number points, so that
    // copies running at once mostly start apart and step past the few they share.
    constexpr unsigned addresses = 254 * 256;
    static std::atomic<unsigned> next{static_cast<unsigned>(::getpid()) * 37 % addresses};
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        const unsigned n = next++ % addresses;
        const std::string address =
            "127.200." + std::to_string(n / 254) + "." + std::to_string(n % 254 + 1);
        try {
            return std::make_unique<FakeUnit>(address, port);
        } catch (const AddressInUse&) {
        }
    }
    throw std::runtime_error("fake unit: no free loopback address for port " + std::to_string(port));
}

FakeUnit::~FakeUnit()
{
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

void FakeUnit::serve()
{
    while (!stop_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 20) <= 0)
            continue;
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0)
            continue;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            connection_ = connection;
        }
        ++connections_;
        changed_.notify_all();
        talk(connection);
        std::lock_guard<std::mutex> lock(mutex_);
        closeConnectionLocked();
        changed_.notify_all();
    }
}

void FakeUnit::talk(int connection)
{
    std::string pending;
    char chunk[4096];
    while (!stop_) {
        pollfd waiting{connection, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, 20);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (connection_ != connection)
                return; // dropped by the test
        }
        if (ready <= 0)
            continue;
        const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
        if (got <= 0)
            return;
        bytesReceived_ += static_cast<uint64_t>(got);
        pending.append(chunk, static_cast<std::size_t>(got));
        while (pending.size() >= 4) {
            const uint32_t length = (static_cast<uint32_t>(static_cast<unsigned char>(pending[0])) << 24) |
                                    (static_cast<uint32_t>(static_cast<unsigned char>(pending[1])) << 16) |
                                    (static_cast<uint32_t>(static_cast<unsigned char>(pending[2])) << 8) |
                                    static_cast<unsigned char>(pending[3]);
            if (length < 4)
                return; // a frame the unit cannot read: hang up
            if (pending.size() < length)
                break;
            const std::string payload = pending.substr(4, length - 4);
            pending.erase(0, length);
            std::lock_guard<std::mutex> lock(mutex_);
            if (dropAfter_ > 0 && --dropAfter_ == 0) {
                engine_.received.push_back(payload);
                dropAfter_ = -1;
                changed_.notify_all();
                return; // the serving loop closes the connection
            }
            for (const std::string& reply : engine_.answer(payload))
                sendLocked(unitframes::frame(reply));
            changed_.notify_all();
        }
    }
}

bool FakeUnit::sendLocked(const std::string& bytes)
{
    if (connection_ < 0)
        return false;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t wrote = ::send(connection_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (wrote <= 0)
            return false;
        sent += static_cast<std::size_t>(wrote);
    }
    bytesSent_ += bytes.size();
    ++framesSent_;
    return true;
}

void FakeUnit::closeConnectionLocked()
{
    if (connection_ >= 0) {
        ::close(connection_);
        connection_ = -1;
    }
}

bool FakeUnit::send(const std::string& payload)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return sendLocked(unitframes::frame(payload));
}

bool FakeUnit::sendRaw(const std::string& bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return sendLocked(bytes);
}

void FakeUnit::dropAfter(int messages)
{
    std::lock_guard<std::mutex> lock(mutex_);
    dropAfter_ = messages;
}

void FakeUnit::disconnect()
{
    // Only the serving thread closes the descriptor; this ends its receive.
    std::lock_guard<std::mutex> lock(mutex_);
    if (connection_ >= 0)
        ::shutdown(connection_, SHUT_RDWR);
}

bool FakeUnit::waitForReceived(std::size_t count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return engine_.received.size() >= count; });
}

bool FakeUnit::waitForConnection(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return connection_ >= 0; });
}

bool FakeUnit::waitForHangUp(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return connection_ < 0; });
}

std::vector<std::string> FakeUnit::received()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return engine_.received;
}

std::vector<const GroupCatalogue*> unitCatalogueGroups()
{
    return {&catalogueGroup01(), &catalogueGroup03(), &catalogueGroup05(), &catalogueGroup07(),
            &catalogueGroup09(), &catalogueGroup0B(), &catalogueGroup0D(), &catalogueGroup0F(),
            &catalogueGroup11(), &catalogueGroup13(), &catalogueGroup15(), &catalogueGroup17(),
            &catalogueGroup19(), &catalogueGroup1B(), &catalogueGroup1D(), &catalogueGroup1F(),
            &catalogueGroup21(), &catalogueGroup23(), &catalogueGroup25(), &catalogueGroup27(),
            &catalogueGroup29(), &catalogueGroup2B(), &catalogueGroup2D(), &catalogueGroup33(),
            &catalogueGroup35(), &catalogueGroup37(), &catalogueGroup3D()};
}

ParameterValueMap unitCatalogueDefaults()
{
    ParameterValueMap values;
    for (const GroupCatalogue* group : unitCatalogueGroups()) {
        for (const ParameterDefinition& row : *group)
            values[ParameterId(static_cast<int16_t>(row.id))] = row.defaultValue;
    }
    return values;
}

std::vector<uint8_t> unitPollSchedule()
{
    const uint8_t recurring[5] = {0x27, 0x15, 0x2B, 0x13, 0};
    std::vector<uint8_t> schedule;
    for (unsigned group = 0x01; group <= 0x43; group += 2) {
        if (recurring[(group >> 1) % 5] != 0)
            schedule.push_back(recurring[(group >> 1) % 5]);
        schedule.push_back(static_cast<uint8_t>(group));
    }
    return schedule;
}
