#include "accessdb/engine/TBaseCacheTable.h"

#include "accessdb/engine/ETorvaneEngineError.h"

#include <cstring>

namespace accessdb {
namespace {

CursorProps propsOf(TBaseTable* source) {
    CursorProps props;
    try {
        source->getCursorProps(props);
    } catch (const ETorvaneEngineError&) {
        props = CursorProps{};
    }
    return props;
}

} // namespace

TBaseCacheTable::TBaseCacheTable(TBaseTable* source)
    : TBaseTable(checkHandle(source)->owner(), source->collection(), source->tableName(), "",
                 propsOf(source).openMode, propsOf(source).shareMode),
      source_(source), bookmarkBuffer_(source->bookmarkSize()) {
    pending_ = std::make_unique<TMemTable>(this, source_, source_->getFieldDescs(),
                                           source_->bookmarkSize(), source_->tableName(), nullptr);
}

TBaseCacheTable::~TBaseCacheTable() = default;

Byte* TBaseCacheTable::scratch() {
    scratch_.resize(std::max<std::size_t>(pending_->dataSize(), 1));
    return scratch_.data();
}

void TBaseCacheTable::getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                              std::uint16_t maxLen) {
    size = 0;
    switch (propId & 0xFFFF) {
    case ShowFlagsProp:
        size = 1;
        if (buffer)
            buffer[0] = showFlags_;
        return;
    case RawReadProp:
        size = 1;
        if (buffer)
            buffer[0] = rawRead_ ? 1 : 0;
        return;
    case PendingCountProp:
        size = 4;
        if (buffer)
            putU32(buffer, 0, static_cast<std::uint32_t>(pending_->recordCount()));
        return;
    default:
        source_->getProp(propId, buffer, size, maxLen);
    }
}

void TBaseCacheTable::setProp(std::uint32_t propId, std::uint32_t value) {
    switch (propId & 0xFFFF) {
    case ShowFlagsProp:
        showFlags_ = static_cast<std::uint8_t>(value);
        return;
    case RawReadProp:
        rawRead_ = value > 0;
        return;
    default:
        source_->setProp(propId, value);
    }
}

void TBaseCacheTable::checkProp(std::uint32_t propId, std::uint32_t flag) {
    source_->checkProp(propId, flag);
}

void TBaseCacheTable::getFieldDescByOffset(std::uint16_t offset1, std::uint16_t length,
                                           FieldDesc& descriptor) {
    source_->getFieldDescByOffset(offset1, length, descriptor);
}

int TBaseCacheTable::rangeSearchCond(bool inclusive, bool isStart) const {
    return source_->rangeSearchCond(inclusive, isStart);
}

void TBaseCacheTable::getRecordInfo(std::uint16_t& fieldCount, std::uint16_t& recordSize) {
    source_->getRecordInfo(fieldCount, recordSize);
}

void TBaseCacheTable::getFieldDescriptor(std::uint16_t fieldNumber, FieldDesc& descriptor) {
    source_->getFieldDescriptor(fieldNumber, descriptor);
}

void TBaseCacheTable::getFieldValue(TFieldCacheItem& item, Byte* record, bool& isBlank,
                                    Byte* dest) {
    source_->getFieldValue(item, record, isBlank, dest);
}

void TBaseCacheTable::putFieldValue(TFieldCacheItem& item, Byte* record, const Byte* source) {
    source_->putFieldValue(item, record, source);
}

void TBaseCacheTable::getRecordAtBookmark(const Byte* bookmark, LockType lock, Byte* buffer) {
    source_->getRecordAtBookmark(bookmark, lock, buffer);
}

const Byte* TBaseCacheTable::checkBookmark(const Byte* bookmark) {
    return source_->checkBookmark(bookmark);
}

int TBaseCacheTable::compareBookmarks(const Byte* bookmark1, const Byte* bookmark2) {
    return source_->compareBookmarks(bookmark1, bookmark2);
}

