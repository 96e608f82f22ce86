#include <gtest/gtest.h>
#include <md5.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "device/FirmwareImageFile.h"
#include "device/NetworkDeviceConnection.h"
#include "model/Exceptions.h"
#include "support/FakeUnit.h"

using unitframes::bytes;

namespace {

// A header, the payload and the MD5 digest of both, as an image file holds them.
std::string imageBytes(const std::string& payload, const std::string& header = "QZ01")
{
    const std::string covered = header + payload;
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, reinterpret_cast<const unsigned char*>(covered.data()), covered.size());
    unsigned char digest[MD5_DIGEST_LENGTH];
    MD5Final(digest, &context);
    return covered + std::string(reinterpret_cast<const char*>(digest), MD5_DIGEST_LENGTH);
}

std::string patterned(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 4096) & 0xFF);
    return bytes;
}

class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& contents)
    {
        static std::atomic<int> counter{0};
        path_ = (std::filesystem::temp_directory_path() /
                 ("qz-image-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".bin"))
                    .string();
        std::ofstream(path_, std::ios::binary) << contents;
    }
    ~TemporaryFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class RecordingListener : public ProgressListener {
public:
    std::vector<unsigned> progress;
    void setProgress(unsigned percent) override { progress.push_back(percent); }
};

class Download : public ::testing::Test {
protected:
    NetworkDeviceConnection& connect()
    {
        connection_ = std::make_unique<NetworkDeviceConnection>(&link_, &packet_);
        link_.unit.received.clear();
        return *connection_;
    }

    FakeUnitLink link_;
    Packet packet_;
    std::unique_ptr<NetworkDeviceConnection> connection_;
};

} // namespace

TEST_F(Download, GoodImageGoesBlockByBlockAfterTheErase)
{
    const std::string payload = patterned(2 * 4096);
    TemporaryFile image(imageBytes(payload));
    RecordingListener listener;
    connect().downloadFirmware(image.path(), &listener);

    ASSERT_EQ(link_.unit.received.size(), 3u);
    EXPECT_EQ(link_.unit.received[0], bytes({0x09}));
    EXPECT_EQ(link_.unit.flashBlocks,
              (std::vector<std::string>{payload.substr(0, 4096), payload.substr(4096)}));
    EXPECT_EQ(link_.unit.countReceived(11), 0u) << "no Burn And Reboot from a download";
    EXPECT_EQ(listener.progress, (std::vector<unsigned>{49, 99}));
}

TEST_F(Download, ProgressOfThreeBlocksAndAnImageWithoutPayload)
{
    TemporaryFile three(imageBytes(patterned(3 * 4096)));
    RecordingListener listener;
    NetworkDeviceConnection& unit = connect();
    unit.downloadFirmware(three.path(), &listener);
    EXPECT_EQ(listener.progress, (std::vector<unsigned>{33, 66, 99}));

    link_.unit.received.clear();
    TemporaryFile empty(imageBytes(""));
    unit.downloadFirmware(empty.path(), &listener);
    EXPECT_TRUE(link_.unit.received.empty());

    // Without a listener the download runs the same.
    unit.downloadFirmware(three.path(), nullptr);
    EXPECT_EQ(link_.unit.countReceived(10), 3u);
}

TEST_F(Download, BadImagesAreRefusedBeforeAnythingIsSent)
{
    const std::string good = imageBytes(patterned(4096));
    std::string changedHeader = good;
    changedHeader[1] ^= 0x01;
    std::string changedPayload = good;
    changedPayload[2000] ^= 0x40;
    std::string changedDigest = good;
    changedDigest[good.size() - 1] ^= 0x01;
    struct Case {
        const char* name;
        std::string contents;
        std::string failure;
    };
    const std::vector<Case> cases = {
        {"empty file", "", "error reading file"},
        {"shorter than header and digest", std::string(19, 'x'), "error reading file"},
        {"payload not whole blocks", imageBytes(patterned(4096 + 100)), "error reading file"},
        {"short payload", imageBytes(patterned(10)), "error reading file"},
        {"changed header byte", changedHeader, "MD5 checksum error"},
        {"changed payload byte", changedPayload, "MD5 checksum error"},
        {"changed digest byte", changedDigest, "MD5 checksum error"},
    };
    NetworkDeviceConnection& unit = connect();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TemporaryFile image(test.contents);
        try {
            unit.downloadFirmware(image.path(), nullptr);
            ADD_FAILURE() << "accepted";
        } catch (const VormoException& failure) {
            EXPECT_EQ(failure.what(), test.failure);
            if (test.failure == "MD5 checksum error") {
                EXPECT_NE(dynamic_cast<const DataValidationException*>(&failure), nullptr);
            }
        }
        EXPECT_TRUE(link_.unit.received.empty());
    }

    // A file that will not open says why, after the path.
    const TemporaryFile notAFolder(good);
    const std::string missing = "/nonexistent/folder/image.bin";
    const std::string underAFile = notAFolder.path() + "/image.bin";
    const struct {
        std::string path;
        std::string failure;
    } unopenable[] = {
        {missing, "Error opening " + missing + " (No such file or directory)"},
        {underAFile, "Error opening " + underAFile + " (Not a directory)"},
    };
    for (const auto& test : unopenable) {
        SCOPED_TRACE(test.path);
        try {
            unit.downloadFirmware(test.path, nullptr);
            ADD_FAILURE() << "accepted";
        } catch (const VormoException& failure) {
            EXPECT_EQ(failure.what(), test.failure);
        }
    }
    EXPECT_TRUE(link_.unit.received.empty());
}

