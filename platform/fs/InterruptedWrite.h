#pragma once

#include "platform/fs/Leftovers.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace platform {

// What was found of a write over a file in place that was stopped part way (by a kill or a
// power cut): the copy of the file as it was, which that write kept beside it
// (KeptOriginal.h).
struct InterruptedWrite {
    // The copy put back, or that could not be put back; "" when there was none.
    std::string keptCopy;
    // The file holds the copy's bytes (and times) again, and the copy is gone.
    bool restored = false;
    // Why the file could not be put back; the copy then stays where it is, cut to the file
    // as it was.
    std::string error;
    // Copies kept by stopped writes that were not put back, because the file is not what
    // such a write left: it was changed or saved since, or it is another file that now has
    // the name or the inode of the one written. The file was left as it is; each copy stays
    // where it is, cut to the file that write was writing as it was before (`fileName`, the
    // name it had then).
    struct LeftCopy {
        std::string copy;
        std::string fileName;
    };
    std::vector<LeftCopy> leftAlone;
};

// Puts back, from the copy kept beside it, a file that a write in place was stopped in,
// hands over the copies that do not belong to it as it is now, and removes the temporary
// files of the program's own left beside it (its own pattern and `leftovers`). Nothing is
// done while another writer holds the file.
InterruptedWrite recoverInterruptedWrite(const std::string& path,
                                         std::initializer_list<OwnFilePattern> leftovers = {});

// The putting back alone, for a file the caller holds open for writing and locked; a copy
// that does not belong to the file is left for the next reading, which tells the person.
InterruptedWrite restoreKeptOriginal(const std::string& path, int fd);

} // namespace platform
