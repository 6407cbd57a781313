#include "accessdb/engine/TMemTable.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EngineText.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace accessdb {
namespace {

std::uint16_t lengthOfType(const FieldDesc& d) {
    switch (d.type) {
    case fldtype::ZSTRING:
        return static_cast<std::uint16_t>(d.units1 + 1);
    case fldtype::DATE:
    case fldtype::FLOAT:
    case fldtype::TIME:
    case fldtype::TIMESTAMP:
        return 8;
    case fldtype::BOOL:
    case fldtype::INT16:
    case fldtype::UINT16:
        return 2;
    case fldtype::INT32:
    case fldtype::UINT32:
        return 4;
    case fldtype::BCD:
        return static_cast<std::uint16_t>(d.units2 < 0 ? -d.units2 : d.units2);
    case fldtype::FLOATIEEE:
        return 10;
    default:
        return static_cast<std::uint16_t>(d.units1);
    }
}

} // namespace

TMemTableRecord::TMemTableRecord(TMemTable* table, const Byte* bytes, std::size_t dataSize,
                                 const Byte* mark, std::size_t bookmarkSize, bool listed)
    : TBapiListItem(table, nullptr), data(dataSize, 0) {
    if (bytes)
        std::memcpy(data.data(), bytes, dataSize);
    if (mark) {
        bookmark.assign(mark, mark + bookmarkSize);
    } else {
        bookmark.assign(std::max<std::size_t>(bookmarkSize, 4), 0);
        putU32(bookmark.data(), 0,
               static_cast<std::uint32_t>(listed ? table->recordCount() + 1 : 1));
    }
    props.physicalRecord = static_cast<std::uint32_t>(table->recordCount() + 1);
    if (listed)
        table->records().insert(this);
}

const void* TCacheCollection::keyOf(TBapiListItem* item) const {
    return static_cast<TMemTableRecord*>(item)->bookmark.data();
}

int TCacheCollection::compare(const void* key1, const void* key2) const {
    try {
        return table_.compareBookmarks(static_cast<const Byte*>(key1),
                                       static_cast<const Byte*>(key2));
    } catch (const ETorvaneEngineError&) {
        return 1;
    }
}

TMemTable::TMemTable(TBapiListItem* owner, TBaseTable* source,
                     const std::vector<FieldDesc>& fieldDescs, std::uint16_t bookmarkSize,
                     const std::string& name, TTorvaneCollection* collection)
    : TBaseTable(owner, collection, name, "", 0, 0), source_(source), bookmarkSize_(bookmarkSize),
      records_(*this) {
    if (fieldDescs.size() > MaxFields)
        throw ERangeError();
    std::size_t offset = 0;
    for (std::size_t i = 0; i < fieldDescs.size(); ++i) {
        FieldDesc d = fieldDescs[i];
        if (d.length == 0)
            d.length = lengthOfType(d);
        d.offset = checked16(offset);
        offset += d.length;
        // A copied cursor's descriptors keep their exchange type and size.
        std::uint16_t localType = d.localType ? d.localType : d.type;
        std::uint16_t localSize = d.localSize ? d.localSize : d.length;
        fieldCache().add(localSize, localType, static_cast<std::uint16_t>(i + 1), d);
    }
    checked16(offset);
    dataSize_ = source ? std::max<std::size_t>(source->recordBufferSize(), offset) : offset;
}

TMemTable::~TMemTable() {
    emptyAll();
}

TMemTableRecord* TMemTable::recordAt(int index) const {
    return static_cast<TMemTableRecord*>(records_.at(index - 1));
}

void TMemTable::positionAt(int index) {
    currentIndex_ = index;
    onCrack_ = false;
}

void TMemTable::copyOut(Byte* buffer) {
    TMemTableRecord* record = currentRecord();
    if (buffer && record)
        std::memcpy(buffer, record->data.data(), record->data.size());
}

void TMemTable::moveFirst() {
    if (recordCount() == 0)
        raiseEOF();
    positionAt(1);
    getRecord(LockType::None, recordBuffer(), nullptr);
}

