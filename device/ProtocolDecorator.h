#pragma once

#include "model/GenericProtocol.h"

// A GenericProtocol that forwards to another one. Does not own the inner protocol.
class ProtocolDecorator : public GenericProtocol {
public:
    explicit ProtocolDecorator(GenericProtocol* inner) : inner_(inner) {}

    ConnectionStatus getStatus() override { return inner_->getStatus(); }
    void setIdleHandler(IdleHandler* handler) override { inner_->setIdleHandler(handler); }
    void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) override
    {
        inner_->setValue(writeId, value, delayMs);
    }
    void setValues(const ParameterValueMap& values, int delayMs) override
    {
        inner_->setValues(values, delayMs);
    }
    void setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result, int delayMs) override
    {
        inner_->setValuesAndRead(values, result, delayMs);
    }
    ParameterValue getValue(const ParameterId& id) override { return inner_->getValue(id); }
    void getValues(const ParameterIdList& ids, ParameterValueMap& result) override
    {
        inner_->getValues(ids, result);
    }
    ParameterValue setValueAndRead(const ParameterId& id, const ParameterValue& value, int delayMs) override
    {
        return inner_->setValueAndRead(id, value, delayMs);
    }
    bool isMessageBased() override { return inner_->isMessageBased(); }

    void downloadFirmware(const std::string& path, ProgressListener* listener) override = 0;
    void sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex,
                        bool last) override = 0;
    void getEventLog(std::string& text) override = 0;
    void getErrorLog(std::string& text) override = 0;

protected:
    GenericProtocol* inner() const { return inner_; }

private:
    GenericProtocol* inner_;
};
