#pragma once

#include "listio/FieldRoles.h"

#include <string>
#include <vector>

namespace quillan {

// A list's first record names its fields, rather than holding a piece, when its ZIP field
// says "zip" in any case of letters: a workbook's heading row, or a tab list's heading
// line. The readers skip it and the writers keep it, so all of them ask here.

// The field that tells: the whole-ZIP field, else the 5-digit one; -1 when neither is known.
int headingTestField(const FieldRoles& roles);
// Whether that field's text tells a heading.
bool namesTheFields(const std::string& zipFieldText);

// Whether the first record of a list whose fields have names (a worksheet's first row) is
// those names: its ZIP field says "zip", or one of its fields holds the very name that gave
// that field its role ("SORT" over the sort field, "CITY" over the city field). A row that
// named the fields is never a piece, whatever its ZIP field is called ("POSTCODE").
bool isNamingRecord(const std::vector<std::string>& firstRecord, const FieldRoles& roles);

} // namespace quillan
