#include "accessdb/access/TAccessDatabase.h"

#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TAccessFieldListTable.h"
#include "accessdb/access/TAccessSession.h"
#include "accessdb/access/TAccessSqlQueryDefStmt.h"
#include "accessdb/access/TAccessSqlStmt.h"
#include "accessdb/access/TAccessStoredParamsTable.h"
#include "accessdb/access/TAccessStoredProcTable.h"
#include "accessdb/access/TAccessTable.h"
#include "accessdb/access/TAccessTblListTable.h"
#include "accessdb/access/TDAOEngine.h"
#include "accessdb/engine/EngineText.h"

#include <charconv>

namespace accessdb {
namespace {

std::optional<std::uint32_t> decimal(const std::string& text) {
    std::string trimmed = trimBlanks(text);
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size())
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

TDAOEngine& daoEngine() {
    return *checkHandle(TAccessSession::sharedEngine());
}

// Frees a cursor that failed before it was handed out.
struct CursorGuard {
    TBaseTable* cursor;
    ~CursorGuard() {
        if (!cursor)
            return;
        try {
            cursor->closeCursor();
        } catch (...) {
        }
        delete cursor;
    }
    TBaseTable* release() { return std::exchange(cursor, nullptr); }
};

} // namespace

TAccessDatabase::TAccessDatabase(TAccessSession* session, TTorvaneCollection* collection,
                                 const DatabaseDesc* descriptor, std::uint32_t openMode,
                                 std::uint32_t shareMode, const std::string& password,
                                 const EngineParams& params)
    : TBaseDatabase(session, collection, descriptor, openMode, shareMode, password, params),
      password_(leftChars(password, 31)) {
    applyParams(params);
    checkHandle(TAccessSession::sharedEngine());
    open();
}

TAccessDatabase::~TAccessDatabase() {
    statements_.freeAll();
    cursors().freeAll();
    try {
        close();
    } catch (...) {
    }
    TAccessSession::idleSharedEngine();
}

void TAccessDatabase::setParam(const std::string& name, const std::string& value) {
    if (equalsIgnoreCase(name, "OpenMode")) {
        if (auto mode = decimal(value))
            setOpenModes(*mode, shareMode());
    } else if (equalsIgnoreCase(name, "ShareMode")) {
        if (auto mode = decimal(value))
            setOpenModes(openMode(), *mode);
    } else if (equalsIgnoreCase(name, "PASSWORD")) {
        password_ = leftChars(value, 31);
    } else if (equalsIgnoreCase(name, "Options")) {
        connectOptions_ = value;
    }
}

std::string TAccessDatabase::connectString() const {
    if (password_.empty())
        return connectOptions_;
    return connectOptions_ + ";pwd=" + password_;
}

void TAccessDatabase::open() {
    if (isOpen())
        return;
    std::string path = leftChars(descriptor().physicalName, 260);
    std::string connect = connectString();
    TDAOEngine& engine = daoEngine();
    auto database = engine.openDatabase(
        path, Variant::boolean(shareMode() == 1), Variant::boolean(openMode() == 1),
        connect.empty() ? Variant::missing() : Variant::text(connect));
    checkAccess(engine.lastResult());
    daoDatabase_ = std::move(database);
    setIsOpen(true);
}

void TAccessDatabase::close() {
    if (!isOpen())
        return;
    statements_.freeAll();
    cursors().freeAll();
    daoDatabase_->close();
    HResult closed = daoDatabase_->lastResult();
    daoDatabase_.reset();
    setIsOpen(false);
    checkAccess(closed);
}

TBaseTable* TAccessDatabase::openTable(const OpenTableArgs& args) {
    TAccessSession::idleSharedEngine();
    if (!isOpen())
        open();
    CursorGuard guard{new TAccessTable(this, &cursors(), args.tableName, args.openMode,
                                       args.shareMode, daoDatabase_.get())};
    auto* cursor = static_cast<TAccessTable*>(guard.cursor);
    cursor->openCursor();
    cursor->buildFieldDescriptors();
    std::string indexName = args.indexName;
    bool chosen = indexName.empty();
    if (chosen) {
        auto indexes = cursor->recordset()->getIndexes();
        std::int16_t count = indexes->count();
        for (std::int16_t i = 0; i < count && indexName.empty(); ++i) {
            auto index = indexes->item(i);
            if (index->primary())
                index->getName(indexName);
        }
    }
    if (!indexName.empty()) {
        try {
            cursor->switchToIndex(indexName, "", 0, false);
        } catch (const ETorvaneEngineError&) {
            // An index we picked ourselves may be one DAO cannot use; the table still opens.
            if (!chosen)
                throw;
        }
    }
    return guard.release();
}

TBaseTable* TAccessDatabase::openTableList(const std::string& wildcard, bool systemTables,
                                           bool extended) {
    if (!isOpen())
        open();
    auto* list = new TAccessTblListTable(this, wildcard, systemTables, extended, daoDatabase_.get(),
                                         &cursors());
    list->openCursor();
    return checkHandle(list);
}

TBaseTable* TAccessDatabase::openFieldList(const std::string& tableName, const std::string&, bool) {
    if (!isOpen())
        open();
    auto* list = new TAccessFieldListTable(this, nullptr, tableName, nullptr, daoDatabase_.get(),
                                           &cursors());
    list->openCursor();
    return list;
}

TBaseTable* TAccessDatabase::openStoredProcList() {
    if (!isOpen())
        open();
    auto* list = new TAccessStoredProcTable(this, daoDatabase_.get(), &cursors());
    list->openCursor();
    return list;
}

std::unique_ptr<TDAOQuerydef> TAccessDatabase::findQueryDef(const std::string& name) {
    if (!isOpen())
        open();
    auto queries = daoDatabase_->queryDefs();
    std::int16_t count = queries->count();
    for (std::int16_t i = 0; i < count; ++i) {
        auto query = queries->item(i);
        std::string queryName;
        query->getName(queryName);
        if (equalsIgnoreCase(queryName, name))
            return query;
    }
    return nullptr;
}

TBaseTable* TAccessDatabase::openStoredProcParamList(const std::string& procName) {
    std::unique_ptr<TDAOQuerydef> query = findQueryDef(procName);
    if (!query)
        raiseEngineErrorText(dbierr::INVALIDPARAM, procName);
    auto* list = new TAccessStoredParamsTable(this, query.get(), &cursors());
    list->openCursor();
    return list;
}

void TAccessDatabase::emptyTable(TBaseTable* cursor, const std::string& name) {
    std::string table = cursor ? cursor->tableName() : name;
    if (table.empty())
        return;
    executeSQL(2, "DELETE FROM [" + table + "]", false);
}

void TAccessDatabase::beginTran() {
    TDAOEngine& engine = daoEngine();
    engine.beginTrans();
    checkAccess(engine.lastResult());
    transactionHandle_ = 1;
    transactionState_ = 1;
}

void TAccessDatabase::endTran(int kind) {
    TDAOEngine& engine = daoEngine();
    if (kind == 2)
        engine.rollback();
    else
        engine.commitTrans();
    checkAccess(engine.lastResult());
    transactionHandle_ = 0;
    transactionState_ = 0;
}

TBaseTable* TAccessDatabase::executeSQL(int language, const std::string& text, bool wantCursor) {
    if (language != 2)
        raiseEngineError(dbierr::INVALIDPARAM);
    if (wantCursor)
        return TBaseDatabase::executeSQL(language, text, true);
    if (!isOpen())
        open();
    daoDatabase_->execute(text);
    checkAccess(daoDatabase_->lastResult());
    return nullptr;
}

TSqlStmt* TAccessDatabase::allocStatement(int language) {
    return new TAccessSqlStmt(this, &statements_, language);
}

void TAccessDatabase::prepareSQL(TSqlStmt* statement, const std::string& text) {
    checkParam(statement)->setSQL(text);
    if (!isOpen())
        open();
}

TSqlStmt* TAccessDatabase::prepareStoredProc(const std::string& name) {
    if (!isOpen())
        open();
    auto statement = std::make_unique<TAccessSqlQueryDefStmt>(this, &statements_, name);
    statement->prepare();
    return statement.release();
}

TBaseTable* TAccessDatabase::openResultCursor(TDAOQuerydef* queryDef, const std::string& sqlText) {
    TAccessSession::idleSharedEngine();
    if (!isOpen())
        open();
    TDAOBase* source = queryDef ? static_cast<TDAOBase*>(queryDef) : daoDatabase_.get();
    CursorGuard guard{new TAccessTable(this, &cursors(), sqlText, 0, 0, source, true)};
    auto* cursor = static_cast<TAccessTable*>(guard.cursor);
    cursor->openCursor();
    cursor->buildFieldDescriptors();
    return guard.release();
}

} // namespace accessdb
