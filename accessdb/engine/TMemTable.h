#pragma once

#include "accessdb/engine/TBaseTable.h"
#include "accessdb/engine/TCacheCollection.h"
#include "accessdb/engine/TMemTableRecord.h"

#include <exception>
#include <vector>

namespace accessdb {

// A cursor whose records live in memory in bookmark order: a free-standing table made by a
// database, or the pending changes of a cached-updates cursor over a real one (the source,
// whose bookmarks the records then carry).
class TMemTable : public TBaseTable {
public:
    static constexpr std::size_t MaxFields = 1057;

    // Descriptors of length 0 get the length of their type; offsets run on from 0.
    TMemTable(TBapiListItem* owner, TBaseTable* source, const std::vector<FieldDesc>& fieldDescs,
              std::uint16_t bookmarkSize, const std::string& name, TTorvaneCollection* collection);
    ~TMemTable() override;

    TBaseTable* source() const { return source_; }
    TCacheCollection& records() { return records_; }
    int recordCount() const { return records_.count(); }
    TMemTableRecord* recordAt(int index) const; // 1-based
    TMemTableRecord* currentRecord() const { return recordAt(currentIndex_); }
    // Bytes kept per record: the record buffer, the source's when there is one.
    std::size_t dataSize() const { return dataSize_; }

    std::uint16_t bookmarkSize() override { return bookmarkSize_ ? bookmarkSize_ : 4; }
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
    void setToBegin() override;
    void setToEnd() override;
    void getBookmark(Byte* bookmark) override;
    void setToBookmark(const Byte* bookmark) override;
    void getRecordAtBookmark(const Byte* bookmark, LockType lock, Byte* buffer) override;
    int compareBookmarks(const Byte* bookmark1, const Byte* bookmark2) override;
    void getRecordProps(RecordProps* props) override;
    void getRecord(LockType lock, Byte* buffer, RecordProps* props) override;
    void insertRecord(LockType lock, Byte* buffer) override;
    void appendRecord(Byte* buffer) override;
    void modifyRecord(Byte* buffer, bool freeLock) override;
    void deleteRecord(Byte* buffer) override;
    void undeleteRecord() override;
    void getSequencePosition(std::uint32_t& position) override;
    void setToSeqNo(std::uint32_t seqNo) override;
    void getRecordCount(std::uint32_t& count) override;
    void emptyTableExclusive() override;

    // Whether the current record shows under the show flags (bit 0 modified, 1 inserted,
    // 2 deleted, 3 unchanged); `found` says whether there is a pending record at all.
    bool isVisible(std::uint8_t showFlags, bool found) const;
    TMemTableRecord* addRecord(const Byte* buffer, const Byte* bookmark);
    void modifyRecordAt(const Byte* buffer, const Byte* bookmark);
    void deleteRecordAt(const Byte* buffer, const Byte* bookmark);
    // Writes the pending changes to the source, the last record first. Records the source
    // refuses stay pending; the first refusal is raised after the rest were applied.
    // Applies the pending changes to the source, from the last to the first; a delayed-
    // update callback, when given, decides about each one (and about each refusal). The
    // first refusal left standing is raised once the others are applied.
    void applyUpdates(const CursorCallback* callback = nullptr);
    void emptyAll();

private:
    bool applyOne(TBaseTable& source, TMemTableRecord& record, const CursorCallback* callback,
                  std::exception_ptr& firstRefusal);

    void positionAt(int index);
    void copyOut(Byte* buffer);
    // The pending record at the bookmark (skipping inserted ones over a source), or none.
    int indexOfBookmark(const Byte* bookmark);
    void changeAt(const Byte* buffer, const Byte* bookmark, bool deleting);

    TBaseTable* source_;
    std::uint16_t bookmarkSize_;
    std::size_t dataSize_ = 0;
    TCacheCollection records_;
    int currentIndex_ = 0;
    bool onCrack_ = false;
    bool unordered_ = false;
};

} // namespace accessdb
