#include "accessdb/engine/TVirtEng.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TBaseCacheTable.h"
#include "accessdb/engine/TBaseDatabase.h"
#include "accessdb/engine/TMemTable.h"

#include <cstdlib>
#include <memory>

namespace accessdb {

template <typename Call>
Status TVirtEng::frame(Call&& call) {
    try {
        call();
        return 0;
    } catch (const ETorvaneEngineError& error) {
        errorStack_.clear();
        errorStack_.pushException(error);
        return error.errorCode();
    }
}

TVirtEng::TVirtEng(SessionFactory sessionFactory, EnginePlatform services)
    : TBapiListItem(nullptr, nullptr), sessionFactory_(std::move(sessionFactory)),
      services_(std::move(services)) {
    TBaseSession* session = nullptr;
    startStatus_ = StartSession("", session, "");
}

TVirtEng::~TVirtEng() {
    currentSession_ = nullptr;
    sessions_.freeAll();
}

TBaseSession& TVirtEng::session() {
    return *checkHandle(currentSession_);
}

void TVirtEng::getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                       std::uint16_t maxLen) {
    size = 0;
    if (propId != ClientDataProp)
        return TBapiListItem::getProp(propId, buffer, size, maxLen);
    size = 4;
    if (buffer)
        putU32(buffer, 0, clientData_);
}

void TVirtEng::setProp(std::uint32_t propId, std::uint32_t value) {
    if (propId == ClientDataProp)
        clientData_ = value;
}

Status TVirtEng::StartSession(const std::string& name, TBaseSession*& session,
                              const std::string& directory) {
    session = nullptr;
    return frame([&] {
        if (!sessionFactory_)
            raiseEngineError(dbierr::INVALIDPARAM);
        session = sessionFactory_(this, directory, name, &sessions_);
        currentSession_ = session;
    });
}

Status TVirtEng::CloseSession(TBaseSession* session) {
    return frame([&] {
        delete checkHandle(session);
        currentSession_ = static_cast<TBaseSession*>(sessions_.at(0));
        checkHandle(currentSession_);
    });
}

Status TVirtEng::SetCurrSession(TBaseSession* session) {
    return frame([&] { currentSession_ = checkHandle(session); });
}

Status TVirtEng::GetCurrSession(TBaseSession*& session) {
    session = currentSession_;
    return 0;
}

std::string TVirtEng::withoutBracketTag(const std::string& name) {
    std::size_t open = name.find('[');
    if (open == std::string::npos)
        return name;
    std::size_t close = name.find(']', open);
    if (close == std::string::npos)
        return name;
    std::size_t end = std::min(close + 2, name.size());
    return name.substr(0, open) + name.substr(end);
}

Status TVirtEng::OpenDatabase(const std::string& name, const std::string& type,
                              std::uint32_t openMode, std::uint32_t shareMode,
                              const std::string& password, EngineParams& params,
                              TBaseDatabase*& database) {
    database = nullptr;
    return frame([&] {
        OpenDatabaseArgs args;
        if (!name.empty() || !type.empty()) {
            args.name = withoutBracketTag(name);
        } else if (int path = params.find("PATH"); path >= 0) {
            args.name = withoutBracketTag(params.valueAt(static_cast<std::size_t>(path)));
            params.setValueAt(static_cast<std::size_t>(path), args.name);
        }
        args.type = type;
        args.openMode = openMode;
        args.shareMode = shareMode;
        args.password = password;
        args.params = params;
        database = checkHandle(session().openDatabase(args));
    });
}

Status TVirtEng::AddAlias(const std::string& alias, const std::string& paramText) {
    return frame([&] { session().addAlias(alias, paramText); });
}

Status TVirtEng::DeleteAlias(const std::string& alias) {
    return frame([&] { session().deleteAlias(alias); });
}

Status TVirtEng::GetSesInfo(SesInfo& info) {
    return frame([&] { info = session().getSesInfo(); });
}

Status TVirtEng::OpenCfgInfoList(const std::string& path, TBaseTable*& cursor) {
    cursor = nullptr;
    return frame([&] { cursor = session().openCfgInfoList(withoutBracketTag(path)); });
}

Status TVirtEng::SetPrivateDir(const std::string& directory) {
    if (currentSession_)
        currentSession_->setPrivateDir(directory);
    return 0;
}

Status TVirtEng::NativeToAnsi(const std::string& source, std::string& destination) {
    return frame([&] { destination = session().nativeToAnsi(source); });
}

Status TVirtEng::AnsiToNative(const std::string& source, std::string& destination) {
    return frame([&] { destination = session().ansiToNative(source); });
}

