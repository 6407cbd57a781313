#pragma once

#include "platform/fs/Leftovers.h"

#include <initializer_list>
#include <string>

namespace platform {

// What was found of a write over a file in place that was stopped part way (by a kill or a
// power cut): the copy of the file as it was, which that write kept beside it.
struct InterruptedWrite {
    // The copy kept; "" when there was none.
    std::string keptCopy;
    // The file holds the copy's bytes (and time of change) again, and the copy is gone.
    bool restored = false;
    // Why the file could not be put back; the copy then stays where it is.
    std::string error;
};

// Puts back, from the copy kept beside it, a file that a write in place was stopped in, and
// removes the temporary files that writes of the program left beside it (its own patterns
// and `leftovers`). Nothing is done while another writer holds the file.
InterruptedWrite recoverInterruptedWrite(const std::string& path,
                                         std::initializer_list<OwnFilePattern> leftovers = {});

// The putting back alone, for a file the caller holds open for writing and locked.
InterruptedWrite restoreKeptOriginal(const std::string& path, int fd);

} // namespace platform
