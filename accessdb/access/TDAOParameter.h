#pragma once

#include "accessdb/access/DaoInterface.h"
#include "mdbengine/dao/Parameter.h"

namespace accessdb {

// A parameter of a stored query.
class TDAOParameter : public DaoInterface<mdbengine::Parameter> {
public:
    using DaoInterface::DaoInterface;
    void getName(std::string& name) override;
    std::int16_t type();
    void setValue(const Variant& value);
};

} // namespace accessdb
