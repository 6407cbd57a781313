#pragma once

#include "listio/SortWriterSupport.h"

#include <optional>

namespace quillan {

// Writes the sort sequence number, tray or sack, package and endorsement line into the
// cells of every record of the Excel sheet the list was read from, as text cells, and
// writes the workbook back in the version it was read in. A first row that names the
// fields (listio/ExcelHeadingRow.h) is a header row: it keeps its texts, and the sort
// numbers begin with the sort column's heading. The file is replaced only by a complete
// workbook, and only while it is the file that was read; every other cell, sheet, macro
// and object of it is kept.
std::optional<ClosingMessage> WriteExcelList(const SortInformationJob& job, Notices& notices,
                                             WriterProgress& progress);

} // namespace quillan
