#include "accessdb/access/TAccessTable.h"

#include "accessdb/access/AccessFieldTypes.h"
#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TAccessFieldListTable.h"
#include "accessdb/access/TAccessIndexListTable.h"
#include "accessdb/access/TAccessLongBinaryBlob.h"
#include "accessdb/access/TAccessMemoBlob.h"
#include "accessdb/access/TAccessSession.h"
#include "accessdb/access/TDAOBase.h"
#include "accessdb/access/TDAOEngine.h"
#include "accessdb/classlib/Bcd.h"
#include "accessdb/engine/EngineText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace accessdb {
namespace {

namespace at = accesstype;

// Stores into a field's place, never past its size.
template <typename T>
void store(Byte* place, std::uint16_t size, T value) {
    std::memcpy(place, &value, std::min<std::size_t>(sizeof value, size));
}

std::vector<std::uint8_t> bookmarkBytes(const Byte* bookmark) {
    return {bookmark, bookmark + 4};
}

} // namespace

TAccessTable::TAccessTable(TBapiListItem* database, TTorvaneCollection* cursors,
                           const std::string& tableName, std::uint32_t openMode,
                           std::uint32_t shareMode, TDAOBase* source, bool queryResult)
    : TAccessBaseTable(database, cursors, tableName, "", openMode, shareMode), fullName_(tableName),
      source_(source), queryResult_(queryResult) {
    if (!queryResult)
        setSourceName(tableName);
}

TAccessTable::~TAccessTable() {
    try {
        closeCursor();
    } catch (...) {
    }
}

int TAccessTable::optionsFor(std::uint32_t openMode, std::uint32_t shareMode) {
    if (shareMode == 1)
        return mdbengine::Recordset::denyWrite | mdbengine::Recordset::denyRead;
    if (openMode == 1)
        return mdbengine::Recordset::readOnly;
    return -1;
}

void TAccessTable::setTableName(const std::string& name) {
    fullName_ = name;
    TAccessBaseTable::setTableName(name);
}

std::uint16_t TAccessTable::recordSize() {
    if (recordSize_ == 0)
        recordSize_ = TAccessBaseTable::recordSize();
    return recordSize_;
}

void TAccessTable::checkOpen() const {
    if (!recordset_)
        raiseEngineError(dbierr::INVALIDHNDL);
}

// Opening and closing.

void TAccessTable::openCursor() {
    if (recordset_)
        return;
    recordset_ =
        checkHandle(source_)->openRecordset(fullName_, -1, optionsFor(openMode(), shareMode()));
    checkAccess(source_->lastResult());
    if (!recordset_->hasInterface()) {
        recordset_.reset();
        raiseEngineError(dbierr::INVALIDHNDL);
    }
    fields_ = recordset_->getFields();
    checkAccess(recordset_->lastResult());
    std::int16_t count = std::max<std::int16_t>(fields_->count(), 0);
    for (std::int16_t i = 0; i < count; ++i) {
        daoFields_.push_back(fields_->item(i));
        daoTypes_.push_back(daoFields_.back()->type());
        autoIncrement_.push_back(
            (daoFields_.back()->attributes() & TDAOField::autoIncrementAttribute) != 0);
    }
    // A table we could only read is refused read-write, so the caller opens it read-only.
    if (openMode() != 1 && !queryResult_ && !recordset_->updatable()) {
        closeCursor();
        raiseEngineErrorText(dbierr::TABLEREADONLY, fullName_);
    }
    setPositionState(PositionState::NoPosition);
}

void TAccessTable::closeCursor() {
    if (!recordset_) {
        setPositionState(PositionState::Closed);
        return;
    }
    freeAllBlobs();
    daoFields_.clear();
    daoTypes_.clear();
    autoIncrement_.clear();
    fields_.reset();
    editing_ = false;
    recordset_->close();
    HResult closed = recordset_->lastResult();
    recordset_.reset();
    // Closing writes what the table changed; a write that failed must not pass unseen.
    HResult idled = 0;
    if (TDAOEngine* engine = TAccessSession::sharedEngine()) {
        engine->idle(0);
        idled = engine->lastResult();
    }
    setPositionState(PositionState::Closed);
    checkAccess((closed & 0xFFFF) != 0 ? closed : idled);
}

