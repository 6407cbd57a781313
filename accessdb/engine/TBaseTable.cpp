#include "accessdb/engine/TBaseTable.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TBaseCacheTable.h"
#include "accessdb/engine/TBaseDatabase.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace accessdb {
namespace {

template <typename T>
int order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The sign of b against a, by integer width.
int compareSigned(const Byte* a, const Byte* b, std::size_t length) {
    switch (length) {
    case 1:
        return order(load<std::int8_t>(a), load<std::int8_t>(b)) * -1;
    case 2:
        return order(load<std::int16_t>(a), load<std::int16_t>(b)) * -1;
    default:
        return 0;
    }
}

int compareUnsigned(const Byte* a, const Byte* b, std::size_t length) {
    switch (length) {
    case 1:
        return order(load<std::uint8_t>(a), load<std::uint8_t>(b)) * -1;
    case 2:
        return order(load<std::uint16_t>(a), load<std::uint16_t>(b)) * -1;
    default:
        return 0;
    }
}

bool nonZero(const Byte* p, std::size_t length) {
    switch (length) {
    case 1:
        return load<std::uint8_t>(p) != 0;
    case 2:
        return load<std::uint16_t>(p) != 0;
    default:
        return load<std::uint32_t>(p) != 0;
    }
}

int compareText(const Byte* a, const Byte* b, bool caseInsensitive, std::size_t length) {
    auto* sa = reinterpret_cast<const char*>(a);
    auto* sb = reinterpret_cast<const char*>(b);
    int r = caseInsensitive ? ::strncasecmp(sb, sa, length) : std::strncmp(sb, sa, length);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

} // namespace

int compareFieldValues(std::uint16_t type, const Byte* a, const Byte* b, bool caseInsensitive,
                       std::size_t length) {
    switch (type) {
    case fldtype::ZSTRING:
        return compareText(a, b, caseInsensitive, length);
    case fldtype::BOOL:
        if (length != 1 && length != 2 && length != 4)
            return 0;
        return nonZero(a, length) == nonZero(b, length) ? 0 : 1;
    case fldtype::INT16:
        return compareSigned(a, b, length);
    case fldtype::UINT16:
        return compareUnsigned(a, b, length);
    case fldtype::INT32:
        return order(load<std::int32_t>(b), load<std::int32_t>(a));
    case fldtype::FLOAT:
        return order(load<double>(b), load<double>(a));
    case fldtype::TIMESTAMP:
        return order(load<std::int64_t>(b), load<std::int64_t>(a));
    case fldtype::UINT32:
        return order(load<std::uint32_t>(b), load<std::uint32_t>(a));
    default:
        return compareBytes(b, a, length);
    }
}

TBaseTable::TBaseTable(TBapiListItem* owner, TTorvaneCollection* collection,
                       const std::string& tableName, const std::string& openParam,
                       std::uint32_t openMode, std::uint32_t shareMode)
    : TBapiListItem(owner, collection), openParam_(leftChars(openParam, 260)), openMode_(openMode),
      shareMode_(shareMode), fieldCache_(this) {
    TBaseTable::setTableName(tableName);
}

TBaseTable::~TBaseTable() {
    // Filters point back at the cursor: they go before the rest of it.
    filters_.freeAll();
}

void TBaseTable::getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                         std::uint16_t maxLen) {
    size = 0;
    switch (propId & 0xFFFF) {
    case 0:
        size = 2;
        if (buffer)
            putU16(buffer, 0, 20);
        return;
    case 1:
        return;
    case 5:
        size = 4;
        if (buffer)
            putU32(buffer, 0, 0);
        return;
    default:
        TBapiListItem::getProp(propId, buffer, size, maxLen);
    }
}

void TBaseTable::setProp(std::uint32_t propId, std::uint32_t) {
    if ((propId & 0xFFFF) == 20)
        positionState_ = PositionState::OnCrack;
}

void TBaseTable::checkProp(std::uint32_t propId, std::uint32_t flag) {
    std::uint32_t id = propId & 0xFFFF;
    if ((id == 0 || id == 1) && flag == 0)
        raiseEngineError(dbierr::NOTSUPPORTED);
}

void TBaseTable::setTableName(const std::string& name) {
    tableName_ = leftChars(name, 260);
}

void TBaseTable::setSourceName(const std::string& name) {
    sourceName_ = leftChars(trimBlanks(name), 255);
}

