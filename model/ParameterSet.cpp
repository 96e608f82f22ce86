#include "model/ParameterSet.h"

#include <algorithm>
#include <ostream>
#include <sstream>

#include "model/Exceptions.h"

ParameterSet::ParameterSet(GenericProtocol* protocol, std::unique_ptr<GenericProtocol> localProtocol)
    : protocol_(protocol), localAdapter_(std::move(localProtocol))
{
}

ParameterSet::~ParameterSet()
{
    // Rules first, while the parameters they watch still exist; then the
    // formatters; the maps follow as members, the control map first.
    rules_.clear();
    formatters_.clear();
}

void ParameterSet::refresh()
{
    controlParameters_.refreshAll(protocol_);
}

void ParameterSet::attachControlObserver(const ParameterId& id, Observer<ControlParameter>* observer)
{
    ControlParameter& parameter = controlParameters_.find(id);
    observer->setSubject(&parameter);
    parameter.attach(observer);
}

void ParameterSet::attachStatusObserver(const ParameterId& id, Observer<Parameter>* observer)
{
    Parameter& parameter = statusParameters_.find(id);
    observer->setSubject(&parameter);
    parameter.attach(observer);
}

ParameterValue ParameterSet::setValue(const ParameterId& id, const ParameterValue& value)
{
    refresh();
    ControlParameter& parameter = controlParameters_.find(id);
    parameter.setValue(value);
    return parameter.value();
}

void ParameterSet::setValues(const ParameterValueMap& values, ParameterValueMap& result, int delayMs)
{
    refresh();
    protocol_->setValuesAndRead(values, result, delayMs);
    controlParameters_.update(result);
}

bool ParameterSet::isMessageBased()
{
    return protocol_->isMessageBased();
}

Parameter* ParameterSet::findParameter(const ParameterId& id)
{
    if (controlParameters_.contains(id))
        return &controlParameters_.find(id);
    if (statusParameters_.contains(id))
        return &statusParameters_.find(id);
    throw VormoException(ParameterMap<Parameter>::notFoundText(id));
}

void ParameterSet::pollStatusGroup()
{
    if (statusGroups_.empty())
        return;
    const uint8_t group = statusGroups_.front();
    statusParameters_.refreshGroup(protocol_, group);
    // Rotated in place: taking from the front and adding at the back would now and
    // then free and allocate a block of the queue.
    std::rotate(statusGroups_.begin(), statusGroups_.begin() + 1, statusGroups_.end());
}

void ParameterSet::saveConfiguration(std::ostream& out)
{
    controlParameters_.save(out);
}

void ParameterSet::loadConfiguration(std::istream& in)
{
    controlParameters_.load(in);
}

// Export

namespace {

template <class ParameterClass>
void writeTextRows(std::ostream& out, const ParameterMap<ParameterClass>& parameters)
{
    for (const auto& [id, parameter] : parameters) {
        if (out.fail())
            throw VormoException("Error formatting a parameter as text.");
        std::ostringstream row;
        parameter.formatText(row);
        if (!row.fail() && !row.str().empty())
            out << row.str() << "\r\n";
    }
}

template <class ParameterClass>
void writeHtmlRows(std::ostream& out, const ParameterMap<ParameterClass>& parameters)
{
    for (const auto& [id, parameter] : parameters) {
        if (out.fail())
            throw VormoException("Error formatting a parameter as html.");
        parameter.formatHtml(out);
    }
}

template <class ParameterClass>
void writeTextSection(std::ostream& out, const ParameterMap<ParameterClass>& parameters, uint8_t group,
                      const std::string& caption)
{
    out << "\r\n" << caption << "\r\n";
    for (const auto& [id, parameter] : parameters) {
        if (id.group() != static_cast<int8_t>(group))
            continue;
        std::ostringstream row;
        parameter.formatText(row);
        if (!row.fail() && !row.str().empty())
            out << '\t' << row.str() << "\r\n";
    }
}

template <class ParameterClass>
void writeHtmlRowsOfGroup(std::ostream& out, const ParameterMap<ParameterClass>& parameters, uint8_t group)
{
    for (const auto& [id, parameter] : parameters) {
        if (id.group() == static_cast<int8_t>(group))
            parameter.formatHtml(out);
    }
}

} // namespace

void ParameterSet::exportText(std::ostream& out, const std::string& title)
{
    out << title << "\r\n\r\n";
    out << "CONTROL PARAMETERS\r\n";
    writeTextRows(out, controlParameters_);
    out << "STATUS PARAMETERS\r\n";
    writeTextRows(out, statusParameters_);
    // A failure while writing the last row would otherwise pass for success.
    if (out.fail())
        throw VormoException("Error formatting a parameter as text.");
}

void ParameterSet::exportHtml(std::ostream& out, const std::string& title)
{
    writeHtmlHeader(out, title);
    writeHtmlTableStart(out, "CONTROL PARAMETERS");
    writeHtmlRows(out, controlParameters_);
    writeHtmlTableEnd(out);
    writeHtmlTableStart(out, "STATUS PARAMETERS");
    writeHtmlRows(out, statusParameters_);
    writeHtmlTableEnd(out);
    writeHtmlFooter(out);
    if (out.fail())
        throw VormoException("Error formatting a parameter as html.");
}

void ParameterSet::writeControlTextSection(std::ostream& out, uint8_t group, const std::string& caption)
{
    writeTextSection(out, controlParameters_, group, caption);
}

void ParameterSet::writeStatusTextSection(std::ostream& out, uint8_t group, const std::string& caption)
{
    writeTextSection(out, statusParameters_, group, caption);
}

void ParameterSet::writeControlHtmlSection(std::ostream& out, uint8_t group, const std::string& caption)
{
    writeHtmlTableStart(out, caption);
    writeHtmlRowsOfGroup(out, controlParameters_, group);
    writeHtmlTableEnd(out);
}

void ParameterSet::writeStatusHtmlSection(std::ostream& out, uint8_t group, const std::string& caption)
{
    writeHtmlTableStart(out, caption);
    writeHtmlRowsOfGroup(out, statusParameters_, group);
    writeHtmlTableEnd(out);
}

void ParameterSet::writeHtmlHeader(std::ostream& out, const std::string& title)
{
    out << "<HTML><HEAD><TITLE>" << title << "</TITLE> </HEAD> <BODY>\r\n";
    out << "<H1>" << title << "</H1>\n";
}

void ParameterSet::writeHtmlTableStart(std::ostream& out, const std::string& caption)
{
    out << "<BR><CAPTION><FONT SIZE=+1>" << caption << " </FONT></CAPTION>\r\n";
    out << "<TABLE BORDER COLS=2>\r\n";
}

void ParameterSet::writeHtmlTableEnd(std::ostream& out)
{
    out << "</TABLE>\r\n";
}

void ParameterSet::writeHtmlFooter(std::ostream& out)
{
    out << "</BODY></HTML>\r\n";
}
