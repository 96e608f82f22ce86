// Every message body the unit can send, decoded by each message class (also the
// wrong one), executed, and encoded again where the class has an encoder.
#include "FuzzSupport.h"
#include "device/Message.h"
#include "device/Packet.h"
#include "model/Exceptions.h"

namespace {

const unsigned char* bytesOf(const std::string& text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

std::string encoded(const Message& message)
{
    std::string bytes(message.encodedSize(), '\0');
    const int written =
        message.encode(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<unsigned>(bytes.size()));
    FUZZ_CHECK(written == static_cast<int>(bytes.size()));
    return bytes;
}

void execute(Message& message, ParameterValueMap& cache)
{
    ScriptedDevice link("");
    Packet reply;
    message.execute(cache, link, reply);
}

// A list of values: executing it files every entry; the same entries written as a
// Set (which is how the application encodes a list) and read back are the same entries,
// and a second round gives the same bytes.
void checkList(StatusMessage& status)
{
    ParameterValueMap cache;
    execute(status, cache);
    FUZZ_CHECK(cache == status.entries());

    std::string first = encoded(SetMessage(status.entries()));
    FUZZ_CHECK(first[0] == CommandType::Set);
    first[0] = static_cast<char>(status.type().code());
    StatusMessage again(bytesOf(first), static_cast<unsigned>(first.size()));
    FUZZ_CHECK(again.entries() == status.entries());
    std::string second = encoded(SetMessage(again.entries()));
    second[0] = first[0];
    FUZZ_CHECK(second == first);
    for (const auto& entry : status.entries())
        FUZZ_CHECK(status.contains(entry.first));
}

void decodeAs(uint8_t kind, const std::string& payload)
{
    const unsigned char* bytes = bytesOf(payload);
    const auto length = static_cast<unsigned>(payload.size());
    ParameterValueMap cache;
    switch (kind % 7) {
    case 0: {
        StatusMessage status(bytes, length);
        checkList(status);
        break;
    }
    case 1: {
        ErrorMessage error(bytes, length);
        FUZZ_CHECK(length >= 5);
        try {
            execute(error, cache);
            FUZZ_CHECK(false);
        } catch (const HostException& failure) {
            FUZZ_CHECK(std::string(failure.what()) == "Error: " + error.error().text);
        }
        break;
    }
    case 2: {
        FlashOperationDoneMessage done(bytes, length);
        FUZZ_CHECK(length >= 5);
        try {
            execute(done, cache);
            FUZZ_CHECK(done.result().code == 0);
        } catch (const FlashException&) {
            FUZZ_CHECK(done.result().code != 0);
        }
        break;
    }
    case 3: {
        LogMessage log(CommandType::read(bytes, length), bytes, length);
        FUZZ_CHECK(encoded(log) == payload);
        execute(log, cache);
        FUZZ_CHECK(cache.at(LogMessage::logId()).toString() == payload.substr(1));
        break;
    }
    case 4: {
        RawDataMessage raw(CommandType::read(bytes, length));
        FUZZ_CHECK(raw.decode(bytes, length) == static_cast<int>(length));
        FUZZ_CHECK(encoded(raw) == payload);
        break;
    }
    case 5: {
        PingRequestMessage ping;
        FUZZ_CHECK(ping.decode(bytes, length) == 1);
        FUZZ_CHECK(encoded(ping) == payload.substr(0, 1));
        ScriptedDevice link("");
        Packet reply;
        ping.execute(cache, link, reply);
        FUZZ_CHECK(link.written == std::string("\x00\x00\x00\x05\x01", 5));
        break;
    }
    case 6: {
        PingResponseMessage pong;
        FUZZ_CHECK(pong.decode(bytes, length) == 1);
        FUZZ_CHECK(encoded(pong) == payload.substr(0, 1));
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const uint8_t kind = input.takeByte();
    const std::string payload = input.takeRest();
    try {
        decodeAs(kind, payload);
    } catch (const VormoException&) {
    }
    return 0;
}
