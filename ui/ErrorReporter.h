#pragma once

#include "model/Exceptions.h"

// Where the user interface sends every failure it catches. The controllers and pages
// hold one and never own it; the main window's reporter shows the failure and falls
// back to off-line mode.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;

    virtual void reportError(const VormoException& error) = 0;
    virtual void reportHostError(const HostException& error) = 0;
    virtual void reportProtocolError(const ProtocolException& error) = 0;
    // A failure from outside the system's own family: the application ends.
    virtual void reportUnknown() = 0;
};
