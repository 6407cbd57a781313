#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace xls {

// STYLE record bodies kept as read, to be written back unchanged.
class Styles {
public:
    using Body = std::array<uint8_t, 4>;

    // Copies the first 4 bytes; a shorter body raises "record too short".
    void addStyle(std::string_view body);
    const Body& item(size_t index) const { return bodies_.at(index); }
    size_t count() const { return bodies_.size(); }
    void clear() { bodies_.clear(); }

private:
    std::vector<Body> bodies_;
};

} // namespace xls
