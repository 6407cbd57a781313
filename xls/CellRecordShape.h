#pragma once

#include "xls/ExcelVersion.h"
#include "xls/RecordCursor.h"

#include <cstdint>
#include <optional>
#include <string>

namespace xls {

// What makes a cell or ROW record of a sheet impossible in its version: a size that its
// layout does not have, or a cell past the last row or column the version has. Reading such
// a record would take bytes of other records for its own, or put a cell where the file has
// none. Empty when the record can be what its header says.
std::optional<std::string> cellRecordFault(uint16_t id, const RecordCursor& body,
                                           ExcelVersion version);

} // namespace xls
