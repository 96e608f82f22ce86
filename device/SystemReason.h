#pragma once

#include <string>

// A failure text followed by the system's reason for an error number in
// parentheses: "Error opening /x/image.bin (No such file or directory)", so that
// a user can tell a missing file from missing rights or a lack of descriptors.
std::string withSystemReason(const std::string& text, int error);
