#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "model/Exceptions.h"
#include "model/ParameterValue.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string str(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const VormoException& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(ParameterValue, IntegerReadingsFoldTheLastTwoBytes)
{
    struct Case {
        ParameterValue value;
        int16_t signedReading;
        uint16_t unsignedReading;
    };
    const std::vector<Case> cases = {
        {ParameterValue(-1), -1, 65535},
        {ParameterValue(0x12345), 0x2345, 0x2345},
        {ParameterValue(std::string()), 0, 0},
        {ParameterValue(std::string("\x80", 1)), 0x80, 0x80},
        {ParameterValue(std::string("abc")), 0x6263, 0x6263},
        {MaximumValue(), 0x7FFF, 0x7FFF},
        {MinimumValue(), -0x8000, 0x8000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.toInt16(), c.signedReading);
        EXPECT_EQ(c.value.toUInt16(), c.unsignedReading);
    }
    EXPECT_EQ(ParameterValue(-1).toString(), std::string("\xFF\xFF"));
}

TEST(ParameterValue, EqualityIsByteWise)
{
    EXPECT_EQ(ParameterValue(std::string("ab")), ParameterValue(0x6162));
    EXPECT_NE(ParameterValue(std::string("a\0b", 3)), ParameterValue(std::string("a")));
    EXPECT_NE(ParameterValue(std::string("\x00\x01", 2)), ParameterValue(std::string("\x01", 1)));
}

TEST(ParameterValue, MessageWriteGoldenBytes)
{
    struct Case {
        ParameterValue value;
        Bytes encoded;
    };
    const std::vector<Case> cases = {
        {ParameterValue(-1), {0x00, 0xFF, 0xFF}},
        {ParameterValue(std::string("ab")), {0x00, 0x61, 0x62}},
        {ParameterValue(std::string("abc")), {0x01, 0x03, 0x61, 0x62, 0x63}},
        {ParameterValue(std::string()), {0x01, 0x00}},
        {ParameterValue(std::string("\0", 1)), {0x01, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.encodedSize(), c.encoded.size());
        Bytes buffer(c.encoded.size(), 0xEE);
        EXPECT_EQ(c.value.write(buffer.data(), static_cast<unsigned>(buffer.size())),
                  static_cast<int>(c.encoded.size()));
        EXPECT_EQ(buffer, c.encoded);
        ParameterValue decoded(7);
        EXPECT_EQ(decoded.read(buffer.data(), static_cast<unsigned>(buffer.size())),
                  static_cast<int>(c.encoded.size()));
        EXPECT_EQ(decoded, c.value);
        EXPECT_EQ(errorOf([&] { c.value.write(buffer.data(), static_cast<unsigned>(buffer.size() - 1)); }),
                  "not enough room for value in buffer");
    }
}

TEST(ParameterValue, MessageReadRefusesWhatTheBufferDoesNotHold)
{
    struct Case {
        const char* name;
        Bytes buffer;
        unsigned available;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"nothing available", {0x00, 0x12, 0x34}, 0, "value not found in buffer"},
        {"integer without bytes", {0x00}, 1, "value not found in buffer"},
        {"integer with one byte", {0x00, 0x12}, 2, "value not found in buffer"},
        {"text without length", {0x01}, 1, "value not found in buffer"},
        {"text shorter than announced", {0x01, 0x03, 0x61, 0x62}, 4, "value not found in buffer"},
        {"length 0x80 past the end", {0x01, 0x80, 0x61}, 3, "value not found in buffer"},
        {"unknown tag", {0x02, 0x00, 0x00}, 3, "unrecognized value type"},
    };
    for (const auto& c : cases) {
        ParameterValue value;
        EXPECT_EQ(errorOf([&] { value.read(c.buffer.data(), c.available); }), c.error) << c.name;
    }
}

TEST(ParameterValue, LongLengthByteIsAnUnsignedCount)
{
    Bytes buffer = {0x01, 0xC8};
    buffer.resize(2 + 200, 'x');
    ParameterValue value;
    EXPECT_EQ(value.read(buffer.data(), static_cast<unsigned>(buffer.size())), 202);
    EXPECT_EQ(value.toString(), std::string(200, 'x'));
}