void TMemTable::moveLast() {
    if (recordCount() == 0)
        raiseBOF();
    positionAt(recordCount());
    getRecord(LockType::None, recordBuffer(), nullptr);
}

void TMemTable::moveNext() {
    // On the crack of a deleted record the next one has already slid into its place.
    int next = onCrack_ ? currentIndex_ : currentIndex_ + 1;
    if (next < 1)
        next = 1;
    if (next > recordCount()) {
        positionAt(recordCount() + 1);
        raiseEOF();
    }
    positionAt(next);
    try {
        getRecord(LockType::None, recordBuffer(), nullptr);
    } catch (const ETorvaneEngineError&) {
        raiseEOF();
    }
}

void TMemTable::movePrior() {
    int prior = std::min(currentIndex_ - 1, recordCount());
    if (prior < 1) {
        positionAt(0);
        raiseBOF();
    }
    positionAt(prior);
    getRecord(LockType::None, recordBuffer(), nullptr);
}

void TMemTable::translateFieldOut(std::uint16_t, std::uint16_t, bool& isBlank, Byte* dest,
                                  const Byte* fieldData, std::uint16_t length, std::uint16_t) {
    std::memcpy(dest, fieldData, length);
    isBlank = false;
}

void TMemTable::translateFieldIn(std::uint16_t, std::uint16_t, Byte* fieldData, const Byte* source,
                                 std::uint16_t length, std::uint16_t) {
    if (source)
        std::memcpy(fieldData, source, length);
    else
        std::memset(fieldData, 0, length);
}

void TMemTable::setToBegin() {
    TBaseTable::setToBegin();
    positionAt(0);
}

void TMemTable::setToEnd() {
    TBaseTable::setToEnd();
    positionAt(recordCount() + 1);
}

void TMemTable::getBookmark(Byte* bookmark) {
    TMemTableRecord* record = onCrack_ ? nullptr : currentRecord();
    if (!record)
        raiseEngineError(dbierr::NOCURRREC);
    std::memcpy(bookmark, record->bookmark.data(),
                std::min<std::size_t>(record->bookmark.size(), bookmarkSize()));
}

int TMemTable::indexOfBookmark(const Byte* bookmark) {
    int at = 0;
    if (records_.search(bookmark, at)) {
        for (int i = at + 1; i <= recordCount(); ++i) {
            TMemTableRecord* record = recordAt(i);
            if (compareBookmarks(record->bookmark.data(), bookmark) != 0)
                break;
            if (!source_ || record->props.recordStatus != RecordProps::Inserted)
                return i;
        }
    }
    if (!unordered_)
        return 0;
    // Records inserted at a position may stand out of bookmark order.
    for (int i = 1; i <= recordCount(); ++i) {
        TMemTableRecord* record = recordAt(i);
        if (source_ && record->props.recordStatus == RecordProps::Inserted)
            continue;
        if (compareBookmarks(record->bookmark.data(), bookmark) == 0)
            return i;
    }
    return 0;
}

void TMemTable::setToBookmark(const Byte* bookmark) {
    int index = indexOfBookmark(checkParam(bookmark));
    if (index == 0)
        raiseEOF();
    positionAt(index);
    setOnRecord();
}

void TMemTable::getRecordAtBookmark(const Byte* bookmark, LockType, Byte* buffer) {
    setToBookmark(bookmark);
    copyOut(buffer);
}

int TMemTable::compareBookmarks(const Byte* bookmark1, const Byte* bookmark2) {
    if (source_)
        return source_->compareBookmarks(bookmark1, bookmark2);
    std::uint32_t a = getU32(checkParam(bookmark1), 0);
    std::uint32_t b = getU32(checkParam(bookmark2), 0);
    return a < b ? -1 : (a > b ? 1 : 0);
}

void TMemTable::getRecordProps(RecordProps* props) {
    if (TMemTableRecord* record = currentRecord(); props && record)
        *props = record->props;
}

