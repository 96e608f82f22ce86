#pragma once

#include <iosfwd>
#include <set>
#include <sstream>

#include "model/ParameterId.h"
#include "model/ParameterValue.h"
#include "model/Subject.h"

class GenericProtocol;
class ParameterFormatter;
class Transaction;

// One value of the unit as the application knows it: identifier, range, the
// protocol it is read through and the last value read. Observers show it.
// Held by value in the set's maps; a copy starts without observers.
class Parameter : public Subject {
public:
    Parameter(GenericProtocol* owner, const ParameterId& id, const ParameterValue& minimum,
              const ParameterValue& maximum, ParameterFormatter* formatter = nullptr);
    Parameter(const Parameter&) = default;
    Parameter& operator=(const Parameter&) = default;
    ~Parameter() override;

    // Writes the value as text with the given formatter, else the parameter's
    // own, else as an unsigned number. Returns whether text was written.
    virtual bool format(std::ostream& out, const ParameterValue& value,
                        const ParameterFormatter* withFormatter = nullptr) const;
    // The value observers show.
    virtual const ParameterValue& value() const { return current_; }
    // Reads the value from the unit; observers are told when it changed.
    virtual void refresh();
    // Takes this parameter's value from a batch the unit reported; true when it took a new value.
    virtual bool updateFrom(const ParameterValueMap& values);
    // The same, given the value reported for this parameter. The maps hold their
    // parameters by value, so they call it without looking the value up again.
    bool takeReported(const ParameterValue& reported);

    ParameterFormatter* setFormatter(ParameterFormatter* newFormatter);
    void setAlwaysNotify(bool notify) { alwaysNotify_ = notify; }
    // Narrows the range on behalf of a rule (the cause, may be null). Throws
    // when the current value no longer fits; notifies when the maximum changed.
    void setMaximum(const ParameterValue& newMaximum, Parameter* cause);

    // Export rows: "name: value" without line end, and one HTML table row.
    void formatText(std::ostream& out) const;
    void formatHtml(std::ostream& out) const;

    const ParameterValue& minimum() const { return minimum_; }
    const ParameterValue& maximum() const { return maximum_; }
    GenericProtocol* owner() const { return owner_; }
    const ParameterId& id() const { return id_; }
    const ParameterValue& current() const { return current_; }
    const std::set<Parameter*>& boundBy() const { return boundBy_; }
    bool available() const { return available_; }
    bool alwaysNotify() const { return alwaysNotify_; }
    ParameterFormatter* formatter() const { return formatter_; }

protected:
    // Range check on the signed 16-bit readings.
    bool inRange(const ParameterValue& candidate) const;

    ParameterValue minimum_;
    ParameterValue maximum_;
    GenericProtocol* owner_;
    ParameterId id_;
    ParameterValue current_;
    std::set<Parameter*> boundBy_;
    bool available_ = true;
    bool alwaysNotify_ = false;
    ParameterFormatter* formatter_;
};

// A parameter the user can set. `current` is the last value the unit
// confirmed, `pending` the value asked for; observers show `pending`.
class ControlParameter : public Parameter {
public:
    ControlParameter(GenericProtocol* owner, const ParameterId& id, const ParameterValue& minimum,
                     const ParameterValue& maximum, ParameterFormatter* formatter = nullptr);

    const ParameterValue& value() const override { return pending_; }
    void refresh() override;
    bool updateFrom(const ParameterValueMap& values) override;
    bool takeReported(const ParameterValue& reported);
    // Inside a transaction: records the change without sending it. With a null
    // transaction: the same as setValue.
    virtual void setPending(const ParameterValue& newValue, Transaction* transaction);
    // Sends at once when the value differs from the pending one and lies in range.
    virtual void setValue(const ParameterValue& newValue);
    // Pending value back to the current one; observers always told.
    virtual void revert();
    // Writes and reads back; observers told when the reply changed the pending value.
    virtual void send(const ParameterValue& newValue);
    // Writes and reads back even when nothing changed (push buttons); observers always told.
    virtual void sendAlways(const ParameterValue& newValue);

    const ParameterValue& pending() const { return pending_; }
    int32_t delayMs() const { return delayMs_; }
    void setDelayMs(int32_t delay) { delayMs_ = delay; }
    bool saved() const { return saved_; }
    void setSaved(bool saved) { saved_ = saved; }
    // A saved parameter that a configuration load passes over (its record still counts as set).
    bool loadable() const { return loadable_; }
    void setLoadable(bool loadable) { loadable_ = loadable; }

private:
    int32_t delayMs_ = 0;
    bool saved_ = true;
    bool loadable_ = true;
    ParameterValue pending_;
};

// The text of the failure when a rule imposes a maximum below a parameter's current value.
class InconsistentStateMessage : public std::ostringstream {
public:
    InconsistentStateMessage(const Parameter& parameter, const Parameter* cause);
};
