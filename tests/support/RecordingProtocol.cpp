#include "support/RecordingProtocol.h"

#include "model/Exceptions.h"

std::size_t RecordingProtocol::countOf(const std::string& operation) const
{
    std::size_t count = 0;
    for (const RecordedCall& call : calls)
        count += call.operation == operation ? 1 : 0;
    return count;
}

std::vector<RecordedCall> RecordingProtocol::callsOf(const std::string& operation) const
{
    std::vector<RecordedCall> found;
    for (const RecordedCall& call : calls) {
        if (call.operation == operation)
            found.push_back(call);
    }
    return found;
}

RecordedCall& RecordingProtocol::record(std::string operation)
{
    calls.push_back(RecordedCall{});
    calls.back().operation = std::move(operation);
    return calls.back();
}

void RecordingProtocol::failIfArmed()
{
    if (pendingFailures_ <= 0 || !pendingFailure_)
        return;
    std::exception_ptr failure = pendingFailure_;
    if (--pendingFailures_ == 0)
        pendingFailure_ = nullptr;
    std::rethrow_exception(failure);
}

ParameterValue RecordingProtocol::read(const ParameterId& id)
{
    auto found = values.find(id);
    if (found != values.end())
        return found->second;
    if (!answerUnknownWithZero)
        throw ProtocolException("The fake protocol holds no value for this parameter");
    return ParameterValue(0);
}

ParameterValue RecordingProtocol::writeAndReadBack(const ParameterId& id, const ParameterValue& value)
{
    ParameterValue stored = readBack ? readBack(id, value) : value;
    values[id] = stored;
    return stored;
}

ConnectionStatus RecordingProtocol::getStatus()
{
    record("getStatus");
    failIfArmed();
    return status;
}

void RecordingProtocol::setIdleHandler(IdleHandler* handler)
{
    record("setIdleHandler");
    failIfArmed();
    idleHandler = handler;
}

void RecordingProtocol::setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs)
{
    RecordedCall& call = record("setValue");
    call.ids.push_back(writeId);
    call.values.push_back(value);
    call.delayMs = delayMs;
    failIfArmed();
    values[writeId.nextGroup()] = value;
}

void RecordingProtocol::setValues(const ParameterValueMap& written, int delayMs)
{
    RecordedCall& call = record("setValues");
    for (const auto& [id, value] : written) {
        call.ids.push_back(id);
        call.values.push_back(value);
    }
    call.delayMs = delayMs;
    failIfArmed();
    for (const auto& [id, value] : written)
        values[id] = value;
}

void RecordingProtocol::setValuesAndRead(const ParameterValueMap& written, ParameterValueMap& result,
                                         int delayMs)
{
    RecordedCall& call = record("setValuesAndRead");
    for (const auto& [id, value] : written) {
        call.ids.push_back(id);
        call.values.push_back(value);
    }
    call.delayMs = delayMs;
    failIfArmed();
    for (const auto& [id, value] : written)
        result[id] = writeAndReadBack(id, value);
}

ParameterValue RecordingProtocol::getValue(const ParameterId& id)
{
    record("getValue").ids.push_back(id);
    failIfArmed();
    return read(id);
}

void RecordingProtocol::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    record("getValues").ids = ids;
    failIfArmed();
    for (const ParameterId& id : ids) {
        if (!answerUnknownWithZero && values.find(id) == values.end())
            continue;
        result[id] = read(id);
    }
}

ParameterValue RecordingProtocol::setValueAndRead(const ParameterId& id, const ParameterValue& value,
                                                  int delayMs)
{
    RecordedCall& call = record("setValueAndRead");
    call.ids.push_back(id);
    call.values.push_back(value);
    call.delayMs = delayMs;
    failIfArmed();
    return writeAndReadBack(id, value);
}

bool RecordingProtocol::isMessageBased()
{
    record("isMessageBased");
    failIfArmed();
    return messageBased;
}

void RecordingProtocol::downloadFirmware(const std::string& path, ProgressListener*)
{
    record("downloadFirmware").path = path;
    failIfArmed();
}

void RecordingProtocol::sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex,
                                       bool last)
{
    RecordedCall& call = record("sendFlashBlock");
    call.blockBytes.assign(reinterpret_cast<const char*>(bytes), length);
    call.blockIndex = blockIndex;
    call.last = last;
    failIfArmed();
}

void RecordingProtocol::getEventLog(std::string& text)
{
    record("getEventLog");
    failIfArmed();
    text = eventLog;
}

void RecordingProtocol::getErrorLog(std::string& text)
{
    record("getErrorLog");
    failIfArmed();
    text = errorLog;
}
