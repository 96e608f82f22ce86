#include "device/transport/Win32SerialPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "device/transport/SerialDevice.h"
#include "model/Exceptions.h"
#include "support/ChildProcess.h"

namespace {

// The read time-out of the tests that wait for bytes on the line: far past what the
// pseudo-terminal takes to hand them over, even on a loaded machine.
constexpr int lineTimeoutMs = 1000;

// A pseudo-terminal pair whose slave stands in for COM1: the test plays the far end
// of the line on the master.
class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        termios raw{};
        ::cfmakeraw(&raw);
        char name[256] = {};
        ASSERT_EQ(::openpty(&master_, &slave_, name, &raw, nullptr), 0);
        slaveName_ = name;
        ::setenv("QZ347_COM1", slaveName_.c_str(), 1);
    }

    void TearDown() override
    {
        ::unsetenv("QZ347_COM1");
        ::close(master_);
        ::close(slave_);
    }

    void sendFromPeer(const std::string& bytes) const
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    std::string receiveAtPeer(std::size_t count) const
    {
        std::string bytes;
        while (bytes.size() < count) {
            pollfd entry{master_, POLLIN, 0};
            if (::poll(&entry, 1, 2000) <= 0)
                break;
            char chunk[256];
            const ssize_t got = ::read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
            if (got <= 0)
                break;
            bytes.append(chunk, static_cast<std::size_t>(got));
        }
        return bytes;
    }

    static std::string read(SerialDeviceImplementation& port, unsigned count)
    {
        std::string buffer(count, '\0');
        const unsigned got = port.read(reinterpret_cast<unsigned char*>(buffer.data()), count);
        buffer.resize(got);
        return buffer;
    }

    static void write(SerialDeviceImplementation& port, const std::string& bytes)
    {
        port.write(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned>(bytes.size()));
    }

    static std::size_t openDescriptors()
    {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
            ++count;
        return count;
    }

    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
};

TEST_F(SerialPortTest, WritesReachTheLineAndReadsTakeWhatArrives)
{
    Win32SerialPort port(1, 115200);
    port.setReadTimeout(lineTimeoutMs);

    write(port, std::string("\xFB\x82\x80\x00\x0D", 5));
    EXPECT_EQ(receiveAtPeer(5), std::string("\xFB\x82\x80\x00\x0D", 5));

    port.write(nullptr, 0); // nothing to write is no failure

    sendFromPeer("0123456789");
    EXPECT_EQ(read(port, 10), "0123456789");
    EXPECT_EQ(read(port, 0), "");
}

TEST_F(SerialPortTest, ReadGivesWhatArrivedWithinTheTimeout)
{
    Win32SerialPort port(1, 115200);
    port.setReadTimeout(lineTimeoutMs);

    sendFromPeer("abc");
    EXPECT_EQ(read(port, 10), "abc"); // fewer than asked once the time-out has passed
    EXPECT_EQ(read(port, 10), "");    // none at all

    // Bytes that come late, but within the time-out, are collected into the same read.
    port.setReadTimeout(5000);
    sendFromPeer("12");
    std::thread peer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sendFromPeer("345");
    });
    EXPECT_EQ(read(port, 5), "12345");
    peer.join();
}

TEST_F(SerialPortTest, APortIsHeldExclusively)
{
    {
        Win32SerialPort first(1, 115200);
        try {
            Win32SerialPort second(1, 115200);
            FAIL() << "a second open of the same device succeeded";
        } catch (const VormoException& error) {
            EXPECT_EQ(error.what(), "Error opening COM1 (" + slaveName_ + "): in use by another program");
        }
    }
    Win32SerialPort again(1, 115200); // free once the first one is gone
    again.setReadTimeout(10);
    write(again, "x");
    EXPECT_EQ(receiveAtPeer(1), "x");
}

TEST_F(SerialPortTest, OpensAreCountedAndTheDestructorClosesWhateverTheCount)
{
    {
        Win32SerialPort port(1, 115200);
        port.open(1, 115200);
        port.close(); // one open is left
        write(port, "a");
        EXPECT_EQ(receiveAtPeer(1), "a");

        try {
            port.open(1, 9600);
            FAIL() << "re-open at another baud rate succeeded";
        } catch (const VormoException& error) {
            EXPECT_STREQ(error.what(), "Tried to re-open a port at a different baud rate.");
        }
        port.open(1, 115200); // count 2 when the destructor runs
    }
    Win32SerialPort next(1, 115200); // would fail if the port had been left open

    next.close();
    try {
        write(next, "b");
        FAIL() << "write on a closed port succeeded";
    } catch (const VormoException& error) {
        EXPECT_STREQ(error.what(), "Error sending serial data.");
    }
}

TEST_F(SerialPortTest, OpenFailuresNameThePortAndLeaveNothingOpen)
{
    struct Case {
        int port;
        const char* device;
        const char* text;
    };
    const Case cases[] = {
        {12, "/nonexistent/tty", "Error opening COM12 (/nonexistent/tty): No such file or directory"},
        {3, "/dev/null", "error getting the serial port state"}, // opens, but is no terminal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        const std::string variable = "QZ347_COM" + std::to_string(c.port);
        ::setenv(variable.c_str(), c.device, 1);
        const std::size_t before = openDescriptors();
        try {
            Win32SerialPort port(c.port, 115200);
            ADD_FAILURE() << "opened";
        } catch (const VormoException& error) {
            EXPECT_STREQ(error.what(), c.text);
        }
        EXPECT_EQ(openDescriptors(), before);
        ::unsetenv(variable.c_str());
    }
}

TEST_F(SerialPortTest, TheBridgeForwardsToItsTransport)
{
    Win32SerialPort port(1, 115200);
    SerialDevice device(&port);
    device.setTimeout(lineTimeoutMs);

    const unsigned char request[] = {0x02, 0x02, 0x05, 0x11, 0xE8};
    device.write(request, sizeof request);
    EXPECT_EQ(receiveAtPeer(5), std::string(reinterpret_cast<const char*>(request), 5));

    sendFromPeer("\x04");
    unsigned char answer[2] = {};
    EXPECT_EQ(device.read(answer, 2), 1u); // waits the time-out set through the bridge, then gives one
    EXPECT_EQ(answer[0], 0x04);
}

TEST_F(SerialPortTest, APortTheUserMayNotOpenSaysSo)
{
    // As a user outside the group that owns the port: a child process drops to
    // "nobody" and hands back what it was told.
    ASSERT_EQ(::chmod(slaveName_.c_str(), 0600), 0);
    const std::string text = textFromChild([] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            return std::string("(still privileged)");
        try {
            Win32SerialPort port(1, 115200);
        } catch (const VormoException& error) {
            return std::string(error.what());
        }
        return std::string("(opened)");
    });
    EXPECT_EQ(text, "Error opening COM1 (" + slaveName_ + "): Permission denied");
}

} // namespace
