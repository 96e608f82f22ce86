#include "device/DeviceConnection.h"

#include "model/Exceptions.h"

namespace {

// Fills the result with the value `readOne` gives for each listed identifier,
// reading each one once, in the list's order.
template <class ReadOne> void fillValues(const ParameterIdList& ids, ParameterValueMap& result, ReadOne readOne)
{
    std::size_t done = 0;
    if (result.size() == ids.size()) {
        // The map of the previous read of this list holds its identifiers in the same
        // order: each value is written where it stands.
        for (auto entry = result.begin(); done < ids.size() && entry->first == ids[done]; ++entry, ++done)
            entry->second = readOne(ids[done]);
    }
    // In any other map the identifiers come in order, so each one goes in at the end without a search.
    for (; done < ids.size(); ++done)
        result.insert_or_assign(result.end(), ids[done], readOne(ids[done]));
}

// Reads a store for a run of identifiers in identifier order (a group's, say).
// They mostly stand a step or two apart in the store, so each one after the first
// is reached by stepping on from the one before, and searched for from the root
// only when a few steps do not reach it.
class StoreCursor {
public:
    explicit StoreCursor(ParameterValueMap& store) : store_(store), at_(store.end()) {}

    const ParameterValue& read(const ParameterId& id)
    {
        if (!placed_ || (!standsOn(id) && !stepTo(id))) {
            at_ = store_.lower_bound(id);
            placed_ = true;
        }
        if (at_ == store_.end() || id < at_->first)
            at_ = store_.emplace_hint(at_, id, ParameterValue(0));
        return at_->second;
    }

private:
    static constexpr int stepsBeforeSearching = 4;

    bool standsOn(const ParameterId& id) const { return at_ != store_.end() && at_->first == id; }

    // Steps from an entry before the identifier to the first one not before it;
    // false when the cursor is not before it or that entry is more than a few steps on.
    bool stepTo(const ParameterId& id)
    {
        if (at_ == store_.end() || !(at_->first < id))
            return false;
        for (int step = 0; step < stepsBeforeSearching; ++step) {
            ++at_;
            if (at_ == store_.end() || !(at_->first < id))
                return true;
        }
        return false;
    }

    ParameterValueMap& store_;
    ParameterValueMap::iterator at_;
    bool placed_ = false;
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
