#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include "Recorders.h"
#include "model/ConfigurationFile.h"
#include "model/Exceptions.h"
#include "model/ParameterFormatter.h"
#include "model/ParameterMap.h"
#include "model/ParameterSet.h"
#include "support/RecordingProtocol.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string str(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

const ParameterId trim(0x0500);
const ParameterId level(0x0511);
const ParameterId name(0x0901);
const ParameterId version(0x4301);

// Control parameters: two integers, a text, and one owned by the application's own store.
class ConfigurationTest : public ::testing::Test {
protected:
    ConfigurationTest() { fill(source_, unit_); }

    void fill(ControlParameterMap& map, RecordingProtocol& protocol)
    {
        map.emplace(trim, ControlParameter(&protocol, trim, v(-20), v(20)));
        map.emplace(level, ControlParameter(&protocol, level, v(0), v(100)));
        map.emplace(name, ControlParameter(&protocol, name, MinimumValue(), MaximumValue(), &text_));
        map.emplace(version, ControlParameter(&application_, version, v(0), v(9)));
    }

    std::string saved(ControlParameterMap& map)
    {
        std::ostringstream out;
        map.save(out);
        return out.str();
    }

    // Loads the bytes; returns the error text, or "" when the load succeeded.
    std::string load(ControlParameterMap& map, const std::string& bytes)
    {
        std::istringstream in(bytes);
        try {
            map.load(in);
        } catch (const VormoException& e) {
            return e.what();
        }
        return "";
    }

    std::size_t sent() const
    {
        return unit_.countOf("setValueAndRead") + application_.countOf("setValueAndRead");
    }

    StringFormatter text_{"Unit Name"};
    RecordingProtocol unit_;
    RecordingProtocol application_;
    ControlParameterMap source_;
};

} // namespace

