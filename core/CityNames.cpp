#include "core/CityNames.h"

namespace quillan {

int32_t CityNames::add(std::string_view text) {
    if (text.empty())
        return NoCity;
    auto [at, added] = ids_.try_emplace(std::string(text), static_cast<int32_t>(texts_.size()));
    if (added)
        texts_.push_back(at->first);
    return at->second;
}

const std::string& CityNames::text(int32_t id) const {
    static const std::string none;
    if (id < 0 || static_cast<size_t>(id) >= texts_.size())
        return none;
    return texts_[static_cast<size_t>(id)];
}

} // namespace quillan
