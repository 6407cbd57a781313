#pragma once

#include "core/AppContext.h"

#include <string>

namespace quillan {

// Where the unknown-format message sends the user.
inline constexpr const char* SupportAddress = "support@quillan-mail.com";

// The kind of a text list from its first line, or "" (after a warning) when it cannot tell.
// A first line with NUL bytes (UTF-16, binary, a zipped workbook) or longer than the line
// limit is of no kind. Throws ListFileError when the file cannot be opened.
std::string DetectAsciiFormat(AppContext& ctx, const std::string& path);

// Fields per record of a text list of kind ctx.listFileKind, from lines 1 and 2; 0 (after
// an error box) when they disagree. Throws ListFileError when the file cannot be read.
int CountAsciiFields(AppContext& ctx, const std::string& path);

// The warning for a file whose format Quillan cannot tell; `why` adds what was found.
void showUnknownFormat(AppContext& ctx, const std::string& why = {});

// Why a line cannot be read: it is longer than the line limit.
std::string LineTooLongReason(long line);

// The refusal of a list that holds no record to sort; `why` says what it holds instead.
void ShowNoRecords(AppContext& ctx, const std::string& path, const std::string& why);

} // namespace quillan
