#pragma once

#include "accessdb/engine/CursorCallback.h"
#include "accessdb/engine/CursorProps.h"
#include "accessdb/engine/FieldDesc.h"
#include "accessdb/engine/IndexDesc.h"
#include "accessdb/engine/TBapiListItem.h"
#include "accessdb/engine/TFilterListItem.h"
#include "accessdb/engine/TTorvaneCollection.h"
#include "accessdb/engine/TTorvaneFieldCache.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace accessdb {

class TBaseCacheTable;
class TMemTable;

enum class LockType : std::uint8_t { None = 0, Write = 1, Read = 2 };

enum class PositionState : std::uint8_t {
    NoPosition = 0, // before a fresh walk
    OnRecord = 1,
    AtBeginning = 2, // on the crack before the first record
    AtEnd = 3,       // on the crack after the last record
    OnCrack = 4,     // where a record was
    Closed = 5,      // after creation and after closing
};

// Seek conditions of key searches.
namespace searchcond {
constexpr int Eq = 0;
constexpr int Ge = 1;
constexpr int Gt = 2;
constexpr int Lt = 3;
constexpr int Le = 4;
} // namespace searchcond

// One bound of a key range.
struct RangeBound {
    bool keyItself = false; // the bound was given as a record
    bool isSet = false;
    std::uint16_t fieldCount = 0;
    std::uint16_t keyLength = 0; // partial length of the field after the whole ones
    const Byte* key = nullptr;   // the bound's own key, or the caller's record
    bool inclusive = false;
    bool empty = false;
    std::array<Byte, 256> buffer{};
};

// A key field's compare details beyond its field descriptor.
struct KeyFieldInfo {
    bool descending = false;
    bool overridePresent = false;
    std::uint32_t overrideLength = 0;
    std::uint32_t overrideLocalType = 0;
};

// Signs of `b` against `a` (-1 when b is less) by logical field type, over `length` bytes.
int compareFieldValues(std::uint16_t type, const Byte* a, const Byte* b, bool caseInsensitive,
                       std::size_t length);

// The engine's cursor: one open table with a position, record buffers, field descriptors,
// a key range and record filters. It walks, counts, reads blocks and compares keys once for
// every driver, over a few primitives (moves, record reads at bookmarks, key seeks, changes)
// that a driver cursor supplies; what a driver leaves out answers "not supported".
class TBaseTable : public TBapiListItem {
public:
    TBaseTable(TBapiListItem* owner, TTorvaneCollection* collection, const std::string& tableName,
               const std::string& openParam, std::uint32_t openMode, std::uint32_t shareMode);
    ~TBaseTable() override;

