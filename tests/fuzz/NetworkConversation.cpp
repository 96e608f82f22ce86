// The message connection talking to a unit that sends whatever the fuzzer gives:
// start-up, then a few operations of the user interface. Every failure must be one
// of the application's own exceptions, never a crash or another exception type.
#include "FuzzSupport.h"
#include "device/NetworkDeviceConnection.h"
#include "device/Packet.h"
#include "device/ProtocolAdapter.h"
#include "model/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    uint8_t operations[4];
    for (uint8_t& operation : operations)
        operation = input.takeByte();
    ScriptedDevice unit(input.takeRest());
    Packet packet;
    std::time_t now = 1000;
    std::unique_ptr<NetworkDeviceConnection> connection;
    try {
        connection = std::make_unique<NetworkDeviceConnection>(&unit, &packet, [&now] { return now; });
    } catch (const VormoException&) {
        return 0;
    }
    ProtocolAdapter adapter(connection.get());
    const ParameterId volume(0x0511);
    const ParameterId name(0x0B00);
    for (uint8_t operation : operations) {
        try {
            ParameterValueMap result;
            switch (operation % 6) {
            case 0:
                now += operation / 6; // sometimes past the keep-alive period
                adapter.getValues({volume, name}, result);
                FUZZ_CHECK(result.size() == 2);
                break;
            case 1:
                adapter.setValueAndRead(volume, ParameterValue(operation), 0);
                break;
            case 2:
                adapter.setValues({{name, ParameterValue(std::string("Rack"))}, {volume, ParameterValue(3)}},
                                  0);
                break;
            case 3: {
                std::string log;
                adapter.getEventLog(log);
                break;
            }
            case 4: {
                std::string log;
                adapter.getErrorLog(log);
                break;
            }
            case 5: {
                const unsigned char block[3] = {1, 2, 3};
                adapter.sendFlashBlock(block, sizeof block, operation & 1 ? 1 : 2, (operation & 2) != 0);
                break;
            }
            }
        } catch (const VormoException&) {
        }
    }
    return 0;
}
