#pragma once

// Object names are found without regard to case, for every letter that has one.

#include "mdbengine/values/CaseFold.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace mdbengine::file {

inline char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

inline bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

inline bool sameName(std::string_view a, std::string_view b) {
    if (!isAscii(a) || !isAscii(b))
        return caseFoldedText(a) == caseFoldedText(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i]))
            return false;
    return true;
}

// Name order: without regard to case, then by the bytes, so that the order is total.
inline bool nameLess(std::string_view a, std::string_view b) {
    if (!isAscii(a) || !isAscii(b)) {
        // Folded to small letters, with ASCII then put in capitals as below, so that the
        // order is the same whichever way two names are compared.
        std::string x = caseFoldedText(a);
        std::string y = caseFoldedText(b);
        std::transform(x.begin(), x.end(), x.begin(), upperAscii);
        std::transform(y.begin(), y.end(), y.begin(), upperAscii);
        return x != y ? x < y : a < b;
    }
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(upperAscii(a[i]));
        auto y = static_cast<unsigned char>(upperAscii(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

} // namespace mdbengine::file
