#pragma once

#include "accessdb/engine/TMemTable.h"

#include <memory>
#include <vector>

namespace accessdb {

// Cached updates over a real cursor (the source): reads come from the source, overlaid by
// the pending changes kept in an in-memory table; inserts, changes and deletes go only to
// the pending table until they are applied or discarded. What it does not handle itself it
// passes on to the source.
class TBaseCacheTable : public TBaseTable {
public:
    static constexpr std::uint32_t ShowFlagsProp = 3;
    static constexpr std::uint32_t RawReadProp = 4;
    static constexpr std::uint32_t PendingCountProp = 5;

    explicit TBaseCacheTable(TBaseTable* source);
    ~TBaseCacheTable() override;

    TBaseTable* source() const { return source_; }
    TMemTable* pending() const { return pending_.get(); }
    std::uint8_t showFlags() const { return showFlags_; }

    void getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                 std::uint16_t maxLen) override;
    void setProp(std::uint32_t propId, std::uint32_t value) override;
    void checkProp(std::uint32_t propId, std::uint32_t flag) override;
    std::string tableName() const override { return source_->tableName(); }
    void setTableName(const std::string& name) override { source_->setTableName(name); }
    std::string sourceName() const override { return source_->sourceName(); }
    void setSourceName(const std::string& name) override { source_->setSourceName(name); }

    std::uint16_t recordSize() override { return source_->recordSize(); }
    std::uint16_t bookmarkSize() override { return source_->bookmarkSize(); }
    void getFieldDescByOffset(std::uint16_t offset1, std::uint16_t length,
                              FieldDesc& descriptor) override;
    int rangeSearchCond(bool inclusive, bool isStart) const override;
    bool hasNullIndicators() const override { return source_->hasNullIndicators(); }
    void getRecordInfo(std::uint16_t& fieldCount, std::uint16_t& recordSize) override;
    void getFieldDescriptor(std::uint16_t fieldNumber, FieldDesc& descriptor) override;
    std::vector<FieldDesc> getFieldDescs() override { return source_->getFieldDescs(); }
    void getCursorProps(CursorProps& props) override { source_->getCursorProps(props); }
    void getFieldValue(TFieldCacheItem& item, Byte* record, bool& isBlank, Byte* dest) override;
    void putFieldValue(TFieldCacheItem& item, Byte* record, const Byte* source) override;
    void cursorChanged() override { source_->cursorChanged(); }
    Byte* tagArea() override { return source_->tagArea(); }

    void openCursor() override { source_->openCursor(); }
    void closeCursor() override { source_->closeCursor(); }
    void setToBegin() override { source_->setToBegin(); }
    void setToEnd() override { source_->setToEnd(); }
    void getBookmark(Byte* bookmark) override { source_->getBookmark(bookmark); }
    void setToBookmark(const Byte* bookmark) override { source_->setToBookmark(bookmark); }
    void getRecordAtBookmark(const Byte* bookmark, LockType lock, Byte* buffer) override;
    const Byte* checkBookmark(const Byte* bookmark) override;
    int compareBookmarks(const Byte* bookmark1, const Byte* bookmark2) override;
    void setToRangeStart() override;
    void setToRangeEnd() override;
    void getRecordProps(RecordProps* props) override { source_->getRecordProps(props); }

    void getNextRecord(LockType lock, Byte* buffer, RecordProps* props) override;
    void getPriorRecord(LockType lock, Byte* buffer, RecordProps* props) override;
    void getRecord(LockType lock, Byte* buffer, RecordProps* props) override;
    void getRecordForKey(bool directKey, std::uint16_t fieldCount, std::uint16_t length,
                         const Byte* key, Byte* buffer) override;
    void getVchkDesc(std::uint16_t number, Byte* descriptor) override;
    void readBlock(std::uint32_t& count, Byte* buffer) override;
    void writeBlock(std::uint32_t& count, Byte* buffer) override;
    void getRecordCount(std::uint32_t& count) override { source_->getRecordCount(count); }
    void getExactRecordCount(std::uint32_t& count) override;
    void forceReread() override { source_->forceReread(); }
    void forceRecordReread(Byte* buffer) override { source_->forceRecordReread(buffer); }

