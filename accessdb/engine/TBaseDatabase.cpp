#include "accessdb/engine/TBaseDatabase.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TBaseListTable.h"
#include "accessdb/engine/TBaseSession.h"
#include "accessdb/engine/TMemTable.h"
#include "accessdb/engine/TSqlStmt.h"

#include <memory>

namespace accessdb {
namespace {

// Frees a cursor the database opened only for the moment.
struct TemporaryCursor {
    TBaseTable* cursor = nullptr;
    ~TemporaryCursor() {
        if (cursor) {
            cursor->closeCursor();
            delete cursor;
        }
    }
};

} // namespace

TBaseDatabase::TBaseDatabase(TBaseSession* session, TTorvaneCollection* collection,
                             const DatabaseDesc* descriptor, std::uint32_t openMode,
                             std::uint32_t shareMode, const std::string& password,
                             const EngineParams& params)
    : TBapiListItem(session, collection), openMode_(openMode), shareMode_(shareMode),
      password_(leftChars(password, 31)) {
    applyParams(params);
    if (descriptor)
        descriptor_ = *descriptor;
}

TBaseDatabase::~TBaseDatabase() {
    cursors_.freeAll();
    isOpen_ = false;
}

TBaseSession* TBaseDatabase::session() const {
    return static_cast<TBaseSession*>(owner());
}

void TBaseDatabase::getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                            std::uint16_t maxLen) {
    size = 0;
    switch (propId & 0xFFFF) {
    case 0:
        size = 2;
        if (buffer)
            putU16(buffer, 0, 27);
        return;
    case 2: {
        std::string type = driverType();
        size = checked16(type.size() + 1);
        if (buffer && maxLen > 0)
            putText(buffer, 0, maxLen, type);
        return;
    }
    default:
        TBapiListItem::getProp(propId, buffer, size, maxLen);
    }
}

void TBaseDatabase::checkProp(std::uint32_t propId, std::uint32_t flag) {
    std::uint32_t id = propId & 0xFFFF;
    if ((id == 0 || id == 2) && flag != 0)
        raiseEngineError(dbierr::NOTSUPPORTED);
}

void TBaseDatabase::setOpenModes(std::uint32_t openMode, std::uint32_t shareMode) {
    openMode_ = openMode;
    shareMode_ = shareMode;
}

void TBaseDatabase::setParam(const std::string& name, const std::string& value) {
    if (equalsIgnoreCase(name, "USER NAME"))
        userName_ = leftChars(value, 31);
}

void TBaseDatabase::applyParams(const EngineParams& params) {
    for (std::size_t i = 0; i < params.count(); ++i)
        setParam(params.descs[i].name, params.valueAt(i));
}

TBaseTable* TBaseDatabase::findCursor(const std::string& name) {
    if (name.empty())
        raiseEngineError(dbierr::INVALIDPARAM);
    bool path = isPathName(name, true);
    for (TBapiListItem* item : cursors_.items()) {
        auto* cursor = dynamic_cast<TBaseTable*>(item);
        if (!cursor || cursor->sourceName().empty())
            continue;
        if (equalsIgnoreCase(path ? cursor->sourceName() : cursor->tableName(), name))
            return cursor;
    }
    raiseEngineErrorText(dbierr::NOSUCHTABLE, name);
}

void TBaseDatabase::setDirectory(const std::string& path) {
    descriptor_.physicalName = leftChars(path, 260);
}

TBaseTable* TBaseDatabase::openTable(const OpenTableArgs&) {
    raiseNotSupported(9030);
}

TBaseTable* TBaseDatabase::openTableList(const std::string&, bool, bool) {
    raiseNotSupported(9031);
}

TBaseTable* TBaseDatabase::openFieldList(const std::string&, const std::string&, bool) {
    raiseNotSupported(9032);
}

TBaseTable* TBaseDatabase::openTableListDefault(bool extended) {
    return openTableList("", false, extended);
}

