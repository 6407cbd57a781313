#pragma once

#include "accessdb/engine/TSqlStmt.h"

#include <string>

namespace accessdb {

class TAccessDatabase;

// An SQL statement of an Access database. Parameters are written into the text as literals.
class TAccessSqlStmt : public TSqlStmt {
public:
    TAccessSqlStmt(TAccessDatabase* database, TTorvaneCollection* collection, int language);

    // A "%" directly before "'" is the other engines' wildcard: it is sent as "*".
    void setSQL(const std::string& text) override;
    void prepare() override {}
    void setParams(const EngineParams& params, const Byte* record) override;
    TBaseTable* execute(bool wantCursor) override;

    // The text with each "?" replaced, in turn, by the literal of an unnamed parameter's
    // value in the record; parameters of other types leave their "?" in place.
    static std::string withParameters(const std::string& text, const EngineParams& params,
                                      const Byte* record);

protected:
    TAccessDatabase& accessDatabase() const;
};

} // namespace accessdb
