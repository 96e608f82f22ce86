#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "model/GenericProtocol.h"

// One call made to a RecordingProtocol. For batch operations ids and values
// hold the entries in the order they were given (maps in ascending order).
struct RecordedCall {
    std::string operation; // the GenericProtocol operation's name, e.g. "setValueAndRead"
    std::vector<ParameterId> ids;
    std::vector<ParameterValue> values;
    int delayMs = 0;
    std::string path;       // downloadFirmware
    std::string blockBytes; // sendFlashBlock
    int blockIndex = 0;
    bool last = false;
};

// A GenericProtocol that records every call and answers reads from an
// in-memory map. Writes go into the same map: setValue files the value under
// the parameter's identifier (the write identifier's next group), as a unit does.
// A failure can be armed for the next call(s); the call is still recorded.
class RecordingProtocol : public GenericProtocol {
public:
    // What reads answer and writes change.
    ParameterValueMap values;
    // When false, a read of an identifier not in values throws ProtocolException
    // (getValue) or leaves it out of the result (getValues). When true it reads as 0.
    bool answerUnknownWithZero = true;
    // When set, setValueAndRead stores and returns what this gives for the
    // written value, as a unit that clamps or rounds would.
    std::function<ParameterValue(const ParameterId&, const ParameterValue&)> readBack;

    ConnectionStatus status = OkStatus();
    bool messageBased = false;
    std::string eventLog = "No Events";
    std::string errorLog = "No Errors";
    IdleHandler* idleHandler = nullptr;

    std::vector<RecordedCall> calls;

    // The next `count` calls (of any operation) throw a copy of `exception`.
    template <typename Exception> void throwOnNextCall(const Exception& exception, int count = 1)
    {
        pendingFailure_ = std::make_exception_ptr(exception);
        pendingFailures_ = count;
    }
    void clearFailure()
    {
        pendingFailure_ = nullptr;
        pendingFailures_ = 0;
    }

    std::size_t countOf(const std::string& operation) const;
    std::vector<RecordedCall> callsOf(const std::string& operation) const;
    void clearCalls() { calls.clear(); }

    ConnectionStatus getStatus() override;
    void setIdleHandler(IdleHandler* handler) override;
    void setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs) override;
    void setValues(const ParameterValueMap& values, int delayMs) override;
    void setValuesAndRead(const ParameterValueMap& values, ParameterValueMap& result, int delayMs) override;
    ParameterValue getValue(const ParameterId& id) override;
    void getValues(const ParameterIdList& ids, ParameterValueMap& result) override;
    ParameterValue setValueAndRead(const ParameterId& id, const ParameterValue& value, int delayMs) override;
    bool isMessageBased() override;
    void downloadFirmware(const std::string& path, ProgressListener* listener) override;
    void sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex, bool last) override;
    void getEventLog(std::string& text) override;
    void getErrorLog(std::string& text) override;

private:
    RecordedCall& record(std::string operation);
    void failIfArmed();
    ParameterValue read(const ParameterId& id);
    ParameterValue writeAndReadBack(const ParameterId& id, const ParameterValue& value);

    std::exception_ptr pendingFailure_;
    int pendingFailures_ = 0;
};
