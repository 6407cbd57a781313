#pragma once

#include "core/Notices.h"
#include "listio/SortInformationJob.h"
#include "listio/SortWriterSupport.h"

#include <memory>
#include <optional>
#include <string>

namespace quillan {

// Where the sort information goes back into a mailing list of one kind. Each list format
// makes its writer (text lists, dBase, Access and Excel tables, PAVE files), and the sort
// information writer only ever asks a writer.
class ListWriter {
public:
    virtual ~ListWriter() = default;

    // Writes the job's sort into its list: the closing message once the result is safely on
    // disk, or nothing after the user was told why not (the user's files are then as they
    // were).
    virtual std::optional<ClosingMessage> write(const SortInformationJob& job, Notices& notices,
                                                WriterProgress& progress) = 0;
};

} // namespace quillan
