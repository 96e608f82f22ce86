#include "device/transport/Win32Socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include "model/Exceptions.h"
#include "support/ChildProcess.h"

using namespace std::chrono_literals;

namespace {

// A listener on loopback that plays the unit's side of one connection.
class Peer {
public:
    Peer()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(listener_, 4), 0);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~Peer()
    {
        hangUp();
        ::close(listener_);
    }

    uint16_t port() const { return port_; }

    // The client's connect completes in the backlog; this takes the connection.
    void accept() { connection_ = ::accept(listener_, nullptr, nullptr); }

    void send(const std::string& bytes) const
    {
        ASSERT_EQ(::send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }

    std::string receive(std::size_t count) const
    {
        std::string bytes(count, '\0');
        std::size_t got = 0;
        while (got < count) {
            const ssize_t n = ::recv(connection_, bytes.data() + got, count - got, 0);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }

    void hangUp()
    {
        if (connection_ >= 0)
            ::close(connection_);
        connection_ = -1;
    }

private:
    int listener_ = -1;
    int connection_ = -1;
    uint16_t port_ = 0;
};

std::string read(Win32Socket& socket, unsigned count)
{
    std::string buffer(count, '\0');
    const unsigned got = socket.read(reinterpret_cast<unsigned char*>(buffer.data()), count);
    EXPECT_TRUE(got == 0 || got == count) << "a read delivered " << got << " of " << count << " bytes";
    buffer.resize(got);
    return buffer;
}

void write(Win32Socket& socket, const std::string& bytes)
{
    socket.write(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned>(bytes.size()));
}

std::string failureOf(auto&& action)
{
    try {
        action();
    } catch (const VormoException& error) {
        return error.what();
    }
    return "(no failure)";
}

// Writes until one fails (the connection has ended on our side), giving up after a while.
bool writeFailsEventually(Win32Socket& socket)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (failureOf([&] { write(socket, "p"); }) != "(no failure)")
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST(Win32SocketTest, ReadsDeliverExactlyTheBytesAskedForOrNone)
{
    Peer peer;
    Win32Socket socket("127.0.0.1", peer.port());
    peer.accept();

    peer.send("abc");
    socket.setReadTimeout(0);
    EXPECT_EQ(read(socket, 4), ""); // time-out 0: gives up at once
    socket.setReadTimeout(100);
    EXPECT_EQ(read(socket, 4), ""); // three bytes are not four, even after waiting
    peer.send("d");
    socket.setReadTimeout(60000);
    EXPECT_EQ(read(socket, 4), "abcd"); // the three kept bytes come first, and all four at once
    EXPECT_EQ(read(socket, 0), "");

    // A waiting read returns when its last byte arrives.
    std::thread late([&] {
        std::this_thread::sleep_for(30ms);
        peer.send("xyz");
    });
    EXPECT_EQ(read(socket, 3), "xyz");
    late.join();

    write(socket, "hello");
    EXPECT_EQ(peer.receive(5), "hello");
}

TEST(Win32SocketTest, TheLargestPacketFitsTheQueue)
{
    Peer peer;
    Win32Socket socket("localhost", peer.port()); // by name, through the resolver
    peer.accept();
    const std::string frame(16384 + 4, '\x5A');
    std::thread sender([&] { peer.send(frame); });
    socket.setReadTimeout(60000);
    EXPECT_EQ(read(socket, static_cast<unsigned>(frame.size())), frame);
    sender.join();
}

TEST(Win32SocketTest, BytesSentBeforeThePeerClosedStayReadable)
{
    Peer peer;
    Win32Socket socket("127.0.0.1", peer.port());
    peer.accept();
    const std::string twenty = "0123456789ABCDEFGHIJ";
    peer.send(twenty);
    peer.hangUp();

    socket.setReadTimeout(60000);
    EXPECT_EQ(read(socket, 15), twenty.substr(0, 15));
    EXPECT_EQ(read(socket, 5), twenty.substr(15));
    socket.setReadTimeout(50);
    EXPECT_EQ(read(socket, 1), "");

    ASSERT_TRUE(writeFailsEventually(socket));
    const std::string text = failureOf([&] { write(socket, "late"); });
    EXPECT_EQ(text.rfind("send failed with error code ", 0), 0u) << text;
    EXPECT_GT(std::stoi(text.substr(std::strlen("send failed with error code "))), 0) << text;
    // The system's reason follows the code, e.g. "(Broken pipe)".
    EXPECT_NE(text.find(" ("), std::string::npos) << text;
    EXPECT_EQ(text.back(), ')') << text;
}

TEST(Win32SocketTest, ConnectFailuresGiveTheirTexts)
{
    EXPECT_EQ(failureOf([] { Win32Socket socket("no-such-host.invalid", 4444); }),
              "Unable to resolve server: no-such-host.invalid.  This probably means that the TCP address is "
              "not valid.  You may want to try entering the address in number format instead (127.12.23.12, "
              "for example).");

    uint16_t closedPort = 0;
    {
        Peer gone;
        closedPort = gone.port();
    }
    EXPECT_EQ(failureOf([&] { Win32Socket socket("127.0.0.1", closedPort); }),
              "connect failed with error code " + std::to_string(ECONNREFUSED) +
                  " (Connection refused).  This probably means that the unit is not listening on the port and address provided.  "
                  "Check the TCP/IP settings and try again.");
}

TEST(Win32SocketTest, NoDescriptorToSpareGivesTheSystemsReason)
{
    // A process with no descriptor to spare, as one at its limit of open files: a
    // child whose limit is none, so the test process keeps its own.
    uint16_t closedPort = 0;
    {
        Peer gone;
        closedPort = gone.port();
    }
    const std::string text = textFromChild([closedPort] {
        // A first socket, refused by the peer, while descriptors are still there: what
        // the process sets up on first use (a sanitizer's check of the object among it,
        // which needs a pipe) is then in place, and only the socket itself is short of one.
        failureOf([closedPort] { Win32Socket socket("127.0.0.1", closedPort); });
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = 0;
        if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
            return std::string("(no descriptor limit)");
        return failureOf([] { Win32Socket socket("127.0.0.1", 4444); });
    });
    EXPECT_EQ(text, "Error creating a socket, code: " + std::to_string(EMFILE) + " (Too many open files)");
}

TEST(Win32SocketTest, DestroyingWithASilentPeerDoesNotWaitForIt)
{
    Peer peer;
    auto socket = std::make_unique<Win32Socket>("127.0.0.1", peer.port());
    peer.accept();
    socket.reset(); // the read thread is blocked in its receive; a hang fails by the test's time-out
    EXPECT_EQ(peer.receive(1), ""); // the connection was closed
}

TEST(Win32SocketTest, DestroyingWithAFullQueueDoesNotWaitForRoom)
{
    Peer peer;
    // A producer wait far beyond the test time-out: the destructor must wake the thread itself.
    auto socket = std::make_unique<Win32Socket>("127.0.0.1", peer.port(), 16, 3600 * 1000);
    peer.accept();
    peer.send(std::string(64, 'q'));
    socket->setReadTimeout(60000);
    EXPECT_EQ(read(*socket, 16), std::string(16, 'q')); // the queue has been full
    std::this_thread::sleep_for(20ms);
    socket.reset();
}

TEST(Win32SocketTest, AFullQueueEndsTheReadThreadQuietly)
{
    Peer peer;
    Win32Socket socket("127.0.0.1", peer.port(), 64, 50);
    peer.accept();
    std::string sent;
    for (int i = 0; i < 200; ++i)
        sent.push_back(static_cast<char>(i));
    peer.send(sent);

    // Nobody reads: after the producer wait the thread ends and the connection is shut.
    ASSERT_TRUE(writeFailsEventually(socket));
    socket.setReadTimeout(1000);
    EXPECT_EQ(read(socket, 64), sent.substr(0, 64)); // what was queued stays readable
    socket.setReadTimeout(50);
    EXPECT_EQ(read(socket, 1), "");
}

} // namespace
