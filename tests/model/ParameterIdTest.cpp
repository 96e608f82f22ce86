#include <gtest/gtest.h>

#include <sstream>

#include "model/Exceptions.h"
#include "model/ParameterId.h"

namespace {

std::string textOf(const ParameterId& id)
{
    std::ostringstream out;
    out << id;
    return out.str();
}

} // namespace

TEST(ParameterId, SplitsSixteenBitNumberIntoGroupAndIndex)
{
    const ParameterId id(0x0511);
    EXPECT_EQ(id.group(), 0x05);
    EXPECT_EQ(id.index(), 0x11);
    EXPECT_EQ(id.toInt(), 0x0511);
    EXPECT_EQ(ParameterId(static_cast<int16_t>(0xFF80)).toInt(), static_cast<int16_t>(0xFF80));
}

TEST(ParameterId, TextFormShowsUnsignedNumberHexGroupAndSignedIndex)
{
    EXPECT_EQ(textOf(ParameterId(0x0511)), "1297 (5, 17)");
    EXPECT_EQ(textOf(ParameterId(0x1D1F)), "7455 (1d, 31)");
    EXPECT_EQ(textOf(ParameterId(int8_t(-1), int8_t(-1))), "65535 (ff, -1)");
}

TEST(ParameterId, OrdersByGroupThenIndexAsSignedBytes)
{
    EXPECT_TRUE(ParameterId(0x017F) < ParameterId(0x0300));
    EXPECT_TRUE(ParameterId(0x0502) < ParameterId(0x0510));
    EXPECT_FALSE(ParameterId(0x0510) < ParameterId(0x0502));
    EXPECT_TRUE(ParameterId(int8_t(-128), 0) < ParameterId(0, 0));
    EXPECT_TRUE(ParameterId(0x0500).groupLess(ParameterId(0x0700)));
    EXPECT_FALSE(ParameterId(0x0501).groupLess(ParameterId(0x0500)));
}

TEST(ParameterId, PreviousAndNextGroupWrapAround)
{
    EXPECT_EQ(ParameterId(0x0104).previousGroup(), ParameterId(0x0004));
    EXPECT_EQ(ParameterId(0x7F04).nextGroup(), ParameterId(int8_t(-128), 0x04));
    EXPECT_EQ(ParameterId(0x0004).previousGroup(), ParameterId(int8_t(-1), 0x04));
    EXPECT_EQ(ParameterId(0x0511).previousGroup().nextGroup(), ParameterId(0x0511));
}

TEST(ParameterId, ByteProtocolBuilders)
{
    std::string bytes;
    ParameterId(0x0511).appendTo(bytes);
    ParameterId(0x0511).appendWithSeparator(bytes, '\x7E');
    ParameterId(0x0511).appendIndexTo(bytes);
    EXPECT_EQ(bytes, std::string("\x05\x11\x05\x7E\x11\x11"));
}

TEST(ParameterId, MessageCodecChecksItsBuffer)
{
    unsigned char buffer[2] = {};
    EXPECT_EQ(ParameterId(0x0511).write(buffer, 2), 2);
    EXPECT_EQ(buffer[0], 0x05);
    EXPECT_EQ(buffer[1], 0x11);
    ParameterId id;
    EXPECT_EQ(id.read(buffer, 2), 2);
    EXPECT_EQ(id, ParameterId(0x0511));

    try {
        ParameterId(0x0511).write(buffer, 1);
        FAIL();
    } catch (const VormoException& e) {
        EXPECT_STREQ(e.what(), "not enough room for id in buffer");
    }
    try {
        id.read(buffer, 1);
        FAIL();
    } catch (const VormoException& e) {
        EXPECT_STREQ(e.what(), "id not found in buffer");
    }
}

TEST(ParameterId, ConfigurationStreamRoundTripAndChecksum)
{
    std::ostringstream out;
    int32_t checksum = 0;
    ParameterId(int8_t(0x05), int8_t(-128)).save(out, checksum);
    EXPECT_EQ(out.str(), std::string("\x05\x80", 2));
    EXPECT_EQ(checksum, 5 - 128);

    std::istringstream in(out.str());
    ParameterId id;
    int32_t restored = 0;
    EXPECT_TRUE(id.restore(in, restored));
    EXPECT_EQ(id, ParameterId(int8_t(0x05), int8_t(-128)));
    EXPECT_EQ(restored, checksum);
    EXPECT_FALSE(id.restore(in, restored));
}

TEST(ParameterId, RestoreEndsCleanlyBetweenRecordsButNotInsideAnId)
{
    std::istringstream empty;
    ParameterId id;
    int32_t checksum = 7;
    EXPECT_FALSE(id.restore(empty, checksum));
    EXPECT_EQ(checksum, 7);

    std::istringstream half(std::string("\x05", 1));
    try {
        id.restore(half, checksum);
        FAIL();
    } catch (const VormoException& e) {
        EXPECT_STREQ(e.what(), "Error restoring a parameter id");
    }
}