void TMemTable::getRecord(LockType, Byte* buffer, RecordProps* props) {
    if (recordCount() == 0)
        raiseEOF();
    if (currentIndex_ < 1)
        positionAt(1);
    if (currentIndex_ > recordCount())
        raiseEOF();
    TMemTableRecord* record = onCrack_ ? nullptr : currentRecord();
    if (!record)
        raiseEngineError(dbierr::NOCURRREC);
    copyOut(buffer);
    if (props)
        *props = record->props;
    setOnRecord();
}

void TMemTable::insertRecord(LockType, Byte* buffer) {
    checkParam(buffer);
    bool positioned = !onCrack_ && currentIndex_ >= 1 && currentIndex_ <= recordCount();
    TMemTableRecord* record;
    if (!positioned) {
        record = new TMemTableRecord(this, buffer, dataSize_, nullptr, bookmarkSize());
    } else {
        record = new TMemTableRecord(this, buffer, dataSize_, nullptr, bookmarkSize(), false);
        records_.insertAt(currentIndex_ - 1, record);
        unordered_ = true;
        if (!source_)
            putU32(record->bookmark.data(), 0, static_cast<std::uint32_t>(recordCount()));
    }
    record->props.recordStatus = RecordProps::Inserted;
    positionAt(records_.indexOf(record) + 1);
    setOnRecord();
}

void TMemTable::appendRecord(Byte* buffer) {
    addRecord(buffer, nullptr);
}

void TMemTable::modifyRecord(Byte* buffer, bool) {
    modifyRecordAt(buffer, nullptr);
}

void TMemTable::deleteRecord(Byte*) {
    TMemTableRecord* record = onCrack_ ? nullptr : currentRecord();
    if (!record)
        raiseEngineError(dbierr::NOCURRREC);
    delete record;
    onCrack_ = true;
    setPositionState(PositionState::OnCrack);
}

void TMemTable::undeleteRecord() {
    TMemTableRecord* record = currentRecord();
    if (!record)
        raiseEngineError(dbierr::NOCURRREC);
    record->props.deleteFlag = 0;
}

void TMemTable::getSequencePosition(std::uint32_t& position) {
    TMemTableRecord* record = currentRecord();
    if (!record)
        raiseEngineError(dbierr::NOCURRREC);
    position = record->props.seqNumber;
}

void TMemTable::setToSeqNo(std::uint32_t seqNo) {
    for (int i = 1; i <= recordCount(); ++i) {
        if (recordAt(i)->props.seqNumber == seqNo) {
            positionAt(i);
            setOnRecord();
            return;
        }
    }
    raiseEOF();
}

void TMemTable::getRecordCount(std::uint32_t& count) {
    count = static_cast<std::uint32_t>(recordCount());
}

void TMemTable::emptyTableExclusive() {
    emptyAll();
    positionAt(0);
    setPositionState(PositionState::NoPosition);
}

bool TMemTable::isVisible(std::uint8_t showFlags, bool found) const {
    if (!found)
        return (showFlags & 0x8) != 0;
    TMemTableRecord* record = currentRecord();
    switch (record ? record->props.recordStatus : 0) {
    case RecordProps::Modified:
        return (showFlags & 0x1) != 0;
    case RecordProps::Inserted:
        return (showFlags & 0x2) != 0;
    case RecordProps::Deleted:
        return (showFlags & 0x4) != 0;
    default:
        return true;
    }
}

TMemTableRecord* TMemTable::addRecord(const Byte* buffer, const Byte* bookmark) {
    auto* record = new TMemTableRecord(this, buffer, dataSize_, bookmark, bookmarkSize());
    positionAt(recordCount());
    setOnRecord();
    return record;
}

