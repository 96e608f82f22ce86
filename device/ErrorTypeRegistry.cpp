#include "device/ErrorTypeRegistry.h"

#include "model/Exceptions.h"

namespace {

std::unique_ptr<ErrorTypeRegistry>& theInstance()
{
    static std::unique_ptr<ErrorTypeRegistry> registry;
    return registry;
}

const ErrorType& lookUp(const std::map<int16_t, std::unique_ptr<ErrorType>>& entries, int16_t code,
                        const ErrorType& fallback)
{
    auto found = entries.find(code);
    return found == entries.end() ? fallback : *found->second;
}

} // namespace

ErrorTypeRegistry::ErrorTypeRegistry()
{
    // The unit acknowledges a flash step that worked with result code 0. Without
    // this entry every acknowledgement would read as a failure and no download
    // could ever succeed. The unit's error codes are not known, so Error messages
    // all read "Host Error".
    flashResults_.emplace(0, std::make_unique<ErrorType>(ErrorType{0, "Flash operation done"}));
}

ErrorTypeRegistry& ErrorTypeRegistry::instance()
{
    std::unique_ptr<ErrorTypeRegistry>& registry = theInstance();
    if (!registry)
        registry.reset(new ErrorTypeRegistry());
    return *registry;
}

void ErrorTypeRegistry::destroyInstance()
{
    theInstance().reset();
}

const ErrorType& ErrorTypeRegistry::error(int16_t code) const
{
    return lookUp(errors_, code, defaultEntry_);
}

const ErrorType& ErrorTypeRegistry::flashResult(int16_t code) const
{
    return lookUp(flashResults_, code, defaultEntry_);
}

int16_t ErrorTypeRegistry::readErrorId(const unsigned char* bytes, unsigned available)
{
    if (available < 2)
        throw VormoException("error type id not found in buffer");
    return static_cast<int16_t>(static_cast<uint16_t>((bytes[0] << 8) | bytes[1]));
}
