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

void* allocate(std::size_t size, std::size_t alignment = 0) noexcept
{
    ++threadAllocations;
    size = std::max<std::size_t>(size, 1);
    if (alignment == 0)
        return std::malloc(size);
    // aligned_alloc takes only whole multiples of the alignment.
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* allocateOrThrow(std::size_t size, std::size_t alignment = 0)
{
    if (void* memory = allocate(size, alignment))
        return memory;
    throw std::bad_alloc();
}

// Not inlined, so that the compiler, which takes operator new for an allocator of its
// own, does not see free() meet memory from it in the callers of operator delete.
[[gnu::noinline]] void release(void* memory) noexcept
{
    std::free(memory);
}

} // namespace

// Every replaceable form is replaced, so that whatever form a library allocates with,
// it frees through the same allocator: a sanitizer that supplies a form left out here
// would otherwise see its memory freed by ours.
void* operator new(std::size_t size)
{
    return allocateOrThrow(size);
}

void* operator new[](std::size_t size)
{
    return allocateOrThrow(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}

void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocate(size, static_cast<std::size_t>(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocate(size, static_cast<std::size_t>(alignment));
}

void operator delete(void* memory) noexcept
{
    release(memory);
}

void operator delete[](void* memory) noexcept
{
    release(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    release(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    release(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    release(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    release(memory);
}

void operator delete(void* memory, std::align_val_t) noexcept
{
    release(memory);
}

void operator delete[](void* memory, std::align_val_t) noexcept
{
    release(memory);
}

void operator delete(void* memory, std::size_t, std::align_val_t) noexcept
{
    release(memory);
}

void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept
{
    release(memory);
}

void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept
{
    release(memory);
}

void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept
{
    release(memory);
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
