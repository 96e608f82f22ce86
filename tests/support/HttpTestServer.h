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
// is served in turn: the request is read up to its empty line and recorded, the reply
// is sent as set, and the connection is closed, unless the server is told to go on
// sending filler until the client goes away.
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
    // After the reply, the byte is sent again and again until the client closes
    // (or the server stops); 0 turns it off.
    void setEndlessFiller(char filler);
    // After the reply, one filler byte every interval until the client closes.
    void setTrickle(char filler, int intervalMs);

    // The requests received so far, each as it arrived.
    std::vector<std::string> requests() const;

private:
    void serve();
    void serveConnection(int connection);

    uint16_t port_;
    std::string address_;
    int listener_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::string reply_;
    char filler_ = 0;
    int trickleMs_ = 0;
    std::vector<std::string> requests_;
    std::thread thread_;
};