void TAccessTable::buildFieldDescriptors() {
    fieldCache().clear();
    recordSize_ = 0;
    TAccessFieldListTable list(owner(), recordset_.get(), fullName_, this, nullptr, nullptr);
    std::vector<Byte> record(FieldDesc::Size);
    try {
        for (;;) {
            list.getNextRecord(LockType::None, record.data(), nullptr);
            FieldDesc desc = FieldDesc::unpack(record.data());
            fieldCache().add(desc.localSize, desc.localType, desc.fieldNumber, desc);
        }
    } catch (const ETorvaneBoundryError&) {
    }
    assignNullOffsets();
}

void TAccessTable::getFieldDescriptor(std::uint16_t fieldNumber, FieldDesc& descriptor) {
    checkOpen();
    TAccessFieldListTable list(owner(), recordset_.get(), fullName_, this, nullptr, nullptr);
    std::vector<Byte> record(FieldDesc::Size);
    for (std::uint16_t i = 0; i < fieldNumber; ++i)
        list.getNextRecord(LockType::None, record.data(), nullptr);
    descriptor = FieldDesc::unpack(record.data());
}

void TAccessTable::getCursorProps(CursorProps& props) {
    TAccessBaseTable::getCursorProps(props);
    props.tableName = leftChars(fullName_, 260);
    props.nameSize = 260;
    props.tableType = "ACCESS";
    if (recordset_ && !queryResult_) {
        auto indexes = recordset_->getIndexes();
        std::int16_t count = indexes->count();
        props.indexCount = (indexes->lastResult() & 0xFFFF) != 0 || count < 0
                               ? 0
                               : static_cast<std::uint16_t>(count);
    }
}

void TAccessTable::getRecordCount(std::uint32_t& count) {
    // DAO counts the table; only a range or a filter needs the records walked.
    if (hasRange() || filtered()) {
        TAccessBaseTable::getRecordCount(count);
        setRecordBuffer(nullptr);
        return;
    }
    checkOpen();
    std::int32_t records = recordset_->recordCount();
    checkAccess(recordset_->lastResult());
    count = static_cast<std::uint32_t>(std::max(records, 0));
}

// Moves.

void TAccessTable::moveFirst() {
    moveToEnd(&TDAORecordset::moveFirst, raiseEOF);
}

void TAccessTable::moveLast() {
    moveToEnd(&TDAORecordset::moveLast, raiseBOF);
}

void TAccessTable::moveNext() {
    moveOne(&TDAORecordset::moveNext, &TDAORecordset::eof, raiseEOF);
}

void TAccessTable::movePrior() {
    moveOne(&TDAORecordset::movePrevious, &TDAORecordset::bof, raiseBOF);
}

// An empty recordset has no current record at either end.
void TAccessTable::moveToEnd(RecordsetMove move, EndError raiseEmpty) {
    editing_ = false;
    checkOpen();
    (recordset_.get()->*move)();
    try {
        checkAccess(recordset_->lastResult());
    } catch (const EAccessEngineError& error) {
        if (error.errorCode() == dbierr::NOCURRREC)
            raiseEmpty();
        throw;
    }
    readRecord(recordBuffer());
}

// Stepping past the end is reported as the end, not as the recordset's own error.
void TAccessTable::moveOne(RecordsetMove move, RecordsetEnd atEnd, EndError raiseEnd) {
    editing_ = false;
    checkOpen();
    if ((recordset_.get()->*atEnd)())
        raiseEnd();
    (recordset_.get()->*move)();
    HResult moved = recordset_->lastResult();
    if ((recordset_.get()->*atEnd)())
        raiseEnd();
    checkAccess(moved);
    readRecord(recordBuffer());
}

// Reading the record buffer.

bool TAccessTable::readRecord(Byte* buffer) {
    if (!buffer || daoFields_.empty())
        return false;
    for (std::size_t i = 0; i < daoFields_.size(); ++i)
        readField(i, buffer, !editing_);
    return true;
}

