#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device/transport/SerialDevice.h"
#include "model/ParameterValue.h"
#include "unit/catalogue/Catalogue.h"

// Payloads of the unit's TCP protocol, built and parsed here independently of
// the application's message classes, so that the tests compare two readings of
// the protocol rather than one with itself.
namespace unitframes {
std::string frame(const std::string& payload); // prefixes the 4-byte length that counts itself
std::string entries(const ParameterValueMap& values);
std::string status(const ParameterValueMap& values, uint8_t code = 4); // 15: Get All Response
std::string error(int16_t code);
std::string flashDone(int16_t result);
std::string log(uint8_t code, const std::string& text); // 13 event log, 14 error log
// The identifier and value pairs of a Set or Status payload, after the code byte.
ParameterValueMap parseEntries(const std::string& payload);
std::string bytes(std::initializer_list<int> values);
} // namespace unitframes

// What the fake unit does with each payload it receives; no I/O of its own.
class FakeUnitEngine {
public:
    ParameterValueMap store;
    std::string eventLog = "power on";
    std::string errorLog = "no errors";
    bool answerGetAll = true;
    bool answerPings = true;
    // Answer a Set with a Status of the parameters just set.
    bool confirmSets = true;
    // Status messages about a parameter not in the Set, sent before the confirmation.
    int unrelatedStatusesPerSet = 0;
    // Result code of every Flash Operation Done.
    int16_t flashResult = 0;
    // Answer the next message with an Error message of this code instead.
    std::optional<int16_t> errorOnNextMessage;

    // Every payload received, in order, and the bodies of the Download Data messages.
    std::vector<std::string> received;
    std::vector<std::string> flashBlocks;

    // Payloads to send back for one received payload.
    std::vector<std::string> answer(const std::string& payload);
    std::size_t countReceived(uint8_t code) const;
};

// A SerialDevice whose far end is a FakeUnitEngine in the same thread: every
// whole frame written is answered at once into the incoming bytes. Reads behave
// like the socket transport (all n bytes or none) unless partialReads is set.
// Records every time-out set and every write.
class FakeUnitLink : public SerialDevice {
public:
    FakeUnitLink() : SerialDevice(nullptr) {}

    FakeUnitEngine unit;
    bool partialReads = false;
    std::deque<unsigned char> incoming;
    std::vector<int> timeouts;
    std::vector<std::string> writes;
    // Called before every read, e.g. to let the unit send something unasked.
    std::function<void(FakeUnitLink&)> beforeRead;

    void push(const std::string& bytes) { incoming.insert(incoming.end(), bytes.begin(), bytes.end()); }
    void pushFrame(const std::string& payload) { push(unitframes::frame(payload)); }

    void setTimeout(int milliseconds) override { timeouts.push_back(milliseconds); }
    void write(const unsigned char* bytes, unsigned count) override;
    unsigned read(unsigned char* buffer, unsigned count) override;

private:
    std::string outgoing_;
};

// The fake unit on a loopback TCP address. It accepts one connection at a time
// on its own thread and answers through a FakeUnitEngine. Several can run at
// once on different loopback addresses (127.0.0.2, ...), on a given port or on
// an ephemeral one (port 0).
class FakeUnit {
public:
    explicit FakeUnit(std::string address = "127.0.0.1", uint16_t port = 0);
    ~FakeUnit();

    // A fake unit at `port` on a loopback address that no other listener holds there.
    // Tests that need the unit's own port take their address from this, so several
    // copies of a test (or of the suite) can run at once without taking each other's.
    static std::unique_ptr<FakeUnit> onFreeLoopbackAddress(uint16_t port);
    FakeUnit(const FakeUnit&) = delete;
    FakeUnit& operator=(const FakeUnit&) = delete;

    const std::string& address() const { return address_; }
    uint16_t port() const { return port_; }

    // Runs f on the engine under the unit's lock.
    template <typename F> auto withEngine(F f)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(engine_);
    }

    // Sends a payload unasked on the current connection (false when none).
    bool send(const std::string& payload);
    bool sendStatus(const ParameterValueMap& values) { return send(unitframes::status(values)); }
    bool sendError(int16_t code) { return send(unitframes::error(code)); }
    // Sends bytes as they are, framing included or not.
    bool sendRaw(const std::string& bytes);

    // Closes the connection after `messages` more payloads have been received,
    // without answering the last one.
    void dropAfter(int messages);
    void disconnect();

    // Waits until `count` payloads in all have been received; false on time-out.
    bool waitForReceived(std::size_t count, int timeoutMs = 5000);
    bool waitForConnection(int timeoutMs = 5000);
    // Waits until the current connection has ended (closed or shut down by the client,
    // or dropped); false on time-out.
    bool waitForHangUp(int timeoutMs = 5000);
    std::vector<std::string> received();
    int connections() const { return connections_.load(); }
    uint64_t bytesReceived() const { return bytesReceived_.load(); }
    uint64_t bytesSent() const { return bytesSent_.load(); }
    uint64_t framesSent() const { return framesSent_.load(); }

private:
    void serve();
    void talk(int connection);
    bool sendLocked(const std::string& bytes);
    void closeConnectionLocked();

    std::string address_;
    uint16_t port_ = 0;
    int listener_ = -1;
    int connection_ = -1;
    std::mutex mutex_; // guards the engine, the connection and the counters below
    std::condition_variable changed_;
    FakeUnitEngine engine_;
    int dropAfter_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<uint64_t> bytesReceived_{0};
    std::atomic<uint64_t> bytesSent_{0};
    std::atomic<uint64_t> framesSent_{0};
    std::thread thread_;
};

// The catalogue tables of the groups the unit itself holds: all but the application's own 0x43.
std::vector<const GroupCatalogue*> unitCatalogueGroups();

// The factory defaults of every parameter the unit itself holds (every catalogue
// group but the application's own 0x43), to fill a fake unit's store.
ParameterValueMap unitCatalogueDefaults();

// The 62 group numbers of the unit's status poll schedule, in order.
std::vector<uint8_t> unitPollSchedule();