Status TVirtEng::RegisterCallBack(TBaseTable* cursor, int callbackType, std::uintptr_t clientData,
                                  void* buffer, CallbackFunction function) {
    return frame([&] {
        session().registerCallBack(cursor, {callbackType, clientData, buffer, function});
    });
}

Status TVirtEng::CallbackStubA() {
    return dbierr::NA;
}

Status TVirtEng::CallbackStubB() {
    return dbierr::NA;
}

Status TVirtEng::CloseDatabase(TBaseDatabase*& database) {
    return frame([&] {
        delete checkHandle(database);
        database = nullptr;
    });
}

Status TVirtEng::OpenTable(TBaseDatabase* database, const OpenTableArgs& args,
                           TBaseTable*& cursor) {
    cursor = nullptr;
    return frame([&] { cursor = checkHandle(database)->openTable(args); });
}

Status TVirtEng::OpenTableList(TBaseDatabase* database, bool extended, const std::string& wildcard,
                               bool systemTables, TBaseTable*& cursor) {
    cursor = nullptr;
    return frame(
        [&] { cursor = checkHandle(database)->openTableList(wildcard, systemTables, extended); });
}

Status TVirtEng::OpenFieldList(TBaseDatabase* database, const std::string& tableName,
                               const std::string& driverType, bool physicalTypes,
                               TBaseTable*& cursor) {
    cursor = nullptr;
    return frame([&] {
        cursor = checkHandle(database)->openFieldList(tableName, driverType, physicalTypes);
    });
}

Status TVirtEng::OpenIndexList(TBaseDatabase* database, const std::string& tableName,
                               const std::string& driverType, TBaseTable*& cursor) {
    cursor = nullptr;
    return frame([&] { cursor = checkHandle(database)->openIndexList(tableName, driverType); });
}

Status TVirtEng::OpenVchkList(TBaseDatabase* database, const std::string& tableName,
                              const std::string& driverType, TBaseTable*& cursor) {
    cursor = nullptr;
    return frame([&] { cursor = checkHandle(database)->openVchkList(tableName, driverType); });
}

Status TVirtEng::SetDirectory(TBaseDatabase* database, const std::string& directory) {
    return frame([&] { checkHandle(database)->setDirectory(directory); });
}

Status TVirtEng::GetObjFromObj(TBapiListItem* handle, int objectType, TBapiListItem*& object) {
    object = nullptr;
    if (objectType != 2)
        return dbierr::INVALIDPARAM;
    return frame([&] { object = checkHandle(handle)->owner(); });
}

Status TVirtEng::CloseCursor(TBaseTable*& cursor) {
    return frame([&] {
        // The cursor goes even when its close reports a failure (a write that did not
        // happen, say): the status tells the caller.
        std::unique_ptr<TBaseTable> closing(checkHandle(cursor));
        cursor = nullptr;
        closing->closeCursor();
    });
}

Status TVirtEng::CloneCursor(TBaseTable* cursor, bool readOnly, bool uniDirectional,
                             TBaseTable*& clone) {
    clone = nullptr;
    return frame([&] { clone = checkHandle(cursor)->cloneCursor(readOnly, uniDirectional); });
}

Status TVirtEng::GetFieldDescs(TBaseTable* cursor, std::vector<FieldDesc>& descs) {
    return frame([&] { descs = cursor->getFieldDescs(); });
}

Status TVirtEng::SetToBegin(TBaseTable* cursor) {
    cursor->setToBegin();
    return 0;
}

Status TVirtEng::SetToEnd(TBaseTable* cursor) {
    cursor->setToEnd();
    return 0;
}

Status TVirtEng::SetToCursor(TBaseTable* destination, TBaseTable* source) {
    return frame([&] { checkHandle(source)->setToCursor(destination); });
}

Status TVirtEng::GetBookMark(TBaseTable* cursor, Byte* bookmark) {
    return frame([&] { checkHandle(cursor)->getBookmark(bookmark); });
}

Status TVirtEng::SetToBookmark(TBaseTable* cursor, const Byte* bookmark) {
    return frame([&] { checkHandle(cursor)->setToBookmark(bookmark); });
}

Status TVirtEng::CompareBookmarks(TBaseTable* cursor, const Byte* bookmark1, const Byte* bookmark2,
                                  int& result) {
    return frame([&] { result = cursor->compareBookmarks(bookmark1, bookmark2); });
}

Status TVirtEng::GetNextRecord(TBaseTable* cursor, LockType lock, Byte* buffer,
                               RecordProps* props) {
    return frame([&] { cursor->getNextRecord(lock, buffer, props); });
}

Status TVirtEng::GetPriorRecord(TBaseTable* cursor, LockType lock, Byte* buffer,
                                RecordProps* props) {
    Status status = frame([&] { cursor->getPriorRecord(lock, buffer, props); });
    return status == dbierr::EOF_ ? dbierr::BOF : status;
}

