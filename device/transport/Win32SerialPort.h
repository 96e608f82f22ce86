#pragma once

#include "device/transport/SerialDeviceImplementation.h"

// An RS-232 port of this computer, opened exclusively, raw, 8 data bits, no parity,
// one stop bit. COM port n is /dev/ttyS<n-1>, or the device that the environment
// variable QZ347_COM<n> names when it is set.
class Win32SerialPort : public SerialDeviceImplementation {
public:
    Win32SerialPort(int portNumber, int baudRate);
    ~Win32SerialPort() override;

    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    // Opens and configures the port, or counts one more open of the port already open.
    void open(int portNumber, int baudRate);
    // Counts one open down and closes the port when none is left.
    void close();
    void configure();

    void setReadTimeout(int milliseconds) override;
    void write(const unsigned char* bytes, unsigned count) override;
    unsigned read(unsigned char* buffer, unsigned count) override;

private:
    void closeHandle();

    int baudRate_ = 0;
    unsigned openCount_ = 0;
    int handle_ = -1;
    // A read before the first setReadTimeout takes only what has already arrived.
    int readTimeoutMs_ = 0;
};
