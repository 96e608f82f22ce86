#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <sstream>
#include <vector>

#include "model/GenericProtocol.h"
#include "model/Exceptions.h"
#include "model/Parameter.h"

// The parameters of a set, held by value and ordered by identifier. Besides
// lookup it refreshes its parameters from a protocol in one batch and takes a
// batch of values reported by the unit. Note that find() replaces the
// iterator lookup of std::map; use contains() to test for an identifier.
template <class ParameterClass> class ParameterMap : public std::map<ParameterId, ParameterClass> {
public:
    ParameterMap() = default;
    ParameterMap(const ParameterMap&) = default;
    ParameterMap(ParameterMap&&) = default;
    ParameterMap& operator=(const ParameterMap&) = default;
    ParameterMap& operator=(ParameterMap&&) = default;
    virtual ~ParameterMap() = default;

    // Applies reported values in identifier order; each parameter that takes a
    // new value notifies its own observers at once. Unknown identifiers are ignored.
    virtual void update(const ParameterValueMap& values)
    {
        for (const auto& entry : values) {
            const auto found = std::map<ParameterId, ParameterClass>::find(entry.first);
            if (found != this->end())
                found->second.updateFrom(values);
        }
    }

    // Reads the parameters of one group owned by the protocol (a request is
    // made even when there are none) and applies the values.
    virtual void refreshGroup(GenericProtocol* protocol, uint8_t group)
    {
        refreshWhere(protocol,
                     [group](const ParameterId& id) { return id.group() == static_cast<int8_t>(group); });
    }

    // The same for every parameter owned by the protocol, whatever its group.
    virtual void refreshAll(GenericProtocol* protocol)
    {
        refreshWhere(protocol, [](const ParameterId&) { return true; });
    }

    // The parameter with this identifier; throws when there is none.
    virtual ParameterClass& find(const ParameterId& id)
    {
        const auto found = std::map<ParameterId, ParameterClass>::find(id);
        if (found == this->end())
            throw VormoException(notFoundText(id));
        return found->second;
    }

    const ParameterClass& find(const ParameterId& id) const
    {
        return const_cast<ParameterMap*>(this)->find(id);
    }

    static std::string notFoundText(const ParameterId& id)
    {
        std::ostringstream text;
        text << "Couldn't find parameter " << id << '\n';
        return text.str();
    }

private:
    template <class Predicate> void refreshWhere(GenericProtocol* protocol, Predicate wanted)
    {
        ParameterIdList ids;
        for (const auto& [id, parameter] : *this) {
            if (parameter.owner() == protocol && wanted(id))
                ids.push_back(id);
        }
        ParameterValueMap values;
        protocol->getValues(ids, values);
        update(values);
    }
};

// The control parameters. A reported batch is stored whole before anyone is
// told, so that observers and rules reading other parameters see all of it.
class ControlParameterMap : public ParameterMap<ControlParameter> {
public:
    void update(const ParameterValueMap& values) override;

    // Writes the configuration file: every parameter marked saved, with its
    // pending value. Throws VormoException when the stream fails.
    virtual std::ostream& save(std::ostream& out);
    // Reads a configuration file and sets its values on the unit, parameter by
    // parameter, in up to five passes. Every failure of the family ends it with
    // "This is not a valid configuration file for this device"; values already
    // accepted stay set.
    virtual void load(std::istream& in);
};
