// A configuration file loaded into the unit's parameter set off line, as the File
// menu loads one: every failure is the one "not a valid configuration file" text.
#include <sstream>

#include "FuzzSupport.h"
#include "device/ProtocolAdapter.h"
#include "model/ConfigurationFile.h"
#include "model/Exceptions.h"
#include "unit/DefaultDeviceConnection.h"
#include "unit/UnitParameterSet.h"

namespace {

std::string saved(ParameterSet& set)
{
    std::ostringstream out;
    set.saveConfiguration(out);
    return out.str();
}

// The records in the file's own format, in map order.
std::string written(const ParameterValueMap& records)
{
    std::ostringstream out;
    const auto count = static_cast<uint32_t>(records.size());
    writeStreamInt32(out, count);
    int32_t checksum = static_cast<int32_t>(count);
    for (const auto& [id, value] : records) {
        id.save(out, checksum);
        value.save(out, checksum);
    }
    writeStreamInt32(out, static_cast<uint32_t>(checksum));
    return out.str();
}

// The set is built once (building it costs more than most loads); after every input
// it is put back to the factory defaults by loading them, which must always work.
struct OffLineSet {
    DefaultDeviceConnection store;
    ProtocolAdapter adapter{&store};
    UnitParameterSet set{&adapter, false};
    const std::string defaults = saved(set);

    void load(const std::string& file)
    {
        std::istringstream in(file);
        set.loadConfiguration(in);
    }
    void reset()
    {
        load(defaults);
        FUZZ_CHECK(saved(set) == defaults);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string file(reinterpret_cast<const char*>(data), size);

    // The record reader: what it accepts, written again in order, reads as the same records.
    try {
        std::istringstream in(file);
        const ParameterValueMap records = readParameterValueMap(in);
        std::istringstream again(written(records));
        FUZZ_CHECK(readParameterValueMap(again) == records);
    } catch (const VormoException&) {
    }

    // The whole load against the off-line store.
    static OffLineSet offLine;
    try {
        offLine.load(file);
    } catch (const VormoException& failure) {
        FUZZ_CHECK(std::string(failure.what()) == invalidConfigurationText);
        offLine.reset();
        return 0;
    }
    // A file that loads saves as one that loads into the defaults and saves the same again.
    const std::string first = saved(offLine.set);
    offLine.reset();
    offLine.load(first);
    FUZZ_CHECK(saved(offLine.set) == first);
    offLine.reset();
    return 0;
}