TBaseTable* TBaseDatabase::openIndexList(const std::string& tableName, const std::string&) {
    TemporaryCursor temporary;
    TBaseTable* cursor = nullptr;
    try {
        cursor = findTableCursor(tableName);
    } catch (const ETorvaneEngineError&) {
        cursor = nullptr;
    }
    if (!cursor || cursor->positionState() == PositionState::Closed) {
        OpenTableArgs args;
        args.tableName = tableName;
        args.openMode = 1;
        cursor = temporary.cursor = openTable(args);
    }
    CursorProps props;
    cursor->getCursorProps(props);
    if (props.indexCount == 0)
        raiseEngineError(dbierr::NOTINDEXED);
    std::vector<IndexDesc> indexes;
    cursor->getIndexDescs(indexes);
    return new TIndexListTable(this, indexes, &cursors_);
}

TBaseTable* TBaseDatabase::openVchkList(const std::string&, const std::string&) {
    raiseNotSupported(9025);
}

TBaseTable* TBaseDatabase::openStoredProcList() {
    raiseNotSupported(9021);
}

TBaseTable* TBaseDatabase::openStoredProcParamList(const std::string&) {
    raiseNotSupported(9022);
}

bool TBaseDatabase::tableExists(const std::string& name) {
    TemporaryCursor list{openTableList("", false, false)};
    std::vector<Byte> record(std::max<std::size_t>(list.cursor->recordSize(), 261));
    std::string wanted = upperAscii(name);
    try {
        for (;;) {
            list.cursor->getNextRecord(LockType::None, record.data(), nullptr);
            if (equalsIgnoreCase(getText(record.data(), 0, 261), wanted))
                return true;
        }
    } catch (const ETorvaneBoundryError&) {
    }
    return false;
}

std::uint16_t TBaseDatabase::openCursorCount() {
    return checked16(static_cast<std::size_t>(cursors().count()));
}

std::uint16_t TBaseDatabase::countTableCursors(const std::string& name) {
    std::size_t count = 0;
    for (TBapiListItem* item : cursors_.items())
        if (auto* cursor = dynamic_cast<TBaseTable*>(item))
            if (equalsIgnoreCase(leftChars(cursor->tableName(), 31), leftChars(name, 31)))
                ++count;
    if (count == 0)
        raiseEngineErrorText(dbierr::NOSUCHTABLE, name);
    return checked16(count);
}

TBaseTable* TBaseDatabase::findTableCursor(const std::string& name) {
    return findCursor(truncateAtChar(leftChars(name, 260), ';'));
}

void TBaseDatabase::emptyTable(TBaseTable* cursor, const std::string& name) {
    TemporaryCursor temporary;
    if (!cursor) {
        OpenTableArgs args;
        args.tableName = name;
        args.shareMode = 0xFFFFFFFF;
        args.openMode = 1;
        cursor = temporary.cursor = openTable(args);
    }
    cursor->emptyTableExclusive();
}

TBaseTable* TBaseDatabase::createInMemTable(const std::string& name,
                                            const std::vector<FieldDesc>& fieldDescs) {
    if (fieldDescs.empty())
        raiseEngineErrorText(dbierr::INVALIDPARAM, name);
    try {
        return new TMemTable(this, nullptr, fieldDescs, 0, name, &cursors_);
    } catch (const ETorvaneEngineError&) {
        raiseEngineErrorText(dbierr::INVALIDTABLECREATE, name);
    } catch (const ERangeError&) {
        raiseEngineErrorText(dbierr::INVALIDTABLECREATE, name);
    }
}

void TBaseDatabase::beginTran() {
    raiseNotSupported(9002);
}

void TBaseDatabase::endTran(int) {
    raiseNotSupported(9003);
}

TranInfo TBaseDatabase::getTranInfo() const {
    return {transactionHandle_, transactionState_};
}

void TBaseDatabase::open() {
    isOpen_ = false;
    raiseNotSupported(9014);
}

void TBaseDatabase::close() {
    isOpen_ = false;
}

TBaseTable* TBaseDatabase::executeSQL(int language, const std::string& text, bool wantCursor) {
    std::unique_ptr<TSqlStmt> statement(allocStatement(language));
    prepareSQL(statement.get(), text);
    return statement->execute(wantCursor);
}

TSqlStmt* TBaseDatabase::allocStatement(int) {
    raiseNotSupported(9017);
}

void TBaseDatabase::prepareSQL(TSqlStmt*, const std::string&) {
    raiseNotSupported(9018);
}

TSqlStmt* TBaseDatabase::prepareStoredProc(const std::string&) {
    raiseNotSupported(9020);
}

} // namespace accessdb
