#include <gtest/gtest.h>

#include <functional>

#include "device/LocalDeviceConnection.h"
#include "device/ProtocolAdapter.h"

namespace {

class LocalStore : public ::testing::Test {
protected:
    LocalDeviceConnection store_;
    ProtocolAdapter protocol_{&store_};
};

} // namespace

TEST_F(LocalStore, UnknownParameterReadsAsZeroAndIsStoredFromThenOn)
{
    ParameterValue value = protocol_.getValue(ParameterId(0x0511));
    EXPECT_EQ(value.toString(), std::string(2, '\0'));

    // A write into another parameter of the same group must not disturb the stored zero.
    protocol_.setValue(ParameterId(0x0410), ParameterValue(9), 0);
    ParameterValueMap all;
    protocol_.getValues({ParameterId(0x0511), ParameterId(0x0510)}, all);
    EXPECT_EQ(all.at(ParameterId(0x0511)), ParameterValue(0));
    EXPECT_EQ(all.at(ParameterId(0x0510)), ParameterValue(9));
}

TEST_F(LocalStore, SingleWritesRoundTripUnderTheParametersOwnIdentifier)
{
    EXPECT_EQ(protocol_.setValueAndRead(ParameterId(0x4301), ParameterValue(3), 50), ParameterValue(3));
    EXPECT_EQ(protocol_.getValue(ParameterId(0x4301)), ParameterValue(3));

    // A direct write names the write identifier, one group below.
    protocol_.setValue(ParameterId(0x4201), ParameterValue(7), 0);
    EXPECT_EQ(protocol_.getValue(ParameterId(0x4301)), ParameterValue(7));

    // Any byte string is kept unchanged, texts included.
    const ParameterValue text(std::string("Preset\0One", 10));
    EXPECT_EQ(protocol_.setValueAndRead(ParameterId(0x1D00), text, 0), text);
}

TEST_F(LocalStore, BatchesRoundTripThroughTheAdapter)
{
    const ParameterValueMap written{{ParameterId(0x0301), ParameterValue(-5)},
                                    {ParameterId(0x0503), ParameterValue(1234)},
                                    {ParameterId(0x2502), ParameterValue(std::string("server.local"))}};
    protocol_.setValues(written, 0);

    ParameterValueMap read;
    protocol_.getValues({ParameterId(0x2502), ParameterId(0x0301), ParameterId(0x0503)}, read);
    EXPECT_EQ(read, written);

    ParameterValueMap readBack;
    const ParameterValueMap changed{{ParameterId(0x0301), ParameterValue(6)},
                                    {ParameterId(0x4301), ParameterValue(2)}};
    protocol_.setValuesAndRead(changed, readBack, 0);
    EXPECT_EQ(readBack, changed);
    EXPECT_EQ(protocol_.getValue(ParameterId(0x0503)), ParameterValue(1234));
}

