#include "device/RetryingProtocol.h"

#include "model/Exceptions.h"

template <typename Operation> auto RetryingProtocol::retry(Operation operation)
{
    unsigned failures = 0;
    for (;;) {
        try {
            return operation();
        } catch (const ProtocolException&) {
            ++failures;
            if (failures >= attempts_)
                throw;
        }
    }
}

void RetryingProtocol::setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs)
{
    retry([&] { ProtocolDecorator::setValue(writeId, value, delayMs); });
}

void RetryingProtocol::setValues(const ParameterValueMap& values, int delayMs)
{
    retry([&] { ProtocolDecorator::setValues(values, delayMs); });
}

void RetryingProtocol::setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result,
                                        int delayMs)
{
    retry([&] { ProtocolDecorator::setValuesAndRead(values, result, delayMs); });
}

ParameterValue RetryingProtocol::getValue(const ParameterId& id)
{
    return retry([&] { return ProtocolDecorator::getValue(id); });
}

void RetryingProtocol::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    retry([&] { ProtocolDecorator::getValues(ids, result); });
}

ParameterValue RetryingProtocol::setValueAndRead(const ParameterId& id, const ParameterValue& value,
                                                 int delayMs)
{
    return retry([&] { return ProtocolDecorator::setValueAndRead(id, value, delayMs); });
}

void RetryingProtocol::downloadFirmware(const std::string& path, ProgressListener* listener)
{
    inner()->downloadFirmware(path, listener);
}

void RetryingProtocol::sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex,
                                      bool last)
{
    retry([&] { inner()->sendFlashBlock(bytes, length, blockIndex, last); });
}

void RetryingProtocol::getEventLog(std::string& text)
{
    retry([&] { inner()->getEventLog(text); });
}

void RetryingProtocol::getErrorLog(std::string& text)
{
    retry([&] { inner()->getErrorLog(text); });
}
