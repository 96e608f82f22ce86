#pragma once

#include "device/transport/SerialDeviceImplementation.h"

// What the device connections and the packet layer hold: forwards every call to
// the transport it was built with. The transport is not owned; its owner deletes
// it after this bridge.
class SerialDevice {
public:
    explicit SerialDevice(SerialDeviceImplementation* implementation) : implementation_(implementation) {}
    // Virtual so that a test double derived from the bridge is destroyed whole.
    virtual ~SerialDevice() = default;

    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    virtual void setTimeout(int milliseconds) { implementation_->setReadTimeout(milliseconds); }
    virtual void write(const unsigned char* bytes, unsigned count) { implementation_->write(bytes, count); }
    virtual unsigned read(unsigned char* buffer, unsigned count)
    {
        return implementation_->read(buffer, count);
    }

private:
    SerialDeviceImplementation* implementation_;
};