std::uint16_t TBaseTable::recordSize() {
    if (fieldCache_.count() == 0)
        return 0;
    std::uint16_t fields = 0;
    std::uint16_t size = 0;
    getRecordInfo(fields, size);
    return size;
}

std::uint16_t TBaseTable::recordBufferSize() {
    std::size_t size = recordSize();
    if (hasNullIndicators())
        size += 8 * static_cast<std::size_t>(fieldCache_.count()) + 1;
    return checked16(size);
}

void TBaseTable::getFieldDescByOffset(std::uint16_t offset1, std::uint16_t length,
                                      FieldDesc& descriptor) {
    TFieldCacheItem* match = nullptr;
    for (int i = 1; i <= fieldCache_.count(); ++i) {
        TFieldCacheItem& item = fieldCache_.items(i);
        if (item.desc().offset + 1 != offset1)
            continue;
        match = &item;
        if (item.desc().length == length)
            break;
    }
    if (!match)
        raiseEngineErrorText(dbierr::INVALIDRECSTRUCT, "Table: " + tableName());
    descriptor = match->desc();
}

int TBaseTable::rangeSearchCond(bool inclusive, bool isStart) const {
    if (isStart)
        return inclusive ? searchcond::Ge : searchcond::Gt;
    return inclusive ? searchcond::Le : searchcond::Lt;
}

void TBaseTable::getRecordInfo(std::uint16_t& fieldCount, std::uint16_t& size) {
    fieldCount = checked16(static_cast<std::size_t>(fieldCache_.count()));
    if (fieldCount == 0)
        raiseEngineError(dbierr::INVALIDRECSTRUCT);
    if (!maxFieldEndKnown_) {
        std::size_t end = 0;
        for (int i = 1; i <= fieldCache_.count(); ++i) {
            const FieldDesc& d = fieldCache_.items(i).desc();
            end = std::max<std::size_t>(end, std::size_t{d.offset} + d.length);
        }
        maxFieldEnd_ = checked16(end);
        maxFieldEndKnown_ = true;
    }
    size = maxFieldEnd_;
}

void TBaseTable::getFieldDescriptor(std::uint16_t, FieldDesc&) {
    raiseNotSupported(9060);
}

std::vector<FieldDesc> TBaseTable::getFieldDescs() {
    std::vector<FieldDesc> descs;
    for (int i = 1; i <= fieldCache_.count(); ++i)
        descs.push_back(fieldCache_.items(i).desc());
    return descs;
}

void TBaseTable::getCursorProps(CursorProps& props) {
    props = CursorProps{};
    std::uint16_t fields = 0;
    std::uint16_t size = 0;
    getRecordInfo(fields, size);
    props.fieldCount = fields;
    props.recordSize = size;
    props.recordBufferSize = hasNullIndicators() ? recordBufferSize() : size;
    props.keySize = keySize_;
    props.bookmarkSize = bookmarkSize();
    props.bookmarkStable = shareMode_ == 1 ? -1 : 0;
    props.openMode = openMode_;
    props.shareMode = shareMode_;
    props.seqNumbers = -1;
    props.active = active_ ? -1 : 0;
    props.rights = 255;
    props.filterCount = checked16(static_cast<std::size_t>(filters_.count()));
}

void TBaseTable::moveFirst() {
    raiseBOF();
}

void TBaseTable::moveLast() {
    raiseEOF();
}

void TBaseTable::moveNext() {
    raiseEOF();
}

void TBaseTable::movePrior() {
    raiseBOF();
}

void TBaseTable::translateFieldOut(std::uint16_t, std::uint16_t, bool&, Byte*, const Byte*,
                                   std::uint16_t, std::uint16_t) {}

void TBaseTable::translateFieldIn(std::uint16_t, std::uint16_t, Byte*, const Byte*, std::uint16_t,
                                  std::uint16_t) {}

void TBaseTable::getFieldValue(TFieldCacheItem& item, Byte*, bool& isBlank, Byte* dest) {
    isBlank = item.isNull();
    if (isBlank || !dest)
        return;
    translateFieldOut(item.localType(), item.localSize(), isBlank, dest, item.fieldData(),
                      item.desc().length, item.desc().type);
}

void TBaseTable::putFieldValue(TFieldCacheItem& item, Byte*, const Byte* source) {
    translateFieldIn(item.localType(), item.localSize(), item.fieldData(), source,
                     item.desc().length, item.desc().type);
}

