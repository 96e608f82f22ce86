#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Writes the file through a temporary file beside it and puts it in the file's place
// only once every byte was written and checked, so a failure leaves the old file as it
// was. Throws VormoException "Error opening " and the path when the file cannot be
// written at all, "Error writing " and the path when writing it failed; a failure of
// the writer's own passes on, unless the stream had failed first.
void writeFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write);
