#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A small HTTP server for the tests, on loopback only. It listens on a loopback
// address of its own (127.x.y.z, chosen at random, so that servers of tests running
// at the same time never meet) and on the port the client insists on. Each connection
// is served on a thread of its own: the request is read up to its empty line and
// recorded, the reply is sent as set, and the connection is closed, unless the server
// is told to keep it open or to go on sending filler until the client goes away.
// Every byte it sends is counted.
class HttpTestServer {
public:
    explicit HttpTestServer(uint16_t port = 8080);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // The address to connect to, as dotted numbers.
    const std::string& address() const { return address_; }
    uint16_t port() const { return port_; }

    // What every later connection gets back, byte for byte.
    void setReply(const std::string& reply);
    // The reply is sent only this long after the request came.
    void setDelay(int milliseconds);
    // After the reply the connection stays open, silent, until the client closes it
    // (an empty reply: a server that never answers).
    void setKeepOpen(bool keepOpen);
    // After the reply, the byte (or the piece: a header line, a whole interim reply)
    // is sent again and again at full speed until the client closes (or the server
    // stops); 0 or an empty piece turns it off.
    void setEndlessFiller(char filler);
    void setEndlessFiller(const std::string& piece);
    // After the reply, one filler byte (or piece) every interval (0: at full speed)
    // until the client closes.
    void setTrickle(char filler, int intervalMs);
    void setTrickle(const std::string& piece, int intervalMs);

    // The requests received so far, each as it arrived.
    std::vector<std::string> requests() const;
    // The connections the server still serves.
    int openConnections() const { return openConnections_.load(); }
    // The bytes sent so far over all connections.
    long long bytesSent() const { return bytesSent_.load(); }

private:
    struct Serving {
        std::string reply;
        int delayMs = 0;
        bool keepOpen = false;
        std::string filler;
        int trickleMs = 0;
    };

    void serve();
    void serveConnection(int connection);
    std::string readRequest(int connection);
    // Waits for the events on the connection; false when the server stops first.
    bool waitFor(int connection, short events, int timeoutMs, short* happened = nullptr);
    void sendFiller(int connection, const Serving& serving);
    // The bytes sent (0 when there was no room), or -1 when the client has gone.
    long send(int connection, const std::string& bytes, int flags = 0);
    void waitForClientToClose(int connection);

    uint16_t port_;
    std::string address_;
    int listener_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::atomic<int> openConnections_{0};
    std::atomic<long long> bytesSent_{0};
    mutable std::mutex mutex_;
    Serving serving_;
    std::vector<std::string> requests_;
    std::vector<std::thread> connectionThreads_;
    std::thread thread_;
};

// A loopback address (chosen as the server's are) on the port whose listener never
// takes a connection and whose queue is full: a client's connection attempt gets no
// answer at all, as from a host that is switched off.
class UnansweringAddress {
public:
    explicit UnansweringAddress(uint16_t port = 8080);
    ~UnansweringAddress();
    UnansweringAddress(const UnansweringAddress&) = delete;
    UnansweringAddress& operator=(const UnansweringAddress&) = delete;

    const std::string& address() const { return address_; }

private:
    void closeAll();

    std::string address_;
    int listener_ = -1;
    std::vector<int> queued_;
};
