#pragma once

#include "accessdb/access/DaoInterface.h"
#include "mdbengine/dao/IndexField.h"

namespace accessdb {

// A column of an index.
class TDAOIndexField : public DaoInterface<mdbengine::IndexField> {
public:
    using DaoInterface::DaoInterface;
    void getName(std::string& name) override;
    // Bit 1: descending.
    std::int32_t attributes();
};

} // namespace accessdb
