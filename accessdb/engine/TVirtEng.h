#pragma once

#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/TBaseDatabase.h"
#include "accessdb/engine/TBaseSession.h"
#include "accessdb/engine/TBaseTable.h"
#include "accessdb/engine/TErrorStack.h"
#include "accessdb/engine/TTorvaneCollection.h"

#include <functional>
#include <string>
#include <vector>

namespace accessdb {

class TBaseDatabase;
class TBaseCacheTable;

// Makes a driver's session: (engine, directory, name, the engine's session collection).
using SessionFactory =
    std::function<TBaseSession*(TBapiListItem* engine, const std::string& directory,
                                const std::string& name, TTorvaneCollection* sessions)>;

// The engine object: the one entry point through which the components drive the engine.
// Every call takes handles, calls one operation of a handle or of the current session and
// answers a status: 0, or the code of the engine error that ended it, which then is the
// only entry of the error stack. Other exceptions pass through.
class TVirtEng : public TBapiListItem {
public:
    static constexpr std::uint32_t ClientDataProp = 0xFF070002;

    // `services` are the platform services its sessions, databases and cursors use.
    explicit TVirtEng(SessionFactory sessionFactory, EnginePlatform services = {});
    ~TVirtEng() override;

    Status startStatus() const { return startStatus_; }
    TBaseSession* currentSession() const { return currentSession_; }
    TTorvaneCollection& sessions() { return sessions_; }
    const TErrorStack& errorStack() const { return errorStack_; }

    void getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                 std::uint16_t maxLen) override;
    void setProp(std::uint32_t propId, std::uint32_t value) override;
    const EnginePlatform* enginePlatform() const override { return &services_; }

    // Sessions.
    Status StartSession(const std::string& name, TBaseSession*& session,
                        const std::string& directory);
    Status CloseSession(TBaseSession* session);
    Status SetCurrSession(TBaseSession* session);
    Status GetCurrSession(TBaseSession*& session);
    Status OpenDatabase(const std::string& name, const std::string& type, std::uint32_t openMode,
                        std::uint32_t shareMode, const std::string& password, EngineParams& params,
                        TBaseDatabase*& database);
    Status AddAlias(const std::string& alias, const std::string& paramText);
    Status DeleteAlias(const std::string& alias);
    Status GetSesInfo(SesInfo& info);
    Status OpenCfgInfoList(const std::string& path, TBaseTable*& cursor);
    Status SetPrivateDir(const std::string& directory);
    Status NativeToAnsi(const std::string& source, std::string& destination);
    Status AnsiToNative(const std::string& source, std::string& destination);
    Status RegisterCallBack(TBaseTable* cursor, int callbackType, std::uintptr_t clientData = 0,
                            void* buffer = nullptr, CallbackFunction function = nullptr);
    // Registrations this engine does not offer: always DBIERR_NA.
    Status CallbackStubA();
    Status CallbackStubB();

    // Databases.
    Status CloseDatabase(TBaseDatabase*& database);
    Status OpenTable(TBaseDatabase* database, const OpenTableArgs& args, TBaseTable*& cursor);
    Status OpenTableList(TBaseDatabase* database, bool extended, const std::string& wildcard,
                         bool systemTables, TBaseTable*& cursor);
    Status OpenFieldList(TBaseDatabase* database, const std::string& tableName,
                         const std::string& driverType, bool physicalTypes, TBaseTable*& cursor);
    Status OpenIndexList(TBaseDatabase* database, const std::string& tableName,
                         const std::string& driverType, TBaseTable*& cursor);
    Status OpenVchkList(TBaseDatabase* database, const std::string& tableName,
                        const std::string& driverType, TBaseTable*& cursor);
    Status SetDirectory(TBaseDatabase* database, const std::string& directory);
    // Object type 2 gives the handle's owner (a database's session).
    Status GetObjFromObj(TBapiListItem* handle, int objectType, TBapiListItem*& object);

