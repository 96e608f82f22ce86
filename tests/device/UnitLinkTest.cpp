// The owner of a live link: what each open function builds, what it refuses, and
// that whatever it opened is let go again, whole or half built.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "device/LocalDeviceConnection.h"
#include "device/UnitLink.h"
#include "model/Exceptions.h"
#include "support/FakeSerialUnit.h"
#include "support/FakeUnit.h"

namespace {

const ParameterId masterVolume(0x0511);
const ParameterId remoteSource(0x090A);

// A fake unit on its own loopback address at the unit's port, holding the defaults.
std::unique_ptr<FakeUnit> unitAtItsPort()
{
    auto unit = FakeUnit::onFreeLoopbackAddress(UnitLink::unitPort);
    unit->withEngine([](FakeUnitEngine& engine) {
        engine.store = unitCatalogueDefaults();
        engine.store[remoteSource] = ParameterValue(2);
    });
    return unit;
}

std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const VormoException& error) {
        return error.what();
    }
    return "(no failure)";
}

TEST(UnitLinkTest, ATcpLinkReadsTheUnitAndSendsChangesToIt)
{
    auto unit = unitAtItsPort();
    unit->withEngine([](FakeUnitEngine& engine) { engine.store[masterVolume] = ParameterValue(150); });
    auto link = openTcpLink(unit->address());
    GenericProtocol& protocol = link->protocol();
    EXPECT_TRUE(protocol.isMessageBased());
    EXPECT_EQ(protocol.getValue(masterVolume), ParameterValue(150));

    protocol.setValue(masterVolume.previousGroup(), ParameterValue(160), 0);
    EXPECT_EQ(unit->withEngine([](FakeUnitEngine& engine) { return engine.store[masterVolume]; }),
              ParameterValue(160));
    EXPECT_EQ(protocol.getValue(masterVolume), ParameterValue(160));
}

TEST(UnitLinkTest, ASerialLinkReachesTheUnitAtItsAddressAndTriesFiveTimes)
{
    FakeSerialUnit unit(0x82, 2);
    unit.setValue(masterVolume, ParameterValue(0x0123));
    auto link = openSerialLink(2, "82xy"); // reading stops at the first letter that is no digit
    GenericProtocol& protocol = link->protocol();
    EXPECT_FALSE(protocol.isMessageBased());
    EXPECT_EQ(protocol.getValue(masterVolume), ParameterValue(0x0123));

    unit.resetCounters();
    unit.corruptChecksums(4);
    EXPECT_EQ(protocol.getValue(masterVolume), ParameterValue(0x0123)); // the fifth try
    EXPECT_EQ(unit.requestsSeen(), 5);
    unit.resetCounters();
    unit.corruptChecksums(5);
    EXPECT_EQ(failureOf([&] { protocol.getValue(masterVolume); }), "Incorrect checksum");
    EXPECT_EQ(unit.requestsSeen(), 5);
}

TEST(UnitLinkTest, AnOffLineLinkReadsAndWritesTheStoreItWasGiven)
{
    LocalDeviceConnection store;
    store.setValue(masterVolume.previousGroup(), ParameterValue(100), 0);
    auto link = openOffLineLink(store);
    EXPECT_EQ(link->protocol().getValue(masterVolume), ParameterValue(100));
    link->protocol().setValue(masterVolume.previousGroup(), ParameterValue(90), 0);
    link.reset();
    EXPECT_EQ(store.getValue(masterVolume), ParameterValue(90)); // the store outlives the link
}

TEST(UnitLinkTest, SmpteAddressesAreOneHexadecimalNumberOfAtMostFourDigits)
{
    struct Case {
        const char* text;
        int address; // -1: refused
    };
    const Case cases[] = {
        {"8280", 0x8280}, {"  82xy", 0x82}, {"ffff", 0xFFFF}, {"0", 0},       {"", -1},
        {"   ", -1},      {"g1", -1},       {"10000", -1},    {"123456", -1}, {"-1", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        if (c.address >= 0) {
            EXPECT_EQ(parseSmpteAddress(c.text), c.address);
        } else {
            EXPECT_EQ(failureOf([&] { parseSmpteAddress(c.text); }), "invalid SMPTE address");
        }
    }
}

// Each failure says what failed, and what had been opened before it is closed again:
// the same port or unit can be opened at once afterwards.
TEST(UnitLinkTest, ALinkThatCannotBeOpenedSaysWhyAndLeavesNothingOpen)
{
    setenv("QZ347_COM4", "/nonexistent/serial-device", 1);
    FakeSerialUnit serialUnit(0x8280, 3);
    auto tcpUnit = unitAtItsPort();
    struct Case {
        const char* name;
        std::function<void()> open;
        std::string textStart;
        std::function<void()> openAgain;
    };
    const Case cases[] = {
        {"refused connection", [] { openTcpLink("127.0.0.9"); }, "connect failed", nullptr},
        {"port that will not open", [] { openSerialLink(4, "8280"); }, "Error opening COM4", nullptr},
        {"bad SMPTE address after the port was opened", [] { openSerialLink(3, "g1"); },
         "invalid SMPTE address", [] { openSerialLink(3, "8280"); }},
        {"an error message of the unit at the first exchange",
         [&] {
             tcpUnit->withEngine([](FakeUnitEngine& engine) { engine.errorOnNextMessage = 12; });
             openTcpLink(tcpUnit->address());
         },
         "", [&] { openTcpLink(tcpUnit->address()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = failureOf(c.open);
        EXPECT_NE(text, "(no failure)");
        EXPECT_EQ(text.rfind(c.textStart, 0), 0u) << text;
        if (c.openAgain) {
            EXPECT_NO_THROW(c.openAgain());
        }
    }
    unsetenv("QZ347_COM4");
}

// The pieces go from the top down while the unit keeps talking; the sanitizer build
// sees any piece used after it is gone. The unit takes one connection at a time, so
// the next link is answered only when the last one has really closed.
TEST(UnitLinkTest, ALinkLetsGoOfEverythingWhileTheUnitIsTalking)
{
    auto unit = unitAtItsPort();
    FakeSerialUnit serialUnit(0x8280, 2);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        auto link = openTcpLink(unit->address());
        for (int i = 0; i < 20; ++i) {
            unit->sendStatus({{masterVolume, ParameterValue(i)}});
        }
        link->protocol().getValue(masterVolume);
        auto serial = openSerialLink(2, "8280");
        serial->protocol().getValue(masterVolume);
    }
    EXPECT_EQ(unit->connections(), 3);
}

} // namespace
