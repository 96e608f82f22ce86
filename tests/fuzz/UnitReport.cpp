// Values as the unit reports them, however odd (wrong length, out of range, texts
// where numbers belong), taken in by the unit's parameter set on line: refreshed,
// polled, checked by the rules and written out by every formatter in the exports.
#include <sstream>

#include "FuzzSupport.h"
#include "device/ProtocolAdapter.h"
#include "model/Exceptions.h"
#include "unit/DefaultDeviceConnection.h"
#include "unit/UnitParameterSet.h"
#include "unit/catalogue/Catalogue.h"

namespace {

const ParameterId remoteMode(0x090A);

std::vector<ParameterId> catalogueIds()
{
    std::vector<ParameterId> ids;
    for (const GroupCatalogue* group : allCatalogueGroups())
        for (const ParameterDefinition& row : *group)
            ids.push_back(ParameterId(static_cast<int16_t>(row.id)));
    return ids;
}

// The unit: the factory defaults, in remote mode so that the set takes it.
class ReportingUnit : public DefaultDeviceConnection {
public:
    ReportingUnit() { reset(); }
    void report(const ParameterId& id, const ParameterValue& value) { store()[id] = value; }
    void reset()
    {
        loadDefaults();
        store()[remoteMode] = ParameterValue(2);
    }
};

// Built once: building a set costs more than most inputs.
struct OnLineSet {
    ReportingUnit unit;
    ProtocolAdapter adapter{&unit};
    UnitParameterSet set{&adapter, true};
    const std::vector<ParameterId> ids = catalogueIds();

    // A whole refresh rotation and a whole pass of the poll schedule.
    void takeReports()
    {
        for (int step = 0; step < 3; ++step)
            set.refresh();
        for (std::size_t poll = 0; poll < set.pollQueue().size(); ++poll)
            set.pollStatusGroup();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static OnLineSet onLine;
    FuzzInput input(data, size);
    // Records of a catalogue row (two bytes), a length and that many value bytes.
    while (input.remaining() >= 3) {
        const unsigned row = (static_cast<unsigned>(input.takeByte()) << 8) | input.takeByte();
        const std::size_t length = input.takeByte() % 8;
        std::string value;
        for (std::size_t i = 0; i < length && input.remaining() > 0; ++i)
            value.push_back(static_cast<char>(input.takeByte()));
        onLine.unit.report(onLine.ids[row % onLine.ids.size()], ParameterValue(value));
    }
    try {
        onLine.takeReports();
        std::ostringstream text;
        onLine.set.exportText(text, "Fuzz");
        std::ostringstream html;
        onLine.set.exportHtml(html, "Fuzz");
        std::ostringstream groups;
        onLine.set.exportGroupsHtml(groups, "Fuzz");
    } catch (const VormoException&) {
        // A unit the set refuses (local mode, another version) or values it cannot take.
    }
    onLine.unit.reset();
    onLine.takeReports();
    return 0;
}
