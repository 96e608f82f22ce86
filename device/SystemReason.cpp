#include "device/SystemReason.h"

#include <system_error>

std::string withSystemReason(const std::string& text, int error)
{
    return text + " (" + std::generic_category().message(error) + ")";
}
