#include "model/ConfigurationFile.h"

#include <istream>
#include <ostream>
#include <string>

#include "model/Exceptions.h"
#include "model/ParameterMap.h"

namespace {

void applyRecords(ControlParameterMap& parameters, ParameterValueMap pending)
{
    // A file holds what the unit reported, in either form; a value longer than
    // the program sends could never be set from it. Refuse it before anything
    // is sent.
    for (const auto& [id, value] : pending) {
        if (value.size() > ParameterValue::maximumEncodedLength)
            throw VormoException("A parameter value is too long.");
    }
    // Some values are accepted only once others are set; give them up to five passes.
    for (int pass = 0; pass < 5 && !pending.empty(); ++pass) {
        ParameterValueMap leftOver;
        for (const auto& [id, value] : pending) {
            ControlParameter& parameter = parameters.find(id);
            if (!parameter.saved() || !parameter.loadable())
                continue;
            parameter.setValue(value);
            if (parameter.value() != value)
                leftOver.emplace(id, value);
        }
        pending = std::move(leftOver);
    }
    if (!pending.empty())
        throw VormoException("Some parameter values were refused.");
}

} // namespace

ParameterValueMap readParameterValueMap(std::istream& in)
{
    uint32_t count = 0;
    if (!readStreamInt32(in, count))
        throw VormoException("Error reading the parameter count.");
    int32_t checksum = static_cast<int32_t>(count);
    ParameterValueMap records;
    // Each record uses at least six bytes or ends the loop, so a huge count cannot hang it.
    for (uint32_t i = 0; i < count; ++i) {
        if (in.peek() == std::char_traits<char>::eof())
            break;
        ParameterId id;
        if (!id.restore(in, checksum))
            break;
        // A length beyond any real value is refused before anything is read.
        ParameterValue value;
        value.restore(in, checksum, maximumRecordLength);
        records[id] = std::move(value);
    }
    uint32_t stored = 0;
    if (!readStreamInt32(in, stored))
        throw VormoException("Error reading the checksum.");
    if (static_cast<int32_t>(stored) != checksum)
        throw VormoException("The checksum does not match.");
    return records;
}

std::ostream& ControlParameterMap::save(std::ostream& out)
{
    int32_t count = 0;
    for (const auto& [id, parameter] : *this)
        count += parameter.saved() ? 1 : 0;
    if (!writeStreamInt32(out, static_cast<uint32_t>(count)))
        throw VormoException("Error saving the parameter count.");
    int32_t checksum = count;
    for (const auto& [id, parameter] : *this) {
        if (!parameter.saved())
            continue;
        id.save(out, checksum);
        parameter.value().save(out, checksum);
    }
    // A file without its checksum, or one the system could not flush, cannot be loaded again.
    if (!writeStreamInt32(out, static_cast<uint32_t>(checksum)) || !out.flush())
        throw VormoException("Error saving the checksum.");
    return out;
}

void ControlParameterMap::load(std::istream& in)
{
    try {
        applyRecords(*this, readParameterValueMap(in));
    } catch (const VormoException&) {
        throw VormoException(invalidConfigurationText);
    }
}
