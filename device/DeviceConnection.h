#pragma once

#include <cstddef>
#include <string>

#include "model/GenericProtocol.h"

// Base of the device connections: the batch operations are built on the single
// ones, so a connection only has to supply what its link does differently.
class DeviceConnection {
public:
    DeviceConnection() = default;
    virtual ~DeviceConnection() = default;
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    virtual ConnectionStatus getStatus() = 0;
    virtual void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) = 0;
    virtual ParameterValue getValue(const ParameterId& id) = 0;
    virtual void getValues(const ParameterIdList& ids, ParameterValueMap& result);
    // The same identifiers again, into the map of their previous read (GenericProtocol).
    virtual void rereadValues(const ParameterIdList& ids, ParameterValueMap& values);
    // See GenericProtocol: 0, a connection to a unit cannot tell.
    virtual uint64_t valuesVersion() { return 0; }
    virtual bool isMessageBased() { return false; }
    virtual void downloadFirmware(const std::string& path, ProgressListener* listener);
    virtual void sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex, bool last);
    virtual void setValues(const ParameterValueMap& values, int delayMs);
    virtual void setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result, int delayMs);
    virtual void getEventLog(std::string& text) = 0;
    virtual void getErrorLog(std::string& text) = 0;

    // Writes under the write identifier, then reads the parameter back.
    ParameterValue setValueAndRead(const ParameterId& id, const ParameterValue& value, int delayMs);
    void setIdleHandler(IdleHandler* handler) { idleHandler_ = handler; }

protected:
    void idle();

    // Reads from a store of values kept by identifier, where an identifier never
    // written reads as 0 and is kept from then on (the off-line store, the TCP
    // link's cache). A list in identifier order is read without a search per identifier.
    static ParameterValue readStored(ParameterValueMap& store, const ParameterId& id);
    static void readStored(ParameterValueMap& store, const ParameterIdList& ids, ParameterValueMap& result);

private:
    IdleHandler* idleHandler_ = nullptr;
};
