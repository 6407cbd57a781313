#pragma once

#include <string>
#include <string_view>

namespace platform {

// Creates a new file in the temporary folder ($TMPDIR, else /tmp) under a unique name made
// of the prefix, random characters and the suffix, readable and writable by its owner only,
// holds the bytes and returns its path. The name is taken in one step, so no other process
// can take it first. Raises std::runtime_error when the file cannot be made or written.
std::string createTempFile(std::string_view prefix, std::string_view suffix,
                           std::string_view bytes);

} // namespace platform
