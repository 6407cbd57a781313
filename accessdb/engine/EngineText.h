#pragma once

// Byte, string and path helpers shared by the engine classes. Letter case is ASCII only.

#include "accessdb/engine/PackedBytes.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace accessdb {

// -1, 0 or 1 by the first differing byte (unsigned) of the first `length` bytes.
int compareBytes(const Byte* a, const Byte* b, std::size_t length);
bool isAllZero(const Byte* p, std::size_t length);

std::string upperAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool containsText(std::string_view text, std::string_view part);
std::string trimBlanks(std::string_view text);
std::string leftChars(std::string_view text, std::size_t count);

// The path with "\" appended unless it ends in one; an empty path gives "\".
std::string includeBackslash(std::string_view path);
// A name with ":" or "\" is a path; so is one with "." when dots count.
bool isPathName(std::string_view name, bool dotCounts);
std::string removeChar(std::string_view text, char c);
// Replaces the first `find` by `replacement` (or removes it), cutting the result to
// `capacity` characters; false when `find` does not occur.
bool replaceSubStr(std::string& text, std::string_view find, const std::string* replacement,
                   std::size_t capacity);
std::string truncateAtChar(std::string_view text, char c);

} // namespace accessdb
