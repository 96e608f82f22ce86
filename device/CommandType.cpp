#include "device/CommandType.h"

#include <array>

#include "model/Exceptions.h"

namespace {

const std::array<CommandType, CommandType::count>& table()
{
    // The names are the unit's own, spelling included.
    static const std::array<CommandType, CommandType::count> commands = {
        CommandType(0, "Ping Request"),
        CommandType(1, "Ping Response"),
        CommandType(2, "Set"),
        CommandType(3, "GetAll"),
        CommandType(4, "Status"),
        CommandType(5, "Miniumum"),
        CommandType(6, "Maximum"),
        CommandType(7, "Enable"),
        CommandType(8, "Error"),
        CommandType(9, "Erase Flash"),
        CommandType(10, "Download Data"),
        CommandType(11, "Burn And Reboot"),
        CommandType(12, "Flash Operation Done"),
        CommandType(13, "Event Log"),
        CommandType(14, "Error Log"),
        CommandType(15, "Get All Response"),
        CommandType(16, "Get Event Log"),
        CommandType(17, "Get Error Log"),
    };
    return commands;
}

// Built during static initialisation, before any other thread can start.
[[maybe_unused]] const auto& builtEarly = table();

} // namespace

const CommandType& CommandType::read(const unsigned char* buffer, unsigned length)
{
    if (length == 0)
        throw VormoException("missing command type in buffer");
    return fromCode(buffer[0]);
}

const CommandType& CommandType::fromCode(unsigned code)
{
    if (code >= count)
        throw VormoException("unrecognized command type");
    return table()[code];
}

int CommandType::write(unsigned char* buffer, unsigned capacity) const
{
    if (capacity == 0)
        throw VormoException("no room for command type in buffer");
    buffer[0] = code_;
    return 1;
}