    // Cursors.
    Status CloseCursor(TBaseTable*& cursor);
    Status CloneCursor(TBaseTable* cursor, bool readOnly, bool uniDirectional, TBaseTable*& clone);
    Status GetFieldDescs(TBaseTable* cursor, std::vector<FieldDesc>& descs);
    // No call frame: always 0, and exceptions pass through.
    Status SetToBegin(TBaseTable* cursor);
    Status SetToEnd(TBaseTable* cursor);
    Status SetToCursor(TBaseTable* destination, TBaseTable* source);
    Status GetBookMark(TBaseTable* cursor, Byte* bookmark);
    Status SetToBookmark(TBaseTable* cursor, const Byte* bookmark);
    Status CompareBookmarks(TBaseTable* cursor, const Byte* bookmark1, const Byte* bookmark2,
                            int& result);
    Status GetNextRecord(TBaseTable* cursor, LockType lock, Byte* buffer, RecordProps* props);
    // An end-of-table status reads as the beginning of the table here.
    Status GetPriorRecord(TBaseTable* cursor, LockType lock, Byte* buffer, RecordProps* props);
    Status GetRecord(TBaseTable* cursor, LockType lock, Byte* buffer, RecordProps* props);
    Status GetRecordForKey(TBaseTable* cursor, bool directKey, std::uint16_t fieldCount,
                           std::uint16_t length, const Byte* key, Byte* buffer);
    Status GetVchkDesc(TBaseTable* cursor, std::uint16_t number, Byte* descriptor);
    Status RelRecordLock(TBaseTable* cursor, bool all);
    Status InitRecord(TBaseTable* cursor, Byte* buffer);
    Status InsertRecord(TBaseTable* cursor, LockType lock, Byte* buffer);
    Status AppendRecord(TBaseTable* cursor, Byte* buffer);
    Status ModifyRecord(TBaseTable* cursor, Byte* buffer, bool freeLock);
    Status DeleteRecord(TBaseTable* cursor, Byte* buffer);
    Status ReadBlock(TBaseTable* cursor, std::uint32_t& count, Byte* buffer);
    Status SetToSeqNo(TBaseTable* cursor, std::uint32_t seqNo);
    Status GetCursorProps(TBaseTable* cursor, CursorProps& props);
    Status GetRecordCount(TBaseTable* cursor, std::uint32_t& count);
    Status GetExactRecordCount(TBaseTable* cursor, std::uint32_t& count);
    Status ForceReread(TBaseTable* cursor);
    Status ForceRecordReread(TBaseTable* cursor, Byte* buffer);
    Status SetRange(TBaseTable* cursor, bool keyItself, std::uint16_t fields1,
                    std::uint16_t length1, const Byte* key1, bool inclusive1, std::uint16_t fields2,
                    std::uint16_t length2, const Byte* key2, bool inclusive2);
    Status ResetRange(TBaseTable* cursor);
    Status SwitchToIndex(TBaseTable* cursor, const std::string& indexName,
                         const std::string& tagName, std::uint16_t indexId, bool currentRecord);
    Status ExtractKey(TBaseTable* cursor, const Byte* record, Byte* key);
    Status GetIndexDesc(TBaseTable* cursor, std::uint16_t indexId, IndexDesc& descriptor);
    Status GetIndexDescs(TBaseTable* cursor, std::vector<IndexDesc>& descriptors);
    // Replaces the caller's cursor by a cached-updates cursor over it, and back.
    Status BeginDelayedUpdates(TBaseTable*& cursor);
    Status EndDelayedUpdates(TBaseTable*& cursor);
    Status ApplyDelayedUpdates(TBaseTable* cursor, int kind);
    Status OpenBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber, int openMode);
    Status GetBlobSize(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                       std::uint32_t& size);
    Status GetBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                   std::uint32_t offset, std::uint32_t length, Byte* dest, std::uint32_t& read);
    Status PutBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                   std::uint32_t offset, std::uint32_t length, const Byte* source);
    Status TruncateBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber,
                        std::uint32_t length);
    Status FreeBlob(TBaseTable* cursor, Byte* record, std::uint16_t fieldNumber);
    Status GetField(TBaseTable* cursor, std::uint16_t fieldNumber, Byte* record, Byte* dest,
                    bool& isBlank);
    Status PutField(TBaseTable* cursor, std::uint16_t fieldNumber, Byte* record,
                    const Byte* source);
    Status VerifyField(TBaseTable* cursor, std::uint16_t fieldNumber, Byte* record, bool& isBlank);
    Status AddFilter(TBaseTable* cursor, std::uintptr_t clientData, std::uint16_t priority,
                     bool canAbort, std::span<const Byte> expression, FilterCallback callback,
                     TFilterListItem*& filter);
    Status DropFilter(TBaseTable* cursor, TFilterListItem* filter);
    Status ActivateFilter(TBaseTable* cursor, TFilterListItem* filter);
    Status DeactivateFilter(TBaseTable* cursor, TFilterListItem* filter);

    // Properties of any handle; a missing handle is DBIERR_INVALIDPARAM without an
    // error-stack entry.
    Status GetProp(TBapiListItem* handle, std::uint32_t propId, Byte* buffer, std::uint16_t maxLen,
                   std::uint16_t& length);
    Status SetProp(TBapiListItem* handle, std::uint32_t propId, std::uint32_t value);

    // Error access: entry n (1 = newest) gives its code (0 when there is none), native
    // code and text; the context of a code is the text of its newest entry.
    Status GetErrorEntry(std::uint16_t n, std::int32_t& nativeCode, std::string& text);
    Status GetErrorContext(Status code, std::string& text);

    // A database name without its bracketed tag: "[x] C:\list.mdb" gives "C:\list.mdb".
    static std::string withoutBracketTag(const std::string& name);

private:
    template <typename Call>
    Status frame(Call&& call);
    TBaseSession& session();

    SessionFactory sessionFactory_;
    EnginePlatform services_;
    TErrorStack errorStack_{10};
    TTorvaneCollection sessions_;
    TBaseSession* currentSession_ = nullptr;
    Status startStatus_ = 0;
    std::uint32_t clientData_ = 0;
};

} // namespace accessdb
