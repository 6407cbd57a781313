#pragma once

#include "core/Notices.h"
#include "listio/ListNotices.h"

#include <string>

namespace quillan {

struct ListFormat;

// The text format of a list from its first line, or nothing (after a warning) when it
// cannot tell. A first line with NUL bytes (UTF-16, binary, a zipped workbook) or longer
// than the line limit is of no format. Throws ListFileError when the file cannot be opened.
const ListFormat* DetectAsciiFormat(Notices& notices, const std::string& path);

// Fields per record of a text list of the given format, from lines 1 and 2; 0 (after an
// error box) when they disagree. Throws ListFileError when the file cannot be read.
int CountAsciiFields(Notices& notices, const ListFormat& format, const std::string& path);

// Why a line cannot be read: it is longer than the line limit.
std::string LineTooLongReason(long line);

} // namespace quillan
