#pragma once

#include "platform/fs/Leftovers.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace platform {

// What was found of a write over a file in place that was stopped part way (by a kill or a
// power cut): the copy of the file as it was, which that write kept beside it
// (KeptOriginal.h).
//
// The copy belongs to the file it was kept of, by its device and inode, whatever names that
// file has now: it is put back over that file under whichever name of it is read (a name in
// another folder finds the copy by the file's mark, KeptMark.h), or, when the name read is
// another file now, through the name of the program's own that holds the file beside the
// copy, as long as the file is still what the stopped write can have left and some name
// of the person's, anywhere, still holds it.
struct InterruptedWrite {
    // The copy put back, or that could not be put back; "" when there was none.
    std::string keptCopy;
    // The file holds the copy's bytes (and times) again, and the copy is gone.
    bool restored = false;
    // Why the file could not be put back; the copy then stays where it is, cut to the file
    // as it was.
    std::string error;
    // The file put back (or that could not be): the name the write wrote it by, and its
    // names beside the copy and the name read when that is it, sorted.
    std::string fileName;
    std::vector<std::string> names;
    // The file's names in other folders, which were put back too but cannot be listed.
    int namesElsewhere = 0;
    // Copies kept by stopped writes that were not put back, because the file they were kept
    // of is not what such a write left: it was changed since (`changedNames` holds its names
    // beside the copy), or no name there holds it any more (it was replaced or deleted). The
    // files were left as they are; each copy was handed over: cut to the file that write was
    // writing as it was before (`fileName`, the name it had then), and named after it.
    struct LeftCopy {
        std::string copy;
        std::string fileName;
        std::vector<std::string> changedNames;
        int changedNamesElsewhere = 0; // the changed file's names in other folders
    };
    std::vector<LeftCopy> leftAlone;
    // A file under the program's own name for a copy kept of this very file whose seal
    // fails: almost surely such a copy, damaged. Nothing was done, and the file read may be
    // one a write left half written.
    std::string damagedCopy;
    // The same for another file, whose names beside it still hold the file the copy's name
    // is made for (the list's name was given to another file since): the file read is not
    // that one, and is read as it is, but those names may hold a file left half written.
    std::string damagedCopyOfAnother;
    std::vector<std::string> damagedCopyNames;
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
