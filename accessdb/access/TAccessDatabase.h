#pragma once

#include "accessdb/access/TDAODatabase.h"
#include "accessdb/engine/TBaseDatabase.h"

#include <memory>
#include <string>

namespace accessdb {

class TAccessSession;
class TAccessTable;
class TDAOQuerydef;

// One .mdb file opened through the shared DAO engine: its tables as Access cursors, its
// catalogue lists, transactions, SQL statements and stored queries (which DAO may refuse).
class TAccessDatabase : public TBaseDatabase {
public:
    TAccessDatabase(TAccessSession* session, TTorvaneCollection* collection,
                    const DatabaseDesc* descriptor, std::uint32_t openMode, std::uint32_t shareMode,
                    const std::string& password, const EngineParams& params);
    ~TAccessDatabase() override;

    std::string driverType() const override { return "ACCESS"; }
    void setParam(const std::string& name, const std::string& value) override;
    const std::string& accessPassword() const { return password_; }
    const std::string& connectOptions() const { return connectOptions_; }
    // The connect argument of the open: the options, then ";pwd=" and the password.
    std::string connectString() const;
    TDAODatabase* daoDatabase() const { return daoDatabase_.get(); }

    TBaseTable* openTable(const OpenTableArgs& args) override;
    TBaseTable* openTableList(const std::string& wildcard, bool systemTables,
                              bool extended) override;
    TBaseTable* openFieldList(const std::string& tableName, const std::string& driverType,
                              bool physicalTypes) override;
    TBaseTable* openStoredProcList() override;
    TBaseTable* openStoredProcParamList(const std::string& procName) override;
    void emptyTable(TBaseTable* cursor, const std::string& name) override;

    void beginTran() override;
    void endTran(int kind) override;
    void open() override;
    void close() override;

    TBaseTable* executeSQL(int language, const std::string& text, bool wantCursor) override;
    TSqlStmt* allocStatement(int language) override;
    void prepareSQL(TSqlStmt* statement, const std::string& text) override;
    TSqlStmt* prepareStoredProc(const std::string& name) override;

    // A cursor over the result of an SQL text, or of a stored query when one is given.
    TBaseTable* openResultCursor(TDAOQuerydef* queryDef, const std::string& sqlText);
    // The stored query so named (letter case aside); none when there is none.
    std::unique_ptr<TDAOQuerydef> findQueryDef(const std::string& name);

private:
    void openDaoDatabase();

    std::string password_;
    std::string connectOptions_;
    std::unique_ptr<TDAODatabase> daoDatabase_;
    TTorvaneCollection statements_;
};

} // namespace accessdb
