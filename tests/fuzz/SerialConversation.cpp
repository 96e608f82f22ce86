// The serial connection talking to a unit that answers whatever the fuzzer gives:
// acknowledges, poll answers and reply frames for a few operations. Every failure
// must be one of the application's own exceptions, and a batch read keeps only
// the identifiers it asked for.
#include <algorithm>

#include "FuzzSupport.h"
#include "device/ProtocolAdapter.h"
#include "device/SmpteDeviceConnection.h"
#include "model/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    uint8_t operations[3];
    for (uint8_t& operation : operations)
        operation = input.takeByte();
    const std::string line = input.takeRest();
    // Each busy answer costs a 20 ms pause; one is enough to reach that code.
    if (std::count(line.begin(), line.end(), static_cast<char>(SmpteDeviceConnection::busy)) > 1)
        return 0;
    // The connection empties the line when it is made; the unit answers only afterwards.
    ScriptedDevice unit("", true);
    SmpteDeviceConnection connection(0x8280, &unit);
    unit.feed(line);
    ProtocolAdapter adapter(&connection);
    const ParameterIdList ids = {ParameterId(0x0511), ParameterId(0x0512), ParameterId(0x0301),
                                 ParameterId(0x1D00)};
    for (uint8_t operation : operations) {
        try {
            switch (operation % 4) {
            case 0: {
                ParameterValueMap result;
                connection.getValues(ids, result);
                for (const auto& entry : result)
                    FUZZ_CHECK(std::find(ids.begin(), ids.end(), entry.first) != ids.end());
                adapter.getValues(ids, result);
                FUZZ_CHECK(result.size() == ids.size());
                break;
            }
            case 1:
                adapter.getValue(ids[operation / 4 % ids.size()]);
                break;
            case 2:
                adapter.setValueAndRead(
                    ids[operation / 4 % ids.size()],
                    operation & 0x80 ? ParameterValue(std::string("Rack 7")) : ParameterValue(operation), 0);
                break;
            case 3:
                connection.getStatus();
                break;
            }
        } catch (const VormoException&) {
        }
    }
    return 0;
}
