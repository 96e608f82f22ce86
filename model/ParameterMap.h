#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <sstream>
#include <vector>

#include "model/Exceptions.h"
#include "model/GenericProtocol.h"
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
        // Looked up from the root each time: an observer told of one value may change the map.
        for (const auto& [id, value] : values) {
            const auto found = std::map<ParameterId, ParameterClass>::find(id);
            if (found != this->end())
                found->second.takeReported(value);
        }
    }

    // Reads the parameters of one group owned by the protocol (a request is
    // made even when there are none) and applies the values.
    virtual void refreshGroup(GenericProtocol* protocol, uint8_t group)
    {
        // A group's parameters stand together in identifier order: only they are walked.
        const int8_t wanted = static_cast<int8_t>(group);
        const auto first = this->lower_bound(ParameterId(wanted, INT8_MIN));
        const auto last =
            wanted == INT8_MAX ? this->end() : this->lower_bound(ParameterId(int8_t(wanted + 1), INT8_MIN));
        refreshRange(protocol, group, first, last);
    }

    // The same for every parameter owned by the protocol, whatever its group.
    virtual void refreshAll(GenericProtocol* protocol)
    {
        refreshRange(protocol, everyGroup, this->begin(), this->end());
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
    using Iterator = typename std::map<ParameterId, ParameterClass>::iterator;

    static constexpr int everyGroup = 0x100;

    // The last read of one group (or of all): its list and the map its values came in.
    // Polled again with the same list, the protocol writes into that map in place.
    struct Poll {
        GenericProtocol* protocol = nullptr;
        ParameterIdList ids;
        ParameterValueMap values;
        bool valid = false;
        bool busy = false;
    };

    void refreshRange(GenericProtocol* protocol, int group, Iterator first, Iterator last)
    {
        Poll& poll = pollOf(group);
        if (poll.busy) {
            // Refreshed again from inside an observer of this very read: a read of its own.
            Poll nested;
            read(nested, protocol, first, last);
            update(nested.values);
            return;
        }
        poll.busy = true;
        struct Release {
            Poll& poll;
            ~Release() { poll.busy = false; }
        } release{poll};
        read(poll, protocol, first, last);
        update(poll.values);
    }

    static void read(Poll& poll, GenericProtocol* protocol, Iterator first, Iterator last)
    {
        const bool again =
            poll.valid && poll.protocol == protocol && asksFor(poll.ids, protocol, first, last);
        poll.valid = false; // until the read has succeeded
        if (again) {
            protocol->rereadValues(poll.ids, poll.values);
        } else {
            poll.ids.clear();
            for (auto at = first; at != last; ++at) {
                if (at->second.owner() == protocol)
                    poll.ids.push_back(at->first);
            }
            poll.values.clear();
            protocol->getValues(poll.ids, poll.values);
            poll.protocol = protocol;
        }
        poll.valid = true;
    }

    // Whether the list is still the one the parameters in the range owned by the protocol make.
    static bool asksFor(const ParameterIdList& ids, GenericProtocol* protocol, Iterator first, Iterator last)
    {
        auto asked = ids.begin();
        for (auto at = first; at != last; ++at) {
            if (at->second.owner() != protocol)
                continue;
            if (asked == ids.end() || !(*asked == at->first))
                return false;
            ++asked;
        }
        return asked == ids.end();
    }

    // One read for each group and one for all, made when first asked for.
    Poll& pollOf(int group)
    {
        if (polls_.empty())
            polls_.resize(everyGroup + 1);
        return polls_[std::size_t(group)];
    }

    std::vector<Poll> polls_;
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