bool TBaseCacheTable::recordVisible(Byte* buffer, RecordProps* props) {
    source_->getBookmark(bookmarkBuffer_.data());
    bool found = true;
    try {
        pending_->setToBookmark(bookmarkBuffer_.data());
    } catch (const ETorvaneEngineError&) {
        found = false;
    }
    if (!pending_->isVisible(showFlags_, found))
        return false;
    if (!found) {
        if (props)
            *props = RecordProps{};
        return true;
    }
    if (!rawRead_) {
        TMemTableRecord* record = pending_->currentRecord();
        if (buffer)
            std::memcpy(buffer, record->data.data(), record->data.size());
        if (props)
            *props = record->props;
    }
    return true;
}

void TBaseCacheTable::setToRangeStart() {
    source_->setRecordBuffer(recordBuffer());
    source_->setToRangeStart();
    if (!recordVisible(scratch(), nullptr))
        getNextRecord(LockType::None, recordBuffer(), nullptr);
}

void TBaseCacheTable::setToRangeEnd() {
    source_->setRecordBuffer(recordBuffer());
    source_->setToRangeEnd();
    if (!recordVisible(scratch(), nullptr))
        getPriorRecord(LockType::None, recordBuffer(), nullptr);
}

void TBaseCacheTable::getNextRecord(LockType lock, Byte* buffer, RecordProps* props) {
    do {
        source_->getNextRecord(lock, buffer, props);
    } while (!recordVisible(buffer, props));
}

void TBaseCacheTable::getPriorRecord(LockType lock, Byte* buffer, RecordProps* props) {
    do {
        source_->getPriorRecord(lock, buffer, props);
    } while (!recordVisible(buffer, props));
}

void TBaseCacheTable::getRecord(LockType lock, Byte* buffer, RecordProps* props) {
    source_->getRecord(lock, buffer, props);
    if (!recordVisible(buffer, props))
        raiseEngineError(dbierr::NOCURRREC);
}

void TBaseCacheTable::getRecordForKey(bool directKey, std::uint16_t fieldCount,
                                      std::uint16_t length, const Byte* key, Byte* buffer) {
    source_->getRecordForKey(directKey, fieldCount, length, key, buffer);
}

void TBaseCacheTable::getVchkDesc(std::uint16_t number, Byte* descriptor) {
    source_->getVchkDesc(number, descriptor);
}

void TBaseCacheTable::readBlock(std::uint32_t& count, Byte* buffer) {
    source_->readBlock(count, buffer);
}

void TBaseCacheTable::writeBlock(std::uint32_t& count, Byte* buffer) {
    source_->writeBlock(count, buffer);
}

void TBaseCacheTable::getExactRecordCount(std::uint32_t& count) {
    source_->getExactRecordCount(count);
}

void TBaseCacheTable::getSequencePosition(std::uint32_t& position) {
    source_->getSequencePosition(position);
}

void TBaseCacheTable::insertRecord(LockType lock, Byte* buffer) {
    pending_->insertRecord(lock, buffer);
}

void TBaseCacheTable::appendRecord(Byte* buffer) {
    // Kept as an insert, so that applying writes it.
    checkParam(buffer);
    pending_->addRecord(buffer, nullptr)->props.recordStatus = RecordProps::Inserted;
}

void TBaseCacheTable::modifyRecord(Byte* buffer, bool) {
    source_->getBookmark(bookmarkBuffer_.data());
    pending_->modifyRecordAt(buffer, bookmarkBuffer_.data());
}

void TBaseCacheTable::deleteRecord(Byte* buffer) {
    source_->getBookmark(bookmarkBuffer_.data());
    // A delete shown later (show flags with bit 2) shows the record it removed.
    if (!buffer) {
        buffer = scratch();
        source_->getRecord(LockType::None, buffer, nullptr);
    }
    pending_->deleteRecordAt(buffer, bookmarkBuffer_.data());
}

void TBaseCacheTable::setRange(bool keyItself, std::uint16_t fields1, std::uint16_t length1,
                               const Byte* key1, bool inclusive1, std::uint16_t fields2,
                               std::uint16_t length2, const Byte* key2, bool inclusive2) {
    source_->setRange(keyItself, fields1, length1, key1, inclusive1, fields2, length2, key2,
                      inclusive2);
}

void TBaseCacheTable::compareKeys(const Byte* key1, const Byte* key2, int& result,
                                  std::uint16_t fieldCount, std::uint16_t length) {
    source_->compareKeys(key1, key2, result, fieldCount, length);
}

