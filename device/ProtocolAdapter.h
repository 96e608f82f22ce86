#pragma once

#include "device/DeviceConnection.h"
#include "model/GenericProtocol.h"

// Presents one device connection as a GenericProtocol and makes sure a batch
// read answered exactly what was asked. Does not own the connection.
class ProtocolAdapter : public GenericProtocol {
public:
    explicit ProtocolAdapter(DeviceConnection* connection) : connection_(connection) {}

    ConnectionStatus getStatus() override;
    void setIdleHandler(IdleHandler* handler) override;
    void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) override;
    void setValues(const ParameterValueMap& values, int delayMs) override;
    void setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result, int delayMs) override;
    ParameterValue getValue(const ParameterId& id) override;
    void getValues(const ParameterIdList& ids, ParameterValueMap& result) override;
    void rereadValues(const ParameterIdList& ids, ParameterValueMap& values) override;
    uint64_t valuesVersion() override;
    ParameterValue setValueAndRead(const ParameterId& id, const ParameterValue& value, int delayMs) override;
    bool isMessageBased() override;
    void downloadFirmware(const std::string& path, ProgressListener* listener) override;
    void sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex, bool last) override;
    void getEventLog(std::string& text) override;
    void getErrorLog(std::string& text) override;

    // Throws ProtocolException unless result holds exactly the listed identifiers.
    static void checkReply(const ParameterIdList& ids, const ParameterValueMap& result);

private:
    DeviceConnection* connection_;
};
