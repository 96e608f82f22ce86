// The identifier's message codec and its configuration-stream codec.
#include <sstream>

#include "FuzzSupport.h"
#include "model/Exceptions.h"
#include "model/ParameterId.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // Message codec: two bytes or a refusal, and the same two bytes written back.
    ParameterId id;
    try {
        FUZZ_CHECK(id.read(data, static_cast<unsigned>(size)) == 2);
        FUZZ_CHECK(size >= 2);
        unsigned char written[2] = {};
        FUZZ_CHECK(id.write(written, sizeof written) == 2);
        FUZZ_CHECK(written[0] == data[0] && written[1] == data[1]);
        FUZZ_CHECK(ParameterId(id.toInt()) == id);
        FUZZ_CHECK(id.nextGroup().previousGroup() == id);
    } catch (const VormoException&) {
        FUZZ_CHECK(size < 2);
    }

    // Stream codec: identifiers until the stream ends, each saved back as read, with the same checksum.
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    int32_t readSum = 0;
    int32_t savedSum = 0;
    std::size_t restored = 0;
    try {
        while (id.restore(in, readSum)) {
            id.save(out, savedSum);
            ++restored;
        }
        FUZZ_CHECK(restored * 2 == size);
    } catch (const VormoException&) {
        FUZZ_CHECK(size % 2 == 1 && restored * 2 + 1 == size); // an odd byte at the end
        addToChecksum(savedSum, static_cast<int8_t>(data[size - 1]));
    }
    FUZZ_CHECK(readSum == savedSum);
    FUZZ_CHECK(out.str() == std::string(reinterpret_cast<const char*>(data), restored * 2));
    return 0;
}
