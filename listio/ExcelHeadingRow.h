#pragma once

#include "listio/FieldRoles.h"

namespace xls {
class Sheet;
}

namespace quillan {

// Whether the first row of a worksheet list names its fields rather than holding a piece
// (listio/HeadingRecord.h). The reader skips such a row and the writer keeps its texts, so
// both ask here.
bool hasHeadingRow(xls::Sheet& sheet, const FieldRoles& roles);

} // namespace quillan
