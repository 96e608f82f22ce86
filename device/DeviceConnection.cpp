#include "device/DeviceConnection.h"

#include "model/Exceptions.h"
#include "model/InOrderSeek.h"

namespace {

// Fills the result with the value `readOne` gives for each listed identifier.
template <class ReadOne> void fillValues(const ParameterIdList& ids, ParameterValueMap& result, ReadOne readOne)
{
    if (holdsExactly(result, ids)) {
        // The map of the previous read of this list: each value is written where it stands.
        for (auto& [id, value] : result)
            value = readOne(id);
        return;
    }
    // The identifiers come in order, so each one goes in at the end without a search.
    for (const ParameterId& id : ids)
        result.insert_or_assign(result.end(), id, readOne(id));
}

// Reads a store for a run of identifiers in identifier order (a group's, say),
// which stand next to each other in the store.
class StoreCursor {
public:
    explicit StoreCursor(ParameterValueMap& store) : store_(store), seek_(store) {}

    const ParameterValue& read(const ParameterId& id)
    {
        auto at = seek_.lowerBound(id);
        if (at == store_.end() || id < at->first) {
            at = store_.emplace_hint(at, id, ParameterValue(0));
            seek_.standAt(at);
        }
        return at->second;
    }

private:
    ParameterValueMap& store_;
    InOrderSeek<ParameterValueMap> seek_;
};

} // namespace

void DeviceConnection::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    fillValues(ids, result, [this](const ParameterId& id) { return getValue(id); });
}

ParameterValue DeviceConnection::readStored(ParameterValueMap& store, const ParameterId& id)
{
    return StoreCursor(store).read(id);
}

void DeviceConnection::readStored(ParameterValueMap& store, const ParameterIdList& ids, ParameterValueMap& result)
{
    StoreCursor cursor(store);
    fillValues(ids, result, [&cursor](const ParameterId& id) -> const ParameterValue& { return cursor.read(id); });
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