TEST_F(ConfigurationTest, GoldenBytes)
{
    ControlParameterMap empty;
    EXPECT_EQ(saved(empty), str({0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(load(empty, saved(empty)), "");

    ControlParameterMap one;
    one.emplace(level, ControlParameter(&unit_, level, v(0), v(100)));
    one.update({{level, v(10)}});
    EXPECT_EQ(saved(one), str({1, 0, 0, 0, 0x05, 0x11, 2, 0, 0, 0, 0x00, 0x0A, 35, 0, 0, 0}));

    ControlParameterMap negative;
    negative.emplace(trim, ControlParameter(&unit_, trim, v(-20), v(20)));
    negative.update({{trim, v(-10)}});
    EXPECT_EQ(saved(negative), str({1, 0, 0, 0, 0x05, 0x00, 2, 0, 0, 0, 0xFF, 0xF6, 0xFD, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(unit_.calls.empty());
}

TEST_F(ConfigurationTest, SavesPendingValuesOfSavedParametersOnly)
{
    source_.update({{trim, v(-3)}, {level, v(40)}, {name, ParameterValue(std::string("Studio\0A", 8))}});
    source_.find(version).setSaved(false);
    const ParameterValueMap records = [&] {
        std::istringstream in(saved(source_));
        return readParameterValueMap(in);
    }();
    EXPECT_EQ(records,
              (ParameterValueMap{
                  {trim, v(-3)}, {level, v(40)}, {name, ParameterValue(std::string("Studio\0A", 8))}}));
}

TEST_F(ConfigurationTest, RoundTripThroughAFileRestoresEveryValue)
{
    source_.update({{trim, v(-3)}, {level, v(40)}, {name, ParameterValue(std::string("Control Room"))}});
    application_.values[version] = v(7);
    source_.refreshAll(&application_);
    const std::string path = ::testing::TempDir() + "roundtrip.347";
    {
        std::ofstream file(path, std::ios::binary);
        source_.save(file);
    }

    RecordingProtocol otherUnit;
    ControlParameterMap target;
    target.emplace(trim, ControlParameter(&otherUnit, trim, v(-20), v(20)));
    target.emplace(level, ControlParameter(&otherUnit, level, v(0), v(100)));
    target.emplace(name, ControlParameter(&otherUnit, name, MinimumValue(), MaximumValue(), &text_));
    target.emplace(version, ControlParameter(&application_, version, v(0), v(9)));
    target.update({{level, v(40)}}); // already equal: nothing sent for it
    {
        std::ifstream file(path, std::ios::binary);
        target.load(file);
    }
    std::remove(path.c_str());
    for (const ParameterId& id : {trim, level, name, version})
        EXPECT_EQ(target.find(id).value(), source_.find(id).value());
    EXPECT_EQ(otherUnit.countOf("setValueAndRead"), 2u);
    EXPECT_EQ(otherUnit.values[name], ParameterValue(std::string("Control Room")));
}

TEST_F(ConfigurationTest, DamagedFilesAreRefusedBeforeAnythingIsSent)
{
    source_.update({{level, v(40)}, {name, ParameterValue(std::string("Room"))}});
    const std::string good = saved(source_);
    // Layout: count(4) | 05 00 len(4) 2 bytes | 05 11 len(4) 2 bytes | 09 01 len(4) "Room" | 43 01 len(4) 2
    // bytes | sum(4)
    ASSERT_EQ(good.size(), 4u + 8 + 8 + 10 + 8 + 4);
    auto withInt32 = [&](std::size_t offset, uint32_t number) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        return bytes;
    };
    auto flipped = [&](std::size_t offset) {
        std::string bytes = good;
        bytes[offset] = static_cast<char>(bytes[offset] ^ 0x01);
        return bytes;
    };
    // A valid checksum over a value longer than any the unit can report or be sent.
    auto withValue = [&](const ParameterId& id, const ParameterValue& value) {
        ControlParameterMap other;
        other.emplace(id, ControlParameter(&unit_, id, MinimumValue(), MaximumValue()));
        other.update({{id, value}});
        return saved(other);
    };
    const ParameterValue tooLong(std::string(ParameterValue::maximumEncodedLength + 1, '\0'));

    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"truncated in the count", good.substr(0, 2)},
        {"truncated in an id", good.substr(0, 5)},
        {"truncated in a length", good.substr(0, 4 + 2 + 2)},
        {"truncated in the bytes", good.substr(0, 4 + 8 + 8 + 6 + 2)},
        {"truncated before the checksum", good.substr(0, good.size() - 4)},
        {"truncated in the checksum", good.substr(0, good.size() - 1)},
        {"wrong checksum", withInt32(good.size() - 4, 12345)},
        {"a value byte changed", flipped(4 + 8 + 8 + 6 + 1)},
        {"an id changed", flipped(4 + 8 + 1)},
        {"negative length", withInt32(4 + 2, 0xFFFFFFFF)},
        {"huge length", withInt32(4 + 2, 0x80000000)},
        {"count larger than the records", withInt32(0, 5)},
        {"count smaller than the records", withInt32(0, 3)},
        {"huge count", withInt32(0, 0xFFFFFFFF)},
        {"another program's file", "PK\x03\x04 this is a zip archive, not a configuration"},
        {"an integer too long to send", withValue(level, tooLong)},
        {"a text too long to send", withValue(name, tooLong)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ControlParameterMap target;
        fill(target, unit_);
        EXPECT_EQ(load(target, c.bytes), invalidConfigurationText);
        EXPECT_EQ(sent(), 0u);
    }
}

TEST_F(ConfigurationTest, IntegersTheUnitReportedInItsLongFormLoadBack)
{
    // Either wire form lets the unit report an integer in other than two bytes;
    // the file keeps the value as reported, and it must load again.
    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{3},
                                     std::size_t{ParameterValue::maximumEncodedLength}}) {
        SCOPED_TRACE(length);
        std::string bytes(length, '\0');
        if (length > 0)
            bytes.back() = 0x2A;
        const ParameterValue reported(bytes);
        ControlParameterMap other;
        fill(other, unit_);
        other.update({{level, reported}});
        ControlParameterMap target;
        fill(target, unit_);
        target.update({{level, v(70)}});
        unit_.clearCalls();
        EXPECT_EQ(load(target, saved(other)), "");
        EXPECT_EQ(target.find(level).value(), reported);
        EXPECT_EQ(unit_.values[level], reported);
    }
}

TEST_F(ConfigurationTest, AnUnknownIdentifierFailsAfterTheRecordsBeforeIt)
{
    ParameterValueMap records{
        {level, v(30)}, {ParameterId(0x1D05), v(1)}, {name, ParameterValue(std::string("X"))}};
    ControlParameterMap other;
    for (const auto& [id, value] : records)
        other.emplace(
            id, ControlParameter(&unit_, id, MinimumValue(), MaximumValue(), id == name ? &text_ : nullptr));
    other.update(records);
    EXPECT_EQ(load(source_, saved(other)), invalidConfigurationText);
    // Accepted before the failure (they come first in identifier order): they stay set.
    EXPECT_EQ(source_.find(level).value(), v(30));
    EXPECT_EQ(source_.find(name).value(), ParameterValue(std::string("X")));
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 2u);
}

TEST_F(ConfigurationTest, RefusedValuesFailAfterFivePassesAndTheRestStays)
{
    ControlParameterMap other;
    fill(other, unit_);
    other.update({{trim, v(5)}, {level, v(70)}});
    const std::string file = saved(other);
    ControlParameterMap target;
    fill(target, unit_);
    target.find(level).setMaximum(v(50), nullptr); // 70 is now out of range: never sent
    unit_.clearCalls();
    EXPECT_EQ(load(target, file), invalidConfigurationText);
    EXPECT_EQ(target.find(trim).value(), v(5));
    for (const RecordedCall& call : unit_.callsOf("setValueAndRead"))
        EXPECT_NE(call.ids[0], level);

    // The unit keeps answering with another value: five attempts, then the failure.
    ControlParameterMap stubborn;
    fill(stubborn, unit_);
    unit_.clearCalls();
    unit_.readBack = [](const ParameterId& id, const ParameterValue& value) {
        return id == trim ? v(1) : value;
    };
    EXPECT_EQ(load(stubborn, file), invalidConfigurationText);
    std::size_t trimWrites = 0;
    for (const RecordedCall& call : unit_.callsOf("setValueAndRead"))
        trimWrites += call.ids[0] == trim ? 1 : 0;
    EXPECT_EQ(trimWrites, 5u); // once per pass
}

TEST_F(ConfigurationTest, DependentValuesSucceedInALaterPass)
{
    ControlParameterMap other;
    fill(other, unit_);
    other.update({{trim, v(5)}, {level, v(70)}});
    const std::string file = saved(other);
    // The unit takes the trim only once the level is 70; the trim comes first in identifier order.
    unit_.readBack = [this](const ParameterId& id, const ParameterValue& value) {
        if (id == trim && unit_.values[level] != v(70))
            return v(0);
        return value;
    };
    ControlParameterMap target;
    fill(target, unit_);
    target.update({{trim, v(1)}});
    EXPECT_EQ(load(target, file), "");
    EXPECT_EQ(target.find(trim).value(), v(5));
    EXPECT_EQ(target.find(level).value(), v(70));
}

TEST_F(ConfigurationTest, DuplicateRecordsApplyTheLaterValue)
{
    // count 2, two records for 0x0511 (10, then 20), checksum.
    const int32_t sum = 2 + (5 + 17 + 2 + 10) + (5 + 17 + 2 + 20);
    const std::string file = str({2, 0, 0, 0, 0x05, 0x11, 2,
                                  0, 0, 0, 0, 10,   0x05, 0x11,
                                  2, 0, 0, 0, 0,    20,   static_cast<unsigned char>(sum),
                                  0, 0, 0});
    EXPECT_EQ(load(source_, file), "");
    EXPECT_EQ(source_.find(level).value(), v(20));
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 1u);
}

