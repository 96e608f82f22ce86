#include "device/DeviceConnection.h"

#include <algorithm>

#include "model/Exceptions.h"

// Whether the map holds exactly the listed identifiers, in the list's order.
static bool holdsExactly(const ParameterValueMap& values, const ParameterIdList& ids)
{
    return values.size() == ids.size() &&
           std::equal(ids.begin(), ids.end(), values.begin(),
                      [](const ParameterId& id, const auto& entry) { return id == entry.first; });
}

void DeviceConnection::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    if (holdsExactly(result, ids)) {
        // The map of the previous read of this list: each value is written where it stands.
        for (auto& [id, value] : result)
            value = getValue(id);
        return;
    }
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
