#pragma once

#include "accessdb/access/DaoInterface.h"
#include "mdbengine/dao/Errors.h"

#include <string>

namespace accessdb {

// An error of the engine's Errors: its DAO number and description (in UTF-8, as the engine
// words it).
class TDAOError : public DaoInterface<mdbengine::Error, TDAOUnknown> {
public:
    using DaoInterface::DaoInterface;
    std::int32_t number();
    std::string description();
};

} // namespace accessdb