    void relRecordLock(bool all) override { source_->relRecordLock(all); }
    void lockRecord() override { source_->lockRecord(); }
    bool isRecordLocked() override { return source_->isRecordLocked(); }
    void getSeqNo(std::uint32_t& seqNo) override { source_->getSeqNo(seqNo); }
    void getSequencePosition(std::uint32_t& position) override;
    void setToSeqNo(std::uint32_t seqNo) override { source_->setToSeqNo(seqNo); }

    void initRecord(Byte* buffer) override { source_->initRecord(buffer); }
    void insertRecord(LockType lock, Byte* buffer) override;
    void appendRecord(Byte* buffer) override;
    void modifyRecord(Byte* buffer, bool freeLock) override;
    void deleteRecord(Byte* buffer) override;
    void undeleteRecord() override { source_->undeleteRecord(); }
    void prepareModify(std::uint32_t kind) override { source_->prepareModify(kind); }
    void emptyTable() override { source_->emptyTable(); }
    void emptyTableExclusive() override { source_->emptyTableExclusive(); }

    void setRange(bool keyItself, std::uint16_t fields1, std::uint16_t length1, const Byte* key1,
                  bool inclusive1, std::uint16_t fields2, std::uint16_t length2, const Byte* key2,
                  bool inclusive2) override;
    void resetRange() override { source_->resetRange(); }
    void compareKeys(const Byte* key1, const Byte* key2, int& result, std::uint16_t fieldCount,
                     std::uint16_t length) override;
    void switchToIndex(const std::string& indexName, const std::string& tagName,
                       std::uint16_t indexId, bool currentRecord) override;
    void setToKey(int searchCond, bool keyItself, Byte* record, const Byte* key,
                  std::uint16_t length, std::uint16_t fieldCount) override;
    void extractKey(const Byte* record, Byte* key) override { source_->extractKey(record, key); }
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
    void truncateBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t length) override;
    void freeBlob(Byte* record, std::uint16_t fieldNumber) override;

    void getField(std::uint16_t fieldNumber, Byte* record, Byte* dest, bool& isBlank) override;
    void putField(std::uint16_t fieldNumber, Byte* record, const Byte* source) override;
    void verifyField(std::uint16_t fieldNumber, Byte* record, bool& isBlank) override;

    TFilterListItem* addFilter(std::uintptr_t clientData, std::uint16_t priority, bool canAbort,
                               std::span<const Byte> expression, FilterCallback callback) override;
    void dropFilter(TFilterListItem* filter) override { source_->dropFilter(filter); }
    void activateFilter(TFilterListItem* filter) override { source_->activateFilter(filter); }
    void deactivateFilter(TFilterListItem* filter) override;
    void getFilterInfo(TFilterListItem* filter, FilterInfo& info) override;

    TBaseTable* cloneCursor(bool readOnly, bool uniDirectional) override;
    TBaseCacheTable* beginDelayedUpdates() override;
    void endDelayedUpdates(TBaseTable*& cursor) override;
    // 0 and 1 discard every pending change, 2 the one at the source's position, 3 applies.
    void applyDelayedUpdates(int kind) override;
    TMemTable* pendingTable() override;

private:
    // Whether the source's current record shows; a visible pending change replaces the
    // record's content unless raw reads are asked for.
    bool recordVisible(Byte* buffer, RecordProps* props);
    Byte* scratch();

    TBaseTable* source_;
    std::unique_ptr<TMemTable> pending_;
    std::uint8_t showFlags_ = 11;
    bool rawRead_ = false;
    std::vector<Byte> bookmarkBuffer_;
    std::vector<Byte> scratch_;
};

} // namespace accessdb