TEST_F(ConfigurationTest, AFailureWhileSendingGivesTheLoadsMessage)
{
    ControlParameterMap other;
    fill(other, unit_);
    other.update({{trim, v(5)}, {level, v(70)}});
    const std::string file = saved(other);
    unit_.throwOnNextCall(HostException("Parameter out of range"));
    EXPECT_EQ(load(source_, file), invalidConfigurationText);
}

TEST_F(ConfigurationTest, RecordsOfUnsavedParametersAreSkipped)
{
    ControlParameterMap other;
    fill(other, unit_);
    other.update({{level, v(70)}});
    source_.find(level).setSaved(false);
    EXPECT_EQ(load(source_, saved(other)), "");
    EXPECT_EQ(source_.find(level).value(), v(0));
    EXPECT_EQ(unit_.countOf("setValueAndRead"), 0u);
}

TEST_F(ConfigurationTest, AFailedSaveThrows)
{
    source_.update({{level, v(40)}});
    const std::size_t size = saved(source_).size();
    struct Case {
        const char* what;
        std::size_t limit;
        bool flushFails;
    };
    for (const Case& c : {Case{"in the count", 2, false}, Case{"in a record", 9, false},
                          Case{"in the checksum", size - 2, false}, Case{"at the flush", size, true}}) {
        SCOPED_TRACE(c.what);
        LimitedBuffer buffer(c.limit, c.flushFails);
        std::ostream out(&buffer);
        EXPECT_THROW(source_.save(out), VormoException);
    }
    LimitedBuffer roomy(size);
    std::ostream out(&roomy);
    EXPECT_NO_THROW(source_.save(out));
    EXPECT_EQ(roomy.written, saved(source_));
}
