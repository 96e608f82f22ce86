#pragma once

#include <functional>
#include <iosfwd>
#include <string>

class VormoException;

// "Error opening <path>" or "Error writing <path>" and, when the system gave
// one, its reason: "Error opening /x/y.347: Permission denied".
VormoException fileFailure(const std::string& action, const std::string& path, int error);

// Writes the file a path names, through any symbolic links, with the whole content
// made in memory first. It goes through a temporary file beside the file, which
// takes the file's mode and owner and its place only once every byte was written,
// so a failure leaves the old file as it was; a file with further names (hard
// links), or in a folder that takes no new file, is overwritten in place instead,
// once the room for the new content is taken, so that a full disk leaves it whole.
// Throws VormoException "Error opening " and the path when the file cannot be
// written at all, "Error writing " and the path when writing it failed, each with
// the system's reason; a failure of the writer's own passes on, unless the stream
// had failed first.
void writeFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write);
