#pragma once

#include <ctime>
#include <functional>

#include "device/DeviceConnection.h"
#include "device/Packet.h"
#include "device/Validator.h"

class SerialDevice;

// The device connection of the TCP link. Reads are answered from a value cache
// that the unit fills (Get All at start, then Status messages it sends on its
// own); writes go out as Set messages, each followed by a wait for the unit's
// confirming Status. A Ping Request keeps the link alive.
class NetworkDeviceConnection : public DeviceConnection {
public:
    // Seconds of the calendar clock; tests pass one they can advance.
    using Clock = std::function<std::time_t()>;

    static constexpr int replyTimeoutMs = 2000;
    static constexpr int pollTimeoutMs = 1;
    static constexpr int flashTimeoutMs = 30000;
    static constexpr std::time_t keepAliveSeconds = 15;
    static constexpr int startUpMessages = 20;
    static constexpr int waitMessages = 300;
    static constexpr int writeWaitLimitMs = 10000;
    static constexpr uint32_t largeStatusLength = 100;

    // Runs the Get All exchange; throws when it fails. Neither the device nor the
    // packet is owned.
    NetworkDeviceConnection(SerialDevice* device, GenericPacket* packet, Clock clock = {});
    ~NetworkDeviceConnection() override;

    ConnectionStatus getStatus() override;
    void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) override;
    ParameterValue getValue(const ParameterId& id) override;
    void getValues(const ParameterIdList& ids, ParameterValueMap& result) override;
    // Every identifier read gets a value (from the reported ones), so a read again writes in place.
    void rereadValues(const ParameterIdList& ids, ParameterValueMap& values) override
    {
        getValues(ids, values);
    }
    bool isMessageBased() override { return true; }
    void downloadFirmware(const std::string& path, ProgressListener* listener) override;
    void sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex, bool last) override;
    void setValues(const ParameterValueMap& values, int delayMs) override;
    void getEventLog(std::string& text) override;
    void getErrorLog(std::string& text) override;

private:
    void start();
    void handleMessage(Message& message);
    void keepAlive();
    void waitFor(const CommandType& type, int timeoutMs);
    void sendAndWait(SetMessage& message, int delayMs);
    void requestLog(const CommandType& request, const CommandType& reply, std::string& text);
    void sendFlashCommand(Message& message);

    std::time_t lastPing_ = 0;
    ParameterValueMap cache_;
    SerialDevice* device_;
    GenericPacket* packet_;
    MD5Validator validator_;
    Clock clock_;
};