void TAccessTable::readField(std::size_t index, Byte* buffer, bool markBlank) {
    TFieldCacheItem& item = fieldCache().items(static_cast<int>(index + 1));
    item.setRecordBuffer(buffer);
    Byte* place = item.fieldData();
    std::uint16_t size = item.localSize();
    std::memset(place, 0, size);
    TDAOField& field = *daoFields_[index];
    std::int16_t type = daoTypes_[index];
    bool blank = true;
    if (type == at::Memo || type == at::LongBinary) {
        std::int32_t length = field.fieldSize();
        std::vector<std::uint8_t> bookmark = daoBookmark();
        if (size >= at::BlobRecordSize) {
            putU32(place, 4, static_cast<std::uint32_t>(std::max(length, 0)));
            std::memcpy(place + 8, bookmark.data(), std::min<std::size_t>(bookmark.size(), 4));
        }
        blank = length <= 0;
    } else if (type == at::Decimal) {
        blank = !readDecimal(field, item, place);
    } else if (type == at::Boolean || type == at::Byte || type == at::Integer || type == at::Long ||
               type == at::Currency || type == at::Single || type == at::Double ||
               type == at::Date || type == at::Text) {
        Variant value = field.rawValue();
        blank = value.isNull() || value.isEmpty();
        switch (type) {
        case at::Boolean:
            store(place, size,
                  static_cast<std::int16_t>(
                      value.type() == Variant::Type::Boolean && value.booleanValue() ? -1 : 0));
            blank = false;
            break;
        case at::Byte:
            if (value.type() == Variant::Type::Byte)
                store(place, size, static_cast<std::uint8_t>(value.integerValue()));
            break;
        case at::Integer:
            if (value.type() == Variant::Type::Integer)
                store(place, size, static_cast<std::int16_t>(value.integerValue()));
            break;
        case at::Long:
            if (value.type() == Variant::Type::Long)
                store(place, size, static_cast<std::int32_t>(value.integerValue()));
            break;
        case at::Currency:
            if (value.type() == Variant::Type::Currency)
                store(place, size, value.integerValue());
            break;
        case at::Single:
            if (value.type() == Variant::Type::Single)
                store(place, size, static_cast<float>(value.realValue()));
            break;
        case at::Double:
            if (value.type() == Variant::Type::Double)
                store(place, size, value.realValue());
            break;
        case at::Date: {
            double date = value.type() == Variant::Type::Date ? value.realValue() : 0;
            store(place, size, at::timestampFromDate(date));
            blank = date == 0;
            break;
        }
        case at::Text:
            if (value.type() == Variant::Type::Text && size > 0)
                std::memcpy(place, value.stringValue().data(),
                            std::min<std::size_t>(value.stringValue().size(), size - 1u));
            break;
        default:
            break;
        }
    }
    if (markBlank) {
        item.setChanged(false);
        item.setNull(blank);
    }
}

// A Decimal is kept as the engine's binary-coded decimal of the field's precision and scale,
// which holds every value the field does. False when it is Null.
bool TAccessTable::readDecimal(TDAOField& field, TFieldCacheItem& item, Byte* place) {
    Variant value = field.rawValue();
    if (value.type() != Variant::Type::Decimal || item.localSize() < std::tuple_size_v<BcdBytes>)
        return false;
    std::optional<BcdBytes> bcd =
        bcdFromText(value.stringValue(), item.desc().units1, item.desc().units2);
    if (!bcd)
        return false;
    std::memcpy(place, bcd->data(), bcd->size());
    return true;
}

std::vector<std::uint8_t> TAccessTable::daoBookmark() {
    std::vector<std::uint8_t> bookmark = recordset_->bookmark();
    bookmark.resize(4, 0);
    return bookmark;
}

TDAOField& TAccessTable::daoField(std::uint16_t fieldNumber) const {
    if (fieldNumber < 1 || fieldNumber > daoFields_.size())
        raiseEngineError(dbierr::INVALIDRECSTRUCT);
    return *daoFields_[fieldNumber - 1u];
}

// Value conversions.

void TAccessTable::translateFieldOut(std::uint16_t localType, std::uint16_t localSize,
                                     bool& isBlank, Byte* dest, const Byte* fieldData,
                                     std::uint16_t, std::uint16_t) {
    switch (static_cast<std::int16_t>(localType)) {
    case at::Byte:
        store(dest, 2, static_cast<std::int16_t>(fieldData[0]));
        return;
    case at::Currency:
        store(dest, 8, static_cast<double>(load<std::int64_t>(fieldData)) / 10000.0);
        return;
    case at::Single:
        store(dest, 8, static_cast<double>(load<float>(fieldData)));
        return;
    case at::Text:
        if (isAllZero(fieldData, localSize)) {
            isBlank = true;
            return;
        }
        std::memcpy(dest, fieldData, localSize);
        return;
    case at::Memo:
        if (getU32(fieldData, 4) == 0)
            isBlank = true;
        std::memcpy(dest, fieldData, localSize);
        return;
    default:
        std::memcpy(dest, fieldData, localSize);
        return;
    }
}

