#pragma once

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <list>
#include <memory>
#include <string>

#include "model/GenericProtocol.h"
#include "model/Observer.h"
#include "model/ParameterDependencies.h"
#include "model/ParameterFormatter.h"
#include "model/ParameterMap.h"

// Everything the application knows about one connected device: its protocol,
// its status and control parameters, the rules between them, the formatters
// that show them and the queue of status groups polled in turn. Derived sets
// define the parameters and fill the lists and the queue.
class ParameterSet {
public:
    // The protocol is not owned. The local protocol, owned by the set, keeps the
    // parameters that live only in the application and never reach the device.
    ParameterSet(GenericProtocol* protocol, std::unique_ptr<GenericProtocol> localProtocol);
    ParameterSet(const ParameterSet&) = delete;
    ParameterSet& operator=(const ParameterSet&) = delete;
    virtual ~ParameterSet();

    // Reads every control parameter owned by the protocol.
    virtual void refresh();
    // Makes the observer watch a control parameter and updates it at once.
    virtual void attachControlObserver(const ParameterId& id, Observer<ControlParameter>* observer);
    // Refreshes, then sets one control parameter at once; returns its pending value afterwards.
    virtual ParameterValue setValue(const ParameterId& id, const ParameterValue& value);
    // Refreshes, then writes and reads back a batch and applies what the unit reported.
    virtual void setValues(const ParameterValueMap& values, ParameterValueMap& result, int delayMs);
    // Whole-set documents: every control parameter, then every status parameter.
    virtual void exportHtml(std::ostream& out, const std::string& title);
    virtual void exportText(std::ostream& out, const std::string& title);
    virtual bool isMessageBased();
    // The parameters of one group under a caption.
    virtual void writeControlTextSection(std::ostream& out, uint8_t group, const std::string& caption);
    virtual void writeStatusTextSection(std::ostream& out, uint8_t group, const std::string& caption);
    virtual void writeControlHtmlSection(std::ostream& out, uint8_t group, const std::string& caption);
    virtual void writeStatusHtmlSection(std::ostream& out, uint8_t group, const std::string& caption);

    void attachStatusObserver(const ParameterId& id, Observer<Parameter>* observer);
    // A control parameter, else a status parameter; throws when neither holds it.
    Parameter* findParameter(const ParameterId& id);
    // Refreshes the status group at the front of the queue, then moves it to the
    // back. An empty queue polls nothing; a failed request leaves the queue as it was.
    void pollStatusGroup();

    // The configuration file, through the control map.
    void saveConfiguration(std::ostream& out);
    void loadConfiguration(std::istream& in);

    void writeHtmlHeader(std::ostream& out, const std::string& title);
    void writeHtmlTableStart(std::ostream& out, const std::string& caption);
    void writeHtmlTableEnd(std::ostream& out);
    void writeHtmlFooter(std::ostream& out);

    // Read access for the user interface and tests.
    const ControlParameterMap& controls() const { return controlParameters_; }
    const ParameterMap<Parameter>& statuses() const { return statusParameters_; }
    const std::deque<uint8_t>& pollQueue() const { return statusGroups_; }

protected:
    GenericProtocol* protocol_;
    // Owner of the parameters that live only in the application; declared before
    // the maps so that it outlives every parameter it owns.
    std::unique_ptr<GenericProtocol> localAdapter_;
    ParameterMap<Parameter> statusParameters_;
    ControlParameterMap controlParameters_;
    std::list<std::unique_ptr<ParameterDependencies>> rules_;
    std::list<std::unique_ptr<ParameterFormatter>> formatters_;
    std::deque<uint8_t> statusGroups_;
};
