#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What one HTTP GET asks for, and what the exchange may take before it is cut off.
struct HttpRequest {
    std::string host;
    uint16_t port = 80;
    std::string path = "/";
    // Sent as given, in this order; the service adds the ones HTTP needs besides.
    std::vector<std::pair<std::string, std::string>> headers;
    // Bytes of the body kept at most; the exchange ends once more arrive.
    std::size_t byteLimit = 256 * 1024;
    // Milliseconds for the whole exchange.
    int timeLimitMs = 10000;
    // Milliseconds until the request is on its way (name look-up and connection).
    int connectLimitMs = 5000;
};

struct HttpReply {
    // The server sent a status line (and its headers).
    bool answered = false;
    int status = 0;
    std::string reason;
    std::vector<std::pair<std::string, std::string>> headers;
    // The body as the server meant it (a chunked transfer decoded), as far as it came.
    std::string body;
    // The body ended where the server ended it; false when a limit or a failure cut
    // the exchange short.
    bool complete = false;
    // What failed and why, when the exchange failed or was cut short.
    std::string error;
};

// One HTTP GET that does not stop the window: the exchange runs in the background
// and its reply is handed to the callback on the window's thread, from the message
// loop (never from within the constructor). Redirections are not followed, no proxy,
// cookie or cache is used, and the body is asked for uncompressed.
class HttpGet {
public:
    using Answer = std::function<void(const HttpReply& reply)>;

    HttpGet(const HttpRequest& request, Answer answer);
    // Ends an exchange still running: its callback is then never called. The
    // callback itself may destroy the HttpGet.
    ~HttpGet();
    HttpGet(const HttpGet&) = delete;
    HttpGet& operator=(const HttpGet&) = delete;

    // The reply has not been handed over yet.
    bool running() const;

private:
    struct Exchange;
    std::unique_ptr<Exchange> exchange_;
};
