// The serial chain as the application builds it, over a pseudo-terminal to a fake unit:
// Win32SerialPort on COM1, the bridge, the SMPTE connection, the adapter and five tries.
#include <gtest/gtest.h>

#include "device/ProtocolAdapter.h"
#include "device/RetryingProtocol.h"
#include "device/SmpteDeviceConnection.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32SerialPort.h"
#include "model/Exceptions.h"
#include "support/FakeSerialUnit.h"
#include "unit/UnitParameterSet.h"
#include "unit/catalogue/Catalogue.h"

namespace {

constexpr int unitAddress = 0x8280;

const std::vector<const GroupCatalogue*>& unitGroups()
{
    static const std::vector<const GroupCatalogue*> groups = {
        &catalogueGroup01(), &catalogueGroup03(), &catalogueGroup05(), &catalogueGroup07(),
        &catalogueGroup09(), &catalogueGroup0B(), &catalogueGroup0D(), &catalogueGroup0F(),
        &catalogueGroup11(), &catalogueGroup13(), &catalogueGroup15(), &catalogueGroup17(),
        &catalogueGroup19(), &catalogueGroup1B(), &catalogueGroup1D(), &catalogueGroup1F(),
        &catalogueGroup21(), &catalogueGroup23(), &catalogueGroup25(), &catalogueGroup27(),
        &catalogueGroup29(), &catalogueGroup2B(), &catalogueGroup2D(), &catalogueGroup33(),
        &catalogueGroup35(), &catalogueGroup37(), &catalogueGroup3D()};
    return groups;
}

ParameterId id(int number)
{
    return ParameterId(static_cast<int16_t>(number));
}

class SerialChain {
public:
    explicit SerialChain(int address = unitAddress, int readTimeoutMs = FakeSerialUnit::answerTimeoutMs)
        : port_(1, 115200), device_(&port_), connection_(address, &device_), adapter_(&connection_),
          protocol_(&adapter_, 5)
    {
        setReadTimeout(readTimeoutMs);
    }
    GenericProtocol& protocol() { return protocol_; }
    void setReadTimeout(int milliseconds) { device_.setTimeout(milliseconds); }

private:
    Win32SerialPort port_;
    SerialDevice device_;
    SmpteDeviceConnection connection_;
    ProtocolAdapter adapter_;
    RetryingProtocol protocol_;
};

class SmpteSerialChainTest : public ::testing::Test {
protected:
    SmpteSerialChainTest()
    {
        for (const GroupCatalogue* group : unitGroups())
            for (const ParameterDefinition& row : *group)
                unit_.setValue(id(row.id), row.defaultValue);
    }

    std::string failureOf(auto&& action)
    {
        try {
            action();
        } catch (const ProtocolException& error) {
            return error.what();
        }
        return "(no failure)";
    }