TEST_F(Download, FailedFlashStepEndsTheDownload)
{
    TemporaryFile image(imageBytes(patterned(2 * 4096)));
    NetworkDeviceConnection& unit = connect();
    link_.unit.flashResult = 5;
    try {
        unit.downloadFirmware(image.path(), nullptr);
        FAIL() << "no exception";
    } catch (const FlashException& failure) {
        EXPECT_STREQ(failure.what(), "Error: Host Error");
    }
    EXPECT_EQ(link_.unit.received, std::vector<std::string>{bytes({0x09})}) << "stopped at the erase";

    // A unit that never acknowledges.
    link_.unit.received.clear();
    link_.beforeRead = [](FakeUnitLink& self) { self.incoming.clear(); };
    link_.unit.flashResult = 0;
    try {
        unit.downloadFirmware(image.path(), nullptr);
        FAIL() << "no exception";
    } catch (const ProtocolException& failure) {
        EXPECT_STREQ(failure.what(), "Expected response not received");
    }
    EXPECT_EQ(link_.timeouts.back(), 30000);
}

TEST_F(Download, SingleBlocksEraseOnlyFirstAndBurnOnlyLast)
{
    NetworkDeviceConnection& unit = connect();
    const unsigned char block[3] = {1, 2, 3};
    unit.sendFlashBlock(block, 3, 2, false);
    EXPECT_EQ(link_.unit.received, std::vector<std::string>{bytes({0x0A, 1, 2, 3})});

    link_.unit.received.clear();
    unit.sendFlashBlock(block, 3, 1, true);
    EXPECT_EQ(link_.unit.received,
              (std::vector<std::string>{bytes({0x09}), bytes({0x0A, 1, 2, 3}), bytes({0x0B})}));
    EXPECT_TRUE(link_.incoming.empty()) << "every acknowledgement was awaited";
}

TEST_F(Download, ProgressOfAnImageAbove42MegabytesDoesNotOverflow)
{
    // position x 100 passes 2^32 after about 42.9 MB.
    const std::size_t blocks = 44u * 1024u * 1024u / 4096u;
    TemporaryFile image(imageBytes(std::string(blocks * 4096, '\x5A')));
    RecordingListener listener;
    connect().downloadFirmware(image.path(), &listener);
    ASSERT_EQ(listener.progress.size(), blocks);
    for (std::size_t i = 1; i < listener.progress.size(); ++i)
        ASSERT_LE(listener.progress[i - 1], listener.progress[i]) << "block " << i + 1;
    EXPECT_EQ(listener.progress.back(), 99u);
}

TEST(FirmwareImage, ReadsBlocksWithoutTheDigest)
{
    const std::string payload = patterned(2 * 4096);
    TemporaryFile file(imageBytes(payload));
    MD5Validator validator;
    FirmwareImageFile image(file.path(), &validator);
    EXPECT_EQ(image.size(), 4u + 8192u + 16u);
    EXPECT_EQ(image.position(), 4u);
    unsigned char block[4096];
    EXPECT_EQ(image.readBlock(block), 4096);
    EXPECT_EQ(image.blockIndex(), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 4096), payload.substr(0, 4096));
    EXPECT_EQ(image.readBlock(block), 4096);
    EXPECT_EQ(image.blockIndex(), 2);
    EXPECT_FALSE(image.atEnd());
    EXPECT_EQ(image.readBlock(block), 0);
    EXPECT_TRUE(image.atEnd());
}

TEST(FirmwareImage, ValidatorChecksTheTrailer)
{
    MD5Validator validator;
    const std::string good = imageBytes("", "");
    EXPECT_EQ(good.size(), 16u);
    EXPECT_EQ(validator.validate(reinterpret_cast<const unsigned char*>(good.data()), good.size()), 16u);
    EXPECT_THROW(validator.validate(reinterpret_cast<const unsigned char*>(good.data()), 15),
                 DataValidationException);
    // The digest of "abc" from RFC 1321's test suite.
    const std::string abc = "abc" + bytes({0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0, 0xd6, 0x96, 0x3f,
                                           0x7d, 0x28, 0xe1, 0x7f, 0x72});
    EXPECT_EQ(validator.validate(reinterpret_cast<const unsigned char*>(abc.data()), abc.size()), 16u);
}
