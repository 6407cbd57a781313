#pragma once

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

} // namespace quillan
