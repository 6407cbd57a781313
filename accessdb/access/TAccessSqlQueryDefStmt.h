#pragma once

#include "accessdb/access/TAccessSqlStmt.h"
#include "accessdb/access/TDAOQuerydef.h"

#include <memory>

namespace accessdb {

// A stored query run as a statement: its parameters are set on the query itself.
class TAccessSqlQueryDefStmt : public TAccessSqlStmt {
public:
    TAccessSqlQueryDefStmt(TAccessDatabase* database, TTorvaneCollection* collection,
                           const std::string& name);
    ~TAccessSqlQueryDefStmt() override;

    const std::string& queryName() const { return name_; }
    TDAOQuerydef* queryDef() const { return queryDef_.get(); }

    // Finds the stored query; an unknown name is the end-of-table error.
    void prepare() override;
    void setParams(const EngineParams& params, const Byte* record) override;
    TBaseTable* execute(bool wantCursor) override;

    // The value a parameter of the logical type takes; the omitted argument when it is
    // blank or of a type not passed.
    static Variant parameterValue(const FieldDesc& desc, const Byte* record, std::int16_t daoType);

private:
    std::string name_;
    std::unique_ptr<TDAOQuerydef> queryDef_;
};

} // namespace accessdb
