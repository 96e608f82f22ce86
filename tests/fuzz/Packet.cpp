// Frames of the TCP link as the unit sends them: a stream of frames read one after
// another, each decoded and executed as the message connection does.
#include "device/Packet.h"
#include "FuzzSupport.h"
#include "device/Message.h"
#include "model/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const bool partialReads = (input.takeByte() & 1) != 0;
    const std::string stream = input.takeRest();
    ScriptedDevice link(stream, partialReads);
    ParameterValueMap cache;
    Packet packet;
    for (int frame = 0; frame < 64; ++frame) {
        const std::size_t before = link.left();
        try {
            if (!packet.receive(link))
                break;
        } catch (const ProtocolException&) {
            break;
        }
        // The frame read is exactly what the packet holds: sending it again gives the same bytes.
        const std::size_t used = before - link.left();
        FUZZ_CHECK(packet.length() <= Packet::maximumPayload);
        FUZZ_CHECK(packet.payload().size() == packet.length());
        FUZZ_CHECK(used == 4 + packet.length());
        FUZZ_CHECK(link.timeout == Packet::payloadTimeoutMs);
        link.written.clear();
        packet.send(link);
        FUZZ_CHECK(link.written == stream.substr(stream.size() - before, used));
        link.written.clear();

        try {
            Message* message = packet.decodeMessage();
            FUZZ_CHECK(message != nullptr);
            FUZZ_CHECK(packet.decodeMessage() == message);
            FUZZ_CHECK(message->type().code() == packet.payload()[0]);
            std::unique_ptr<GenericPacket> reply = packet.create();
            message->execute(cache, link, *reply);
        } catch (const VormoException&) {
            // Refused or reported by the unit; the link goes on with the next frame.
        }
    }
    return 0;
}