void TAccessTable::translateFieldIn(std::uint16_t localType, std::uint16_t localSize,
                                    Byte* fieldData, const Byte* source, std::uint16_t,
                                    std::uint16_t storedType) {
    if (!source || storedType == fldtype::UNKNOWN || storedType == fldtype::BYTES)
        return;
    switch (static_cast<std::int16_t>(localType)) {
    case at::Byte: {
        // A byte holds 0 to 255; anything else is refused rather than cut to its low byte.
        std::int16_t value = load<std::int16_t>(source);
        if (value < 0 || value > 255)
            raiseAccessError(3349);
        fieldData[0] = static_cast<Byte>(value);
        return;
    }
    case at::Currency: {
        double scaled = std::nearbyint(load<double>(source) * 10000.0);
        if (!(std::fabs(scaled) < 9.2e18))
            raiseAccessError(3349);
        store(fieldData, localSize, static_cast<std::int64_t>(scaled));
        return;
    }
    case at::Single: {
        double value = load<double>(source);
        if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
            raiseAccessError(3349);
        store(fieldData, localSize, static_cast<float>(value));
        return;
    }
    default:
        std::memcpy(fieldData, source, localSize);
        return;
    }
}

// Bookmarks.

void TAccessTable::getBookmark(Byte* bookmark) {
    checkOpen();
    std::vector<std::uint8_t> bytes = recordset_->bookmark();
    checkAccess(recordset_->lastResult());
    bytes.resize(4, 0);
    std::memcpy(bookmark, bytes.data(), 4);
    std::memset(bookmark + 4, 0, KeyAreaSize);
    if (keyed())
        readKey(bookmark + 4);
}

// The current record's key, read from DAO field by field.
void TAccessTable::readKey(Byte* key) {
    scratch_.assign(std::max<std::size_t>(recordBufferSize(), 1), 0);
    for (std::uint16_t k = 0; k < keyFieldCount(); ++k)
        readField(currentIndex_.keyFields[k] - 1u, scratch_.data(), true);
    extractKey(scratch_.data(), key);
}

void TAccessTable::setToBookmark(const Byte* bookmark) {
    checkOpen();
    recordset_->setBookmark(bookmarkBytes(bookmark));
    try {
        checkAccess(recordset_->lastResult());
    } catch (const EAccessEngineError&) {
        // DAO lost the record (the index changed under it): go to its key instead.
        if (keyed())
            setToKeyOrEnd(2, false, 0, 0, bookmark + 4);
        return;
    }
    setOnRecord();
}

void TAccessTable::getRecordAtBookmark(const Byte* bookmark, LockType lock, Byte* buffer) {
    if (editing_) {
        readRecord(buffer);
        return;
    }
    setToBookmark(bookmark);
    if (lock != LockType::None)
        lockRecord();
    else
        readRecord(buffer);
}

int TAccessTable::compareBookmarks(const Byte* bookmark1, const Byte* bookmark2) {
    std::int32_t a = getI32(checkParam(bookmark1), 0);
    std::int32_t b = getI32(checkParam(bookmark2), 0);
    return a > b ? 1 : (a < b ? -1 : 0);
}

void TAccessTable::setToRangeStart() {
    try {
        TAccessBaseTable::setToRangeStart();
    } catch (const ETorvaneEngineError& error) {
        if (error.errorCode() == dbierr::RECNOTFOUND)
            raiseEOF();
        throw;
    }
}

void TAccessTable::setToRangeEnd() {
    try {
        TAccessBaseTable::setToRangeEnd();
    } catch (const ETorvaneEngineError& error) {
        if (error.errorCode() == dbierr::RECNOTFOUND)
            raiseBOF();
        throw;
    }
}

// Locks and positions.

void TAccessTable::relRecordLock(bool all) {
    if (all)
        return TAccessBaseTable::relRecordLock(true);
    editing_ = false;
    if (recordset_)
        recordset_->cancelUpdate();
}

void TAccessTable::lockRecord() {
    checkOpen();
    editing_ = false;
    recordset_->edit();
    checkAccess(recordset_->lastResult());
    editing_ = true;
}

void TAccessTable::getSequencePosition(std::uint32_t& position) {
    checkOpen();
    std::int32_t value = recordset_->absolutePosition();
    checkAccess(recordset_->lastResult());
    position = static_cast<std::uint32_t>(value);
}

void TAccessTable::setToSeqNo(std::uint32_t seqNo) {
    checkOpen();
    recordset_->setAbsolutePosition(static_cast<std::int32_t>(seqNo));
    checkAccess(recordset_->lastResult());
    setOnRecord();
}

// Changes.

