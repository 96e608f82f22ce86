#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "device/NetworkDeviceConnection.h"
#include "device/Packet.h"
#include "device/ProtocolAdapter.h"
#include "support/FakeUnit.h"
#include "unit/UnitParameterSet.h"

namespace {

const ParameterId masterVolume(0x0511);

// The unit's whole parameter set over the TCP protocol to a fake unit in the same thread.
struct UnitOverTcp {
    explicit UnitOverTcp(FakeUnitLink& link)
        : connection(&link, &packet), adapter(&connection), set(std::make_unique<UnitParameterSet>(&adapter, false))
    {
    }

    Packet packet;
    NetworkDeviceConnection connection;
    ProtocolAdapter adapter;
    std::unique_ptr<UnitParameterSet> set;
};

} // namespace

TEST(ConfigurationRoundTrip, AFileSavedFromAUnitReportingAOneByteValueLoadsBack)
{
    // The unit reports the master volume as one byte, in the text form of its protocol.
    const ParameterValue oneByte(std::string(1, '\x64'));
    FakeUnitLink link;
    link.unit.store = unitCatalogueDefaults();
    link.unit.store[masterVolume] = oneByte;
    std::stringstream file;
    UnitOverTcp(link).set->saveConfiguration(file);

    link.unit.store[masterVolume] = ParameterValue(150);
    UnitOverTcp later(link);
    EXPECT_NO_THROW(later.set->loadConfiguration(file));
    EXPECT_EQ(link.unit.store[masterVolume], oneByte);
}
