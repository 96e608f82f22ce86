#pragma once

#include <array>
#include <string>

#include "device/DeviceConnection.h"
#include "device/SmpteMessage.h"

class SerialDevice;

// The unit on an RS-232 line, selected by its 16-bit SMPTE address. The host
// sends a framed request, the unit acknowledges; for a reply the host polls until
// it is ready, authorizes it, reads it and acknowledges it.
class SmpteDeviceConnection : public DeviceConnection {
public:
    static constexpr unsigned char addressPrefix = 0xFB;
    static constexpr unsigned char ack = 0x04;
    static constexpr unsigned char pollError = 0x05;
    static constexpr unsigned char busy = 0x06;
    static constexpr unsigned char notYet = 0x07;
    static constexpr unsigned char replyReady = 0x08;
    static constexpr unsigned char mayTransmit = 0x09;
    static constexpr int readTimeoutMs = 200;
    static constexpr int maximumPolls = 750;
    static constexpr int busyPauseMs = 20;

    SmpteDeviceConnection(int address, SerialDevice* device);

    ConnectionStatus getStatus() override;
    void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) override;
    ParameterValue getValue(const ParameterId& id) override;
    void getValues(const ParameterIdList& ids, ParameterValueMap& result) override;
    void getEventLog(std::string& text) override { text.clear(); }
    void getErrorLog(std::string& text) override { text.clear(); }

private:
    void flushInput();
    void select();
    void sendPoll();
    void authorizeReply();
    void acknowledge();
    void wait(int milliseconds);
    [[noreturn]] void fail(const std::string& text);
    void sendRequest(const SmpteMessage& request);
    void waitForAck();
    void pollFor(unsigned char expected);
    void waitWhileBusy();
    SmpteMessage getExchange(const SmpteMessage& request);
    bool readByte(unsigned char& byte);
    void writeBytes(std::initializer_list<unsigned char> bytes);

    std::array<unsigned char, 2> selectAddress_;
    std::array<unsigned char, 2> pollAddress_;
    SerialDevice* device_;
};