void TMemTable::changeAt(const Byte* buffer, const Byte* bookmark, bool deleting) {
    bool dataInPlace = false;
    if (bookmark) {
        int index = indexOfBookmark(bookmark);
        if (index == 0) {
            addRecord(buffer, bookmark);
            index = indexOfBookmark(bookmark);
            dataInPlace = true;
        }
        positionAt(index);
    }
    TMemTableRecord* record = onCrack_ ? nullptr : currentRecord();
    if (!record)
        raiseEngineError(dbierr::NOCURRREC);
    if (deleting) {
        record->props.recordStatus = RecordProps::Deleted;
        record->props.deleteFlag = -1;
    } else {
        if (buffer && !dataInPlace)
            std::memcpy(record->data.data(), buffer, record->data.size());
        record->props.recordStatus = RecordProps::Modified;
    }
    record->applied = false;
}

void TMemTable::modifyRecordAt(const Byte* buffer, const Byte* bookmark) {
    changeAt(buffer, bookmark, false);
}

void TMemTable::deleteRecordAt(const Byte* buffer, const Byte* bookmark) {
    changeAt(buffer, bookmark, true);
}

namespace {

// Writes one pending change to the source.
void applyChange(TBaseTable& source, TMemTableRecord& record) {
    switch (record.props.recordStatus) {
    case RecordProps::Modified:
        source.setToBookmark(record.bookmark.data());
        source.prepareModify(1);
        source.modifyRecord(record.data.data(), true);
        return;
    case RecordProps::Inserted:
        source.appendRecord(record.data.data());
        return;
    case RecordProps::Deleted:
        source.setToBookmark(record.bookmark.data());
        source.deleteRecord(nullptr);
        return;
    default:
        return;
    }
}

} // namespace

// Returns false when the callback stops the applying.
bool TMemTable::applyOne(TBaseTable& source, TMemTableRecord& record,
                         const CursorCallback* callback, std::exception_ptr& firstRefusal) {
    DelayedUpdateInfo info{record.props.recordStatus, record.data.data(), nullptr, 0};
    std::vector<Byte> old;
    if (callback && record.props.recordStatus != RecordProps::Inserted) {
        // The source keeps the buffer of its last read: it gets its own back.
        Byte* kept = source.recordBuffer();
        old.assign(source.recordBufferSize(), 0);
        source.setToBookmark(record.bookmark.data());
        source.getRecord(LockType::None, old.data(), nullptr);
        source.setRecordBuffer(kept);
        info.oldRecord = old.data();
    }
    auto ask = [&] { return callback ? callback->function(callback->clientData, &info) : 0; };
    std::exception_ptr refusal;
    for (std::int32_t action = ask();; action = ask()) {
        switch (action) {
        case delayedupdate::Skip:
            return true;
        case delayedupdate::Abort:
            return false;
        case delayedupdate::Applied:
            record.applied = true;
            return true;
        case delayedupdate::Apply:
        case delayedupdate::Retry:
            if (!refusal || action == delayedupdate::Retry)
                break;
            [[fallthrough]];
        default:
            // A refusal the callback lets stand; before any, the change stays pending.
            if (refusal && !firstRefusal)
                firstRefusal = refusal;
            return true;
        }
        try {
            applyChange(source, record);
            record.applied = true;
            return true;
        } catch (const ETorvaneEngineError& error) {
            info.error = error.errorCode();
            refusal = std::current_exception();
            if (!callback) {
                if (!firstRefusal)
                    firstRefusal = refusal;
                return true;
            }
        }
    }
}

void TMemTable::applyUpdates(const CursorCallback* callback) {
    TBaseTable* source = checkHandle(source_);
    std::exception_ptr firstRefusal;
    for (int i = recordCount(); i >= 1; --i) {
        TMemTableRecord* record = recordAt(i);
        if (record->applied || record->props.recordStatus < RecordProps::Modified ||
            record->props.recordStatus > RecordProps::Deleted)
            continue;
        if (!applyOne(*source, *record, callback, firstRefusal))
            break;
    }
    if (firstRefusal)
        std::rethrow_exception(firstRefusal);
}

void TMemTable::emptyAll() {
    records_.freeAll();
    unordered_ = false;
    positionAt(0);
}

} // namespace accessdb