void TAccessTable::insertRecord(LockType, Byte* buffer) {
    checkOpen();
    recordset_->addNew();
    checkAccess(recordset_->lastResult());
    try {
        writeChangedFields(checkParam(buffer));
        recordset_->update();
        checkAccess(recordset_->lastResult());
        releaseWrittenBlobs(buffer);
    } catch (...) {
        // A record that could not be added is not left half made.
        recordset_->cancelUpdate();
        throw;
    }
    std::vector<std::uint8_t> added = recordset_->lastModified();
    checkAccess(recordset_->lastResult());
    added.resize(4, 0);
    recordset_->setBookmark(added);
    checkAccess(recordset_->lastResult());
    setOnRecord();
    editing_ = false;
}

void TAccessTable::modifyRecord(Byte* buffer, bool freeLock) {
    checkOpen();
    writeChangedFields(checkParam(buffer));
    recordset_->update();
    checkAccess(recordset_->lastResult());
    releaseWrittenBlobs(buffer);
    editing_ = false;
    if (!freeLock)
        lockRecord();
}

void TAccessTable::deleteRecord(Byte* buffer) {
    checkOpen();
    editing_ = false;
    recordset_->deleteRecord();
    checkAccess(recordset_->lastResult());
    setRecordBuffer(buffer);
    try {
        moveNext();
    } catch (const ETorvaneEngineError&) {
        try {
            setToRangeStart();
        } catch (const ETorvaneEngineError&) {
            setPositionState(PositionState::AtBeginning);
            throw;
        }
    }
    setOnRecord();
}

Variant TAccessTable::fieldValue(std::size_t index, TFieldCacheItem& item) {
    const Byte* place = item.fieldData();
    std::uint16_t size = item.localSize();
    switch (daoTypes_[index]) {
    case at::Boolean:
        return Variant::boolean(load<std::int16_t>(place) != 0);
    case at::Byte:
        return Variant::byte(place[0]);
    case at::Integer:
        return Variant::integer(load<std::int16_t>(place));
    case at::Long:
        return Variant::longInteger(load<std::int32_t>(place));
    case at::Currency:
        return Variant::currency(load<std::int64_t>(place));
    case at::Single:
        return Variant::single(load<float>(place));
    case at::Double:
        return Variant::real(load<double>(place));
    case at::Date:
        return Variant::date(at::dateFromTimestamp(load<double>(place)));
    case at::Text: {
        std::size_t length = ::strnlen(reinterpret_cast<const char*>(place), size);
        if (length == 0)
            return Variant();
        return Variant::text(std::string(reinterpret_cast<const char*>(place), length));
    }
    case at::Decimal:
        return Variant::decimal(bcdToText(place));
    case at::Memo: {
        std::uint32_t reference = getU32(place, 0);
        if (reference == 0 || reference > blobs_.size() || !blobs_[reference - 1])
            return Variant();
        const std::string& text = blobs_[reference - 1]->contents();
        return text.empty() ? Variant() : Variant::text(text);
    }
    default:
        return Variant::missing();
    }
}

void TAccessTable::writeChangedFields(Byte* buffer) {
    for (std::size_t i = 0; i < daoFields_.size(); ++i) {
        TFieldCacheItem& item = fieldCache().items(static_cast<int>(i + 1));
        item.setRecordBuffer(buffer);
        if (!item.isChanged())
            continue;
        TDAOField& field = *daoFields_[i];
        if (item.isNull()) {
            field.setValue(Variant());
            checkAccess(field.lastResult());
            continue;
        }
        // An autonumber left at 0 is for DAO to number.
        if (daoTypes_[i] == at::Long && autoIncrement_[i] &&
            load<std::int32_t>(item.fieldData()) == 0)
            continue;
        if (daoTypes_[i] == at::LongBinary) {
            std::uint32_t reference = getU32(item.fieldData(), 0);
            bool open = reference != 0 && reference <= blobs_.size() && blobs_[reference - 1];
            const std::string empty;
            const std::string& bytes = open ? blobs_[reference - 1]->contents() : empty;
            if (bytes.empty()) {
                field.setValue(Variant());
                checkAccess(field.lastResult());
                continue;
            }
            for (std::size_t start = 0; start < bytes.size(); start += 4096) {
                std::size_t piece = std::min<std::size_t>(4096, bytes.size() - start);
                auto from = bytes.begin() + static_cast<std::ptrdiff_t>(start);
                field.appendChunk(
                    std::vector<std::uint8_t>(from, from + static_cast<std::ptrdiff_t>(piece)));
                checkAccess(field.lastResult());
            }
            continue;
        }
        Variant value = fieldValue(i, item);
        if (value.isMissing())
            continue;
        field.setValue(value);
        checkAccess(field.lastResult());
    }
    for (std::size_t i = 0; i < daoFields_.size(); ++i) {
        TFieldCacheItem& item = fieldCache().items(static_cast<int>(i + 1));
        item.setChanged(false);
        item.setNull(false);
    }
}