void TBaseCacheTable::switchToIndex(const std::string&, const std::string&, std::uint16_t, bool) {
    raiseEngineError(dbierr::NOSUCHINDEX);
}

void TBaseCacheTable::setToKey(int searchCond, bool keyItself, Byte* record, const Byte* key,
                               std::uint16_t length, std::uint16_t fieldCount) {
    source_->setToKey(searchCond, keyItself, record, key, length, fieldCount);
}

void TBaseCacheTable::extractPartialKey(const Byte* record, Byte* key, std::uint16_t fieldCount,
                                        std::uint16_t length) {
    source_->extractPartialKey(record, key, fieldCount, length);
}

void TBaseCacheTable::getIndexDesc(std::uint16_t indexId, IndexDesc& descriptor) {
    source_->getIndexDesc(indexId, descriptor);
}

void TBaseCacheTable::getIndexDescs(std::vector<IndexDesc>& descriptors) {
    source_->getIndexDescs(descriptors);
}

void TBaseCacheTable::openBlob(Byte* record, std::uint16_t fieldNumber, int openMode) {
    source_->openBlob(record, fieldNumber, openMode);
}

void TBaseCacheTable::getBlobSize(Byte* record, std::uint16_t fieldNumber, std::uint32_t& size) {
    source_->getBlobSize(record, fieldNumber, size);
}

void TBaseCacheTable::getBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t offset,
                              std::uint32_t length, Byte* dest, std::uint32_t& read) {
    source_->getBlob(record, fieldNumber, offset, length, dest, read);
}

void TBaseCacheTable::putBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t offset,
                              std::uint32_t length, const Byte* source) {
    source_->putBlob(record, fieldNumber, offset, length, source);
}

void TBaseCacheTable::truncateBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t length) {
    source_->truncateBlob(record, fieldNumber, length);
}

void TBaseCacheTable::freeBlob(Byte* record, std::uint16_t fieldNumber) {
    source_->freeBlob(record, fieldNumber);
}

void TBaseCacheTable::getField(std::uint16_t fieldNumber, Byte* record, Byte* dest, bool& isBlank) {
    source_->getField(fieldNumber, record, dest, isBlank);
}

void TBaseCacheTable::putField(std::uint16_t fieldNumber, Byte* record, const Byte* source) {
    source_->putField(fieldNumber, record, source);
}

void TBaseCacheTable::verifyField(std::uint16_t fieldNumber, Byte* record, bool& isBlank) {
    source_->verifyField(fieldNumber, record, isBlank);
}

TFilterListItem* TBaseCacheTable::addFilter(std::uintptr_t clientData, std::uint16_t priority,
                                            bool canAbort, std::span<const Byte> expression,
                                            FilterCallback callback) {
    return source_->addFilter(clientData, priority, canAbort, expression, callback);
}

void TBaseCacheTable::deactivateFilter(TFilterListItem* filter) {
    source_->deactivateFilter(filter);
}

void TBaseCacheTable::getFilterInfo(TFilterListItem* filter, FilterInfo& info) {
    source_->getFilterInfo(filter, info);
}

TBaseTable* TBaseCacheTable::cloneCursor(bool readOnly, bool uniDirectional) {
    return source_->cloneCursor(readOnly, uniDirectional);
}

TBaseCacheTable* TBaseCacheTable::beginDelayedUpdates() {
    raiseNotSupported(9074);
}

void TBaseCacheTable::endDelayedUpdates(TBaseTable*& cursor) {
    cursor = source_;
    delete this;
}

void TBaseCacheTable::applyDelayedUpdates(int kind) {
    switch (kind) {
    case 0:
        pending_->emptyAll();
        return;
    case 1:
        pending_->emptyTableExclusive();
        return;
    case 2:
        try {
            source_->getBookmark(bookmarkBuffer_.data());
            pending_->setToBookmark(bookmarkBuffer_.data());
            delete pending_->currentRecord();
        } catch (const ETorvaneEngineError&) {
        }
        return;
    case 3:
        pending_->applyUpdates(findCallBack(DelayedUpdateCallback));
        return;
    default:
        raiseEngineError(dbierr::INVALIDPARAM);
    }
}

TMemTable* TBaseCacheTable::pendingTable() {
    return checkHandle(pending_.get());
}

} // namespace accessdb
