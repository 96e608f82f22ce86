// The value's message codec, its serial byte form and its configuration-stream codec.
#include <functional>
#include <sstream>

#include "FuzzSupport.h"
#include "model/Exceptions.h"
#include "model/ParameterValue.h"

namespace {

void refusedUntouched(const ParameterValue& value)
{
    std::string room(300, '\xEE');
    std::string serial = "keep";
    for (const auto& send : {std::function<void()>([&] {
                                 value.write(reinterpret_cast<unsigned char*>(room.data()),
                                             static_cast<unsigned>(room.size()));
                             }),
                             std::function<void()>([&] { value.appendTo(serial); })}) {
        try {
            send();
            FUZZ_CHECK(false);
        } catch (const VormoException&) {
        }
    }
    FUZZ_CHECK(room == std::string(300, '\xEE') && serial == "keep");
}

void messageCodec(const uint8_t* data, std::size_t size)
{
    ParameterValue value;
    int used = 0;
    try {
        used = value.read(data, static_cast<unsigned>(size));
    } catch (const VormoException&) {
        return;
    }
    FUZZ_CHECK(used > 0 && static_cast<std::size_t>(used) <= size);
    FUZZ_CHECK(value.size() <= 255);
    FUZZ_CHECK(static_cast<int>(value.encodedSize()) == (value.isInteger() ? 3 : used));
    if (value.size() > ParameterValue::maximumEncodedLength) {
        // Read as a unit may report it, but longer than the program sends: refused.
        refusedUntouched(value);
        return;
    }

    // Encoding gives back the bytes read, except that a text of two bytes comes back as the integer
    // form, which is the same value: only the length tells the two apart.
    std::string written(value.encodedSize(), '\0');
    FUZZ_CHECK(value.write(reinterpret_cast<unsigned char*>(written.data()),
                           static_cast<unsigned>(written.size())) == static_cast<int>(written.size()));
    const std::string read(reinterpret_cast<const char*>(data), static_cast<std::size_t>(used));
    if (data[0] == 0x01 && value.size() == 2)
        FUZZ_CHECK(written == std::string("\x00", 1) + read.substr(2));
    else
        FUZZ_CHECK(written == read);

    ParameterValue again;
    FUZZ_CHECK(again.read(reinterpret_cast<const unsigned char*>(written.data()),
                          static_cast<unsigned>(written.size())) == static_cast<int>(written.size()));
    FUZZ_CHECK(again == value);

    // Too little room is refused, never overrun.
    if (!written.empty()) {
        std::string shorter(written.size() - 1, '\0');
        try {
            value.write(reinterpret_cast<unsigned char*>(shorter.data()),
                        static_cast<unsigned>(shorter.size()));
            FUZZ_CHECK(false);
        } catch (const VormoException&) {
        }
    }

    // Serial byte form: a length byte for everything but an integer.
    std::string serial;
    value.appendTo(serial);
    FUZZ_CHECK(serial == (value.isInteger()
                              ? value.toString()
                              : std::string(1, static_cast<char>(value.size())) + value.toString()));
}

void streamCodec(const uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    ParameterValue value;
    int32_t readSum = 0;
    try {
        FUZZ_CHECK(value.restore(in, readSum));
    } catch (const VormoException&) {
        return;
    }
    std::ostringstream out;
    int32_t savedSum = 0;
    value.save(out, savedSum);
    FUZZ_CHECK(readSum == savedSum);
    FUZZ_CHECK(out.str() == bytes.substr(0, 4 + value.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    messageCodec(data, size);
    streamCodec(data, size);
    return 0;
}