void TBaseTable::openCursor() {
    positionState_ = PositionState::NoPosition;
}

void TBaseTable::closeCursor() {
    positionState_ = PositionState::Closed;
}

void TBaseTable::setToBegin() {
    positionState_ = PositionState::AtBeginning;
}

void TBaseTable::setToEnd() {
    positionState_ = PositionState::AtEnd;
}

void TBaseTable::setToCursor(TBaseTable* destination) {
    std::vector<Byte> bookmark(bookmarkSize());
    getBookmark(bookmark.data());
    checkParam(destination)->setToBookmark(bookmark.data());
}

void TBaseTable::getBookmark(Byte*) {
    raiseNotSupported(9040);
}

void TBaseTable::setToBookmark(const Byte*) {
    raiseNotSupported(9041);
}

void TBaseTable::getRecordAtBookmark(const Byte*, LockType, Byte*) {
    raiseNotSupported(9073);
}

int TBaseTable::compareBookmarks(const Byte* bookmark1, const Byte* bookmark2) {
    checkParam(bookmark1);
    checkParam(bookmark2);
    int result = 0;
    compareKeys(bookmark1, bookmark2, result, 0, 0);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

void TBaseTable::setToRangeStart() {
    if (!rangeStart_.isSet)
        return moveFirst();
    setToKey(rangeSearchCond(rangeStart_.inclusive, true), rangeStart_.keyItself, recordBuffer_,
             rangeStart_.key, rangeStart_.keyLength, rangeStart_.fieldCount);
}

void TBaseTable::setToRangeEnd() {
    if (!rangeEnd_.isSet)
        return moveLast();
    setToKey(rangeSearchCond(rangeEnd_.inclusive, false), rangeEnd_.keyItself, recordBuffer_,
             rangeEnd_.key, rangeEnd_.keyLength, rangeEnd_.fieldCount);
}

void TBaseTable::getRecordProps(RecordProps*) {}

Byte* TBaseTable::walkBuffer(Byte* buffer) {
    // Ranges and filters look at the record, so a walk without a buffer reads into one of
    // the cursor's own.
    if (buffer || (!filtered_ && !hasRange()))
        return buffer;
    scratchRecord_.resize(std::max<std::size_t>(recordBufferSize(), 1));
    return scratchRecord_.data();
}

void TBaseTable::getNextRecord(LockType lock, Byte* buffer, RecordProps* props) {
    stepRecord(false, lock, buffer, props);
}

void TBaseTable::getPriorRecord(LockType lock, Byte* buffer, RecordProps* props) {
    stepRecord(true, lock, buffer, props);
}

void TBaseTable::stepRecord(bool backward, LockType lock, Byte* buffer, RecordProps* props) {
    lastMoveBackward_ = backward;
    Byte* record = walkBuffer(buffer);
    setRecordBuffer(record);
    PositionState walkStart = backward ? PositionState::AtEnd : PositionState::AtBeginning;
    if (positionState_ == PositionState::NoPosition || positionState_ == walkStart) {
        backward ? setToRangeEnd() : setToRangeStart();
    } else if (positionState_ == PositionState::OnRecord ||
               positionState_ == PositionState::OnCrack) {
        backward ? movePrior() : moveNext();
    } else {
        backward ? raiseBOF() : raiseEOF();
    }
    applyFilters(record);
    // Standing on the record before it is locked: the lock reads the current record.
    positionState_ = PositionState::OnRecord;
    if (lock != LockType::None)
        getRecord(lock, buffer, props);
    else
        getRecordProps(props);
}

void TBaseTable::applyFilters(Byte* buffer) {
    if (buffer)
        checkRange(buffer);
    if (!filtered_)
        return;
    while (!recordPasses(buffer)) {
        if (lastMoveBackward_)
            movePrior();
        else
            moveNext();
        if (buffer)
            checkRange(buffer);
    }
}

bool TBaseTable::recordPasses(Byte* buffer) {
    for (TBapiListItem* item : filters_.items()) {
        auto* filter = static_cast<TFilterListItem*>(item);
        if (filter->active() && !filter->evaluate(buffer))
            return false;
    }
    return true;
}

void TBaseTable::readCurrentRecord(LockType lock, Byte* buffer) {
    std::vector<Byte> bookmark(bookmarkSize());
    getBookmark(bookmark.data());
    getRecordAtBookmark(bookmark.data(), lock, buffer);
}

void TBaseTable::getRecord(LockType lock, Byte* buffer, RecordProps* props) {
    setRecordBuffer(buffer);
    switch (positionState_) {
    case PositionState::OnRecord:
        try {
            readCurrentRecord(lock, buffer);
            applyFilters(buffer);
        } catch (const ETorvaneEngineError&) {
            if (!rereadRequested_) {
                if (lock == LockType::Write)
                    relRecordLock(false);
                throw;
            }
            rereadRequested_ = false;
            positionState_ = PositionState::NoPosition;
            getNextRecord(lock, buffer, props);
        }
        getRecordProps(props);
        return;
    case PositionState::AtBeginning:
        raiseEOF();
    case PositionState::AtEnd:
        raiseBOF();
    case PositionState::OnCrack:
        try {
            getNextRecord(lock, buffer, props);
        } catch (const ETorvaneEngineError&) {
            try {
                getPriorRecord(lock, buffer, props);
            } catch (const ETorvaneEngineError&) {
                positionState_ = PositionState::NoPosition;
                getNextRecord(lock, buffer, props);
            }
        }
        return;
    default:
        raiseEngineError(dbierr::NOCURRREC);
    }
}

void TBaseTable::getRelativeRecord(std::int32_t offset, LockType lock, RecordProps* props,
                                   Byte* buffer) {
    if (offset == 0)
        raiseEngineError(dbierr::INVALIDPARAM);
    std::int64_t moves = offset < 0 ? -std::int64_t{offset} : offset;
    for (std::int64_t i = 1; i <= moves; ++i) {
        bool last = i == moves;
        LockType stepLock = last ? lock : LockType::None;
        RecordProps* stepProps = last ? props : nullptr;
        if (offset > 0)
            getNextRecord(stepLock, buffer, stepProps);
        else
            getPriorRecord(stepLock, buffer, stepProps);
    }
}

void TBaseTable::getRecordForKey(bool, std::uint16_t, std::uint16_t, const Byte*, Byte*) {
    raiseEngineError(dbierr::INVALIDHNDL);
}

void TBaseTable::getVchkDesc(std::uint16_t, Byte*) {
    raiseNotSupported(9042);
}

void TBaseTable::readBlock(std::uint32_t& count, Byte* buffer) {
    std::uint32_t requested = count;
    count = 0;
    checkParam(buffer);
    std::size_t slot = recordBufferSize();
    std::size_t offset = 0;
    try {
        while (count < requested) {
            if (offset >= 0xFFFF)
                throw ERangeError();
            getNextRecord(LockType::None, buffer + offset, nullptr);
            ++count;
            offset += slot;
        }
    } catch (const ETorvaneBoundryError&) {
    }
}

void TBaseTable::writeBlock(std::uint32_t& count, Byte* buffer) {
    checkParam(buffer);
    std::size_t slot = recordBufferSize();
    for (std::uint32_t i = 0; i < count; ++i)
        insertRecord(LockType::None, buffer + i * slot);
}

void TBaseTable::getRecordCount(std::uint32_t& count) {
    count = 0;
    std::vector<Byte> record(std::max<std::size_t>(recordBufferSize(), 1));
    std::vector<Byte> bookmark(bookmarkSize());
    bool marked = false;
    try {
        getBookmark(bookmark.data());
        marked = true;
    } catch (const ETorvaneEngineError&) {
    }
    setToBegin();
    try {
        for (;;) {
            getNextRecord(LockType::None, record.data(), nullptr);
            if (++count % 16 == 0)
                engineProcessMessages(*this);
        }
    } catch (const ETorvaneBoundryError&) {
    }
    if (marked)
        setToBookmark(bookmark.data());
    else
        setToBegin();
}

void TBaseTable::getExactRecordCount(std::uint32_t& count) {
    getRecordCount(count);
}

void TBaseTable::forceReread() {
    rereadRequested_ = true;
}

void TBaseTable::forceRecordReread(Byte* buffer) {
    forceReread();
    getRecord(LockType::None, buffer, nullptr);
}

void TBaseTable::relRecordLock(bool) {
    releaseLocks();
}

void TBaseTable::lockRecord() {
    raiseNotSupported(9046);
}

void TBaseTable::getSequencePosition(std::uint32_t&) {
    raiseNotSupported(9048);
}

void TBaseTable::setToSeqNo(std::uint32_t) {
    raiseNotSupported(9049);
}

void TBaseTable::initRecord(Byte* buffer) {
    checkParam(buffer);
    std::memset(buffer, 0, recordBufferSize());
    if (hasNullIndicators()) {
        for (int i = 1; i <= fieldCache_.count(); ++i) {
            TFieldCacheItem& item = fieldCache_.items(i);
            item.setRecordBuffer(buffer);
            item.setNull(true);
            item.setChanged(false);
        }
    }
    setInitRecordBuffer(buffer);
}

void TBaseTable::insertRecord(LockType, Byte*) {}

void TBaseTable::appendRecord(Byte* buffer) {
    insertRecord(LockType::None, buffer);
}

void TBaseTable::modifyRecord(Byte*, bool) {}

void TBaseTable::deleteRecord(Byte*) {}

void TBaseTable::undeleteRecord() {
    raiseNotSupported(9047);
}

void TBaseTable::emptyTable() {
    for (int pass = 0; pass < 5; ++pass) {
        try {
            for (;;) {
                setToRangeStart();
                deleteRecord(nullptr);
                engineProcessMessages(*this);
            }
        } catch (const ETorvaneEngineError&) {
        }
        std::uint32_t remaining = 0;
        getRecordCount(remaining);
        if (remaining == 0)
            break;
    }
    setToBegin();
}

void TBaseTable::emptyTableExclusive() {
    bool wasClosed = positionState_ == PositionState::Closed;
    bool wasExclusive = shareMode_ == 1;
    std::uint32_t savedShareMode = shareMode_;
    bool reopened = wasClosed || !wasExclusive;
    if (reopened) {
        closeCursor();
        shareMode_ = 1;
        openCursor();
    }
    CursorProps props;
    getCursorProps(props);
    auto restore = [&] {
        if (!reopened)
            return;
        shareMode_ = savedShareMode;
        closeCursor();
        if (!wasClosed) {
            openCursor();
            getCursorProps(props);
        }
    };
    try {
        emptyTable();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TBaseTable::fillBound(RangeBound& bound, bool keyItself, std::uint16_t fields,
                           std::uint16_t length, const Byte* key, bool inclusive) {
    bound.keyItself = keyItself;
    bound.isSet = key != nullptr;
    bound.fieldCount = fields;
    bound.keyLength = length;
    if (keyItself) {
        bound.key = key;
    } else {
        bound.buffer.fill(0);
        if (key)
            std::memcpy(bound.buffer.data(), key, std::min<std::size_t>(keySize_, 256));
        bound.key = bound.buffer.data();
    }
    if (bound.isSet && fields == 0 && length == 0) {
        std::uint16_t count = keyFieldCount_;
        std::size_t offset = 0;
        for (std::size_t k = 0; k < keyFieldCount_; ++k) {
            TFieldCacheItem& item = fieldCache_.items(keyFields_[k]);
            if (keyFieldBlank(bound, k, offset))
                --count;
            offset += item.localSize();
        }
        bound.fieldCount = count;
        if (count == 0)
            bound.isSet = false;
    }
    bound.inclusive = inclusive;
    bound.empty = bound.fieldCount == 0 && bound.keyLength == 0;
}

bool TBaseTable::keyFieldBlank(const RangeBound& bound, std::size_t keyIndex,
                               std::size_t keyOffset) {
    TFieldCacheItem& item = fieldCache_.items(keyFields_[keyIndex]);
    if (!bound.keyItself) {
        if (keyOffset + item.localSize() > bound.buffer.size())
            return true;
        return isAllZero(bound.key + keyOffset, item.localSize());
    }
    const Byte* data = bound.key + item.desc().offset;
    if (item.desc().nullOffset)
        return getI16(bound.key, item.desc().nullOffset) == -1;
    return isAllZero(data, item.desc().length);
}

void TBaseTable::setRange(bool keyItself, std::uint16_t fields1, std::uint16_t length1,
                          const Byte* key1, bool inclusive1, std::uint16_t fields2,
                          std::uint16_t length2, const Byte* key2, bool inclusive2) {
    resetRange();
    fillBound(rangeStart_, keyItself, fields1, length1, key1, inclusive1);
    fillBound(rangeEnd_, keyItself, fields2, length2, key2, inclusive2);
    // A bound given as a record is kept as its key, so that checks compare key with key.
    for (RangeBound* bound : {&rangeStart_, &rangeEnd_}) {
        if (!bound->isSet || !bound->keyItself)
            continue;
        try {
            std::array<Byte, 256> key{};
            extractPartialKey(bound->key, key.data(), bound->fieldCount, bound->keyLength);
            bound->buffer = key;
            bound->key = bound->buffer.data();
            bound->keyItself = false;
        } catch (const ETorvaneEngineError&) {
            bound->isSet = false;
        }
    }
    rangeSame_ = rangeStart_.isSet && rangeEnd_.isSet &&
                 rangeStart_.fieldCount == rangeEnd_.fieldCount &&
                 rangeStart_.keyLength == rangeEnd_.keyLength;
}

void TBaseTable::resetRange() {
    rangeStart_ = RangeBound{};
    rangeEnd_ = RangeBound{};
    rangeSame_ = false;
}

void TBaseTable::checkRange(const Byte* buffer) {
    if (!hasRange())
        return;
    std::array<Byte, 256> key{};
    int result = 0;
    if (rangeStart_.isSet) {
        extractPartialKey(buffer, key.data(), rangeStart_.fieldCount, rangeStart_.keyLength);
        compareKeys(key.data(), rangeStart_.key, result, rangeStart_.fieldCount,
                    rangeStart_.keyLength);
        if (result < 0 || (result == 0 && !rangeStart_.inclusive))
            raiseBOF();
    }
    if (rangeEnd_.isSet) {
        if (!rangeSame_)
            extractPartialKey(buffer, key.data(), rangeEnd_.fieldCount, rangeEnd_.keyLength);
        compareKeys(key.data(), rangeEnd_.key, result, rangeEnd_.fieldCount, rangeEnd_.keyLength);
        if (result > 0 || (result == 0 && !rangeEnd_.inclusive))
            raiseEOF();
    }
}

void TBaseTable::compareKeys(const Byte* key1, const Byte* key2, int& result,
                             std::uint16_t fieldCount, std::uint16_t length) {
    result = 0;
    checkParam(key1);
    std::array<Byte, 256> current;
    if (!key2) {
        extractKey(checkParam(recordBuffer_), current.data());
        key2 = current.data();
    }
    // Whole fields first, then (with a partial length) one field compared over that length.
    std::size_t fields = fieldCount == 0 && length == 0 ? keyFieldCount_ : fieldCount;
    std::size_t total = fields + (length > 0 ? 1 : 0);
    if (total > 16)
        throw ERangeError();
    std::size_t offset = 0;
    for (std::size_t k = 0; k < total; ++k) {
        TFieldCacheItem& item = fieldCache_.items(keyFields_[k]);
        const KeyFieldInfo& info = keyInfo_[k];
        std::size_t size = info.overridePresent ? info.overrideLength : item.localSize();
        std::size_t compareLength = k == fields ? length : size;
        int r = compareFieldValues(item.desc().type, key2 + offset, key1 + offset,
                                   keyCaseInsensitive_, compareLength);
        if (r != 0) {
            result = info.descending ? -r : r;
            return;
        }
        offset += size;
    }
}

void TBaseTable::getIndexByFields(const std::string& text, std::uint16_t& indexNumber,
                                  std::string& name) {
    if (!containsText(text, ";")) {
        name = leftChars(text, 31);
        return;
    }
    std::vector<std::uint16_t> wanted;
    std::string list = truncateAtChar(text, '@');
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = std::min(list.find(';', start), list.size());
        std::string fieldName = trimBlanks(list.substr(start, end - start));
        if (!fieldName.empty()) {
            if (wanted.size() == 16)
                throw ERangeError();
            wanted.push_back(static_cast<std::uint16_t>(fieldCache_.indexOfName(fieldName)));
        }
        start = end + 1;
    }
    CursorProps props;
    getCursorProps(props);
    for (std::uint16_t id = 1; id <= props.indexCount; ++id) {
        IndexDesc desc;
        getIndexDesc(id, desc);
        if (desc.keyFieldCount != wanted.size())
            continue;
        if (std::equal(wanted.begin(), wanted.end(), desc.keyFields.begin())) {
            indexNumber = desc.indexId;
            name = leftChars(desc.name, 31);
            return;
        }
    }
    raiseEngineError(dbierr::INVALIDINDEXNAME);
}

void TBaseTable::switchToIndex(const std::string&, const std::string&, std::uint16_t, bool) {
    raiseNotSupported(9053);
}

void TBaseTable::setToKeyOrEnd(int mode, bool keyItself, std::uint16_t fieldCount,
                               std::uint16_t length, const Byte* key) {
    static constexpr int conditions[] = {searchcond::Eq, searchcond::Gt, searchcond::Ge};
    int condition = mode >= 0 && mode <= 2 ? conditions[mode] : searchcond::Eq;
    try {
        setToKey(condition, keyItself, recordBuffer_, key, length, fieldCount);
    } catch (const ETorvaneEngineError&) {
        if (mode == 0)
            throw;
        setToEnd();
        return;
    }
    lastMoveBackward_ = false;
    applyFilters(recordBuffer_);
}

void TBaseTable::setToKey(int, bool, Byte*, const Byte*, std::uint16_t, std::uint16_t) {
    raiseEngineError(dbierr::NA);
}

void TBaseTable::extractKey(const Byte* record, Byte* key) {
    extractPartialKey(record, key, 0, 0);
}

void TBaseTable::extractPartialKey(const Byte*, Byte*, std::uint16_t, std::uint16_t) {
    raiseEngineError(dbierr::NA);
}

void TBaseTable::getIndexDesc(std::uint16_t, IndexDesc& descriptor) {
    descriptor = IndexDesc{};
    raiseEngineError(dbierr::INVALIDHNDL);
}

void TBaseTable::getIndexDescs(std::vector<IndexDesc>& descriptors) {
    CursorProps props;
    getCursorProps(props);
    descriptors.assign(props.indexCount, IndexDesc{});
    indexDescsBusy_ = true;
    try {
        for (std::uint16_t i = 0; i < props.indexCount; ++i)
            getIndexDesc(static_cast<std::uint16_t>(i + 1), descriptors[i]);
    } catch (...) {
        indexDescsBusy_ = false;
        throw;
    }
    indexDescsBusy_ = false;
}

void TBaseTable::openBlob(Byte*, std::uint16_t, int) {
    raiseNotSupported(9061);
}

void TBaseTable::getBlobSize(Byte*, std::uint16_t, std::uint32_t&) {
    raiseNotSupported(9062);
}

void TBaseTable::getBlob(Byte*, std::uint16_t, std::uint32_t, std::uint32_t, Byte*,
                         std::uint32_t&) {
    raiseNotSupported(9063);
}

void TBaseTable::putBlob(Byte*, std::uint16_t, std::uint32_t, std::uint32_t, const Byte*) {
    raiseNotSupported(9064);
}

void TBaseTable::truncateBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t length) {
    putBlob(record, fieldNumber, length, 0, nullptr);
}

void TBaseTable::getField(std::uint16_t fieldNumber, Byte* record, Byte* dest, bool& isBlank) {
    checkParam(record);
    TFieldCacheItem& item = fieldCache_.items(fieldNumber);
    item.setRecordBuffer(record);
    if (dest) {
        getFieldValue(item, record, isBlank, dest);
    } else if (hasNullIndicators()) {
        isBlank = item.isNull();
    } else {
        std::vector<Byte> scratch(item.desc().length >= 256 ? item.desc().length + 1u : 256u);
        scratch.resize(std::max<std::size_t>(scratch.size(), item.localSize()));
        getFieldValue(item, record, isBlank, scratch.data());
    }
    item.setNull(isBlank);
}

void TBaseTable::putField(std::uint16_t fieldNumber, Byte* record, const Byte* source) {
    checkParam(record);
    TFieldCacheItem& item = fieldCache_.items(fieldNumber);
    item.setRecordBuffer(record);
    putFieldValue(item, record, source);
    item.setChanged(true);
    item.setNull(source == nullptr);
}

void TBaseTable::verifyField(std::uint16_t fieldNumber, Byte* record, bool& isBlank) {
    getField(fieldNumber, record, nullptr, isBlank);
}

TBaseTable* TBaseTable::cloneCursor(bool readOnly, bool uniDirectional) {
    auto* database = dynamic_cast<TBaseDatabase*>(owner());
    if (!database)
        raiseEngineError(dbierr::INVALIDPARAM);
    OpenTableArgs args;
    args.tableName = tableName();
    args.openMode = readOnly ? 1 : openMode_;
    args.shareMode = shareMode_;
    args.openParam = openParam_;
    args.uniDirectional = uniDirectional;
    return database->openTable(args);
}

TBaseCacheTable* TBaseTable::beginDelayedUpdates() {
    return new TBaseCacheTable(this);
}

void TBaseTable::endDelayedUpdates(TBaseTable*&) {
    raiseNotSupported(9056);
}

void TBaseTable::applyDelayedUpdates(int) {
    raiseNotSupported(9057);
}

TMemTable* TBaseTable::pendingTable() {
    raiseNotSupported(9058);
}

void TBaseTable::registerCallBack(const CursorCallback& callback) {
    std::erase_if(callbacks_, [&](const CursorCallback& c) { return c.type == callback.type; });
    if (callback.function)
        callbacks_.push_back(callback);
}

const CursorCallback* TBaseTable::findCallBack(int callbackType) const {
    for (const CursorCallback& callback : callbacks_)
        if (callback.type == callbackType)
            return &callback;
    return nullptr;
}

CursorCallback TBaseTable::getCallBack(int callbackType) const {
    const CursorCallback* callback = findCallBack(callbackType);
    if (!callback)
        raiseEngineError(dbierr::NOCALLBACK);
    return *callback;
}

void TBaseTable::updateFilterState() {
    filtered_ = false;
    for (TBapiListItem* item : filters_.items())
        if (static_cast<TFilterListItem*>(item)->active())
            filtered_ = true;
}

TFilterListItem* TBaseTable::addFilter(std::uintptr_t clientData, std::uint16_t priority,
                                       bool canAbort, std::span<const Byte> expression,
                                       FilterCallback callback) {
    auto* filter = new TFilterListItem(this, clientData, priority, canAbort, expression, callback);
    updateFilterState();
    return filter;
}

void TBaseTable::dropFilter(TFilterListItem* filter) {
    if (!filter) {
        filters_.freeAll();
        updateFilterState();
        return;
    }
    if (filters_.indexOf(filter) < 0)
        return;
    delete filter;
    updateFilterState();
}

void TBaseTable::activateFilter(TFilterListItem* filter) {
    if (!filter) {
        for (TBapiListItem* item : filters_.items())
            static_cast<TFilterListItem*>(item)->setActive(true);
    } else {
        if (filters_.indexOf(filter) < 0)
            raiseEngineError(dbierr::NOSUCHFILTER);
        filter->setActive(true);
    }
    updateFilterState();
}

void TBaseTable::deactivateFilter(TFilterListItem* filter) {
    if (!filter) {
        for (TBapiListItem* item : filters_.items())
            static_cast<TFilterListItem*>(item)->setActive(false);
        filtered_ = false;
        return;
    }
    if (filters_.indexOf(filter) < 0)
        raiseEngineError(dbierr::NOSUCHFILTER);
    if (filter->active()) {
        filter->setActive(false);
        updateFilterState();
    }
}

void TBaseTable::getFilterInfo(TFilterListItem* filter, FilterInfo& info) {
    info = FilterInfo{};
    if (!filter)
        filter = static_cast<TFilterListItem*>(filters_.at(0));
    int position = filter ? filters_.indexOf(filter) : -1;
    if (position < 0)
        return;
    filter->getInfo(static_cast<std::uint16_t>(position), info);
}

void TBaseTable::assignNullOffsets() {
    std::size_t base = recordSize();
    for (int i = 1; i <= fieldCache_.count(); ++i)
        fieldCache_.items(i).desc().nullOffset = checked16(base + 1 + 8 * std::size_t(i - 1));
}

void TBaseTable::setKeyFields(std::span<const std::uint16_t> fields, std::uint16_t keySize,
                              std::span<const KeyFieldInfo> info, bool caseInsensitive) {
    if (fields.size() > 16)
        throw ERangeError();
    keyFieldCount_ = static_cast<std::uint16_t>(fields.size());
    keyFields_.fill(0);
    keyInfo_.fill(KeyFieldInfo{});
    std::copy(fields.begin(), fields.end(), keyFields_.begin());
    std::copy_n(info.begin(), std::min(info.size(), fields.size()), keyInfo_.begin());
    keySize_ = keySize;
    keyCaseInsensitive_ = caseInsensitive;
}

} // namespace accessdb
