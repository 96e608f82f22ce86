#pragma once

#include <stdexcept>
#include <string>

// The one family of failures the application reports. The text is exactly what
// the user sees; the subclasses exist only so that handlers can tell kinds apart.
class VormoException : public std::runtime_error {
public:
    explicit VormoException(const std::string& message) : std::runtime_error(message) {}
};

// A failure of the conversation with the unit: no acknowledge, a bad frame,
// a missing or incomplete reply. The serial link retries these.
class ProtocolException : public VormoException {
public:
    explicit ProtocolException(const std::string& message) : VormoException(message) {}
};

// An Error message sent by the unit itself.
class HostException : public ProtocolException {
public:
    explicit HostException(const std::string& message) : ProtocolException(message) {}
};

class FlashException : public VormoException {
public:
    explicit FlashException(const std::string& message) : VormoException(message) {}
};

class DataValidationException : public VormoException {
public:
    explicit DataValidationException(const std::string& message) : VormoException(message) {}
};

// The unit is controlled from its front panel, not remotely.
class RemoteSourceException : public VormoException {
public:
    explicit RemoteSourceException(const std::string& message) : VormoException(message) {}
};