Status TVirtEng::GetRecord(TBaseTable* cursor, LockType lock, Byte* buffer, RecordProps* props) {
    return frame([&] { cursor->getRecord(lock, buffer, props); });
}

Status TVirtEng::GetRecordForKey(TBaseTable* cursor, bool directKey, std::uint16_t fieldCount,
                                 std::uint16_t length, const Byte* key, Byte* buffer) {
    return frame([&] { cursor->getRecordForKey(directKey, fieldCount, length, key, buffer); });
}

Status TVirtEng::GetVchkDesc(TBaseTable* cursor, std::uint16_t number, Byte* descriptor) {
    return frame([&] { cursor->getVchkDesc(number, descriptor); });
}

Status TVirtEng::RelRecordLock(TBaseTable* cursor, bool all) {
    return frame([&] { cursor->relRecordLock(all); });
}

Status TVirtEng::InitRecord(TBaseTable* cursor, Byte* buffer) {
    return frame([&] { cursor->initRecord(buffer); });
}

Status TVirtEng::InsertRecord(TBaseTable* cursor, LockType lock, Byte* buffer) {
    return frame([&] { cursor->insertRecord(lock, buffer); });
}

Status TVirtEng::AppendRecord(TBaseTable* cursor, Byte* buffer) {
    return frame([&] { cursor->appendRecord(buffer); });
}

Status TVirtEng::ModifyRecord(TBaseTable* cursor, Byte* buffer, bool freeLock) {
    return frame([&] { cursor->modifyRecord(buffer, freeLock); });
}

Status TVirtEng::DeleteRecord(TBaseTable* cursor, Byte* buffer) {
    return frame([&] { cursor->deleteRecord(buffer); });
}

Status TVirtEng::ReadBlock(TBaseTable* cursor, std::uint32_t& count, Byte* buffer) {
    return frame([&] { cursor->readBlock(count, buffer); });
}

Status TVirtEng::SetToSeqNo(TBaseTable* cursor, std::uint32_t seqNo) {
    return frame([&] { cursor->setToSeqNo(seqNo); });
}

Status TVirtEng::GetCursorProps(TBaseTable* cursor, CursorProps& props) {
    return frame([&] { cursor->getCursorProps(props); });
}

Status TVirtEng::GetRecordCount(TBaseTable* cursor, std::uint32_t& count) {
    return frame([&] { cursor->getRecordCount(count); });
}

Status TVirtEng::GetExactRecordCount(TBaseTable* cursor, std::uint32_t& count) {
    return frame([&] { cursor->getExactRecordCount(count); });
}

Status TVirtEng::ForceReread(TBaseTable* cursor) {
    return frame([&] { cursor->forceReread(); });
}

Status TVirtEng::ForceRecordReread(TBaseTable* cursor, Byte* buffer) {
    return frame([&] { cursor->forceRecordReread(buffer); });
}

Status TVirtEng::SetRange(TBaseTable* cursor, bool keyItself, std::uint16_t fields1,
                          std::uint16_t length1, const Byte* key1, bool inclusive1,
                          std::uint16_t fields2, std::uint16_t length2, const Byte* key2,
                          bool inclusive2) {
    return frame([&] {
        cursor->setRange(keyItself, fields1, length1, key1, inclusive1, fields2, length2, key2,
                         inclusive2);
    });
}

Status TVirtEng::ResetRange(TBaseTable* cursor) {
    return frame([&] { cursor->resetRange(); });
}

Status TVirtEng::SwitchToIndex(TBaseTable* cursor, const std::string& indexName,
                               const std::string& tagName, std::uint16_t indexId,
                               bool currentRecord) {
    return frame([&] { cursor->switchToIndex(indexName, tagName, indexId, currentRecord); });
}

Status TVirtEng::ExtractKey(TBaseTable* cursor, const Byte* record, Byte* key) {
    return frame([&] { cursor->extractKey(record, key); });
}

Status TVirtEng::GetIndexDesc(TBaseTable* cursor, std::uint16_t indexId, IndexDesc& descriptor) {
    return frame([&] { cursor->getIndexDesc(indexId, descriptor); });
}

Status TVirtEng::GetIndexDescs(TBaseTable* cursor, std::vector<IndexDesc>& descriptors) {
    return frame([&] { cursor->getIndexDescs(descriptors); });
}

Status TVirtEng::BeginDelayedUpdates(TBaseTable*& cursor) {
    return frame([&] { cursor = checkHandle(cursor)->beginDelayedUpdates(); });
}

Status TVirtEng::EndDelayedUpdates(TBaseTable*& cursor) {
    return frame([&] { checkHandle(cursor)->endDelayedUpdates(cursor); });
}

