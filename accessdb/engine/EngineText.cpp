#include "accessdb/engine/EngineText.h"

#include <algorithm>
#include <cstring>

namespace accessdb {

int compareBytes(const Byte* a, const Byte* b, std::size_t length) {
    int r = std::memcmp(a, b, length);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool isAllZero(const Byte* p, std::size_t length) {
    return std::all_of(p, p + length, [](Byte b) { return b == 0; });
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

bool containsText(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string trimBlanks(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return std::string(text.substr(first, last - first));
}

std::string leftChars(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, std::min(count, text.size())));
}

std::string includeBackslash(std::string_view path) {
    std::string out(path);
    if (out.empty() || out.back() != '\\')
        out += '\\';
    return out;
}

bool isPathName(std::string_view name, bool dotCounts) {
    if (containsText(name, ":") || containsText(name, "\\"))
        return true;
    return dotCounts && containsText(name, ".");
}

std::string removeChar(std::string_view text, char c) {
    std::string out;
    for (char ch : text)
        if (ch != c)
            out += ch;
    return out;
}

bool replaceSubStr(std::string& text, std::string_view find, const std::string* replacement,
                   std::size_t capacity) {
    std::size_t at = text.find(find);
    if (find.empty() || at == std::string::npos)
        return false;
    text.replace(at, find.size(), replacement ? *replacement : std::string());
    if (text.size() > capacity)
        text.resize(capacity);
    return true;
}

std::string truncateAtChar(std::string_view text, char c) {
    return std::string(text.substr(0, text.find(c)));
}

} // namespace accessdb