// Indexes and keys.

void TAccessTable::useIndex(const IndexDesc& index) {
    currentIndex_ = index;
    std::vector<std::uint16_t> fields;
    std::vector<KeyFieldInfo> info;
    std::size_t size = 0;
    // Keys live in a 256-byte area: an index wider than that keys on its leading fields.
    for (std::uint16_t k = 0; k < index.keyFieldCount && k < IndexDesc::MaxKeyFields; ++k) {
        std::uint16_t number = index.keyFields[k];
        if (number == 0 || number > fieldCache().count())
            break;
        std::size_t fieldSize = fieldCache().items(number).localSize();
        if (size + fieldSize > KeyAreaSize)
            break;
        fields.push_back(number);
        KeyFieldInfo field;
        field.descending = index.descendingFields[k] != 0;
        info.push_back(field);
        size += fieldSize;
    }
    setKeyFields(fields, static_cast<std::uint16_t>(size), info, index.caseInsensitive != 0);
}

void TAccessTable::switchToIndex(const std::string& indexName, const std::string&, std::uint16_t,
                                 bool currentRecord) {
    checkOpen();
    std::vector<Byte> bookmark;
    if (currentRecord) {
        bookmark.assign(BookmarkSize, 0);
        getBookmark(bookmark.data());
    }
    recordset_->setIndex(indexName);
    checkAccess(recordset_->lastResult());
    resetRange();
    IndexDesc chosen;
    if (!indexName.empty()) {
        TAccessIndexListTable list(owner(), recordset_.get(), fullName_, this, nullptr, nullptr);
        IndexDesc entry;
        while (list.nextIndex(entry)) {
            if (equalsIgnoreCase(leftChars(entry.name, 260), leftChars(indexName, 260))) {
                chosen = entry;
                break;
            }
        }
    }
    useIndex(chosen);
    if (bookmark.empty())
        setPositionState(PositionState::NoPosition);
    else
        setToBookmark(bookmark.data());
}

std::uint16_t TAccessTable::searchFieldCount(std::uint16_t fieldCount, std::uint16_t length) const {
    std::size_t count = fieldCount == 0 && length == 0
                            ? keyFieldCount()
                            : std::size_t{fieldCount} + (length > 0 ? 1 : 0);
    count = std::min<std::size_t>({count, keyFieldCount(), TDAORecordset::seekKeys});
    return static_cast<std::uint16_t>(count);
}

Variant TAccessTable::keyValue(TFieldCacheItem& item, const Byte* stored, bool partial,
                               std::uint16_t length) {
    std::vector<Byte> logical(std::max<std::size_t>(item.localSize(), 8) + 1, 0);
    bool blank = false;
    translateFieldOut(item.localType(), item.localSize(), blank, logical.data(), stored,
                      item.desc().length, item.desc().type);
    if (blank)
        return Variant();
    const Byte* v = logical.data();
    switch (static_cast<std::int16_t>(item.localType())) {
    case at::Boolean:
        return Variant::boolean(load<std::int16_t>(v) != 0);
    case at::Byte:
        return Variant::byte(static_cast<std::uint8_t>(load<std::int16_t>(v)));
    case at::Integer:
        return Variant::integer(load<std::int16_t>(v));
    case at::Long:
        return Variant::longInteger(load<std::int32_t>(v));
    case at::Currency:
        return Variant::currency(
            static_cast<std::int64_t>(std::nearbyint(load<double>(v) * 10000.0)));
    case at::Single:
        return Variant::single(static_cast<float>(load<double>(v)));
    case at::Double:
        return Variant::real(load<double>(v));
    case at::Date:
        return Variant::date(at::dateFromTimestamp(load<double>(v)));
    case at::Text: {
        std::string text(reinterpret_cast<const char*>(v),
                         ::strnlen(reinterpret_cast<const char*>(v), item.localSize()));
        if (partial && text.size() > length)
            text.resize(length);
        return Variant::text(text);
    }
    default:
        return Variant();
    }
}