    // Properties and names.
    void getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                 std::uint16_t maxLen) override;
    void setProp(std::uint32_t propId, std::uint32_t value) override;
    void checkProp(std::uint32_t propId, std::uint32_t flag) override;
    virtual std::string tableName() const { return tableName_; }
    virtual void setTableName(const std::string& name);
    virtual std::string sourceName() const { return sourceName_; }
    virtual void setSourceName(const std::string& name);
    const std::string& openParam() const { return openParam_; }
    std::uint32_t openMode() const { return openMode_; }
    std::uint32_t shareMode() const { return shareMode_; }

    Byte* recordBuffer() const { return recordBuffer_; }
    void setRecordBuffer(Byte* buffer) { recordBuffer_ = buffer; }
    Byte* initRecordBuffer() const { return initRecordBuffer_; }
    void setInitRecordBuffer(Byte* buffer) { initRecordBuffer_ = buffer; }

    // Sizes and descriptors.
    virtual std::uint16_t recordSize();
    // The record plus, with null indicators, one spare byte and 8 bytes per field.
    std::uint16_t recordBufferSize();
    virtual std::uint16_t bookmarkSize() { return 256; }
    virtual void getFieldDescByOffset(std::uint16_t offset1, std::uint16_t length,
                                      FieldDesc& descriptor);
    virtual int rangeSearchCond(bool inclusive, bool isStart) const;
    virtual bool hasNullIndicators() const { return false; }
    virtual void getRecordInfo(std::uint16_t& fieldCount, std::uint16_t& recordSize);
    // Field n's descriptor with its local type and size, for the field cache.
    virtual void getFieldDescriptor(std::uint16_t fieldNumber, FieldDesc& descriptor);
    virtual std::vector<FieldDesc> getFieldDescs();
    virtual void getCursorProps(CursorProps& props);
    TTorvaneFieldCache& fieldCache() { return fieldCache_; }

    // Driver primitives.
    virtual void moveFirst();
    virtual void moveLast();
    virtual void moveNext();
    virtual void movePrior();
    virtual void translateFieldOut(std::uint16_t localType, std::uint16_t localSize, bool& isBlank,
                                   Byte* dest, const Byte* fieldData, std::uint16_t length,
                                   std::uint16_t storedType);
    virtual void translateFieldIn(std::uint16_t localType, std::uint16_t localSize, Byte* fieldData,
                                  const Byte* source, std::uint16_t length,
                                  std::uint16_t storedType);
    virtual void getFieldValue(TFieldCacheItem& item, Byte* record, bool& isBlank, Byte* dest);
    virtual void putFieldValue(TFieldCacheItem& item, Byte* record, const Byte* source);
    virtual void cursorChanged() {}

    // Opening and positioning.
    virtual void openCursor();
    virtual void closeCursor();
    virtual void setToBegin();
    virtual void setToEnd();
    void setToCursor(TBaseTable* destination);
    virtual void getBookmark(Byte* bookmark);
    virtual void setToBookmark(const Byte* bookmark);
    virtual void getRecordAtBookmark(const Byte* bookmark, LockType lock, Byte* buffer);
    virtual const Byte* checkBookmark(const Byte* bookmark) { return bookmark; }
    virtual int compareBookmarks(const Byte* bookmark1, const Byte* bookmark2);
    virtual void setToRangeStart();
    virtual void setToRangeEnd();
    virtual void getRecordProps(RecordProps* props);
    PositionState positionState() const { return positionState_; }

    // Reading.
    virtual void getNextRecord(LockType lock, Byte* buffer, RecordProps* props);
    virtual void getPriorRecord(LockType lock, Byte* buffer, RecordProps* props);
    virtual void readCurrentRecord(LockType lock, Byte* buffer);
    virtual void getRecord(LockType lock, Byte* buffer, RecordProps* props);
    void getRelativeRecord(std::int32_t offset, LockType lock, RecordProps* props, Byte* buffer);
    virtual void getRecordForKey(bool directKey, std::uint16_t fieldCount, std::uint16_t length,
                                 const Byte* key, Byte* buffer);
    virtual void getVchkDesc(std::uint16_t number, Byte* descriptor);
    virtual void readBlock(std::uint32_t& count, Byte* buffer);
    virtual void writeBlock(std::uint32_t& count, Byte* buffer);
    virtual void getRecordCount(std::uint32_t& count);
    virtual void getExactRecordCount(std::uint32_t& count);
    virtual void forceReread();
    virtual void forceRecordReread(Byte* buffer);

    // Locks and sequence numbers.
    virtual void releaseLocks() {}
    virtual void relRecordLock(bool all);
    virtual void lockRecord();
    virtual bool isRecordLocked() { return false; }
    virtual void getSeqNo(std::uint32_t& seqNo) { seqNo = 0; }
    virtual void getSequencePosition(std::uint32_t& position);
    virtual void setToSeqNo(std::uint32_t seqNo);

    // Changes.
    virtual void initRecord(Byte* buffer);
    virtual void insertRecord(LockType lock, Byte* buffer);
    virtual void appendRecord(Byte* buffer);
    virtual void modifyRecord(Byte* buffer, bool freeLock);
    virtual void deleteRecord(Byte* buffer);
    virtual void undeleteRecord();
    // Called with 1 before a cached change is written back to this cursor.
    virtual void prepareModify(std::uint32_t /*kind*/) {}
    virtual void emptyTable();
    virtual void emptyTableExclusive();

    // Keys, ranges and indexes.
    virtual void setRange(bool keyItself, std::uint16_t fields1, std::uint16_t length1,
                          const Byte* key1, bool inclusive1, std::uint16_t fields2,
                          std::uint16_t length2, const Byte* key2, bool inclusive2);
    virtual void resetRange();
    bool hasRange() const { return rangeStart_.isSet || rangeEnd_.isSet; }
    const RangeBound& rangeStart() const { return rangeStart_; }
    const RangeBound& rangeEnd() const { return rangeEnd_; }
    // result: the sign of key 1 against key 2 over the key fields; a missing key 2 means
    // the key of the current record.
    virtual void compareKeys(const Byte* key1, const Byte* key2, int& result,
                             std::uint16_t fieldCount, std::uint16_t length);
    void getIndexByFields(const std::string& text, std::uint16_t& indexNumber, std::string& name);
    virtual void switchToIndex(const std::string& indexName, const std::string& tagName,
                               std::uint16_t indexId, bool currentRecord);
    void setToKeyOrEnd(int mode, bool keyItself, std::uint16_t fieldCount, std::uint16_t length,
                       const Byte* key);
    virtual void setToKey(int searchCond, bool keyItself, Byte* record, const Byte* key,
                          std::uint16_t length, std::uint16_t fieldCount);
    virtual void extractKey(const Byte* record, Byte* key);
    virtual void extractPartialKey(const Byte* record, Byte* key, std::uint16_t fieldCount,
                                   std::uint16_t length);
    virtual void getIndexDesc(std::uint16_t indexId, IndexDesc& descriptor);
    virtual void getIndexDescs(std::vector<IndexDesc>& descriptors);
    std::uint16_t keyFieldCount() const { return keyFieldCount_; }
    std::uint16_t keySize() const { return keySize_; }

    // Blobs.
    virtual void openBlob(Byte* record, std::uint16_t fieldNumber, int openMode);
    virtual void getBlobSize(Byte* record, std::uint16_t fieldNumber, std::uint32_t& size);
    virtual void getBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t offset,
                         std::uint32_t length, Byte* dest, std::uint32_t& read);
    virtual void putBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t offset,
                         std::uint32_t length, const Byte* source);
    virtual void truncateBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t length);
    virtual void freeBlob(Byte* /*record*/, std::uint16_t /*fieldNumber*/) {}

    // Field access through the field cache.
    virtual void getField(std::uint16_t fieldNumber, Byte* record, Byte* dest, bool& isBlank);
    virtual void putField(std::uint16_t fieldNumber, Byte* record, const Byte* source);
    virtual void verifyField(std::uint16_t fieldNumber, Byte* record, bool& isBlank);

    // Copies and cached updates.
    // The same table opened again through the database that owns this cursor.
    virtual TBaseTable* cloneCursor(bool readOnly, bool uniDirectional);
    // A cached-updates cursor over this one.
    virtual TBaseCacheTable* beginDelayedUpdates();
    // Gives back the cursor a cached-updates cursor wraps and frees the wrapper.
    virtual void endDelayedUpdates(TBaseTable*& cursor);
    virtual void applyDelayedUpdates(int kind);
    virtual TMemTable* pendingTable();
    // Eight bytes the client may keep with the cursor.
    virtual Byte* tagArea() { return tag_.data(); }
    // Keeps the callback of its type (a null function drops it); getCallBack gives it back,
    // NOCALLBACK when none of the type is registered.
    virtual void registerCallBack(const CursorCallback& callback);
    virtual CursorCallback getCallBack(int callbackType) const;
    // The registered callback of the type, or none.
    const CursorCallback* findCallBack(int callbackType) const;

    // Filters.
    void updateFilterState();
    virtual TFilterListItem* addFilter(std::uintptr_t clientData, std::uint16_t priority,
                                       bool canAbort, std::span<const Byte> expression,
                                       FilterCallback callback);
    virtual void dropFilter(TFilterListItem* filter);
    virtual void activateFilter(TFilterListItem* filter);
    virtual void deactivateFilter(TFilterListItem* filter);
    virtual void getFilterInfo(TFilterListItem* filter, FilterInfo& info);
    bool filtered() const { return filtered_; }
    TTorvaneCollection& filters() { return filters_; }

    // Moves on in the last direction while the record fails a filter; leaving the range
    // or the table raises the boundary error.
    void applyFilters(Byte* buffer);

