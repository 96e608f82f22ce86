#include "HttpTestServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <random>
#include <stdexcept>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

sockaddr_in loopbackAddress(const std::string& address, uint16_t port)
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    ::inet_aton(address.c_str(), &local.sin_addr);
    return local;
}

// A listener on a loopback address of its own, 127.x.y.z chosen at random.
int listenOnOwnLoopback(uint16_t port, int backlog, std::string& address)
{
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> byte(1, 254);
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::string candidate = "127." + std::to_string(byte(random)) + "." + std::to_string(byte(random)) +
                                "." + std::to_string(byte(random));
        int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (socket < 0) {
            throw std::runtime_error("HttpTestServer: no socket");
        }
        int reuse = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        sockaddr_in local = loopbackAddress(candidate, port);
        if (::bind(socket, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 &&
            ::listen(socket, backlog) == 0) {
            address = candidate;
            return socket;
        }
        ::close(socket);
    }
    throw std::runtime_error("HttpTestServer: no free loopback address on port " + std::to_string(port));
}

} // namespace

HttpTestServer::HttpTestServer(uint16_t port) : port_(port)
{
    listener_ = listenOnOwnLoopback(port_, 64, address_);
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0) {
        ::close(listener_);
        throw std::runtime_error("HttpTestServer: no pipe");
    }
    thread_ = std::thread(&HttpTestServer::serve, this);
}

HttpTestServer::~HttpTestServer()
{
    stopping_ = true;
    char wake = 1;
    [[maybe_unused]] ssize_t written = ::write(wakePipe_[1], &wake, 1);
    thread_.join();
    for (std::thread& connection : connectionThreads_) {
        connection.join();
    }
    ::close(listener_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

void HttpTestServer::setReply(const std::string& reply)
{
    std::lock_guard lock(mutex_);
    serving_.reply = reply;
}

void HttpTestServer::setDelay(int milliseconds)
{
    std::lock_guard lock(mutex_);
    serving_.delayMs = milliseconds;
}

void HttpTestServer::setKeepOpen(bool keepOpen)
{
    std::lock_guard lock(mutex_);
    serving_.keepOpen = keepOpen;
}

void HttpTestServer::setEndlessFiller(char filler)
{
    setTrickle(filler == 0 ? std::string() : std::string(1, filler), 0);
}

void HttpTestServer::setEndlessFiller(const std::string& piece)
{
    setTrickle(piece, 0);
}

void HttpTestServer::setTrickle(char filler, int intervalMs)
{
    setTrickle(std::string(1, filler), intervalMs);
}

void HttpTestServer::setTrickle(const std::string& piece, int intervalMs)
{
    std::lock_guard lock(mutex_);
    serving_.filler = piece;
    serving_.trickleMs = intervalMs;
}

std::vector<std::string> HttpTestServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void HttpTestServer::serve()
{
    while (!stopping_) {
        pollfd waits[2] = {{listener_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (stopping_ || (waits[1].revents & POLLIN) != 0) {
            return;
        }
        int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) {
            ++openConnections_;
            connectionThreads_.emplace_back([this, connection] {
                serveConnection(connection);
                ::close(connection);
                --openConnections_;
            });
        }
    }
}

bool HttpTestServer::waitFor(int connection, short events, int timeoutMs, short* happened)
{
    pollfd waits[2] = {{connection, events, 0}, {wakePipe_[0], POLLIN, 0}};
    int ready = ::poll(waits, 2, timeoutMs);
    if (ready < 0 && errno != EINTR) {
        return false;
    }
    if (happened != nullptr) {
        *happened = ready > 0 ? waits[0].revents : 0;
    }
    return !stopping_ && (waits[1].revents & POLLIN) == 0;
}

std::string HttpTestServer::readRequest(int connection)
{
    // The request: up to its empty line, or whatever came within ten seconds. The client
    // sends it once its loop has seen the connection made, which on a loaded machine
    // may be seconds after the connection was taken here.
    std::string request;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (request.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        short happened = 0;
        if (!waitFor(connection, POLLIN, 50, &happened)) {
            break;
        }
        if (happened == 0) {
            continue;
        }
        char chunk[512];
        ssize_t received = ::recv(connection, chunk, sizeof chunk, 0);
        if (received <= 0) {
            break;
        }
        request.append(chunk, std::size_t(received));
    }
    return request;
}

void HttpTestServer::serveConnection(int connection)
{
    std::string request = readRequest(connection);
    Serving serving;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        serving = serving_;
    }
    if (serving.delayMs > 0 && !waitFor(connection, 0, serving.delayMs)) {
        return;
    }
    if (!serving.reply.empty() && send(connection, serving.reply) < 0) {
        return;
    }
    if (!serving.filler.empty()) {
        sendFiller(connection, serving);
    } else if (serving.keepOpen) {
        waitForClientToClose(connection);
    } else {
        ::shutdown(connection, SHUT_WR);
    }
}

long HttpTestServer::send(int connection, const std::string& bytes, int flags)
{
    ssize_t sent = ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL | flags);
    if (sent >= 0) {
        bytesSent_ += sent;
        return long(sent);
    }
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

void HttpTestServer::sendFiller(int connection, const Serving& serving)
{
    // At full speed the piece goes out many times a call. After a partial send the
    // chunk turns by what went, so the stream stays the piece over and over.
    std::string chunk = serving.filler;
    while (serving.trickleMs == 0 && chunk.size() < 4096) {
        chunk += serving.filler;
    }
    while (!stopping_) {
        // Waits for room (or the next trickle), but never past the server's own end.
        short happened = 0;
        if (!waitFor(connection, serving.trickleMs > 0 ? 0 : POLLOUT,
                     serving.trickleMs > 0 ? serving.trickleMs : -1, &happened) ||
            (happened & (POLLERR | POLLHUP)) != 0) {
            return;
        }
        long sent = send(connection, chunk, MSG_DONTWAIT);
        if (sent < 0) {
            return; // the client has gone
        }
        std::rotate(chunk.begin(), chunk.begin() + sent, chunk.end());
    }
}

void HttpTestServer::waitForClientToClose(int connection)
{
    short happened = 0;
    while (waitFor(connection, POLLIN, -1, &happened)) {
        char discarded[512];
        if ((happened & (POLLERR | POLLHUP)) != 0 ||
            ::recv(connection, discarded, sizeof discarded, 0) <= 0) {
            return;
        }
    }
}

UnansweringAddress::UnansweringAddress(uint16_t port)
{
    // A queue of no length holds one connection; the attempts after it wait unanswered.
    listener_ = listenOnOwnLoopback(port, 0, address_);
    sockaddr_in target = loopbackAddress(address_, port);
    for (int attempt = 0; attempt < 8; ++attempt) {
        int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        timeval patience{0, 200 * 1000};
        ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
        bool connected = ::connect(socket, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0;
        queued_.push_back(socket);
        if (!connected) {
            return; // this one waits: the queue is full
        }
    }
    closeAll();
    throw std::runtime_error("UnansweringAddress: the listener's queue does not fill");
}

UnansweringAddress::~UnansweringAddress()
{
    closeAll();
}

void UnansweringAddress::closeAll()
{
    for (int socket : queued_) {
        ::close(socket);
    }
    ::close(listener_);
}