void TAccessTable::searchKey(const KeySearch& search, Byte* buffer) {
    checkOpen();
    checkParam(search.key);
    std::uint16_t fields = searchFieldCount(search.fieldCount, search.length);
    std::array<Variant, TDAORecordset::seekKeys> keys;
    keys.fill(Variant::missing());
    // The search key in key form, for the check after a search on the leading fields.
    std::array<Byte, KeyAreaSize> wanted{};
    if (search.keyIsRecord)
        extractPartialKey(search.key, wanted.data(), search.fieldCount, search.length);
    else
        std::memcpy(wanted.data(), search.key, std::min<std::size_t>(keySize(), KeyAreaSize));
    bool anyValue = false;
    std::size_t offset = 0;
    for (std::uint16_t k = 0; k < fields; ++k) {
        TFieldCacheItem& item = fieldCache().items(currentIndex_.keyFields[k]);
        const Byte* stored = wanted.data() + offset;
        offset += item.localSize();
        if (search.keyIsRecord) {
            item.setRecordBuffer(const_cast<Byte*>(search.key));
            if (item.isNull())
                continue;
        }
        bool partial = search.length > 0 && k == search.fieldCount;
        Variant value = keyValue(item, stored, partial, search.length);
        if (value.isEmpty())
            continue;
        keys[k] = value;
        anyValue = true;
    }
    if (!anyValue)
        raiseEngineError(dbierr::RECNOTFOUND);

    bool leadingOnly = fields < currentIndex_.keyFieldCount;
    static const char* const comparisons[] = {"=", ">=", ">", "<", ">"};
    int condition = search.condition >= 0 && search.condition <= 4 ? search.condition : 0;
    std::string comparison = condition == 0 && leadingOnly ? ">=" : comparisons[condition];
    editing_ = false;
    recordset_->seek(comparison, keys);
    checkAccess(recordset_->lastResult());
    if (condition == searchcond::Le) {
        // The last record not greater than the key.
        if (recordset_->noMatch())
            recordset_->moveLast();
        else
            recordset_->movePrevious();
        checkAccess(recordset_->lastResult());
        if (recordset_->bof() || recordset_->eof())
            raiseEngineError(dbierr::RECNOTFOUND);
    } else if (recordset_->noMatch()) {
        raiseEngineError(dbierr::RECNOTFOUND);
    }

    if (!buffer) {
        scratch_.assign(std::max<std::size_t>(recordBufferSize(), 1), 0);
        buffer = scratch_.data();
    }
    readRecord(buffer);
    setOnRecord();
    if (condition == searchcond::Eq && leadingOnly) {
        std::array<Byte, KeyAreaSize> found{};
        extractPartialKey(buffer, found.data(), search.fieldCount, search.length);
        int result = 0;
        compareKeys(found.data(), wanted.data(), result, search.fieldCount, search.length);
        if (result != 0)
            raiseEngineError(dbierr::RECNOTFOUND);
    }
}

void TAccessTable::setToKey(int searchCond, bool keyItself, Byte* record, const Byte* key,
                            std::uint16_t length, std::uint16_t fieldCount) {
    searchKey({searchCond, keyItself, keyItself ? record : key, fieldCount, length}, record);
}

void TAccessTable::getRecordForKey(bool directKey, std::uint16_t fieldCount, std::uint16_t length,
                                   const Byte* key, Byte* buffer) {
    searchKey({searchcond::Eq, !directKey, key, fieldCount, length}, buffer);
}

void TAccessTable::extractPartialKey(const Byte* record, Byte* key, std::uint16_t fieldCount,
                                     std::uint16_t length) {
    if (keyFieldCount() == 0)
        raiseEngineError(dbierr::NOASSOCINDEX);
    checkParam(record);
    std::size_t fields = fieldCount == 0 && length == 0
                             ? keyFieldCount()
                             : std::min<std::size_t>(keyFieldCount(), std::size_t{fieldCount} +
                                                                          (length > 0 ? 1 : 0));
    std::size_t offset = 0;
    for (std::size_t k = 0; k < fields; ++k) {
        TFieldCacheItem& item = fieldCache().items(currentIndex_.keyFields[k]);
        item.setRecordBuffer(const_cast<Byte*>(record));
        std::size_t size = item.localSize();
        if (item.isNull())
            std::memset(key + offset, 0, size);
        else
            std::memcpy(key + offset, item.fieldData(), size);
        offset += size;
    }
}

