#include "platform/dao/sql/LikePattern.h"

#include "platform/dao/jet/Names.h"

#include <vector>

namespace platform::dao::sql {

namespace {

using jet::upperAscii;

// Whether `c` is in the bracket list that starts after `open`; `end` is set after the "]".
// A list that is not closed stands for the "[" alone.
bool inList(std::string_view pattern, std::size_t open, char c, std::size_t& end) {
    std::size_t close = pattern.find(']', open + 1);
    if (close == std::string_view::npos) {
        end = open + 1;
        return c == '[';
    }
    end = close + 1;
    std::string_view list = pattern.substr(open + 1, close - open - 1);
    bool negated = !list.empty() && list[0] == '!';
    if (negated)
        list.remove_prefix(1);
    char x = upperAscii(c);
    bool found = false;
    for (std::size_t i = 0; i < list.size() && !found; ++i) {
        if (i + 2 < list.size() && list[i + 1] == '-') {
            found = x >= upperAscii(list[i]) && x <= upperAscii(list[i + 2]);
            i += 2;
        } else {
            found = x == upperAscii(list[i]);
        }
    }
    return found != negated;
}

// One step of the pattern at `p` against the character `c`: false when it does not match,
// else `next` is where the pattern goes on.
bool stepMatches(std::string_view pattern, std::size_t p, char c, std::size_t& next) {
    switch (pattern[p]) {
    case '?':
        next = p + 1;
        return true;
    case '#':
        next = p + 1;
        return c >= '0' && c <= '9';
    case '[':
        return inList(pattern, p, c, next);
    default:
        next = p + 1;
        return upperAscii(pattern[p]) == upperAscii(c);
    }
}

} // namespace

// The set of pattern places reachable after each character: no backtracking, so a long
// value against many stars stays linear in their product at worst.
bool likeMatches(std::string_view text, std::string_view pattern) {
    std::vector<bool> at(pattern.size() + 1, false);
    auto addWithStars = [&](std::vector<bool>& places, std::size_t p) {
        while (true) {
            places[p] = true;
            if (p >= pattern.size() || pattern[p] != '*')
                return;
            ++p;
        }
    };
    addWithStars(at, 0);
    for (char c : text) {
        std::vector<bool> next(pattern.size() + 1, false);
        for (std::size_t p = 0; p < pattern.size(); ++p) {
            if (!at[p])
                continue;
            if (pattern[p] == '*') {
                addWithStars(next, p);
                continue;
            }
            std::size_t after = 0;
            if (stepMatches(pattern, p, c, after))
                addWithStars(next, after);
        }
        at.swap(next);
    }
    return at[pattern.size()];
}

} // namespace platform::dao::sql
