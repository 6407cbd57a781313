#pragma once

#include "listio/SortWriterSupport.h"

#include <optional>
#include <string>

namespace quillan {

// The path of the separate sort-information file: the job's (QLSort1.txt beside the data
// folder), or the name the user gives when the preferences say so (cancelling keeps the
// proposed name).
std::string ChooseSortOutputFile(const SortInformationJob& job, Notices& notices);

// Writes the separate sort-information file: one line per record of the list, in list
// order, with its tray or sack, package, ZIP group and endorsement line, comma- or
// tab-delimited as the preferences say. A record that was not placed gets zeros and an
// empty endorsement, so the lines stay aligned with the list.
std::optional<ClosingMessage> WriteSeparateFile(const SortInformationJob& job, Notices& notices,
                                                WriterProgress& progress);

} // namespace quillan
