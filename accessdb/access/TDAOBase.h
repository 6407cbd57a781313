#pragma once

#include "accessdb/access/TDAOUnknown.h"

#include <memory>
#include <string>

namespace accessdb {

class TDAOFields;
class TDAOIndexes;
class TDAORecordset;

// Base of the object wrappers. Optional arguments the driver leaves out are passed as the
// omitted-argument value; a numeric option given as -1 counts as left out. The operations
// an object does not have do nothing here.
class TDAOBase : public TDAOUnknown {
public:
    virtual void getName(std::string& name);
    virtual void setName(const std::string& name);
    virtual std::unique_ptr<TDAOFields> getFields();
    virtual std::unique_ptr<TDAOIndexes> getIndexes();
    // `source` is the table name or SQL text (ignored by a stored query); `type` and
    // `options` are -1 when left out.
    virtual std::unique_ptr<TDAORecordset> openRecordset(const std::string& source, int type,
                                                         int options);

protected:
    const Variant omitted_ = Variant::missing();
};

} // namespace accessdb