    FakeSerialUnit unit_{unitAddress};
};

TEST_F(SmpteSerialChainTest, ReadsEveryControlParameterAndSetsOne)
{
    SerialChain chain;
    // The preset names are read in two halves, as the application does: all 32 do not fit one frame.
    ParameterIdList controls;
    ParameterIdList firstNames;
    ParameterIdList otherNames;
    ParameterValueMap expected;
    for (const GroupCatalogue* group : unitGroups()) {
        for (const ParameterDefinition& row : *group) {
            if (row.kind != ParameterKind::Control)
                continue;
            expected[id(row.id)] = row.defaultValue;
            if ((row.id >> 8) != 0x1D)
                controls.push_back(id(row.id));
            else
                ((row.id & 0xFF) < 16 ? firstNames : otherNames).push_back(id(row.id));
        }
    }
    ParameterValueMap values;
    chain.protocol().getValues(controls, values);
    ParameterValueMap names;
    chain.protocol().getValues(firstNames, names);
    ParameterValueMap more;
    chain.protocol().getValues(otherNames, more);
    values.insert(names.begin(), names.end());
    values.insert(more.begin(), more.end());
    EXPECT_EQ(values, expected);

    const ParameterId volume = controls.front();
    const ParameterValue changed(unit_.value(volume).toInt16() ^ 1);
    EXPECT_EQ(chain.protocol().setValueAndRead(volume, changed, 0), changed);
    EXPECT_EQ(unit_.value(volume), changed);

    const ParameterId name = firstNames.front();
    chain.protocol().setValue(name.previousGroup(), ParameterValue(std::string("Late night")), 0);
    EXPECT_EQ(chain.protocol().getValue(name), ParameterValue(std::string("Late night")));
}

TEST_F(SmpteSerialChainTest, AUnitParameterSetOnTheSerialChain)
{
    unit_.setValue(id(0x090A), ParameterValue(2)); // the unit is in remote mode
    unit_.setValue(id(0x0101), ParameterValue(3));
    unit_.setValue(id(0x1D00), ParameterValue(std::string("Stage left")));
    SerialChain chain;
    UnitParameterSet set(&chain.protocol(), true); // reads every control parameter from the unit

    std::size_t compared = 0;
    for (const auto& [controlId, control] : set.controls()) {
        if (controlId.group() == 0x43)
            continue; // the application's own group never reaches the unit
        EXPECT_EQ(control.current(), unit_.value(controlId)) << controlId;
        ++compared;
    }
    EXPECT_GT(compared, 100u);
    EXPECT_EQ(set.controls().at(id(0x0101)).current(), ParameterValue(3));

    for (int step = 0; step < 3; ++step)
        set.refresh(); // one whole rotation: the controls, then the preset names in halves
    EXPECT_EQ(set.presetNameMap(0).at(id(0x1D00)).current(), ParameterValue(std::string("Stage left")));

    const ParameterValue unitName(std::string("Booth B"));
    set.setValue(id(0x0103), unitName); // sent in long form, read back
    EXPECT_EQ(unit_.value(id(0x0103)), unitName);
    EXPECT_EQ(set.controls().at(id(0x0103)).current(), unitName);

    // The status groups polled over the link.
    const ParameterId status = set.statuses().begin()->first;
    const ParameterValue before = unit_.value(status);
    const ParameterValue reported =
        before.isInteger() ? ParameterValue(before.toInt16() ^ 1) : ParameterValue(before.toString() + "x");
    unit_.setValue(status, reported);
    for (std::size_t i = 0; i < set.pollQueue().size(); ++i)
        set.pollStatusGroup();
    EXPECT_EQ(set.statuses().at(status).current(), reported);
}

TEST_F(SmpteSerialChainTest, ACorruptedReplyIsRetriedAndALaterTrySucceeds)
{
    SerialChain chain;
    unit_.setValue(id(0x0511), ParameterValue(0x0123));
    unit_.corruptChecksums(4);
    unit_.answerNotYet(2);
    unit_.answerBusy(1);
    ParameterValueMap values;
    chain.protocol().getValues({id(0x0511)}, values);
    EXPECT_EQ(values, (ParameterValueMap{{id(0x0511), ParameterValue(0x0123)}}));
    EXPECT_EQ(unit_.requestsSeen(), 5);
}

TEST_F(SmpteSerialChainTest, FiveBadRepliesInARowReachTheCaller)
{
    SerialChain chain;
    unit_.corruptChecksums(5);
    ParameterValueMap values;
    EXPECT_EQ(failureOf([&] { chain.protocol().getValues({id(0x0511)}, values); }), "Incorrect checksum");
    EXPECT_EQ(unit_.requestsSeen(), 5);

    // A unit that stays silent: five tries without an acknowledge.
    unit_.resetCounters();
    unit_.staySilent(5);
    chain.setReadTimeout(SmpteDeviceConnection::readTimeoutMs);
    EXPECT_EQ(failureOf([&] { chain.protocol().getValue(id(0x0511)); }),
              "No response when expecting an ACK.");
    // Nothing came back to show that the unit has read the last request yet.
    EXPECT_TRUE(unit_.waitForRequests(5));
    EXPECT_EQ(unit_.requestsSeen(), 5);
    chain.setReadTimeout(FakeSerialUnit::answerTimeoutMs);
    EXPECT_NO_THROW(chain.protocol().getValue(id(0x0511))); // and the line recovers
}

TEST_F(SmpteSerialChainTest, DamagedRepliesAreRetriedNotTrusted)
{
    SerialChain chain;
    const auto frame = [](const std::string& lengthAndBody) {
        unsigned sum = 0;
        for (char byte : lengthAndBody)
            sum += static_cast<unsigned char>(byte);
        return "\x02" + lengthAndBody + static_cast<char>(0x100 - (sum & 0xFF));
    };
    struct Case {
        const char* what;
        std::string raw;
    };
    const Case cases[] = {
        {"a short frame", std::string("\x02\x04\x05", 3)},
        {"a length that runs past what arrives", std::string("\x02\xF0\x05\x11\x00\x01", 6)},
        {"a reply for another request", frame(std::string("\x04\x07\x11\x00\x01", 5))},
        {"bytes after the frame", frame(std::string("\x04\x05\x11\x03\x21", 5)) + "\x08\x04\x02\x06"},
    };
    unit_.setValue(id(0x0511), ParameterValue(0x0321));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        unit_.replaceNextReply(c.raw);
        ParameterValueMap values;
        EXPECT_NO_THROW(chain.protocol().getValues({id(0x0511)}, values));
        EXPECT_EQ(values, (ParameterValueMap{{id(0x0511), ParameterValue(0x0321)}}));
        // The next operation starts on a clean line.
        EXPECT_EQ(chain.protocol().getValue(id(0x0511)), ParameterValue(0x0321));
    }
}

TEST_F(SmpteSerialChainTest, FramesForAnotherAddressAreIgnored)
{
    {
        SerialChain elsewhere(0x1234, SmpteDeviceConnection::readTimeoutMs);
        EXPECT_EQ(failureOf([&] { elsewhere.protocol().getValue(id(0x0511)); }),
                  "No response when expecting an ACK.");
        EXPECT_EQ(elsewhere.protocol().getStatus().text, "Not Responding");
    }
    EXPECT_EQ(unit_.requestsSeen(), 0);
    SerialChain chain;
    EXPECT_EQ(chain.protocol().getValue(id(0x0101)), unit_.value(id(0x0101)));
    EXPECT_EQ(chain.protocol().getStatus().text, "Ok");
}

} // namespace
