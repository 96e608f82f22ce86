#pragma once

#include "device/LocalDeviceConnection.h"

// The off-line store filled with the unit's factory defaults: the device of
// off-line mode, and the store behind each set's own parameters.
class DefaultDeviceConnection : public LocalDeviceConnection {
public:
    DefaultDeviceConnection();

    // Stores every catalogue default, replacing what is there.
    virtual void loadDefaults();
};
