#pragma once

#include "accessdb/access/DaoInterface.h"
#include "platform/dao/Errors.h"

#include <string>

namespace accessdb {

// An error of the engine's Errors: its DAO number and description.
class TDAOError : public DaoInterface<platform::dao::Error, TDAOUnknown> {
public:
    using DaoInterface::DaoInterface;
    std::int32_t number();
    std::string description();
};

} // namespace accessdb
