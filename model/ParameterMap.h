#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "model/Exceptions.h"
#include "model/GenericProtocol.h"
#include "model/Parameter.h"

// The parameters of a set, held by value and ordered by identifier. Besides
// lookup it refreshes its parameters from a protocol in one batch and takes a
// batch of values reported by the unit. Note that find() replaces the
// iterator lookup of std::map; use contains() to test for an identifier.
//
// A poll reads the same parameters again and again, so the map remembers, for
// each group, the list it asked for and where those parameters are: a quiet poll
// then neither searches nor walks the tree. That is why the map is changed only
// through its own operations, which let those lists go.
template <class ParameterClass> class ParameterMap : private std::map<ParameterId, ParameterClass> {
    using Base = std::map<ParameterId, ParameterClass>;

public:
    using typename Base::const_iterator;
    using typename Base::const_reverse_iterator;
    using typename Base::iterator;
    using typename Base::key_type;
    using typename Base::mapped_type;
    using typename Base::reverse_iterator;
    using typename Base::size_type;
    using typename Base::value_type;
    using Base::at;
    using Base::begin;
    using Base::contains;
    using Base::count;
    using Base::empty;
    using Base::end;
    using Base::lower_bound;
    using Base::rbegin;
    using Base::rend;
    using Base::size;
    using Base::upper_bound;

    ParameterMap() = default;
    // A copy remembers no reads: the original's lists point at the original's parameters.
    ParameterMap(const ParameterMap& other) : Base(other) {}
    ParameterMap(ParameterMap&&) = default;
    ParameterMap& operator=(const ParameterMap& other)
    {
        Base::operator=(other);
        forgetLists();
        return *this;
    }
    ParameterMap& operator=(ParameterMap&&) = default;
    virtual ~ParameterMap() = default;

    // The operations that change which parameters the map holds.
    template <class... Args> std::pair<iterator, bool> emplace(Args&&... args)
    {
        forgetLists();
        return Base::emplace(std::forward<Args>(args)...);
    }
    template <class Value> std::pair<iterator, bool> insert_or_assign(const ParameterId& id, Value&& parameter)
    {
        forgetLists();
        return Base::insert_or_assign(id, std::forward<Value>(parameter));
    }
    size_type erase(const ParameterId& id)
    {
        forgetLists();
        return Base::erase(id);
    }
    void swap(ParameterMap& other)
    {
        Base::swap(other);
        forgetLists();
        other.forgetLists();
    }

    // Applies reported values in identifier order; each parameter that takes a
    // new value notifies its own observers at once. Unknown identifiers are ignored.
    virtual void update(const ParameterValueMap& values) { applyReport(values, nullptr); }

    // Reads the parameters of one group owned by the protocol (a request is
    // made even when there are none) and applies the values.
    virtual void refreshGroup(GenericProtocol* protocol, uint8_t group) { refreshList(protocol, group); }

    // The same for every parameter owned by the protocol, whatever its group.
    virtual void refreshAll(GenericProtocol* protocol) { refreshList(protocol, everyGroup); }

    // The parameter with this identifier; throws when there is none.
    virtual ParameterClass& find(const ParameterId& id)
    {
        const auto found = Base::find(id);
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

protected:
    // Applies a batch in identifier order. `members`, when given, holds as many
    // parameters as there are values, most likely each value's own in the same
    // order, so that none is searched for.
    virtual void applyReport(const ParameterValueMap& values, ParameterClass* const* members)
    {
        const uint64_t shape = shape_;
        for (const auto& [id, value] : values) {
            // An observer told of one value may change the map: from then on each is searched for.
            ParameterClass* listed = members != nullptr && shape_ == shape ? *members++ : nullptr;
            if (ParameterClass* parameter = parameterOf(id, listed))
                parameter->takeReported(value);
        }
    }

    // The parameter with the identifier: the one listed for it when that is the one, else the one found.
    ParameterClass* parameterOf(const ParameterId& id, ParameterClass* listed)
    {
        if (listed != nullptr && listed->id() == id)
            return listed;
        const auto found = Base::find(id);
        return found != this->end() ? &found->second : nullptr;
    }

private:
    static constexpr int everyGroup = 0x100;

    // A parameter of the group (or of all) and the protocol that owned it when the list was made.
    struct Owned {
        const ParameterClass* parameter;
        const GenericProtocol* owner;
    };

    // The last read of one group (or of all): the identifiers asked for, their
    // parameters in the same order, every parameter of the group with its owner
    // then, and the map the values came in. Polled again with the same list, the
    // protocol writes into that map in place.
    struct Poll {
        GenericProtocol* protocol = nullptr;
        uint64_t shape = 0;
        uint64_t version = 0; // the protocol's values version when read
        ParameterIdList ids;
        std::vector<ParameterClass*> members;
        std::vector<Owned> owners;
        ParameterValueMap values;
        bool valid = false;
        bool busy = false;
    };

    void refreshList(GenericProtocol* protocol, int group)
    {
        Poll& poll = pollOf(group);
        if (poll.busy) {
            // Refreshed again from inside an observer of this very read: a read of its own.
            Poll nested;
            read(nested, protocol, group);
            apply(nested);
            return;
        }
        poll.busy = true;
        struct Release {
            Poll& poll;
            ~Release() { poll.busy = false; }
        } release{poll};
        read(poll, protocol, group);
        apply(poll);
    }

    void read(Poll& poll, GenericProtocol* protocol, int group)
    {
        const bool again = poll.valid && poll.protocol == protocol && asksFor(poll);
        if (again && poll.version != 0 && poll.version == protocol->valuesVersion())
            return; // nothing the list reads has changed since it was read
        poll.valid = false; // until the read has succeeded
        if (again) {
            protocol->rereadValues(poll.ids, poll.values);
        } else {
            makeList(poll, protocol, group);
            poll.values.clear();
            protocol->getValues(poll.ids, poll.values);
        }
        poll.version = protocol->valuesVersion();
        poll.valid = true;
    }

    void apply(const Poll& poll)
    {
        // A protocol that answers the list, as the maps' protocols do, lets each value
        // go straight to its parameter; applyReport checks each one's identifier.
        const bool answered = poll.values.size() == poll.members.size() && poll.shape == shape_;
        applyReport(poll.values, answered ? poll.members.data() : nullptr);
    }

    // The parameters of the group (or all) owned by the protocol, in identifier order.
    void makeList(Poll& poll, GenericProtocol* protocol, int group)
    {
        auto at = this->begin();
        auto last = this->end();
        if (group != everyGroup) {
            // A group's parameters stand together in identifier order: only they are walked.
            const int8_t wanted = static_cast<int8_t>(group);
            at = this->lower_bound(ParameterId(wanted, INT8_MIN));
            if (wanted != INT8_MAX)
                last = this->lower_bound(ParameterId(int8_t(wanted + 1), INT8_MIN));
        }
        poll.ids.clear();
        poll.members.clear();
        poll.owners.clear();
        for (; at != last; ++at) {
            poll.owners.push_back({&at->second, at->second.owner()});
            if (at->second.owner() == protocol) {
                poll.ids.push_back(at->first);
                poll.members.push_back(&at->second);
            }
        }
        poll.protocol = protocol;
        poll.shape = shape_;
    }

    // Whether the list is still the one the map's parameters make: no parameter
    // came or went since, and none was replaced by one of another owner.
    bool asksFor(const Poll& poll) const
    {
        if (poll.shape != shape_)
            return false;
        for (const Owned& owned : poll.owners) {
            if (owned.parameter->owner() != owned.owner)
                return false;
        }
        return true;
    }

    // One read for each group and one for all, made when first asked for.
    Poll& pollOf(int group)
    {
        if (polls_.empty())
            polls_.resize(everyGroup + 1);
        return polls_[std::size_t(group)];
    }

    void forgetLists() { ++shape_; }

    // Counts the changes to which parameters the map holds.
    uint64_t shape_ = 0;
    std::vector<Poll> polls_;
};

// The control parameters. A reported batch is stored whole before anyone is
// told, so that observers and rules reading other parameters see all of it.
class ControlParameterMap : public ParameterMap<ControlParameter> {
public:

    // Writes the configuration file: every parameter marked saved, with its
    // pending value. Throws VormoException when the stream fails.
    virtual std::ostream& save(std::ostream& out);
    // Reads a configuration file and sets its values on the unit, parameter by
    // parameter, in up to five passes. Every failure of the family ends it with
    // "This is not a valid configuration file for this device"; values already
    // accepted stay set.
    virtual void load(std::istream& in);

protected:
    void applyReport(const ParameterValueMap& values, ControlParameter* const* members) override;
};
