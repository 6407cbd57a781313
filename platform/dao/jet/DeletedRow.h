#pragma once

#include <stdexcept>

namespace platform::dao::jet {

// A row that was deleted after a recordset listed it.
class DeletedRow : public std::runtime_error {
public:
    DeletedRow() : std::runtime_error("the row has been deleted") {}
};

} // namespace platform::dao::jet
