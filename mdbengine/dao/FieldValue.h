#pragma once

// What a field may be given: the columns this engine writes and the conversion of a value
// to a column's type, with the checks that keep a value from being stored cut short or
// wrapped round.

#include "mdbengine/dao/Errors.h"
#include "mdbengine/tables/Column.h"
#include "mdbengine/values/Variant.h"

#include <string>

namespace mdbengine {

// Columns whose values can be changed: not numbered by the engine (a new record may be given
// its number), and of a type this engine writes (not binary or GUID). `why` says what stops
// the others.
bool columnWritable(const file::Column& column, std::string* why = nullptr);

// The value converted to the column's type (a text given to a Date/Time column read as a
// date: "3/1/2003", "2003-03-01 10:30"): 3421 when it cannot be converted, 3349 for a
// number out of the column's range (a Byte takes 0 to 255, an Integer -32768 to 32767, a
// Decimal as many digits as its precision, rounded to its scale), 3163 for a text longer
// than the column. A memo takes text of any length, a long binary bytes or text. Text is
// UTF-8; Jet3 keeps Windows-1252, so a character outside it is refused (3421, naming the
// field and the character) rather than stored as another. Null and Empty give Null (a
// Boolean: False).
Status convertForColumn(const file::Column& column, const Variant& value, bool jet4, Errors& errors,
                        Variant& converted);

} // namespace mdbengine
