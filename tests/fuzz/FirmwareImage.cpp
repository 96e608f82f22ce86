// A firmware image file: the digest check, the block reader, and the download of an
// accepted image to a unit that acknowledges every step.
#include <md5.h>
#include <sys/mman.h>
#include <unistd.h>

#include "FuzzSupport.h"
#include "device/FirmwareImageFile.h"
#include "device/NetworkDeviceConnection.h"
#include "device/Packet.h"
#include "device/Validator.h"
#include "model/Exceptions.h"

namespace {

std::string digestOf(const std::string& bytes)
{
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    unsigned char digest[MD5_DIGEST_LENGTH];
    MD5Final(digest, &context);
    return std::string(reinterpret_cast<const char*>(digest), MD5_DIGEST_LENGTH);
}

std::string frame(const std::string& payload)
{
    const auto length = static_cast<uint32_t>(payload.size() + 4);
    std::string framed;
    for (int shift = 24; shift >= 0; shift -= 8)
        framed.push_back(static_cast<char>((length >> shift) & 0xFF));
    return framed + payload;
}

// One in-memory file for the whole run, rewritten for every input.
const std::string& imagePath(const std::string& contents)
{
    static const int descriptor = ::memfd_create("qz-fuzz-image", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
    FUZZ_CHECK(descriptor >= 0);
    FUZZ_CHECK(::ftruncate(descriptor, 0) == 0);
    FUZZ_CHECK(::pwrite(descriptor, contents.data(), contents.size(), 0) ==
               static_cast<ssize_t>(contents.size()));
    return path;
}

// The unit after Get All: every frame written is acknowledged with a successful
// Flash Operation Done, and every Download Data body is kept.
class AcknowledgingUnit : public SerialDevice {
public:
    AcknowledgingUnit() : SerialDevice(nullptr)
    {
        incoming_ = frame(std::string(1, static_cast<char>(CommandType::GetAllResponse)));
    }
    void setTimeout(int) override {}
    void write(const unsigned char* bytes, unsigned count) override
    {
        outgoing_.append(reinterpret_cast<const char*>(bytes), count);
        while (outgoing_.size() >= 4) {
            const uint32_t length = (static_cast<uint32_t>(static_cast<unsigned char>(outgoing_[0])) << 24) |
                                    (static_cast<uint32_t>(static_cast<unsigned char>(outgoing_[1])) << 16) |
                                    (static_cast<uint32_t>(static_cast<unsigned char>(outgoing_[2])) << 8) |
                                    static_cast<unsigned char>(outgoing_[3]);
            FUZZ_CHECK(length >= 5);
            if (outgoing_.size() < length)
                return;
            const std::string payload = outgoing_.substr(4, length - 4);
            outgoing_.erase(0, length);
            if (payload[0] == CommandType::DownloadData)
                sent += payload.substr(1);
            if (payload[0] != CommandType::GetAll)
                incoming_ += frame(std::string("\x0C\x00\x00\x00\x00", 5));
        }
    }
    unsigned read(unsigned char* buffer, unsigned count) override
    {
        if (incoming_.size() < count)
            return 0;
        incoming_.copy(reinterpret_cast<char*>(buffer), count);
        incoming_.erase(0, count);
        return count;
    }

    std::string sent;

private:
    std::string incoming_;
    std::string outgoing_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    // Most random images fail the digest; half the inputs get a correct one, so that
    // the reader's handling of sizes and blocks is reached as well.
    const bool addDigest = (input.takeByte() & 1) != 0;
    std::string image = input.takeRest();
    if (addDigest)
        image += digestOf(image);

    MD5Validator validator;
    bool digestMatches = true;
    try {
        FUZZ_CHECK(validator.validate(reinterpret_cast<const unsigned char*>(image.data()), image.size()) ==
                   16);
    } catch (const DataValidationException&) {
        digestMatches = false;
    }
    FUZZ_CHECK(digestMatches == (image.size() >= 16 && digestOf(image.substr(0, image.size() - 16)) ==
                                                           image.substr(image.size() - 16)));

    const std::string& path = imagePath(image);
    const std::string payload = image.size() >= 20 ? image.substr(4, image.size() - 20) : std::string();
    const bool wellFormed = image.size() >= 20 && payload.size() % FirmwareImageFile::blockSize == 0;
    try {
        FirmwareImageFile file(path, &validator);
        FUZZ_CHECK(digestMatches && wellFormed);
        // Whole blocks, then nothing once only the digest is left; never the digest itself.
        std::string read;
        unsigned char block[FirmwareImageFile::blockSize];
        int blocks = 0;
        for (int count = file.readBlock(block); count != 0; count = file.readBlock(block)) {
            FUZZ_CHECK(count == static_cast<int>(FirmwareImageFile::blockSize));
            FUZZ_CHECK(file.blockIndex() == ++blocks);
            read.append(reinterpret_cast<const char*>(block), static_cast<std::size_t>(count));
        }
        FUZZ_CHECK(read == payload);
    } catch (const VormoException&) {
        FUZZ_CHECK(!digestMatches || !wellFormed);
    }

    // The download sends exactly the payload, or nothing when the image is refused.
    AcknowledgingUnit unit;
    Packet packet;
    NetworkDeviceConnection connection(&unit, &packet);
    try {
        connection.downloadFirmware(path, nullptr);
        FUZZ_CHECK(digestMatches && wellFormed);
        FUZZ_CHECK(unit.sent == payload);
    } catch (const VormoException&) {
        FUZZ_CHECK(unit.sent.empty());
    }
    return 0;
}
