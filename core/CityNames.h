#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillan {

// The distinct "CITY ST" texts of a mailing, each kept once: a piece holds the id of its
// city, so that the tables the presort walks stay small. Ids count from 0 in the order the
// texts were first added; NoCity stands for the empty text.
class CityNames {
public:
    static constexpr int32_t NoCity = -1;

    // The id of the text, added when it is new; NoCity for an empty text.
    int32_t add(std::string_view text);
    // The text of an id; empty for NoCity or an id that names no text.
    const std::string& text(int32_t id) const;
    size_t size() const { return texts_.size(); }

    bool operator==(const CityNames& other) const { return texts_ == other.texts_; }

private:
    std::vector<std::string> texts_;
    std::unordered_map<std::string, int32_t> ids_;
};

} // namespace quillan
