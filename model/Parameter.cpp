#include "model/Parameter.h"

#include <ostream>
#include <string>

#include "model/GenericProtocol.h"
#include "model/Exceptions.h"
#include "model/ParameterFormatter.h"
#include "model/Transaction.h"

namespace {

// Cells of an HTML row hold text from the unit; keep the document well-formed.
std::string htmlEscaped(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// The name and the value text of a row; false when the formatter reports a failure.
bool rowTexts(const Parameter& parameter, std::string& name, std::string& text)
{
    const ParameterFormatter* formatter = parameter.formatter();
    if (formatter != nullptr) {
        std::ostringstream nameStream;
        if (!formatter->writeName(nameStream))
            return false;
        std::ostringstream valueStream;
        if (!formatter->format(valueStream, parameter.current()))
            return false;
        name = nameStream.str();
        text = valueStream.str();
        return true;
    }
    std::ostringstream nameStream;
    nameStream << parameter.id();
    name = nameStream.str();
    text = std::to_string(parameter.current().toInt16());
    return true;
}

} // namespace

Parameter::Parameter(GenericProtocol* owner, const ParameterId& id, const ParameterValue& minimum,
                     const ParameterValue& maximum, ParameterFormatter* formatter)
    : minimum_(minimum), maximum_(maximum), owner_(owner), id_(id), current_(minimum), formatter_(formatter)
{
}

Parameter::~Parameter() = default;

bool Parameter::format(std::ostream& out, const ParameterValue& value,
                       const ParameterFormatter* withFormatter) const
{
    const ParameterFormatter* chosen = withFormatter != nullptr ? withFormatter : formatter_;
    if (chosen != nullptr)
        return chosen->format(out, value);
    out << std::to_string(value.toUInt16());
    return !out.fail();
}

void Parameter::refresh()
{
    ParameterValue read = owner_->getValue(id_);
    if (read != current_ || alwaysNotify_) {
        current_ = std::move(read);
        notify(nullptr);
    }
}

bool Parameter::updateFrom(const ParameterValueMap& values)
{
    const auto found = values.find(id_);
    return found != values.end() && takeReported(found->second);
}

bool Parameter::takeReported(const ParameterValue& reported)
{
    if (reported == current_ && !alwaysNotify_)
        return false;
    current_ = reported;
    notify(nullptr);
    return true;
}

ParameterFormatter* Parameter::setFormatter(ParameterFormatter* newFormatter)
{
    ParameterFormatter* previous = formatter_;
    formatter_ = newFormatter;
    return previous;
}

bool Parameter::inRange(const ParameterValue& candidate) const
{
    const int16_t reading = candidate.toInt16();
    return reading >= minimum_.toInt16() && reading <= maximum_.toInt16();
}

void Parameter::setMaximum(const ParameterValue& newMaximum, Parameter* cause)
{
    if (cause != nullptr)
        boundBy_.insert(cause);
    if (current_.toInt16() > newMaximum.toInt16())
        throw VormoException(InconsistentStateMessage(*this, cause).str());
    if (newMaximum != maximum_) {
        maximum_ = newMaximum;
        notify(nullptr);
    }
}

void Parameter::formatText(std::ostream& out) const
{
    std::string name;
    std::string text;
    if (rowTexts(*this, name, text))
        out << name << ": " << text;
}

void Parameter::formatHtml(std::ostream& out) const
{
    std::string name;
    std::string text;
    if (rowTexts(*this, name, text))
        out << "<TR><TD>" << htmlEscaped(name) << "</TD><TD>" << htmlEscaped(text) << "</TD></TR>\r\n";
}

ControlParameter::ControlParameter(GenericProtocol* owner, const ParameterId& id,
                                   const ParameterValue& minimum, const ParameterValue& maximum,
                                   ParameterFormatter* formatter)
    : Parameter(owner, id, minimum, maximum, formatter), pending_(0)
{
}

void ControlParameter::refresh()
{
    ParameterValue read = owner_->getValue(id_);
    // A pending value the unit has not confirmed is dropped; observers show the
    // pending value, so they are told when it moves as well as when current does.
    const bool changed = read != current_ || read != pending_;
    pending_ = read;
    current_ = std::move(read);
    if (changed || alwaysNotify_)
        notify(nullptr);
}

bool ControlParameter::updateFrom(const ParameterValueMap& values)
{
    const auto found = values.find(id_);
    return found != values.end() && takeReported(found->second);
}

bool ControlParameter::takeReported(const ParameterValue& reported)
{
    if (reported == pending_) {
        // The unit confirms what was asked for: nothing to show, but current
        // must follow so that revert, the export and range checks see it.
        current_ = reported;
        return false;
    }
    pending_ = reported;
    current_ = pending_;
    return true;
}

void ControlParameter::setPending(const ParameterValue& newValue, Transaction* transaction)
{
    if (transaction == nullptr) {
        setValue(newValue);
        return;
    }
    if (newValue == pending_ || !inRange(newValue))
        return;
    transaction->add(this);
    pending_ = newValue;
    notify(transaction);
}

void ControlParameter::setValue(const ParameterValue& newValue)
{
    if (newValue == value() || !inRange(newValue))
        return;
    send(newValue);
}

void ControlParameter::revert()
{
    pending_ = current_;
    notify(nullptr);
}

void ControlParameter::send(const ParameterValue& newValue)
{
    if (newValue == pending_)
        return;
    ParameterValue reply = owner_->setValueAndRead(id_, newValue, delayMs_);
    if (reply != pending_) {
        pending_ = std::move(reply);
        current_ = pending_;
        notify(nullptr);
    } else {
        // The unit kept the pending value: nothing to show, but it is now confirmed.
        current_ = std::move(reply);
    }
}

void ControlParameter::sendAlways(const ParameterValue& newValue)
{
    if (!inRange(newValue))
        return;
    ParameterValue reply = owner_->setValueAndRead(id_, newValue, delayMs_);
    pending_ = std::move(reply);
    current_ = pending_;
    notify(nullptr);
}

InconsistentStateMessage::InconsistentStateMessage(const Parameter& parameter, const Parameter*)
{
    *this << "The device appears to be in an inconsistent state.  ";
    parameter.formatText(*this);
    *this << " is incompatible with "
          << "another parameter value.";
}
