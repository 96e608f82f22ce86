// A reply frame of the serial link as the unit sends it, read as the connection
// reads it and its items parsed; a frame read whole is the frame sent again.
#include "FuzzSupport.h"
#include "device/SmpteMessage.h"
#include "model/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    // The serial port hands over what arrived when its time-out runs out.
    ScriptedDevice unit(line, true);
    SmpteMessage reply;
    try {
        reply.receive(unit);
    } catch (const ProtocolException&) {
        return 0;
    }
    const std::string& frame = reply.bytes();
    FUZZ_CHECK(frame.size() >= 2 && frame.size() == 2u + static_cast<unsigned char>(frame[1]));
    const std::size_t used = size - unit.left();
    FUZZ_CHECK(used == frame.size() + 1);
    reply.send(unit);
    FUZZ_CHECK(unit.written == line.substr(0, used));

    ParameterValueMap values;
    reply.parseValues(values);
    FUZZ_CHECK(values.size() <= frame.size() / 3);
    for (const auto& [id, value] : values) {
        FUZZ_CHECK(id.group() == static_cast<int8_t>(frame[2]));
        FUZZ_CHECK(value.size() <= frame.size());
    }
    return 0;
}
