#pragma once

// Letters without regard to case, for every letter that has one: each stands for its small
// form (Unicode's one-to-one mappings; "İ", whose small form takes two characters, stands
// for itself).

#include <string>
#include <string_view>

namespace mdbengine {

char32_t caseFolded(char32_t c);

// The UTF-8 text with its letters folded, those `folds` accepts when it is given; bytes that
// are not UTF-8 stay as they are.
std::string caseFoldedText(std::string_view utf8, bool (*folds)(char32_t) = nullptr);

} // namespace mdbengine
