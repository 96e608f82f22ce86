#include "device/LocalDeviceConnection.h"

#include <atomic>

LocalDeviceConnection::LocalDeviceConnection() : store_(std::make_unique<ParameterValueMap>()) {}

LocalDeviceConnection::~LocalDeviceConnection() = default;

ConnectionStatus LocalDeviceConnection::getStatus()
{
    return OkStatus();
}

void LocalDeviceConnection::setValue(const ParameterId& writeId, const ParameterValue& value, int)
{
    (*store_)[writeId.nextGroup()] = value;
    version_ = nextVersion();
}

uint64_t LocalDeviceConnection::nextVersion()
{
    static std::atomic<uint64_t> last{0};
    return ++last;
}

ParameterValue LocalDeviceConnection::getValue(const ParameterId& id)
{
    return readStored(*store_, id);
}

void LocalDeviceConnection::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    readStored(*store_, ids, result);
}

void LocalDeviceConnection::downloadFirmware(const std::string&, ProgressListener*) {}

void LocalDeviceConnection::sendFlashBlock(const unsigned char*, std::size_t, int, bool) {}

void LocalDeviceConnection::getEventLog(std::string& text)
{
    text = "No Events";
}

void LocalDeviceConnection::getErrorLog(std::string& text)
{
    text = "No Errors";
}
