#include "device/ProtocolAdapter.h"

#include <algorithm>

#include "model/Exceptions.h"

namespace {

// Whether the map holds exactly the listed identifiers, in the list's order.
bool holdsExactly(const ParameterValueMap& values, const ParameterIdList& ids)
{
    return values.size() == ids.size() &&
           std::equal(ids.begin(), ids.end(), values.begin(),
                      [](const ParameterId& id, const auto& entry) { return id == entry.first; });
}

} // namespace

ConnectionStatus ProtocolAdapter::getStatus()
{
    return connection_->getStatus();
}

void ProtocolAdapter::setIdleHandler(IdleHandler* handler)
{
    connection_->setIdleHandler(handler);
}

void ProtocolAdapter::setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs)
{
    connection_->setValue(writeId, value, delayMs);
}

void ProtocolAdapter::setValues(const ParameterValueMap& values, int delayMs)
{
    connection_->setValues(values, delayMs);
}

void ProtocolAdapter::setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result,
                                       int delayMs)
{
    connection_->setValuesAndRead(values, result, delayMs);
}

ParameterValue ProtocolAdapter::getValue(const ParameterId& id)
{
    return connection_->getValue(id);
}

void ProtocolAdapter::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    connection_->getValues(ids, result);
    checkReply(ids, result);
}

void ProtocolAdapter::rereadValues(const ParameterIdList& ids, ParameterValueMap& values)
{
    connection_->rereadValues(ids, values);
    checkReply(ids, values);
}

uint64_t ProtocolAdapter::valuesVersion()
{
    return connection_->valuesVersion();
}

ParameterValue ProtocolAdapter::setValueAndRead(const ParameterId& id, const ParameterValue& value,
                                                int delayMs)
{
    return connection_->setValueAndRead(id, value, delayMs);
}

bool ProtocolAdapter::isMessageBased()
{
    return connection_->isMessageBased();
}

void ProtocolAdapter::downloadFirmware(const std::string& path, ProgressListener* listener)
{
    connection_->downloadFirmware(path, listener);
}

void ProtocolAdapter::sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex,
                                     bool last)
{
    connection_->sendFlashBlock(bytes, length, blockIndex, last);
}

void ProtocolAdapter::getEventLog(std::string& text)
{
    connection_->getEventLog(text);
}

void ProtocolAdapter::getErrorLog(std::string& text)
{
    connection_->getErrorLog(text);
}

void ProtocolAdapter::checkReply(const ParameterIdList& ids, const ParameterValueMap& result)
{
    // The counts include duplicates in the list and whatever result held before the read.
    if (ids.size() > result.size())
        throw ProtocolException("The device did not return all of the requested parameters");
    if (ids.size() < result.size())
        throw ProtocolException("The device returned some unasked for parameters");
    // The maps ask in identifier order: then the reply is checked in step with the list.
    if (holdsExactly(result, ids))
        return;
    for (const ParameterId& id : ids) {
        if (result.find(id) == result.end())
            throw ProtocolException("The device returned some parameters that were not asked for.");
    }
}