Status TVirtEng::ApplyDelayedUpdates(TBaseTable* cursor, int kind) {
    return frame([&] { checkHandle(cursor)->applyDelayedUpdates(kind); });
}

Status TVirtEng::OpenBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                          int openMode) {
    return frame([&] { cursor->openBlob(record, fieldNumber, openMode); });
}

Status TVirtEng::GetBlobSize(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                             std::uint32_t& size) {
    return frame([&] { cursor->getBlobSize(record, fieldNumber, size); });
}

Status TVirtEng::GetBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                         std::uint32_t offset, std::uint32_t length, Byte* dest,
                         std::uint32_t& read) {
    return frame([&] { cursor->getBlob(record, fieldNumber, offset, length, dest, read); });
}

Status TVirtEng::PutBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                         std::uint32_t offset, std::uint32_t length, const Byte* source) {
    return frame([&] { cursor->putBlob(record, fieldNumber, offset, length, source); });
}

Status TVirtEng::TruncateBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                              std::uint32_t length) {
    return frame([&] { cursor->truncateBlob(record, fieldNumber, length); });
}

Status TVirtEng::FreeBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber) {
    return frame([&] { cursor->freeBlob(record, fieldNumber); });
}

Status TVirtEng::GetField(TBaseTable* cursor, std::uint16_t fieldNumber, Byte* record, Byte* dest,
                          bool& isBlank) {
    return frame([&] { cursor->getField(fieldNumber, record, dest, isBlank); });
}

Status TVirtEng::PutField(TBaseTable* cursor, std::uint16_t fieldNumber, Byte* record,
                          const Byte* source) {
    return frame([&] { cursor->putField(fieldNumber, record, source); });
}

Status TVirtEng::VerifyField(TBaseTable* cursor, std::uint16_t fieldNumber, Byte* record,
                             bool& isBlank) {
    return frame([&] { cursor->verifyField(fieldNumber, record, isBlank); });
}

Status TVirtEng::AddFilter(TBaseTable* cursor, std::uintptr_t clientData, std::uint16_t priority,
                           bool canAbort, std::span<const Byte> expression, FilterCallback callback,
                           TFilterListItem*& filter) {
    filter = nullptr;
    return frame(
        [&] { filter = cursor->addFilter(clientData, priority, canAbort, expression, callback); });
}

Status TVirtEng::DropFilter(TBaseTable* cursor, TFilterListItem* filter) {
    return frame([&] { cursor->dropFilter(filter); });
}

Status TVirtEng::ActivateFilter(TBaseTable* cursor, TFilterListItem* filter) {
    return frame([&] { cursor->activateFilter(filter); });
}

Status TVirtEng::DeactivateFilter(TBaseTable* cursor, TFilterListItem* filter) {
    return frame([&] { cursor->deactivateFilter(filter); });
}

Status TVirtEng::GetProp(TBapiListItem* handle, std::uint32_t propId, Byte* buffer,
                         std::uint16_t maxLen, std::uint16_t& length) {
    length = 0;
    if (!handle)
        return dbierr::INVALIDPARAM;
    return frame([&] { handle->getProp(propId, buffer, length, maxLen); });
}

Status TVirtEng::SetProp(TBapiListItem* handle, std::uint32_t propId, std::uint32_t value) {
    if (!handle)
        return dbierr::INVALIDPARAM;
    return frame([&] { handle->setProp(propId, value); });
}

Status TVirtEng::GetErrorEntry(std::uint16_t n, std::int32_t& nativeCode, std::string& text) {
    ErrorEntry entry;
    if (!errorStack_.getEntry(n, entry))
        return 0;
    nativeCode = entry.nativeError();
    Status code = entry.code();
    std::vector<std::string> lines;
    if (nativeCode != 0)
        lines.push_back(entry.driverMessage());
    if (code != 0) {
        bool sameAsNative = code == static_cast<Status>(std::abs(nativeCode));
        lines.push_back((sameAsNative ? "DBI Error Code = " : "") + entry.codeText());
    }
    for (std::size_t i = 0; i < ErrorEntry::ContextCount; ++i)
        lines.push_back(entry.context(i));
    text.clear();
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        if (!text.empty())
            text += "\r\n";
        text += line;
    }
    text = leftChars(text, 260);
    return code;
}

Status TVirtEng::GetErrorContext(Status code, std::string& text) {
    text.clear();
    for (std::uint16_t n = 1; n <= TErrorStack::MaxCapacity; ++n) {
        std::int32_t native = 0;
        std::string entryText;
        ErrorEntry entry;
        if (!errorStack_.getEntry(n, entry))
            break;
        if (entry.code() == code) {
            GetErrorEntry(n, native, entryText);
            text = entryText;
            return 0;
        }
    }
    return code;
}

} // namespace accessdb
