#include "device/transport/Win32Socket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include "device/SystemReason.h"
#include "model/Exceptions.h"

namespace {

// The socket's failures give the error number and then the system's reason for it.
std::string withCode(const std::string& failure, int error)
{
    return withSystemReason(failure + std::to_string(error), error);
}

VormoException connectFailure(int error)
{
    return VormoException(withCode("connect failed with error code ", error) +
                          ".  This probably means that the unit is not listening on "
                          "the port and address provided.  Check the TCP/IP settings "
                          "and try again.");
}

// Connects a blocking socket, but waits no longer than timeoutMs for the peer.
int connectWithin(int socket, const sockaddr_in& address, int timeoutMs)
{
    const int flags = ::fcntl(socket, F_GETFL);
    if (flags < 0 || ::fcntl(socket, F_SETFL, flags | O_NONBLOCK) != 0)
        return errno;
    int error = 0;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            using Clock = std::chrono::steady_clock;
            const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
            for (;;) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
                pollfd entry{socket, POLLOUT, 0};
                const int ready = ::poll(&entry, 1, left > 0 ? static_cast<int>(left) : 0);
                if (ready < 0 && errno == EINTR)
                    continue;
                if (ready < 0) {
                    error = errno;
                } else if (ready == 0) {
                    error = ETIMEDOUT;
                } else {
                    socklen_t length = sizeof error;
                    if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                        error = errno;
                }
                break;
            }
        }
    }
    if (error == 0 && ::fcntl(socket, F_SETFL, flags) != 0)
        error = errno;
    return error;
}

} // namespace

Win32Socket::Win32Socket(const std::string& host, uint16_t port, std::size_t queueCapacity,
                         int producerWaitMs)
    : host_(host), port_(port), queue_(queueCapacity, producerWaitMs)
{
    try {
        createSocket();
        resolveAndConnect();
        // Closing sends what is still buffered in the background, as the default does.
        linger noLinger{};
        ::setsockopt(socket_, SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
        startReadThread();
    } catch (...) {
        stopReadThread();
        if (socket_ >= 0)
            ::close(socket_);
        socket_ = -1;
        throw;
    }
}

Win32Socket::~Win32Socket()
{
    stopReadThread();
    // Only here is the descriptor closed, and only once: the read thread never closes
    // it, so a write can never reach another connection that reused its number.
    if (socket_ >= 0)
        ::close(socket_);
}

void Win32Socket::createSocket()
{
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (socket_ < 0) {
        const int error = errno;
        throw VormoException(withCode("Error creating a socket, code: ", error));
    }
    // A frame goes out as two writes (length, then payload); without this the payload
    // waits for the unit's delayed acknowledge, some 40 ms on every user change.
    const int noDelay = 1;
    ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
}

void Win32Socket::resolveAndConnect()
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_);
    if (::inet_aton(host_.c_str(), &address.sin_addr) == 0) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (host_.empty() || ::getaddrinfo(host_.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
            if (found != nullptr)
                ::freeaddrinfo(found);
            throw VormoException("Unable to resolve server: " + host_ +
                                 ".  This probably means that the TCP address is not valid.  "
                                 "You may want to try entering the address in number format "
                                 "instead (127.12.23.12, for example).");
        }
        address.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
        ::freeaddrinfo(found);
    }
    if (const int error = connectWithin(socket_, address, connectTimeoutMs); error != 0)
        throw connectFailure(error);
}

void Win32Socket::startReadThread()
{
    try {
        thread_ = std::thread(&Win32Socket::readThread, this);
    } catch (const std::system_error&) {
        throw VormoException("Error creating read thread");
    }
    {
        std::unique_lock lock(stateMutex_);
        if (!stateChanged_.wait_for(lock, std::chrono::milliseconds(startTimeoutMs),
                                    [this] { return started_; }))
            throw VormoException("The read thread didn't start");
    }
    // The read thread should run ahead of every ordinary thread. A process that may
    // not raise priorities (an unprivileged user) carries on at normal priority.
    sched_param priority{};
    priority.sched_priority = sched_get_priority_min(SCHED_FIFO);
    const int error = pthread_setschedparam(thread_.native_handle(), SCHED_FIFO, &priority);
    if (error != 0 && error != EPERM && error != ENOTSUP)
        throw VormoException("Error setting read thread priority");
}

void Win32Socket::stopReadThread()
{
    if (!thread_.joinable())
        return;
    // Wakes the thread wherever it waits: in the receive, or for room in a full queue.
    queue_.stop();
    ::shutdown(socket_, SHUT_RDWR);
    thread_.join();
}

void Win32Socket::readThread()
{
    {
        std::lock_guard lock(stateMutex_);
        started_ = true;
    }
    stateChanged_.notify_all();
    unsigned char chunk[4096];
    try {
        for (;;) {
            const ssize_t received = ::recv(socket_, chunk, sizeof chunk, 0);
            if (received < 0 && errno == EINTR)
                continue;
            if (received <= 0)
                break; // the peer closed, the receive failed, or the owner shut the socket down
            if (!queue_.push(chunk, static_cast<std::size_t>(received)))
                break;
        }
    } catch (const VormoException&) {
        // "queue full": bytes are being lost, so the connection ends as after a receive error.
    }
    // Later writes fail as on a closed connection; the descriptor itself stays the owner's.
    ::shutdown(socket_, SHUT_RDWR);
}

void Win32Socket::setReadTimeout(int milliseconds)
{
    // A negative time-out would otherwise wait for weeks.
    readTimeoutMs_ = milliseconds > 0 ? static_cast<unsigned>(milliseconds) : 0;
}

void Win32Socket::write(const unsigned char* bytes, unsigned count)
{
    unsigned sent = 0;
    do {
        const ssize_t result = ::send(socket_, bytes + sent, count - sent, MSG_NOSIGNAL);
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0) {
            const int error = errno;
            throw VormoException(withCode("send failed with error code ", error));
        }
        sent += static_cast<unsigned>(result);
    } while (sent < count);
}

unsigned Win32Socket::read(unsigned char* buffer, unsigned count)
{
    if (count == 0)
        return 0;
    return queue_.popExactly(buffer, count, std::chrono::milliseconds(readTimeoutMs_)) ? count : 0;
}
