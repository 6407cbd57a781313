#pragma once

#include <string>
#include <string_view>

namespace quillan {

// The names of the list formats (listio/ListFormat.h), as the field dialog shows them and
// the sort information writer names them.
inline constexpr const char* KindTab = "Ascii Tab-Delimited";
inline constexpr const char* KindBar = "Ascii Bar-Delimited";
inline constexpr const char* KindComma = "Ascii Comma-Delimited";
inline constexpr const char* KindMerge = "Ascii Merge";
inline constexpr const char* KindDbase = "dBase";
inline constexpr const char* KindAccess = "Access";
inline constexpr const char* KindExcel = "Excel";
inline constexpr const char* KindPave = "Pave";

// The file name's extension with its dot, in capitals, or "".
std::string upperExtensionOf(const std::string& path);
// True for a dBase memo file (.DBT), which holds no records of its own.
bool isDbaseMemoFile(const std::string& path);

// The straight double quote and the Macintosh curly quotes 0xD2 and 0xD3.
inline bool isQuoteByte(char c) {
    return c == '"' || c == '\xD2' || c == '\xD3';
}

// The file name without its folder, for messages.
std::string fileNameOf(const std::string& path);

} // namespace quillan
