#pragma once

#include <string>
#include <string_view>

namespace quillan {

// The names of the list formats (listio/ListFormat.h), by which the rules that split and
// join the lines of a text list tell its dialect.
inline constexpr const char* KindTab = "Ascii Tab-Delimited";
inline constexpr const char* KindBar = "Ascii Bar-Delimited";
inline constexpr const char* KindComma = "Ascii Comma-Delimited";
inline constexpr const char* KindMerge = "Ascii Merge";
// Only the field dialog uses it, while it splits a merge header; a comma kind.
inline constexpr const char* KindMergeIndex = "Ascii MergeIndex";
inline constexpr const char* KindDbase = "dBase";
inline constexpr const char* KindAccess = "Access";
inline constexpr const char* KindExcel = "Excel";
inline constexpr const char* KindPave = "Pave";

// Merge and bar lists begin with a line naming the fields.
bool isHeaderKind(std::string_view kind);
bool isCommaKind(std::string_view kind);
bool isTabOrBarKind(std::string_view kind);

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