protected:
    void setOnRecord() { positionState_ = PositionState::OnRecord; }
    void setPositionState(PositionState state) { positionState_ = state; }
    void setModes(std::uint32_t openMode, std::uint32_t shareMode) {
        openMode_ = openMode;
        shareMode_ = shareMode;
    }
    // Writes each field's null-indicator offset into its descriptor.
    void assignNullOffsets();
    // The driver tells the current index's key fields.
    void setKeyFields(std::span<const std::uint16_t> fields, std::uint16_t keySize,
                      std::span<const KeyFieldInfo> info, bool caseInsensitive);
    void checkRange(const Byte* buffer);
    bool lastMoveBackward() const { return lastMoveBackward_; }

private:
    void fillBound(RangeBound& bound, bool keyItself, std::uint16_t fields, std::uint16_t length,
                   const Byte* key, bool inclusive);
    bool recordPasses(Byte* buffer);
    Byte* walkBuffer(Byte* buffer);
    // One step of a walk: from the range's start (or end) on a fresh walk, else to the
    // next (or prior) record, past the records the filters refuse.
    void stepRecord(bool backward, LockType lock, Byte* buffer, RecordProps* props);
    bool keyFieldBlank(const RangeBound& bound, std::size_t keyIndex, std::size_t keyOffset);

    std::string tableName_;
    std::string sourceName_;
    std::string openParam_;
    std::uint32_t openMode_;
    std::uint32_t shareMode_;
    bool active_ = true;
    Byte* recordBuffer_ = nullptr;
    Byte* initRecordBuffer_ = nullptr;
    std::vector<Byte> scratchRecord_;
    std::uint16_t maxFieldEnd_ = 0;
    bool maxFieldEndKnown_ = false;
    PositionState positionState_ = PositionState::Closed;
    bool lastMoveBackward_ = false;
    RangeBound rangeStart_;
    RangeBound rangeEnd_;
    bool rangeSame_ = false;
    std::uint16_t keyFieldCount_ = 0;
    std::uint16_t keySize_ = 0;
    std::array<std::uint16_t, 16> keyFields_{};
    std::array<KeyFieldInfo, 16> keyInfo_{};
    bool keyCaseInsensitive_ = false;
    bool indexDescsBusy_ = false;
    bool filtered_ = false;
    bool rereadRequested_ = false;
    TTorvaneFieldCache fieldCache_;
    TTorvaneCollection filters_;
    std::vector<CursorCallback> callbacks_;
    std::array<Byte, 8> tag_{};
};

} // namespace accessdb
