#include "mdbengine/sql/LikePattern.h"

#include "mdbengine/tables/TextKey.h"
#include "mdbengine/values/Utf8.h"

#include <array>
#include <string>
#include <vector>

namespace mdbengine::sql {

namespace {

using Characters = std::vector<char32_t>;

// The key of each character alone, in one order; those of the first 256 code points made
// once.
class CharacterKeys {
public:
    explicit CharacterKeys(file::TextOrder order) : jet4_(order == file::TextOrder::Jet4) {
        for (std::size_t c = 0; c < common_.size(); ++c)
            common_[c] = keyOf(static_cast<char32_t>(c));
    }
    static const CharacterKeys& of(file::TextOrder order) {
        static const CharacterKeys jet3(file::TextOrder::Jet3);
        static const CharacterKeys jet4(file::TextOrder::Jet4);
        return order == file::TextOrder::Jet4 ? jet4 : jet3;
    }
    int compare(char32_t a, char32_t b) const {
        if (a == b)
            return 0;
        if (a < common_.size() && b < common_.size())
            return order(common_[a], common_[b]);
        return order(keyOf(a), keyOf(b));
    }

private:
    static int order(const std::vector<std::uint8_t>& x, const std::vector<std::uint8_t>& y) {
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    std::vector<std::uint8_t> keyOf(char32_t c) const {
        std::string text;
        appendUtf8(c, text);
        std::vector<std::uint8_t> key;
        file::appendTextKey(text, jet4_, key);
        return key;
    }

    bool jet4_;
    std::array<std::vector<std::uint8_t>, 256> common_;
};

// Whether `c` is in the bracket list that starts after `open`; `end` is set after the "]".
// A list that is not closed stands for the "[" alone.
bool inList(const Characters& pattern, std::size_t open, char32_t c, const CharacterKeys& keys,
            std::size_t& end) {
    std::size_t close = open + 1;
    while (close < pattern.size() && pattern[close] != U']')
        ++close;
    if (close == pattern.size()) {
        end = open + 1;
        return c == U'[';
    }
    end = close + 1;
    std::size_t first = open + 1;
    bool negated = first < close && pattern[first] == U'!';
    if (negated)
        ++first;
    bool found = false;
    for (std::size_t i = first; i < close && !found; ++i) {
        if (i + 2 < close && pattern[i + 1] == U'-') {
            found = keys.compare(c, pattern[i]) >= 0 && keys.compare(c, pattern[i + 2]) <= 0;
            i += 2;
        } else {
            found = keys.compare(c, pattern[i]) == 0;
        }
    }
    return found != negated;
}

// One step of the pattern at `p` against the character `c`: false when it does not match,
// else `next` is where the pattern goes on.
bool stepMatches(const Characters& pattern, std::size_t p, char32_t c, const CharacterKeys& keys,
                 std::size_t& next) {
    switch (pattern[p]) {
    case U'?':
        next = p + 1;
        return true;
    case U'#':
        next = p + 1;
        return c >= U'0' && c <= U'9';
    case U'[':
        return inList(pattern, p, c, keys, next);
    default:
        next = p + 1;
        return keys.compare(pattern[p], c) == 0;
    }
}

} // namespace

// The set of pattern places reachable after each character: no backtracking, so a long
// value against many stars stays linear in their product at worst.
bool likeMatches(std::string_view text, std::string_view patternText, file::TextOrder order) {
    const CharacterKeys& keys = CharacterKeys::of(order);
    Characters pattern = codePoints(patternText);
    std::vector<bool> at(pattern.size() + 1, false);
    auto addWithStars = [&](std::vector<bool>& places, std::size_t p) {
        while (true) {
            places[p] = true;
            if (p >= pattern.size() || pattern[p] != U'*')
                return;
            ++p;
        }
    };
    addWithStars(at, 0);
    for (char32_t c : codePoints(text)) {
        std::vector<bool> next(pattern.size() + 1, false);
        for (std::size_t p = 0; p < pattern.size(); ++p) {
            if (!at[p])
                continue;
            if (pattern[p] == U'*') {
                addWithStars(next, p);
                continue;
            }
            std::size_t after = 0;
            if (stepMatches(pattern, p, c, keys, after))
                addWithStars(next, after);
        }
        at.swap(next);
    }
    return at[pattern.size()];
}

} // namespace mdbengine::sql