TEST_F(LocalStore, AReadIntoAFilledMapGivesEveryListedValueAndKeepsTheRest)
{
    const ParameterId a(0x2700), b(0x2701), other(0x2702);
    store_.setValue(a.previousGroup(), ParameterValue(1), 0);
    store_.setValue(b.previousGroup(), ParameterValue(2), 0);
    const ParameterValue stale(9);
    struct Case {
        const char* name;
        ParameterIdList asked;
        ParameterValueMap before;
        ParameterValueMap after;
    };
    const Case cases[] = {
        {"the map of the last read",
         {a, b},
         {{a, stale}, {b, stale}},
         {{a, ParameterValue(1)}, {b, ParameterValue(2)}}},
        {"the same identifiers asked in another order",
         {b, a},
         {{a, stale}, {b, stale}},
         {{a, ParameterValue(1)}, {b, ParameterValue(2)}}},
        {"one of them only", {b}, {{a, stale}, {b, stale}}, {{a, stale}, {b, ParameterValue(2)}}},
        {"another identifier", {a}, {{other, stale}}, {{a, ParameterValue(1)}, {other, stale}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterValueMap values = c.before;
        store_.getValues(c.asked, values);
        EXPECT_EQ(values, c.after);
    }
}

TEST_F(LocalStore, ABatchFindsEveryValueWhereverItsIdentifiersStandInTheStore)
{
    // A batch read steps from one stored entry to the next and searches only when
    // that does not reach: every shape of list must still get each identifier's
    // own value, and an identifier never written reads as 0 and is kept.
    ParameterValueMap expected;
    for (int index = 0; index < 40; index += 2) {
        const ParameterId id(int8_t(0x05), int8_t(index));
        store_.setValue(id.previousGroup(), ParameterValue(100 + index), 0);
        expected[id] = ParameterValue(100 + index);
    }
    const auto at = [](int index) { return ParameterId(int8_t(0x05), int8_t(index)); };
    struct Case {
        const char* name;
        ParameterIdList asked;
    };
    const Case cases[] = {
        {"neighbours in order", {at(0), at(2), at(4), at(6)}},
        {"far apart in order", {at(0), at(20), at(38)}},
        {"backwards", {at(38), at(20), at(2), at(0)}},
        {"never written among them", {at(1), at(2), at(3), at(39), at(41)}},
        {"in another group as well", {at(2), ParameterId(0x0700), at(4)}},
        {"one twice", {at(6), at(6)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterValueMap values;
        store_.getValues(c.asked, values);
        for (const ParameterId& id : c.asked) {
            const auto stored = expected.find(id);
            EXPECT_EQ(values.at(id), stored != expected.end() ? stored->second : ParameterValue(0)) << id;
        }
        // The same list read again into its own map gives the same values.
        ParameterValueMap again = values;
        store_.getValues(c.asked, again);
        EXPECT_EQ(again, values);
    }
    EXPECT_EQ(store_.getValue(at(41)), ParameterValue(0));
    EXPECT_EQ(store_.getValue(at(38)), ParameterValue(138));
}

TEST_F(LocalStore, ItsValuesVersionMovesWithEveryWriteAndWithNoRead)
{
    // The store's subclasses (the factory defaults) write through store().
    class Filled : public LocalDeviceConnection {
    public:
        using LocalDeviceConnection::store;
    };
    Filled store;
    ProtocolAdapter protocol(&store);
    const ParameterId id(0x0301);
    struct Step {
        const char* name;
        std::function<void()> act;
        bool moves;
    };
    const Step steps[] = {
        {"a single read", [&] { protocol.getValue(id); }, false},
        {"a batch read of values never written", [&] {
             ParameterValueMap values;
             protocol.getValues({id, ParameterId(0x0302)}, values);
         }, false},
        {"a write", [&] { protocol.setValue(id.previousGroup(), ParameterValue(4), 0); }, true},
        {"a batch write", [&] { protocol.setValues({{id, ParameterValue(5)}}, 0); }, true},
        {"a write read back", [&] { protocol.setValueAndRead(id, ParameterValue(6), 0); }, true},
        {"the store handed to its subclass", [&] { store.store()[id] = ParameterValue(7); }, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const uint64_t before = protocol.valuesVersion();
        step.act();
        EXPECT_EQ(protocol.valuesVersion() != before, step.moves);
        EXPECT_NE(protocol.valuesVersion(), 0u);
    }
    EXPECT_NE(LocalDeviceConnection().valuesVersion(), store.valuesVersion()) << "two stores share a number";
}

TEST_F(LocalStore, AReadAgainWritesTheNewValuesIntoTheMapOfTheLastRead)
{
    const ParameterId level(0x2700), other(0x2701);
    ParameterValueMap values;
    protocol_.getValues({level, other}, values);
    const ParameterValue* slot = &values.at(other);
    protocol_.setValue(other.previousGroup(), ParameterValue(512), 0);
    protocol_.rereadValues({level, other}, values);
    EXPECT_EQ(values, (ParameterValueMap{{level, ParameterValue(0)}, {other, ParameterValue(512)}}));
    EXPECT_EQ(&values.at(other), slot) << "the entry was made anew";
}

TEST_F(LocalStore, EmptyStoreAnswersEveryListedIdentifierSoTheCheckPasses)
{
    ParameterValueMap result;
    protocol_.getValues({ParameterId(0x1300), ParameterId(0x1301), ParameterId(0x1302)}, result);
    ASSERT_EQ(result.size(), 3u);
    for (const auto& [id, value] : result)
        EXPECT_EQ(value, ParameterValue(0)) << id;
}

TEST_F(LocalStore, StatusLogsAndFirmwareAnswerAtOnce)
{
    ConnectionStatus status = protocol_.getStatus();
    EXPECT_TRUE(status.ok);
    EXPECT_EQ(status.text, "Ok");
    EXPECT_FALSE(protocol_.isMessageBased());

    std::string text = "previous";
    protocol_.getEventLog(text);
    EXPECT_EQ(text, "No Events");
    protocol_.getErrorLog(text);
    EXPECT_EQ(text, "No Errors");

    const unsigned char block[4] = {1, 2, 3, 4};
    EXPECT_NO_THROW(protocol_.downloadFirmware("/nonexistent/image.bin", nullptr));
    EXPECT_NO_THROW(protocol_.sendFlashBlock(block, sizeof block, 1, true));
}
