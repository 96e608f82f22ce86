// The serial link against a misbehaving unit on a pseudo-terminal: a reply that
// stops halfway and bytes after a frame end in the link's own failures, and the
// unit's parameter set never takes values from a reply it did not read whole.
#include <gtest/gtest.h>

#include "device/ProtocolAdapter.h"
#include "device/RetryingProtocol.h"
#include "device/SmpteDeviceConnection.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32SerialPort.h"
#include "model/Exceptions.h"
#include "support/FakeSerialUnit.h"
#include "support/FakeUnit.h"
#include "unit/UnitParameterSet.h"

namespace {

constexpr int unitAddress = 0x8280;
const ParameterId remoteMode(0x090A);
// Controls in the first three groups a refresh reads, in the order it reads them.
const ParameterId firstGroupControl(0x0101);
const ParameterId secondGroupControl(0x0301);
const ParameterId thirdGroupControl(0x0511);

std::string frame(const std::string& lengthAndBody)
{
    unsigned sum = 0;
    for (char byte : lengthAndBody)
        sum += static_cast<unsigned char>(byte);
    return "\x02" + lengthAndBody + static_cast<char>(0x100 - (sum & 0xFF));
}

// The chain the application builds for a serial unit; the tries are the test's choice.
struct SerialChain {
    explicit SerialChain(unsigned attempts) : retrying(&adapter, attempts)
    {
        device.setTimeout(FakeSerialUnit::answerTimeoutMs);
    }

    Win32SerialPort port{1, 115200};
    SerialDevice device{&port};
    SmpteDeviceConnection connection{unitAddress, &device};
    ProtocolAdapter adapter{&connection};
    RetryingProtocol retrying;
};

class SerialLinkFaults : public ::testing::Test {
protected:
    SerialLinkFaults()
    {
        unit_.setValues(unitCatalogueDefaults());
        unit_.setValue(remoteMode, ParameterValue(2));
    }

    // The refresh step that reads the control parameters (the others read preset names).
    static void refreshControls(UnitParameterSet& set)
    {
        while (UnitParameterSet::rotationCounter() % 3 != 0)
            set.refresh();
        set.refresh();
    }

    static ParameterValueMap controlValues(const UnitParameterSet& set)
    {
        ParameterValueMap values;
        for (const auto& [id, control] : set.controls())
            values[id] = control.current();
        return values;
    }

    template <typename Operation> static std::string protocolFailure(Operation operation)
    {
        try {
            operation();
        } catch (const ProtocolException& failure) {
            return failure.what();
        } catch (const std::exception& other) {
            return std::string("not a ProtocolException: ") + other.what();
        }
        return "no exception";
    }

    void changeTheFirstThreeGroups()
    {
        unit_.setValue(firstGroupControl, ParameterValue(3));
        unit_.setValue(secondGroupControl, ParameterValue(1));
        unit_.setValue(thirdGroupControl, ParameterValue(-17));
    }

    FakeSerialUnit unit_{unitAddress};
};

struct CutReply {
    const char* what;
    std::string bytes;
    const char* failure;
};

const std::vector<CutReply>& cutReplies()
{
    static const std::vector<CutReply> cases = {
        {"silent after the first bytes of the body", std::string("\x02\x40\x05\x11\x00\x01\x12\x00", 8),
         "Some of the message data is missing."},
        {"silent after a length of 255", std::string("\x02\xFF", 2), "Some of the message data is missing."},
        {"silent after STX", std::string("\x02", 1), "The message length is missing."},
        {"silent after authorizing", std::string(),
         "The device didn't transmit after receiving authorization."},
    };
    return cases;
}

} // namespace

TEST_F(SerialLinkFaults, ReplyCutShortInTheMiddleOfABatchLeavesEveryControlAsItWas)
{
    SerialChain chain(1); // no second try: the failure reaches the set
    UnitParameterSet set(&chain.adapter, true);
    for (const CutReply& cut : cutReplies()) {
        SCOPED_TRACE(cut.what);
        changeTheFirstThreeGroups();
        const ParameterValueMap before = controlValues(set);
        // The first two groups of the refresh are answered whole, the third stops halfway.
        unit_.replaceReplyAfter(2, cut.bytes);
        EXPECT_EQ(protocolFailure([&] { refreshControls(set); }), cut.failure);
        EXPECT_EQ(controlValues(set), before) << "no value of the failed refresh was taken";

        // The line is quiet again: the next refresh takes the unit's values.
        refreshControls(set);
        EXPECT_EQ(set.controls().at(firstGroupControl).current(), ParameterValue(3));
        EXPECT_EQ(set.controls().at(secondGroupControl).current(), ParameterValue(1));
        EXPECT_EQ(set.controls().at(thirdGroupControl).current(), ParameterValue(-17));
        unit_.setValues(unitCatalogueDefaults());
        unit_.setValue(remoteMode, ParameterValue(2));
        refreshControls(set);
    }
}

TEST_F(SerialLinkFaults, ReplyCutShortIsReadAgainByTheRetry)
{
    SerialChain chain(5);
    UnitParameterSet set(&chain.retrying, true);
    changeTheFirstThreeGroups();
    unit_.replaceReplyAfter(2, cutReplies().front().bytes);
    refreshControls(set);
    EXPECT_EQ(set.controls().at(firstGroupControl).current(), ParameterValue(3));
    EXPECT_EQ(set.controls().at(secondGroupControl).current(), ParameterValue(1));
    EXPECT_EQ(set.controls().at(thirdGroupControl).current(), ParameterValue(-17));
}

TEST_F(SerialLinkFaults, BytesAfterAFrameFailTheNextExchangeOnlyOnce)
{
    struct Case {
        const char* what;
        std::string trailer;
        const char* failure;
    };
    const Case cases[] = {
        {"noise", std::string("\x00\x55\xAA", 3), "The device returned 0 instead of ACK"},
        {"a second copy of the frame", frame(std::string("\x04\x05\x11\x03\x21", 5)),
         "The device returned 2 instead of ACK"},
        // Taken for the next exchange's acknowledge and poll answers, which puts the unit's
        // real acknowledge where the reply frame should begin.
        {"a stray acknowledge and poll answers", std::string("\x04\x07\x08", 3),
         "The Smpte keyword is not STX"},
    };
    unit_.setValue(thirdGroupControl, ParameterValue(0x0321));
    SerialChain chain(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        unit_.trailNextReply(c.trailer);
        EXPECT_EQ(chain.adapter.getValue(thirdGroupControl), ParameterValue(0x0321));
        // The next exchange meets the leftover bytes, fails, and empties the line.
        EXPECT_EQ(protocolFailure([&] { chain.adapter.getValue(thirdGroupControl); }), c.failure);
        EXPECT_EQ(chain.adapter.getValue(thirdGroupControl), ParameterValue(0x0321));
    }
}

TEST_F(SerialLinkFaults, BytesAfterAFrameDoNotReachTheSetThroughTheRetry)
{
    SerialChain chain(5);
    UnitParameterSet set(&chain.retrying, true);
    changeTheFirstThreeGroups();
    // The reply to the first group carries noise behind it.
    unit_.trailNextReply(std::string("\x00\x55\xAA", 3));
    refreshControls(set);
    EXPECT_EQ(set.controls().at(firstGroupControl).current(), ParameterValue(3));
    EXPECT_EQ(set.controls().at(secondGroupControl).current(), ParameterValue(1));
    EXPECT_EQ(set.controls().at(thirdGroupControl).current(), ParameterValue(-17));
}
