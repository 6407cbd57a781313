#pragma once

#include "accessdb/access/TAccessBaseTable.h"
#include "accessdb/access/TDAOField.h"
#include "accessdb/access/TDAOFields.h"
#include "accessdb/access/TDAORecordset.h"

#include <memory>
#include <string>
#include <vector>

namespace accessdb {

class TAccessBlob;
class TDAOBase;

// The Access driver's cursor over one DAO recordset. The engine's cursor base does the
// walking, ranges, filters and key handling; this class moves the recordset, converts
// between DAO values and the record buffer, searches keys with Seek and writes changes.
//
// Record buffer: the fields one after another in their DAO form (see AccessFieldTypes.h),
// followed by the null and changed indicators. Bookmarks are the recordset's 4-byte bookmark
// followed by a 256-byte key area that holds the current index's key, so that a bookmark
// DAO no longer knows can still be found by its key.
class TAccessTable : public TAccessBaseTable {
public:
    static constexpr std::uint16_t BookmarkSize = 260;
    static constexpr std::size_t KeyAreaSize = 256;

    // `source` is the database or stored query the recordset is opened on; a query result
    // has no index and its bookmarks no key.
    TAccessTable(TBapiListItem* database, TTorvaneCollection* cursors, const std::string& tableName,
                 std::uint32_t openMode, std::uint32_t shareMode, TDAOBase* source,
                 bool queryResult = false);
    ~TAccessTable() override;

    // The options of OpenRecordset for the open and share modes: exclusive 3, read-only 4,
    // else left out.
    static int optionsFor(std::uint32_t openMode, std::uint32_t shareMode);

    std::string tableName() const override { return fullName_; }
    void setTableName(const std::string& name) override;
    std::uint16_t recordSize() override;
    std::uint16_t bookmarkSize() override { return BookmarkSize; }
    bool hasNullIndicators() const override { return true; }
    void getFieldDescriptor(std::uint16_t fieldNumber, FieldDesc& descriptor) override;
    void getCursorProps(CursorProps& props) override;
    void getRecordCount(std::uint32_t& count) override;

    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    void movePrior() override;
    void translateFieldOut(std::uint16_t localType, std::uint16_t localSize, bool& isBlank,
                           Byte* dest, const Byte* fieldData, std::uint16_t length,
                           std::uint16_t storedType) override;
    void translateFieldIn(std::uint16_t localType, std::uint16_t localSize, Byte* fieldData,
                          const Byte* source, std::uint16_t length,
                          std::uint16_t storedType) override;

    void openCursor() override;
    void closeCursor() override;
    void getBookmark(Byte* bookmark) override;
    void setToBookmark(const Byte* bookmark) override;
    void getRecordAtBookmark(const Byte* bookmark, LockType lock, Byte* buffer) override;
    const Byte* checkBookmark(const Byte* bookmark) override { return bookmark + 4; }
    int compareBookmarks(const Byte* bookmark1, const Byte* bookmark2) override;
    void setToRangeStart() override;
    void setToRangeEnd() override;
    void getRecordForKey(bool directKey, std::uint16_t fieldCount, std::uint16_t length,
                         const Byte* key, Byte* buffer) override;

    void relRecordLock(bool all) override;
    void lockRecord() override;
    bool isRecordLocked() override { return editing_; }
    void getSequencePosition(std::uint32_t& position) override;
    void setToSeqNo(std::uint32_t seqNo) override;

    void insertRecord(LockType lock, Byte* buffer) override;
    void modifyRecord(Byte* buffer, bool freeLock) override;
    void deleteRecord(Byte* buffer) override;

    void switchToIndex(const std::string& indexName, const std::string& tagName,
                       std::uint16_t indexId, bool currentRecord) override;
    void setToKey(int searchCond, bool keyItself, Byte* record, const Byte* key,
                  std::uint16_t length, std::uint16_t fieldCount) override;
    void extractPartialKey(const Byte* record, Byte* key, std::uint16_t fieldCount,
                           std::uint16_t length) override;
    void getIndexDesc(std::uint16_t indexId, IndexDesc& descriptor) override;
    void getIndexDescs(std::vector<IndexDesc>& descriptors) override;

    void openBlob(Byte* record, std::uint16_t fieldNumber, int openMode) override;
    void getBlobSize(Byte* record, std::uint16_t fieldNumber, std::uint32_t& size) override;
    void getBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t offset,
                 std::uint32_t length, Byte* dest, std::uint32_t& read) override;
    void putBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t offset,
                 std::uint32_t length, const Byte* source) override;
    void freeBlob(Byte* record, std::uint16_t fieldNumber) override;

    // The field cache from the recordset's fields, numbered from 1, and the record layout.
    void buildFieldDescriptors();
    // Reads the current record into the buffer; false without a buffer or fields.
    bool readRecord(Byte* buffer);

    TDAORecordset* recordset() const { return recordset_.get(); }
    TDAOFields* fields() const { return fields_.get(); }
    TDAOField& daoField(std::uint16_t fieldNumber) const;
    bool editing() const { return editing_; }
    bool queryResult() const { return queryResult_; }
    const IndexDesc& currentIndex() const { return currentIndex_; }
    // The current record's 4-byte DAO bookmark.
    std::vector<std::uint8_t> daoBookmark();

private:
    struct KeySearch {
        int condition = 0;
        bool keyIsRecord = false;
        const Byte* key = nullptr; // a record or a key buffer
        std::uint16_t fieldCount = 0;
        std::uint16_t length = 0;
    };

    using RecordsetMove = void (TDAORecordset::*)();
    using RecordsetEnd = bool (TDAORecordset::*)();
    using EndError = void (*)();

    bool keyed() const { return keyFieldCount() > 0 && !queryResult_; }
    void checkOpen() const;
    void moveToEnd(RecordsetMove move, EndError raiseEmpty);
    void moveOne(RecordsetMove move, RecordsetEnd atEnd, EndError raiseEnd);
    void readField(std::size_t index, Byte* buffer, bool markBlank);
    bool readDecimal(TDAOField& field, TFieldCacheItem& item, Byte* place);
    Variant fieldValue(std::size_t index, TFieldCacheItem& item);
    void writeChangedFields(Byte* buffer);
    void readKey(Byte* key);
    void useIndex(const IndexDesc& index);
    void searchKey(const KeySearch& search, Byte* buffer);
    std::uint16_t searchFieldCount(std::uint16_t fieldCount, std::uint16_t length) const;
    Variant keyValue(TFieldCacheItem& item, const Byte* stored, bool partial, std::uint16_t length);
    TAccessBlob& blobOf(Byte* record, std::uint16_t fieldNumber);
    // Blobs written by a post are done with.
    void releaseWrittenBlobs(Byte* buffer);
    void freeAllBlobs();

    std::string fullName_;
    TDAOBase* source_;
    bool queryResult_;
    std::unique_ptr<TDAORecordset> recordset_;
    std::unique_ptr<TDAOFields> fields_;
    std::vector<std::unique_ptr<TDAOField>> daoFields_;
    std::vector<std::int16_t> daoTypes_;
    std::vector<bool> autoIncrement_;
    bool editing_ = false;
    std::uint16_t recordSize_ = 0;
    IndexDesc currentIndex_;
    std::vector<Byte> scratch_;
    std::vector<std::unique_ptr<TAccessBlob>> blobs_; // a blob record's reference is its slot + 1
};

} // namespace accessdb