// The longest value sent is the longest the unit's length byte counts (0 to 127), so
// everything sent reads back; a longer one, even one a unit reported in the whole
// byte, is refused before a byte is written.
TEST(ParameterValue, ValuesLongerThanTheProgramSendsAreRefusedBeforeWriting)
{
    const ParameterValue longest(std::string(127, 'a'));
    Bytes buffer(300, 0xEE);
    EXPECT_EQ(longest.write(buffer.data(), 300), 129);
    EXPECT_EQ(buffer[1], 0x7F);
    ParameterValue readBack;
    EXPECT_EQ(readBack.read(buffer.data(), 129), 129);
    EXPECT_EQ(readBack, longest);
    std::string appended;
    longest.appendTo(appended);
    EXPECT_EQ(appended, "\x7F" + std::string(127, 'a'));

    for (std::size_t length : {128u, 200u, 255u, 256u}) {
        SCOPED_TRACE(length);
        const ParameterValue tooLong(std::string(length, 'a'));
        Bytes untouched(300, 0xEE);
        EXPECT_EQ(errorOf([&] { tooLong.write(untouched.data(), 300); }),
                  "parameter value too long (" + std::to_string(length) + " bytes, at most 127)");
        EXPECT_EQ(untouched, Bytes(300, 0xEE));
        std::string bytes = "keep";
        EXPECT_NE(errorOf([&] { tooLong.appendTo(bytes); }).find("too long"), std::string::npos);
        EXPECT_EQ(bytes, "keep");
    }
}

TEST(ParameterValue, ByteProtocolAppend)
{
    std::string bytes;
    ParameterValue(0x1234).appendTo(bytes);
    ParameterValue(std::string("abc")).appendTo(bytes);
    EXPECT_EQ(bytes, str({0x12, 0x34, 0x03, 0x61, 0x62, 0x63}));
}

TEST(ParameterValue, ConfigurationStreamSaveGoldenBytesAndChecksum)
{
    std::ostringstream out;
    int32_t checksum = 0;
    ParameterId(0x0511).save(out, checksum);
    ParameterValue(0x000A).save(out, checksum);
    EXPECT_EQ(out.str(), str({0x05, 0x11, 0x02, 0x00, 0x00, 0x00, 0x00, 0x0A}));
    EXPECT_EQ(checksum, 34);

    int32_t withHighByte = 0;
    std::ostringstream other;
    ParameterValue(std::string("\x80", 1)).save(other, withHighByte);
    EXPECT_EQ(withHighByte, 1 - 128);
}

TEST(ParameterValue, ChecksumWrapsAroundInsteadOfOverflowing)
{
    int32_t checksum = INT32_MAX;
    addToChecksum(checksum, 1);
    EXPECT_EQ(checksum, INT32_MIN);
}

TEST(ParameterValue, ConfigurationStreamRestore)
{
    struct Case {
        const char* name;
        std::string stream;
        bool ok;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"integer", str({0x02, 0, 0, 0, 0x12, 0x34}), true, "\x12\x34"},
        {"empty text", str({0, 0, 0, 0}), true, ""},
        {"length cut short", str({0x02, 0}), false, ""},
        {"bytes cut short", str({0x03, 0, 0, 0, 'a'}), false, ""},
        {"huge length", str({0x00, 0x00, 0x00, 0x80, 'a', 'b'}), false, ""},
        {"negative length", str({0xFF, 0xFF, 0xFF, 0xFF, 'a'}), false, ""},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.stream);
        ParameterValue value;
        int32_t checksum = 0;
        if (c.ok) {
            EXPECT_TRUE(value.restore(in, checksum)) << c.name;
            EXPECT_EQ(value.toString(), c.value) << c.name;
        } else {
            EXPECT_EQ(errorOf([&] { value.restore(in, checksum); }), "Error restoring a parameter value.")
                << c.name;
        }
    }
}
