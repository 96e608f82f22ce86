#pragma once

#include "device/ProtocolDecorator.h"

// Repeats an operation that failed with a ProtocolException (a HostException
// too) until it succeeds or has been tried the given number of times; the
// caller then gets the last failure. Any other exception passes at once.
class RetryingProtocol : public ProtocolDecorator {
public:
    RetryingProtocol(GenericProtocol* inner, unsigned attempts)
        : ProtocolDecorator(inner), attempts_(attempts)
    {
    }

    void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) override;
    void setValues(const ParameterValueMap& values, int delayMs) override;
    void setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result, int delayMs) override;
    ParameterValue getValue(const ParameterId& id) override;
    void getValues(const ParameterIdList& ids, ParameterValueMap& result) override;
    ParameterValue setValueAndRead(const ParameterId& id, const ParameterValue& value, int delayMs) override;
    void downloadFirmware(const std::string& path, ProgressListener* listener) override;
    void sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex, bool last) override;
    void getEventLog(std::string& text) override;
    void getErrorLog(std::string& text) override;

private:
    template <typename Operation> auto retry(Operation operation);

    unsigned attempts_;
};
