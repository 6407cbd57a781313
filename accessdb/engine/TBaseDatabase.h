#pragma once

#include "accessdb/engine/DatabaseDesc.h"
#include "accessdb/engine/EngineParams.h"
#include "accessdb/engine/TBapiListItem.h"
#include "accessdb/engine/TTorvaneCollection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace accessdb {

class TBaseSession;
class TBaseTable;
class TSqlStmt;

// What opening a table asks for.
struct OpenTableArgs {
    std::string tableName;
    std::string driverType;
    std::string indexName;
    std::string indexTag;
    std::uint16_t indexId = 0;
    std::uint32_t openMode = 0;  // 1 read-only
    std::uint32_t shareMode = 0; // 1 exclusive
    int translateMode = 0;
    bool uniDirectional = false;
    std::string openParam;
};

struct TranInfo {
    std::uint32_t handle = 0;
    std::uint32_t state = 0;
};

// The engine's database handle: opened by a session with a database descriptor and named
// parameters, it owns every cursor and statement opened under it. The base builds what can
// be built from cursors alone; a driver's database supplies the rest.
//
// The constructor applies the parameters with the base's setParam; a driver whose database
// takes parameters of its own applies them again in its own constructor.
class TBaseDatabase : public TBapiListItem {
public:
    TBaseDatabase(TBaseSession* session, TTorvaneCollection* collection,
                  const DatabaseDesc* descriptor, std::uint32_t openMode, std::uint32_t shareMode,
                  const std::string& password, const EngineParams& params);
    ~TBaseDatabase() override;

    TBaseSession* session() const;
    TTorvaneCollection& cursors() { return cursors_; }
    const DatabaseDesc& descriptor() const { return descriptor_; }
    const std::string& userName() const { return userName_; }
    const std::string& password() const { return password_; }
    std::uint32_t openMode() const { return openMode_; }
    std::uint32_t shareMode() const { return shareMode_; }
    bool isOpen() const { return isOpen_; }

    void getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                 std::uint16_t maxLen) override;
    void checkProp(std::uint32_t propId, std::uint32_t flag) override;
    virtual std::string driverType() const { return "STANDARD"; }
    virtual void setOpenModes(std::uint32_t openMode, std::uint32_t shareMode);
    virtual void setParam(const std::string& name, const std::string& value);
    void applyParams(const EngineParams& params);
    // The first cursor on the table (or, for a path, on the source) so named; a missing
    // one is DBIERR_NOSUCHTABLE with the name.
    virtual TBaseTable* findCursor(const std::string& name);
    virtual void setDirectory(const std::string& path);
    virtual std::string getDirectory() const { return descriptor_.physicalName; }

    virtual TBaseTable* openTable(const OpenTableArgs& args);
    virtual TBaseTable* openTableList(const std::string& wildcard, bool systemTables,
                                      bool extended);
    virtual TBaseTable* openFieldList(const std::string& tableName, const std::string& driverType,
                                      bool physicalTypes);
    TBaseTable* openTableListDefault(bool extended);
    virtual TBaseTable* openIndexList(const std::string& tableName, const std::string& driverType);
    virtual TBaseTable* openVchkList(const std::string& tableName, const std::string& driverType);
    virtual TBaseTable* openStoredProcList();
    virtual TBaseTable* openStoredProcParamList(const std::string& procName);
    virtual bool tableExists(const std::string& name);
    virtual std::uint16_t countTableCursors(const std::string& name);
    // The cursors open on the database, whatever their table.
    virtual std::uint16_t openCursorCount();
    virtual TBaseTable* findTableCursor(const std::string& name);
    virtual void emptyTable(TBaseTable* cursor, const std::string& name);
    virtual TBaseTable* createInMemTable(const std::string& name,
                                         const std::vector<FieldDesc>& fieldDescs);

    virtual void beginTran();
    virtual void endTran(int kind);
    virtual TranInfo getTranInfo() const;
    virtual void open();
    virtual void close();

    // Runs an SQL text through a statement of its own; the cursor of a result, if any.
    virtual TBaseTable* executeSQL(int language, const std::string& text, bool wantCursor);
    virtual TSqlStmt* allocStatement(int language);
    virtual void prepareSQL(TSqlStmt* statement, const std::string& text);
    virtual TSqlStmt* prepareStoredProc(const std::string& name);

protected:
    void setIsOpen(bool open) { isOpen_ = open; }
    std::uint32_t transactionHandle_ = 0;
    std::uint32_t transactionState_ = 0;

private:
    TTorvaneCollection cursors_;
    bool isOpen_ = false;
    std::uint32_t openMode_ = 0;
    std::uint32_t shareMode_ = 0;
    std::string password_;
    DatabaseDesc descriptor_;
    std::string userName_;
};

} // namespace accessdb
