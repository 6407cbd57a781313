#pragma once

#include "listio/FieldRoles.h"

#include <string>

namespace quillan {

// A list's first record names its fields, rather than holding a piece, when its ZIP field
// says "zip" in any case of letters: a workbook's heading row, or a tab list's heading
// line. The readers skip it and the writers keep it, so all of them ask here.

// The field that tells: the whole-ZIP field, else the 5-digit one; -1 when neither is known.
int headingTestField(const FieldRoles& roles);
// Whether that field's text tells a heading.
bool namesTheFields(const std::string& zipFieldText);

} // namespace quillan
