#include "HttpTestServer.h"

#include <cerrno>
#include <chrono>
#include <random>
#include <stdexcept>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

HttpTestServer::HttpTestServer(uint16_t port) : port_(port)
{
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> byte(1, 254);
    for (int attempt = 0; attempt < 50 && listener_ < 0; ++attempt) {
        std::string address = "127." + std::to_string(byte(random)) + "." + std::to_string(byte(random)) +
                              "." + std::to_string(byte(random));
        int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (socket < 0) {
            throw std::runtime_error("HttpTestServer: no socket");
        }
        int reuse = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port_);
        ::inet_aton(address.c_str(), &local.sin_addr);
        if (::bind(socket, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 &&
            ::listen(socket, 8) == 0) {
            listener_ = socket;
            address_ = address;
        } else {
            ::close(socket);
        }
    }
    if (listener_ < 0) {
        throw std::runtime_error("HttpTestServer: no free loopback address on port " + std::to_string(port_));
    }
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
    ::close(listener_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

void HttpTestServer::setReply(const std::string& reply)
{
    std::lock_guard lock(mutex_);
    reply_ = reply;
}

void HttpTestServer::setEndlessFiller(char filler)
{
    std::lock_guard lock(mutex_);
    filler_ = filler;
    trickleMs_ = 0;
}

void HttpTestServer::setTrickle(char filler, int intervalMs)
{
    std::lock_guard lock(mutex_);
    filler_ = filler;
    trickleMs_ = intervalMs;
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
            serveConnection(connection);
            ::close(connection);
        }
    }
}

void HttpTestServer::serveConnection(int connection)
{
    // The request: up to its empty line, or whatever came within two seconds.
    std::string request;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (request.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd wait{connection, POLLIN, 0};
        if (::poll(&wait, 1, 50) <= 0) {
            continue;
        }
        char chunk[512];
        ssize_t received = ::recv(connection, chunk, sizeof chunk, 0);
        if (received <= 0) {
            break;
        }
        request.append(chunk, std::size_t(received));
    }
    std::string reply;
    char filler = 0;
    int trickleMs = 0;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        reply = reply_;
        filler = filler_;
        trickleMs = trickleMs_;
    }
    if (!reply.empty() && ::send(connection, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) {
        return;
    }
    if (filler == 0) {
        ::shutdown(connection, SHUT_WR);
        return;
    }
    std::string chunk(trickleMs > 0 ? 1 : 4096, filler);
    while (!stopping_) {
        // Waits for room (or the next trickle), but never past the server's own end.
        pollfd waits[2] = {{connection, POLLOUT, 0}, {wakePipe_[0], POLLIN, 0}};
        if (trickleMs > 0) {
            waits[0].events = 0;
        }
        int ready = ::poll(waits, 2, trickleMs > 0 ? trickleMs : -1);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if ((waits[1].revents & POLLIN) != 0 || (waits[0].revents & (POLLERR | POLLHUP)) != 0) {
            return;
        }
        if (::send(connection, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0 &&
            errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            return; // the client has gone
        }
    }
}
