#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/ParameterId.h"
#include "model/ParameterValue.h"

// The identifiers of one batch read, in the order they are asked for.
using ParameterIdList = std::vector<ParameterId>;

// A read again for a reader whose read may leave an identifier out: it must not write
// into a map that already holds that identifier, where the old value would pass for an
// answer, so it reads into a fresh map that then takes the old one's place.
template <class Reader>
void rereadIntoFreshMap(Reader& reader, const ParameterIdList& ids, ParameterValueMap& values)
{
    ParameterValueMap fresh;
    reader.getValues(ids, fresh);
    values = std::move(fresh);
}

// The state of a link as the device reports it: a success flag and a text.
class ConnectionStatus {
public:
    ConnectionStatus(std::string statusText, bool success) : ok(success), text(std::move(statusText)) {}
    virtual ~ConnectionStatus() = default;
    ConnectionStatus(const ConnectionStatus&) = default;
    ConnectionStatus& operator=(const ConnectionStatus&) = default;

    bool ok;
    std::string text;
};

class OkStatus : public ConnectionStatus {
public:
    OkStatus() : ConnectionStatus("Ok", true) {}
};

class BusyStatus : public ConnectionStatus {
public:
    BusyStatus() : ConnectionStatus("Busy", false) {}
};

class ErrorStatus : public ConnectionStatus {
public:
    ErrorStatus() : ConnectionStatus("Error", false) {}
};

class NotRespondingStatus : public ConnectionStatus {
public:
    NotRespondingStatus() : ConnectionStatus("Not Responding", false) {}
};

// Called by a connection on every pass of a wait loop.
class IdleHandler {
public:
    virtual ~IdleHandler() = default;
    virtual void onIdle() = 0;
};

// Told how much of a firmware image has been sent, in percent.
class ProgressListener {
public:
    virtual ~ProgressListener() = default;
    virtual void setProgress(unsigned percent) = 0;
};

// What the parameter model sees of a device. Every operation blocks until the
// device has answered and reports failure by throwing a VormoException.
// Only setValue takes a write identifier (group one below the parameter's);
// every other operation and every map uses the parameters' own identifiers.
class GenericProtocol {
public:
    virtual ~GenericProtocol() = default;

    virtual ConnectionStatus getStatus() = 0;
    virtual void setIdleHandler(IdleHandler* handler) = 0;
    virtual void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) = 0;
    virtual void setValues(const ParameterValueMap& values, int delayMs) = 0;
    virtual void setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result,
                                  int delayMs) = 0;
    virtual ParameterValue getValue(const ParameterId& id) = 0;
    virtual void getValues(const ParameterIdList& ids, ParameterValueMap& result) = 0;
    // Reads the same identifiers again into the map an earlier read of them filled, so
    // a poll that asks for one list over and over builds no map each time. Afterwards
    // the map holds what getValues would have given. A protocol that can write every
    // value in place says so by overriding this; the rest read into a fresh map.
    virtual void rereadValues(const ParameterIdList& ids, ParameterValueMap& values)
    {
        rereadIntoFreshMap(*this, ids, values);
    }
    // A number that changes whenever a value read through this protocol may have
    // changed; 0 when the protocol cannot tell. While it stays the same, what a read
    // of a list gave is still what a read again would give, so a poll may keep it.
    virtual uint64_t valuesVersion() { return 0; }
    virtual ParameterValue setValueAndRead(const ParameterId& id, const ParameterValue& value,
                                           int delayMs) = 0;
    virtual bool isMessageBased() = 0;
    virtual void downloadFirmware(const std::string& path, ProgressListener* listener) = 0;
    virtual void sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex,
                                bool last) = 0;
    virtual void getEventLog(std::string& text) = 0;
    virtual void getErrorLog(std::string& text) = 0;
};
