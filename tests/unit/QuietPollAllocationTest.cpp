// A quiet poll allocates nothing: the application polls about a thousand times a
// second all day. The test thread's allocations are counted by replacing the
// global allocation functions of this test program.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "support/LoopbackTcpChain.h"
#include "unit/DefaultDeviceConnection.h"
#include "unit/UnitParameterSet.h"

namespace {

thread_local long threadAllocations = 0;

void* allocate(std::size_t size)
{
    ++threadAllocations;
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

// The allocations of a second round of ticks as the main window's timer runs them
// (two status polls a tick, the rotating refresh every tenth); the first round
// makes each poll's list. A round polls every group and takes every refresh step.
long allocationsOfASecondRound(UnitParameterSet& set)
{
    const std::size_t ticks = std::max<std::size_t>(set.pollQueue().size(), 30) + 1;
    uint32_t tick = 0;
    auto round = [&] {
        for (std::size_t i = 0; i < ticks; ++i, ++tick) {
            set.pollStatusGroup();
            if (tick % 10 == 0)
                set.refresh();
            set.pollStatusGroup();
        }
    };
    round();
    const long before = threadAllocations;
    round();
    return threadAllocations - before;
}

class QuietTcpPoll : public LoopbackTcpChain {};

} // namespace

TEST(QuietPoll, OffLineAllocatesNothing)
{
    DefaultDeviceConnection store;
    ProtocolAdapter adapter(&store);
    UnitParameterSet set(&adapter, false);
    EXPECT_EQ(allocationsOfASecondRound(set), 0);
}

TEST_F(QuietTcpPoll, AUnitThatReportsNothingCostsNoAllocation)
{
    unit_.withEngine([](FakeUnitEngine& engine) {
        engine.store = unitCatalogueDefaults();
        engine.store[ParameterId(0x090A)] = ParameterValue(2); // controlled over Ethernet
    });
    buildSocket();
    startConnection();
    UnitParameterSet set(adapter_.get(), true);
    EXPECT_EQ(allocationsOfASecondRound(set), 0);
}
