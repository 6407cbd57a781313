#include "mdbengine/sql/LikePattern.h"

#include "mdbengine/tables/TextKey.h"

#include <array>
#include <string>
#include <vector>

namespace mdbengine::sql {

namespace {

// The key of each character alone, in one order.
class CharacterKeys {
public:
    explicit CharacterKeys(file::TextOrder order) {
        for (std::size_t c = 0; c < keys_.size(); ++c)
            file::appendTextKey(std::string(1, static_cast<char>(c)),
                                order == file::TextOrder::Jet4, keys_[c]);
    }
    static const CharacterKeys& of(file::TextOrder order) {
        static const CharacterKeys jet3(file::TextOrder::Jet3);
        static const CharacterKeys jet4(file::TextOrder::Jet4);
        return order == file::TextOrder::Jet4 ? jet4 : jet3;
    }
    int compare(char a, char b) const {
        const auto& x = keys_[static_cast<unsigned char>(a)];
        const auto& y = keys_[static_cast<unsigned char>(b)];
        return x < y ? -1 : (y < x ? 1 : 0);
    }

private:
    std::array<std::vector<std::uint8_t>, 256> keys_;
};

// Whether `c` is in the bracket list that starts after `open`; `end` is set after the "]".
// A list that is not closed stands for the "[" alone.
bool inList(std::string_view pattern, std::size_t open, char c, const CharacterKeys& keys,
            std::size_t& end) {
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
    bool found = false;
    for (std::size_t i = 0; i < list.size() && !found; ++i) {
        if (i + 2 < list.size() && list[i + 1] == '-') {
            found = keys.compare(c, list[i]) >= 0 && keys.compare(c, list[i + 2]) <= 0;
            i += 2;
        } else {
            found = keys.compare(c, list[i]) == 0;
        }
    }
    return found != negated;
}

// One step of the pattern at `p` against the character `c`: false when it does not match,
// else `next` is where the pattern goes on.
bool stepMatches(std::string_view pattern, std::size_t p, char c, const CharacterKeys& keys,
                 std::size_t& next) {
    switch (pattern[p]) {
    case '?':
        next = p + 1;
        return true;
    case '#':
        next = p + 1;
        return c >= '0' && c <= '9';
    case '[':
        return inList(pattern, p, c, keys, next);
    default:
        next = p + 1;
        return keys.compare(pattern[p], c) == 0;
    }
}

} // namespace

// The set of pattern places reachable after each character: no backtracking, so a long
// value against many stars stays linear in their product at worst.
bool likeMatches(std::string_view text, std::string_view pattern, file::TextOrder order) {
    const CharacterKeys& keys = CharacterKeys::of(order);
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
            if (stepMatches(pattern, p, c, keys, after))
                addWithStars(next, after);
        }
        at.swap(next);
    }
    return at[pattern.size()];
}

} // namespace mdbengine::sql
