#include "unit/UnitParameterSet.h"

#include <memory>
#include <ostream>

#include "device/ProtocolAdapter.h"
#include "model/Exceptions.h"
#include "model/ParameterFormatter.h"
#include "unit/DefaultDeviceConnection.h"

namespace {

// The rotation goes on where the previous set left it, so it lives outside any set.
uint32_t refreshRotation = 0;

struct ExportSection {
    int8_t group;
    const char* caption;
};

constexpr ExportSection exportSections[] = {
    {0x01, "System Information"}, {0x03, "System"}, {0x05, "Analogue Output"},
    {0x09, "Remote Communications"}, {0x0D, "Tessiva"}, {0x25, "Streaming Control"},
};

// The set's own factory-defaults store behind the adapter that presents it, so
// that the set owns both as the one owner of its application-only group.
class DefaultsProtocol : public ProtocolAdapter {
public:
    explicit DefaultsProtocol(std::unique_ptr<DefaultDeviceConnection> store)
        : ProtocolAdapter(store.get()), store_(std::move(store))
    {
    }

private:
    std::unique_ptr<DefaultDeviceConnection> store_;
};

constexpr int firstPresetName = 0x1D00;
constexpr int presetNamesPerMap = 16;

} // namespace

UnitParameterSet::UnitParameterSet(GenericProtocol* protocol, bool online)
    : ParameterSet(protocol, std::make_unique<DefaultsProtocol>(std::make_unique<DefaultDeviceConnection>()))
{
    defineParameters();
    // The file version belongs to whoever wrote the file, not to this application:
    // files keep recording it, but a load never takes it over.
    controlParameters_.find(ParameterId(0x4300)).setLoadable(false);
    definePresetNameMaps();
    definePollSchedule();
    ParameterSet::refresh();
    defineDependencyRules();
    defineOnlineRules(online);
    defineCustomFormatters();
}

UnitParameterSet::~UnitParameterSet() = default;

uint32_t UnitParameterSet::rotationCounter()
{
    return refreshRotation;
}

void UnitParameterSet::defineParameters()
{
    defineParameters0100();
    defineParameters0300();
    defineParameters030A();
    defineParameters0314();
    defineParameters0500();
    defineParameters050A();
    defineParameters0514();
    defineParameters0700();
    defineParameters070A();
    defineParameters0900();
    defineParameters090A();
    defineParameters0B00();
    defineParameters0B0A();
    defineParameters0D00();
    defineParameters0F00();
    defineParameters0F0A();
    defineParameters1100();
    defineParameters110A();
    defineParameters1300();
    defineParameters1500();
    defineParameters150A();
    defineParameters1514();
    defineParameters151E();
    defineParameters1528();
    defineParameters1700();
    defineParameters1900();
    defineParameters1B00();
    defineParameters1D00();
    defineParameters1D0A();
    defineParameters1D14();
    defineParameters1D1E();
    defineParameters1F00();
    defineParameters1F0A();
    defineParameters1F14();
    defineParameters1F1E();
    defineParameters1F28();
    defineParameters2100();
    defineParameters210A();
    defineParameters2114();
    defineParameters211E();
    defineParameters2128();
    defineParameters2132();
    defineParameters2300();
    defineParameters2500();
    defineParameters2700();
    defineParameters270A();
    defineParameters2900();
    defineParameters290A();
    defineParameters2B00();
    defineParameters2B0A();
    defineParameters2D00();
    defineParameters3300();
    defineParameters3500();
    defineParameters3700();
    defineParameters3D00();
    defineParameters4300();
}

void UnitParameterSet::define(const GroupCatalogue& group, int first, int last)
{
    for (const ParameterDefinition& row : group) {
        if (row.id < first || row.id > last)
            continue;
        const ParameterId id(static_cast<int16_t>(row.id));
        const bool isText = row.formatter == FormatterKind::String;
        const ParameterValue minimum = isText ? ParameterValue(MinimumValue()) : ParameterValue(row.minimum);
        const ParameterValue maximum = isText ? ParameterValue(MaximumValue()) : ParameterValue(row.maximum);
        // The application's own group lives on the computer, never on the unit.
        GenericProtocol* owner = id.group() == 0x43 ? localAdapter_.get() : protocol_;

        Parameter* stored = nullptr;
        if (row.kind == ParameterKind::Control) {
            ControlParameter& parameter =
                controlParameters_.insert_or_assign(id, ControlParameter(owner, id, minimum, maximum)).first->second;
            parameter.setSaved(row.saved);
            stored = &parameter;
        } else {
            stored = &statusParameters_.insert_or_assign(id, Parameter(owner, id, minimum, maximum)).first->second;
        }
        if (row.alwaysNotify)
            stored->setAlwaysNotify(true);

        std::unique_ptr<ParameterFormatter> formatter;
        if (row.formatter == FormatterKind::Enumerated) {
            auto enumerated = std::make_unique<EnumeratedFormatter>(row.name);
            for (const ValueLabel& label : row.labels)
                enumerated->add(ParameterValue(label.value), label.text);
            formatter = std::move(enumerated);
        } else if (isText) {
            formatter = std::make_unique<StringFormatter>(row.name);
        }
        if (formatter) {
            stored->setFormatter(formatter.get());
            formatters_.push_back(std::move(formatter));
        }
    }
}

void UnitParameterSet::definePresetNameMaps()
{
    for (int map = 0; map < 2; ++map) {
        for (int i = 0; i < presetNamesPerMap; ++i) {
            const ParameterId id(static_cast<int16_t>(firstPresetName + map * presetNamesPerMap + i));
            presetNames_[map].insert_or_assign(id, controlParameters_.find(id));
            controlParameters_.erase(id);
        }
    }
}

void UnitParameterSet::definePollSchedule()
{
    // The meters, bitstream, streaming and time-code groups recur between the others.
    constexpr uint8_t recurring[] = {0x27, 0x15, 0x2B, 0x13};
    for (unsigned group = 0x01; group <= 0x43; group += 2) {
        const unsigned k = (group >> 1) % 5;
        if (k < 4)
            statusGroups_.push_back(recurring[k]);
        statusGroups_.push_back(static_cast<uint8_t>(group));
    }
}

void UnitParameterSet::refresh()
{
    const uint32_t step = refreshRotation++ % 3;
    if (step == 0)
        ParameterSet::refresh();
    else
        presetNames_[step - 1].refreshAll(protocol_);
}

void UnitParameterSet::attachControlObserver(const ParameterId& id, Observer<ControlParameter>* observer)
{
    for (ControlParameterMap& names : presetNames_) {
        if (names.contains(id)) {
            ControlParameter& parameter = names.find(id);
            observer->setSubject(&parameter);
            parameter.attach(observer);
            return;
        }
    }
    ParameterSet::attachControlObserver(id, observer);
}

void UnitParameterSet::exportText(std::ostream& out, const std::string& title)
{
    out << title << "\r\n\r\n";
    for (const ExportSection& section : exportSections)
        writeControlTextSection(out, section.group, section.caption);
    if (!out)
        throw VormoException("Error formatting a parameter as text.");
}

void UnitParameterSet::exportGroupsHtml(std::ostream& out, const std::string& title)
{
    writeHtmlHeader(out, title);
    for (const ExportSection& section : exportSections)
        writeControlHtmlSection(out, section.group, section.caption);
    writeHtmlFooter(out);
    if (!out)
        throw VormoException("Error formatting a parameter as html.");
}
