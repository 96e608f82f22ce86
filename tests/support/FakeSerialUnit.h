#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

#include "device/transport/SerialDeviceImplementation.h"
#include "model/ParameterValue.h"

// A line without timing: every write is recorded, and reads take from the bytes the
// test has queued as the unit's answers (fewer than asked, or none, when they run out).
class ScriptedSerialLine : public SerialDeviceImplementation {
public:
    void setReadTimeout(int milliseconds) override { timeouts += std::to_string(milliseconds) + ";"; }
    void write(const unsigned char* bytes, unsigned count) override;
    unsigned read(unsigned char* buffer, unsigned count) override;

    // Queues the unit's next answers.
    void answer(const std::string& bytes) { incoming += bytes; }

    std::string written;  // everything the host sent
    std::string incoming; // what reads have not taken yet
    std::string timeouts; // the time-outs set, as "200;"
    bool failWrites = false;
};

// The unit at one SMPTE address on the far end of a pseudo-terminal. It owns the
// master side and points QZ347_COM<n> at the slave, so a Win32SerialPort on COM n
// talks to it. It answers selects and polls of its own address only, acknowledges
// request frames, replies to gets from its value map and files sets in it.
class FakeSerialUnit {
public:
    // How long a host that builds its own chain to this unit waits for each answer. The
    // unit answers at once, but on a loaded machine its thread may wait for a processor
    // longer than the real link's 200 ms: a late answer then counts as none, and a test
    // that expects one particular failure sees another. A wait for silence (the end of
    // a damaged reply, a unit that stays silent) takes this long too, so tests of a
    // silent unit keep the real time-out.
    static constexpr int answerTimeoutMs = 1000;

    explicit FakeSerialUnit(int address, int comPort = 1);
    ~FakeSerialUnit();

    FakeSerialUnit(const FakeSerialUnit&) = delete;
    FakeSerialUnit& operator=(const FakeSerialUnit&) = delete;

    const std::string& slavePath() const { return slavePath_; }

    void setValue(const ParameterId& id, const ParameterValue& value);
    void setValues(const ParameterValueMap& values);
    // What the unit holds for the parameter, or an empty value.
    ParameterValue value(const ParameterId& id) const;

    // Misbehaviour for the next requests or replies.
    void answerBusy(int polls);             // the next polls answer busy
    void answerNotYet(int polls);           // before each reply is ready, this many polls answer "not yet"
    void corruptChecksums(int replies);     // the next replies carry a wrong checksum
    void staySilent(int requests);          // the next request frames get no acknowledge at all
    void replaceNextReply(std::string raw); // the next authorized reply sends these bytes instead
    // The same for the reply after this many more that are answered as usual.
    void replaceReplyAfter(int replies, std::string raw);
    void trailNextReply(std::string bytes); // the next reply frame is followed by these bytes

    // Bytes seen on the line since the last reset, both directions.
    std::size_t bytesFromHost() const;
    std::size_t bytesToHost() const;
    int requestsSeen() const;
    // Waits until the unit has seen `count` request frames since the last reset (a
    // unit that stays silent shows no other sign of them); false on time-out.
    bool waitForRequests(int count, int timeoutMs = 5000);
    void resetCounters();

private:
    void run();
    void handle(std::string& pending);
    void onRequest(const std::string& frame);
    void onPoll();
    void onAuthorize();
    void send(const std::string& bytes);

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string variable_;
    unsigned char select_[2];
    unsigned char poll_[2];

    mutable std::mutex mutex_;
    std::condition_variable requestSeen_;
    ParameterValueMap values_;
    bool selected_ = false;
    bool replyPending_ = false;
    std::string replyBody_;
    int notYetLeft_ = 0;
    int notYetPerReply_ = 0;
    int busyPolls_ = 0;
    int corruptReplies_ = 0;
    int silentRequests_ = 0;
    std::string rawReply_;
    bool hasRawReply_ = false;
    int repliesBeforeRaw_ = 0;
    std::string trailer_;
    std::size_t fromHost_ = 0;
    std::size_t toHost_ = 0;
    int requests_ = 0;

    std::atomic<bool> running_{true};
    std::thread thread_;
};
