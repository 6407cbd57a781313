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

// The same for the records of Excel 5 to 97 whose layout has one size (or the few sizes real
// files carry), cells aside: a length of another size moves every record boundary after it,
// and what is then read as records are bytes of the sheet's rows. Empty for other records.
std::optional<std::string> fixedRecordFault(uint16_t id, size_t size, ExcelVersion version);

} // namespace xls
