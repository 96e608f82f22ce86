#pragma once

#include <memory>

#include "device/DeviceConnection.h"

// A device without a device: values live in memory, keyed by the parameters'
// own identifiers, and every operation answers at once.
class LocalDeviceConnection : public DeviceConnection {
public:
    LocalDeviceConnection();
    ~LocalDeviceConnection() override;

    ConnectionStatus getStatus() override;
    void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) override;
    // A parameter never written reads as 0 and is stored from then on.
    ParameterValue getValue(const ParameterId& id) override;
    void getValues(const ParameterIdList& ids, ParameterValueMap& result) override;
    // Every identifier read gets a value, so a read again writes in place.
    void rereadValues(const ParameterIdList& ids, ParameterValueMap& values) override
    {
        getValues(ids, values);
    }
    // Only writes change what a read gives: a read of a value never written keeps the
    // 0 it gave. No two stores share a number.
    uint64_t valuesVersion() override { return version_; }
    void downloadFirmware(const std::string& path, ProgressListener* listener) override;
    void sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex, bool last) override;
    void getEventLog(std::string& text) override;
    void getErrorLog(std::string& text) override;

protected:
    // Subclasses fill the store directly (factory defaults); whoever asks for it may change it.
    ParameterValueMap& store()
    {
        version_ = nextVersion();
        return *store_;
    }
    const ParameterValueMap& store() const { return *store_; }

private:
    static uint64_t nextVersion();

    std::unique_ptr<ParameterValueMap> store_;
    uint64_t version_ = nextVersion();
};
