#pragma once

// The byte transport under the protocol layer: a serial port or a TCP connection.
class SerialDeviceImplementation {
public:
    virtual ~SerialDeviceImplementation() = default;

    // The longest time, in milliseconds, a later read may wait.
    virtual void setReadTimeout(int milliseconds) = 0;

    // Writes all bytes or throws.
    virtual void write(const unsigned char* bytes, unsigned count) = 0;

    // Reads up to count bytes into buffer, waiting at most the read time-out, and
    // returns how many arrived. A time-out is not a failure.
    virtual unsigned read(unsigned char* buffer, unsigned count) = 0;
};
