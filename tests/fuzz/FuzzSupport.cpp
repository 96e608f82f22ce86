#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void fuzzCheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

unsigned ScriptedDevice::read(unsigned char* buffer, unsigned count)
{
    if (left() < count && !partialReads_)
        return 0;
    const std::size_t taken = std::min<std::size_t>(count, left());
    if (taken > 0)
        std::memcpy(buffer, incoming_.data() + position_, taken);
    position_ += taken;
    return static_cast<unsigned>(taken);
}
