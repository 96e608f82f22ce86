#include "device/transport/Win32SerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "model/Exceptions.h"

namespace {

std::string portName(int portNumber)
{
    char name[32];
    std::snprintf(name, sizeof name, "COM%d", portNumber);
    return name;
}

std::string devicePath(int portNumber)
{
    const std::string variable = "QZ347_" + portName(portNumber);
    if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0')
        return path;
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

// Names the device behind the port and why it would not open, so that a user
// can tell a missing adapter from missing rights or a port in use.
VormoException openFailure(int portNumber, const std::string& path, int error)
{
    const std::string reason = error == EWOULDBLOCK ? std::string("in use by another program")
                                                    : std::generic_category().message(error);
    return VormoException("Error opening " + portName(portNumber) + " (" + path + "): " + reason);
}

bool speedFor(int baudRate, speed_t& speed)
{
    switch (baudRate) {
    case 1200:
        speed = B1200;
        return true;
    case 2400:
        speed = B2400;
        return true;
    case 4800:
        speed = B4800;
        return true;
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    case 230400:
        speed = B230400;
        return true;
    default:
        return false;
    }
}

} // namespace

Win32SerialPort::Win32SerialPort(int portNumber, int baudRate)
{
    open(portNumber, baudRate);
}

Win32SerialPort::~Win32SerialPort()
{
    openCount_ = 0;
    closeHandle();
}

void Win32SerialPort::open(int portNumber, int baudRate)
{
    if (openCount_ > 0) {
        if (baudRate != baudRate_)
            throw VormoException("Tried to re-open a port at a different baud rate.");
        ++openCount_;
        return;
    }
    baudRate_ = baudRate;
    const std::string path = devicePath(portNumber);
    // Non-blocking so that the open does not wait for a carrier; cleared once configured.
    const int handle = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        baudRate_ = 0;
        throw openFailure(portNumber, path, errno);
    }
    // No sharing: a second open of the same device, from here or another program, fails.
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(handle);
        baudRate_ = 0;
        throw openFailure(portNumber, path, error);
    }
    ::ioctl(handle, TIOCEXCL);
    handle_ = handle;
    try {
        configure();
    } catch (...) {
        closeHandle();
        throw;
    }
    ++openCount_;
}

void Win32SerialPort::configure()
{
    termios settings{};
    if (::tcgetattr(handle_, &settings) != 0)
        throw VormoException("error getting the serial port state");
    speed_t speed = 0;
    if (!speedFor(baudRate_, speed))
        throw VormoException("Error setting the serial port state.");
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    // Reads return what is there; their time-out is kept by read() itself.
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0 ||
        ::tcsetattr(handle_, TCSANOW, &settings) != 0)
        throw VormoException("Error setting the serial port state.");
    const int flags = ::fcntl(handle_, F_GETFL);
    if (flags < 0 || ::fcntl(handle_, F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw VormoException("Error setting the serial port state.");
}

void Win32SerialPort::close()
{
    if (openCount_ > 0)
        --openCount_;
    if (openCount_ == 0)
        closeHandle();
}

void Win32SerialPort::closeHandle()
{
    if (handle_ >= 0) {
        // The exclusive mode stays on the terminal otherwise, and would refuse the next open.
        ::ioctl(handle_, TIOCNXCL);
        ::close(handle_);
    }
    handle_ = -1;
    baudRate_ = 0;
}

void Win32SerialPort::setReadTimeout(int milliseconds)
{
    if (handle_ < 0 || milliseconds < 0)
        throw VormoException("Error setting the serial port timeouts.");
    readTimeoutMs_ = milliseconds;
}

void Win32SerialPort::write(const unsigned char* bytes, unsigned count)
{
    if (count == 0)
        return;
    if (handle_ < 0)
        throw VormoException("Error sending serial data.");
    unsigned written = 0;
    while (written < count) {
        const ssize_t result = ::write(handle_, bytes + written, count - written);
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            throw VormoException("Error sending serial data.");
        written += static_cast<unsigned>(result);
    }
}

unsigned Win32SerialPort::read(unsigned char* buffer, unsigned count)
{
    if (count == 0 || handle_ < 0)
        return 0;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(readTimeoutMs_);
    unsigned received = 0;
    while (received < count) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd entry{handle_, POLLIN, 0};
        const int ready = ::poll(&entry, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break; // time-out, or a failure: report what arrived so far
        const ssize_t result = ::read(handle_, buffer + received, count - received);
        if (result < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (result <= 0)
            break; // the line is gone (hang-up) or failed
        received += static_cast<unsigned>(result);
    }
    return received;
}
