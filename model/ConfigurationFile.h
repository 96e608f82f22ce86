#pragma once

#include <cstdint>
#include <iosfwd>

#include "model/ParameterValue.h"

// The configuration file (*.347), all integers 32-bit little-endian:
//   count | count records of (group, index, length, value bytes) | checksum
// The checksum is the count plus every record field, single bytes taken as
// signed 8-bit numbers, with 32-bit wrap-around.

// Reads a whole configuration stream positioned at its count into a map of
// records (a later record for the same identifier replaces an earlier one).
// Throws VormoException for a truncated or malformed stream or a wrong checksum.
ParameterValueMap readParameterValueMap(std::istream& in);

// The longest value a record may hold. A value this long cannot be sent to the
// unit anyway; the limit keeps a damaged length from costing unbounded memory.
constexpr uint32_t maximumRecordLength = 0xFFFF;

// The text of every failed load.
constexpr const char* invalidConfigurationText = "This is not a valid configuration file for this device";
