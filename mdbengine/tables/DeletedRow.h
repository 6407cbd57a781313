#pragma once

#include <stdexcept>

namespace mdbengine::file {

// A row that was deleted after a recordset listed it.
class DeletedRow : public std::runtime_error {
public:
    DeletedRow() : std::runtime_error("the row has been deleted") {}
};

} // namespace mdbengine::file
