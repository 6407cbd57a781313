#pragma once

#include <stdexcept>

namespace platform::dao::jet {

// A row that no page can hold.
class RowTooLarge : public std::runtime_error {
public:
    RowTooLarge() : std::runtime_error("the record does not fit a page") {}
};

} // namespace platform::dao::jet
