#include "device/DeviceConnection.h"

#include "model/Exceptions.h"

void DeviceConnection::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    // The identifiers come in order, so each one goes in at the end without a search.
    for (const ParameterId& id : ids)
        result.insert_or_assign(result.end(), id, getValue(id));
}

void DeviceConnection::rereadValues(const ParameterIdList& ids, ParameterValueMap& values)
{
    rereadIntoFreshMap(*this, ids, values);
}

void DeviceConnection::downloadFirmware(const std::string&, ProgressListener*)
{
    throw VormoException("Download not implemented for this protocol");
}

void DeviceConnection::sendFlashBlock(const unsigned char*, std::size_t, int, bool)
{
    throw VormoException("Download not implemented for this protocol");
}

void DeviceConnection::setValues(const ParameterValueMap& values, int delayMs)
{
    for (const auto& [id, value] : values)
        setValue(id.previousGroup(), value, delayMs);
}

void DeviceConnection::setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result,
                                        int delayMs)
{
    for (const auto& [id, value] : values)
        result[id] = setValueAndRead(id, value, delayMs);
}

ParameterValue DeviceConnection::setValueAndRead(const ParameterId& id, const ParameterValue& value,
                                                 int delayMs)
{
    setValue(id.previousGroup(), value, delayMs);
    return getValue(id);
}

void DeviceConnection::idle()
{
    if (idleHandler_ != nullptr)
        idleHandler_->onIdle();
}