void TAccessTable::getIndexDesc(std::uint16_t indexId, IndexDesc& descriptor) {
    if (indexId == 0 && currentIndex_.keyFieldCount > 0) {
        descriptor = currentIndex_;
        return;
    }
    if (queryResult_)
        raiseEngineError(dbierr::NOTINDEXED);
    descriptor = IndexDesc{};
    // Id 0 is the index in use; a cursor without one has none to describe.
    if (indexId == 0)
        return;
    bool reopened = !recordset_;
    if (reopened)
        openCursor();
    try {
        TAccessIndexListTable list(owner(), recordset_.get(), fullName_, this, nullptr, nullptr);
        IndexDesc entry;
        for (std::uint16_t i = 0; i < indexId && list.nextIndex(entry); ++i)
            descriptor = entry;
    } catch (...) {
        if (reopened)
            closeCursor();
        throw;
    }
    if (reopened)
        closeCursor();
}

void TAccessTable::getIndexDescs(std::vector<IndexDesc>& descriptors) {
    descriptors.clear();
    if (queryResult_)
        return;
    checkOpen();
    TAccessIndexListTable list(owner(), recordset_.get(), fullName_, this, nullptr, nullptr);
    IndexDesc entry;
    while (list.nextIndex(entry))
        descriptors.push_back(entry);
}

// Blobs.

TAccessBlob& TAccessTable::blobOf(Byte* record, std::uint16_t fieldNumber) {
    TFieldCacheItem& item = fieldCache().items(fieldNumber);
    item.setRecordBuffer(checkParam(record));
    if (item.desc().type != fldtype::BLOB)
        raiseEngineError(dbierr::NOTABLOB);
    std::uint32_t reference = getU32(item.fieldData(), 0);
    if (reference == 0 || reference > blobs_.size() || !blobs_[reference - 1])
        raiseEngineError(dbierr::BLOBNOTOPENED);
    return *blobs_[reference - 1];
}

void TAccessTable::openBlob(Byte* record, std::uint16_t fieldNumber, int openMode) {
    checkOpen();
    TFieldCacheItem& item = fieldCache().items(fieldNumber);
    item.setRecordBuffer(checkParam(record));
    if (item.desc().type != fldtype::BLOB)
        raiseEngineError(dbierr::NOTABLOB);
    std::uint32_t reference = getU32(item.fieldData(), 0);
    if (reference != 0 && reference <= blobs_.size() && blobs_[reference - 1])
        raiseEngineError(dbierr::BLOBOPENED);
    std::unique_ptr<TAccessBlob> blob;
    if (item.desc().subType == at::MemoSubtype)
        blob = std::make_unique<TAccessMemoBlob>(*this, openMode, fieldNumber, record);
    else
        blob = std::make_unique<TAccessLongBinaryBlob>(*this, openMode, fieldNumber, record);
    auto slot = std::find(blobs_.begin(), blobs_.end(), nullptr);
    if (slot == blobs_.end())
        slot = blobs_.insert(blobs_.end(), nullptr);
    *slot = std::move(blob);
    item.setRecordBuffer(record);
    putU32(item.fieldData(), 0, static_cast<std::uint32_t>(slot - blobs_.begin() + 1));
}

void TAccessTable::getBlobSize(Byte* record, std::uint16_t fieldNumber, std::uint32_t& size) {
    size = blobOf(record, fieldNumber).size();
}

void TAccessTable::getBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t offset,
                           std::uint32_t length, Byte* dest, std::uint32_t& read) {
    read = 0;
    blobOf(record, fieldNumber).read(offset, length, dest, read);
}

void TAccessTable::putBlob(Byte* record, std::uint16_t fieldNumber, std::uint32_t offset,
                           std::uint32_t length, const Byte* source) {
    blobOf(record, fieldNumber).write(offset, length, source);
}

void TAccessTable::freeBlob(Byte* record, std::uint16_t fieldNumber) {
    if (!record)
        return;
    TFieldCacheItem& item = fieldCache().items(fieldNumber);
    item.setRecordBuffer(record);
    if (item.desc().type != fldtype::BLOB)
        return;
    std::uint32_t reference = getU32(item.fieldData(), 0);
    if (reference != 0 && reference <= blobs_.size())
        blobs_[reference - 1].reset();
    putU32(item.fieldData(), 0, 0);
}

void TAccessTable::releaseWrittenBlobs(Byte* buffer) {
    for (std::size_t i = 0; i < daoFields_.size(); ++i)
        if (daoTypes_[i] == at::Memo || daoTypes_[i] == at::LongBinary)
            freeBlob(buffer, static_cast<std::uint16_t>(i + 1));
}

void TAccessTable::freeAllBlobs() {
    // Newest first: each blob returns the recordset to where it found it.
    while (!blobs_.empty()) {
        blobs_.back().reset();
        blobs_.pop_back();
    }
}

} // namespace accessdb
