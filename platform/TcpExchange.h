#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The numeric IPv4 addresses of a host name as text, the first to be used; none when
// the name is not found. It runs on a thread of its own, which nothing waits for.
using NameLookup = std::function<std::vector<std::string>(const std::string& host)>;

// Replaces the system's name lookup for the exchanges started from now on (tests give
// one that blocks or never answers); an empty function gives the system's back.
void setNameLookup(NameLookup lookup);

// One short TCP exchange: connect, send the request, read what comes back.
struct TcpRequest {
    // A dotted IPv4 address, or a name looked up as the unit's own link does it.
    std::string host;
    uint16_t port = 0;
    // Sent in one write once connected.
    std::string bytes;
    // Bytes read at most, counting every byte the peer sends.
    std::size_t byteLimit = 256 * 1024;
    // Milliseconds without a byte, once the request is sent, that end the reply.
    int idleLimitMs = 1000;
    // Milliseconds until the connection is made (name lookup included).
    int connectLimitMs = 5000;
    // Milliseconds for the whole exchange, whatever the peer does.
    int timeLimitMs = 10000;
};

struct TcpReply {
    enum class End {
        Closed,    // the peer closed the connection after its reply
        Idle,      // nothing more came within the idle limit
        ByteLimit, // the bytes reached the limit; more were coming
        TimeLimit, // the exchange took its whole time
        Failed,    // no connection, or the connection broke
    };
    // What was read, as far as it came.
    std::string bytes;
    End end = End::Failed;
    // What failed and why, for every end but Closed and Idle.
    std::string error;

    // The reply ended where the peer ended it, not where a limit or a failure cut it.
    bool whole() const { return end == End::Closed || end == End::Idle; }
};

// One TCP exchange that does not stop the window: it runs on the window's own message
// loop, and the reply is handed to the callback from there (never from within the
// constructor). Whatever the peer does, it ends at its limits with the connection
// closed at once; no thread reads on behind it.
class TcpExchange {
public:
    using Answer = std::function<void(const TcpReply& reply)>;

    TcpExchange(const TcpRequest& request, Answer answer);
    // Ends an exchange still running at once: the connection is closed, a name lookup
    // under way is left to itself, and the callback is never called. The callback
    // itself may destroy the TcpExchange.
    ~TcpExchange();
    TcpExchange(const TcpExchange&) = delete;
    TcpExchange& operator=(const TcpExchange&) = delete;

    // The reply has not been handed over yet.
    bool running() const;

private:
    struct Exchange;
    std::unique_ptr<Exchange> exchange_;
};
