#pragma once

#include "accessdb/access/DaoInterface.h"
#include "accessdb/access/TDAOCollection.h"
#include "accessdb/access/TDAOError.h"
#include "mdbengine/dao/Errors.h"

#include <memory>

namespace accessdb {

// The engine's Errors: those of its last failed call.
class TDAOErrors : public DaoInterface<mdbengine::Errors, TDAOCollection> {
public:
    using DaoInterface::DaoInterface;
    std::int16_t count() override;
    std::unique_ptr<TDAOError> item(std::int16_t index);
};

} // namespace accessdb
