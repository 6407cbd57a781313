#include "accessdb/components/TttDBEDataset.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/classlib/FilterTextParser.h"
#include "accessdb/components/ComponentPlatform.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/EngineSupport.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/FilterBlobBuilder.h"
#include "accessdb/engine/TVirtEng.h"

#include <cstring>
#include <utility>

namespace accessdb {
namespace {

// Engine field type to data type, with the sizes and special cases of the descriptors.
void describe(const FieldDesc& d, TFieldDef& def) {
    static const TFieldType byEngineType[] = {
        TFieldType::Unknown, TFieldType::String,   TFieldType::Date,      TFieldType::Blob,
        TFieldType::Boolean, TFieldType::Smallint, TFieldType::Integer,   TFieldType::Float,
        TFieldType::BCD,     TFieldType::Bytes,    TFieldType::Time,      TFieldType::DateTime,
        TFieldType::Word,    TFieldType::Integer,  TFieldType::Unknown,   TFieldType::VarBytes,
        TFieldType::Unknown, TFieldType::Unknown,  TFieldType::Largeint,  TFieldType::Largeint,
        TFieldType::ADT,     TFieldType::Array,    TFieldType::Reference, TFieldType::DataSet};
    def.dataType = d.type < std::size(byEngineType) ? byEngineType[d.type] : TFieldType::Unknown;
    def.engineLength = d.length;
    switch (def.dataType) {
    case TFieldType::String:
    case TFieldType::Bytes:
    case TFieldType::VarBytes:
    case TFieldType::ADT:
    case TFieldType::Array:
    case TFieldType::Reference:
        def.size = d.units1;
        if (def.size == 0)
            def.dataType = TFieldType::Unknown;
        def.fixedChar = def.dataType == TFieldType::String && d.subType == 31;
        break;
    case TFieldType::Blob:
        def.size = d.units1;
        switch (d.subType) {
        case 22:
        case 33:
            def.dataType = TFieldType::Memo;
            break;
        case 24:
            def.dataType = TFieldType::FmtMemo;
            break;
        case 25:
            def.dataType = TFieldType::ParadoxOle;
            break;
        case 27:
            def.dataType = TFieldType::DBaseOle;
            break;
        case 26:
            def.dataType = TFieldType::Graphic;
            break;
        case 28:
            def.dataType = TFieldType::TypedBinary;
            break;
        default:
            break;
        }
        break;
    case TFieldType::Smallint:
        if (d.length != 1 && d.length != 2)
            def.dataType = TFieldType::Unknown;
        break;
    case TFieldType::Integer:
        if (d.type == fldtype::INT32 && d.subType == 29)
            def.dataType = TFieldType::AutoInc;
        break;
    case TFieldType::Float:
        if (d.subType == 21)
            def.dataType = TFieldType::Currency;
        break;
    case TFieldType::BCD:
        def.size = d.units2 < 0 ? -d.units2 : d.units2;
        def.precision = d.units1;
        break;
    default:
        break;
    }
}

// A constant of the field's engine type holding the value, for expressions the dataset
// builds itself.
FilterBlobBuilder::NodeId valueConstant(FilterBlobBuilder& builder, const FieldDesc& desc,
                                        const Variant& value) {
    Byte bytes[8] = {};
    switch (desc.type) {
    case fldtype::INT16:
    case fldtype::UINT16:
    case fldtype::BOOL:
        putU16(bytes, 0,
               static_cast<std::uint16_t>(desc.type == fldtype::BOOL ? (value.toBool() ? 1 : 0)
                                                                     : value.toInt64()));
        return builder.constant(desc.type, {bytes, 2});
    case fldtype::INT32:
    case fldtype::UINT32:
        putU32(bytes, 0, static_cast<std::uint32_t>(value.toInt64()));
        return builder.constant(desc.type, {bytes, 4});
    case fldtype::FLOAT: {
        double v = value.toDouble();
        std::memcpy(bytes, &v, 8);
        return builder.constant(desc.type, {bytes, 8});
    }
    default:
        return builder.text(value.toString());
    }
}

} // namespace

TttDBEDataset::TttDBEDataset(TComponent* owner) : TDataSet(owner) {}

TttDBEDataset::~TttDBEDataset() {
    setUpdateObject(nullptr);
    try {
        close();
    } catch (...) {
    }
}

void TttDBEDataset::openEngineCursor() {
    handle_ = createHandle();
    if (!handle_)
        throw EDatabaseError("Error creating cursor handle");
}

Status TttDBEDataset::closeEngineCursor() {
    if (!handle_)
        return 0;
    eng()->RelRecordLock(handle_, false);
    Status status = eng()->CloseCursor(handle_);
    handle_ = nullptr;
    return status;
}

bool TttDBEDataset::constraintCheckingOn() const {
    if (canModify_ && !const_cast<TttDBEDataset*>(this)->constraints().empty())
        return true;
    for (int i = 0; i < fieldCount(); ++i)
        if (!fields(i).customConstraint().empty())
            return true;
    return false;
}

TVirtEng* TttDBEDataset::eng() const {
    return engine_ ? engine_ : engine();
}

void TttDBEDataset::openDataset() {
    engine_ = engine();
    if (!handle_)
        openEngineCursor();
    if (cachedUpdates_)
        check(eng(), eng()->BeginDelayedUpdates(handle_));
    CursorProps props;
    check(eng(), eng()->GetCursorProps(handle_, props));
    recordSize_ = props.recordBufferSize;
    bookmarkSize_ = props.bookmarkSize;
    canModify_ = props.openMode != 1;
    sequenceMode_ = props.seqNumbers;
    loadFieldDefinitions();
    readIndexInfo();
}

void TttDBEDataset::afterLayout() {
    for (int index = LookupKey; index <= SavedKey; ++index) {
        keyBuffers_[static_cast<std::size_t>(index)].assign(8 + rowBufferSize(), 0);
        initKeyBuffer(static_cast<KeyIndex>(index));
    }
    // Constraints are kept with the dataset; the engine checks none, so nothing is
    // registered for them.
    check(eng(), eng()->SetToBegin(handle_));
    makeFilters();
    applyFiltered();
}

void TttDBEDataset::closeDataset() {
    dropFilters();
    if (cachedUpdates_ && handle_)
        eng()->EndDelayedUpdates(handle_);
    TVirtEng* closingEngine = eng();
    Status closed = closeEngineCursor();
    keyFieldCount_ = 0;
    keyFields_.fill(0);
    engineFields_.clear();
    block_.clear();
    for (auto& key : keyBuffers_)
        key.clear();
    editedKey_ = -1;
    engine_ = nullptr;
    // Closing may be when changes are written; a failure there is reported, not dropped.
    check(closingEngine, closed);
}

void TttDBEDataset::loadFieldDefinitions() {
    check(eng(), eng()->GetFieldDescs(handle_, engineFields_));
    CursorProps props;
    check(eng(), eng()->GetCursorProps(handle_, props));
    std::vector<bool> required(engineFields_.size() + 1, false);
    std::vector<Byte> vchk(64);
    for (std::uint16_t n = 1; n <= props.vchkCount; ++n) {
        if (eng()->GetVchkDesc(handle_, n, vchk.data()) != 0)
            continue;
        std::uint16_t field = getU16(vchk.data(), 0);
        bool isRequired = getU16(vchk.data(), 2) != 0;
        bool hasDefault = getU16(vchk.data(), 6) != 0;
        if (field < required.size() && isRequired && !hasDefault)
            required[field] = true;
    }
    buildFieldDefs(engineFields_, required);
}

void TttDBEDataset::buildFieldDefs(const std::vector<FieldDesc>& descs,
                                   const std::vector<bool>& required) {
    fieldDefs().clear();
    for (const FieldDesc& d : descs) {
        TFieldDef& def = fieldDefs().add();
        std::string name = nativeToAnsi(engine(), d.name);
        std::string unique = name;
        for (int n = 1; fieldDefs().count() > 1 &&
                        [&] {
                            for (int i = 0; i + 1 < fieldDefs().count(); ++i)
                                if (equalsIgnoreCase(fieldDefs().items(i).name, unique))
                                    return true;
                            return false;
                        }();
             ++n)
            unique = name + "_" + std::to_string(n);
        def.name = unique;
        def.fieldNo = d.fieldNumber;
        describe(d, def);
        def.required = d.fieldNumber < required.size() && required[d.fieldNumber] &&
                       def.dataType != TFieldType::AutoInc;
        def.readOnly = d.rights == 1;
        def.internalCalc = d.calculated != 0;
    }
}

void TttDBEDataset::readIndexInfo() {
    IndexDesc desc;
    if (eng()->GetIndexDesc(handle_, 0, desc) != 0)
        return;
    expressionIndex_ = desc.expressionIndex != 0;
    keyCaseInsensitive_ = desc.caseInsensitive != 0;
    if (expressionIndex_)
        return;
    keyFieldCount_ = std::min<std::uint16_t>(desc.keyFieldCount, 16);
    std::copy_n(desc.keyFields.begin(), keyFieldCount_, keyFields_.begin());
}

TField& TttDBEDataset::indexField(int keyPosition) const {
    if (keyPosition < 0 || keyPosition >= keyFieldCount_)
        databaseError("Field index out of range");
    int number = keyFields_[static_cast<std::size_t>(keyPosition)];
    for (int i = 0; i < fieldCount(); ++i)
        if (fields(i).fieldNo() == number)
            return fields(i);
    std::string name = number >= 1 && number <= static_cast<int>(engineFields_.size())
                           ? engineFields_[static_cast<std::size_t>(number - 1)].name
                           : std::to_string(number);
    databaseError("Cannot access index field '" + name + "'");
}

void TttDBEDataset::switchToIndex(const std::string& indexName, const std::string& tagName) {
    check(eng(), eng()->ResetRange(handle_));
    markCursorMoved();
    Status status = eng()->SwitchToIndex(handle_, indexName, tagName, 0, true);
    if (status == dbierr::NOCURRREC)
        status = eng()->SwitchToIndex(handle_, indexName, tagName, 0, false);
    check(eng(), status);
    keyFieldCount_ = 0;
    keyFields_.fill(0);
    readIndexInfo();
}

int TttDBEDataset::rowNumber() const {
    if (!active() || empty_)
        return -1;
    TttDBEDataset& self = const_cast<TttDBEDataset&>(*this);
    return rowRecNo(self.activeBuffer());
}

void TttDBEDataset::initKeyBuffer(KeyIndex index) {
    std::vector<Byte>& key = keyBuffers_[static_cast<std::size_t>(index)];
    std::fill(key.begin(), key.end(), 0);
    check(eng(), eng()->InitRecord(handle_, key.data() + 8));
}

Byte* TttDBEDataset::currentRowBuffer() {
    if (rowOverride_)
        return const_cast<Byte*>(rowOverride_);
    if (state() == TDataSetState::SetKey && editedKey_ >= 0)
        return keyBuffers_[static_cast<std::size_t>(editedKey_)].data() + 8;
    return TDataSet::currentRowBuffer();
}

void TttDBEDataset::setKeyBuffer(KeyIndex index, bool clear) {
    checkBrowseMode();
    keyBuffers_[SavedKey] = keyBuffers_[static_cast<std::size_t>(index)];
    editedKey_ = index;
    if (clear)
        initKeyBuffer(index);
    setState(TDataSetState::SetKey);
}

void TttDBEDataset::endKeyEdit(bool post) {
    if (editedKey_ >= 0) {
        std::vector<Byte>& key = keyBuffers_[static_cast<std::size_t>(editedKey_)];
        if (post)
            key[0] = key[0] || modified() ? 1 : 0;
        else
            key = keyBuffers_[SavedKey];
    }
    editedKey_ = -1;
    setState(TDataSetState::Browse);
}

void TttDBEDataset::setLinkRanges(const std::vector<Variant>& values) {
    setKeyBuffer(RangeStart, true);
    std::vector<Byte>& start = keyBuffers_[RangeStart];
    try {
        for (std::size_t i = 0; i < values.size(); ++i)
            indexField(static_cast<int>(i)).setValue(values[i]);
    } catch (...) {
        endKeyEdit(false);
        throw;
    }
    start[0] = 1;
    putU16(start.data(), 4, static_cast<std::uint16_t>(values.size()));
    keyBuffers_[RangeEnd] = start;
    editedKey_ = -1;
    setState(TDataSetState::Browse);
}

bool TttDBEDataset::applyRange() {
    checkBrowseMode();
    if (keyBuffers_[RangeStart] == keyBuffers_[AppliedStart] &&
        keyBuffers_[RangeEnd] == keyBuffers_[AppliedEnd])
        return false;
    std::vector<Byte>& start = keyBuffers_[RangeStart];
    std::vector<Byte>& end = keyBuffers_[RangeEnd];
    std::vector<Byte> startKey(256, 0);
    std::vector<Byte> endKey(256, 0);
    bool keys = eng()->ExtractKey(handle_, start.data() + 8, startKey.data()) == 0 &&
                eng()->ExtractKey(handle_, end.data() + 8, endKey.data()) == 0;
    const Byte* low = start[0] ? (keys ? startKey.data() : start.data() + 8) : nullptr;
    const Byte* high = end[0] ? (keys ? endKey.data() : end.data() + 8) : nullptr;
    check(eng(), eng()->SetRange(handle_, !keys, getU16(start.data(), 4), 0, low, true,
                                 getU16(end.data(), 4), 0, high, true));
    keyBuffers_[AppliedStart] = start;
    keyBuffers_[AppliedEnd] = end;
    first();
    return true;
}

bool TttDBEDataset::rangeApplied() const {
    return !keyBuffers_[AppliedStart].empty() &&
           (keyBuffers_[AppliedStart][0] || keyBuffers_[AppliedEnd][0]);
}

bool TttDBEDataset::cancelRange() {
    checkBrowseMode();
    if (!keyBuffers_[AppliedStart][0] && !keyBuffers_[AppliedEnd][0])
        return false;
    check(eng(), eng()->ResetRange(handle_));
    initKeyBuffer(AppliedStart);
    initKeyBuffer(AppliedEnd);
    initKeyBuffer(RangeStart);
    initKeyBuffer(RangeEnd);
    first();
    return true;
}

FetchResult TttDBEDataset::fetchRow(Byte* buffer, FetchMode mode, bool reportErrors) {
    if (!block_.empty() && mode == FetchMode::Next)
        return nextFromBlock(buffer);
    Status status = 0;
    switch (mode) {
    case FetchMode::Current:
        status = eng()->GetRecord(handle_, LockType::None, buffer, &recordProps_);
        break;
    case FetchMode::Next:
        status = eng()->GetNextRecord(handle_, LockType::None, buffer, &recordProps_);
        break;
    case FetchMode::Prior:
        status = eng()->GetPriorRecord(handle_, LockType::None, buffer, &recordProps_);
        break;
    }
    if (status == dbierr::BOF)
        return FetchResult::Beginning;
    if (status == dbierr::EOF_)
        return FetchResult::End;
    if (status != 0) {
        if (reportErrors)
            check(eng(), status);
        return FetchResult::Error;
    }
    setRowInfo(buffer, -1, static_cast<UpdateStatus>(recordProps_.recordStatus & 0x3),
               BookmarkFlag::Current);
    computeCalcFields(buffer);
    check(eng(), eng()->GetBookMark(handle_, rowBookmark(buffer)));
    return FetchResult::Ok;
}

FetchResult TttDBEDataset::nextFromBlock(Byte* buffer) {
    if (blockPos_ >= blockRows_) {
        if (blockShort_)
            return FetchResult::End;
        std::uint32_t count = static_cast<std::uint32_t>(block_.size() / recordSize_);
        Status status = eng()->ReadBlock(handle_, count, block_.data());
        if (status != 0 && !(status == dbierr::EOF_ && count > 0)) {
            if (status == dbierr::EOF_)
                return FetchResult::End;
            check(eng(), status);
        }
        blockShort_ = count < block_.size() / recordSize_;
        blockRows_ = count;
        blockPos_ = 0;
        if (count == 0)
            return FetchResult::End;
    }
    std::memcpy(buffer, block_.data() + blockPos_ * recordSize_, recordSize_);
    ++blockPos_;
    setRowInfo(buffer, -1, UpdateStatus::Unmodified, BookmarkFlag::BOF);
    computeCalcFields(buffer);
    return FetchResult::Ok;
}

void TttDBEDataset::blockReadChanged() {
    if (blockReadSize() == 0 || blockReadSize() == -1) {
        bool advance = blockReadSize() == -1 && !block_.empty();
        block_.clear();
        if (advance)
            next();
        else
            resync();
        return;
    }
    eng()->SetProp(handle_, PositionChangedProp, 0);
    std::size_t rows = recordSize_ ? BlockBufferSize / recordSize_ : 0;
    block_.assign(rows * recordSize_, 0);
    blockRows_ = blockPos_ = 0;
    blockShort_ = false;
}

void TttDBEDataset::cursorToStart() {
    eng()->SetToBegin(handle_);
}

void TttDBEDataset::cursorToEnd() {
    eng()->SetToEnd(handle_);
}

int TttDBEDataset::rowCount() {
    std::uint32_t count = 0;
    if (eng()->GetExactRecordCount(handle_, count) == 0)
        return static_cast<int>(count);
    if (eng()->GetRecordCount(handle_, count) == 0)
        return static_cast<int>(count);
    return -1;
}

void TttDBEDataset::initRowBuffer(Byte* buffer) {
    check(eng(), eng()->InitRecord(handle_, buffer));
}

void TttDBEDataset::beginRowEdit(Byte* buffer) {
    check(eng(), eng()->GetRecord(handle_, LockType::Write, buffer, &recordProps_));
}

void TttDBEDataset::beginRowInsert() {
    eng()->SetProp(handle_, PositionChangedProp, 1);
    markCursorMoved();
}

void TttDBEDataset::postRow(Byte* buffer) {
    if (state() == TDataSetState::Edit)
        check(eng(), eng()->ModifyRecord(handle_, buffer, true));
    else
        check(eng(), eng()->InsertRecord(handle_, LockType::None, buffer));
}

void TttDBEDataset::deleteRow() {
    Status status = eng()->DeleteRecord(handle_, nullptr);
    // A row the engine no longer finds is already gone.
    if (status != 0 && (status >> 8) != 0x22)
        check(eng(), status);
}

void TttDBEDataset::cancelRowEdit() {
    if (state() == TDataSetState::Edit)
        eng()->RelRecordLock(handle_, false);
}

void TttDBEDataset::gotoRowBookmark(const Byte* bookmark) {
    check(eng(), eng()->SetToBookmark(handle_, bookmark));
}

bool TttDBEDataset::isRowBookmarkValid(const Byte* bookmark) {
    return eng()->SetToBookmark(handle_, bookmark) == 0 &&
           eng()->GetRecord(handle_, LockType::None, nullptr, nullptr) == 0;
}

int TttDBEDataset::compareRowBookmarks(const Byte* a, const Byte* b) {
    int result = 0;
    if (handle_)
        check(eng(), eng()->CompareBookmarks(handle_, a, b, result));
    return result == 2 ? 0 : result;
}

bool TttDBEDataset::getFieldData(TField& field, Byte* buffer) {
    Byte* row = currentRowBuffer();
    if (!row)
        return false;
    if (field.fieldNo() <= 0) {
        Byte* slot = row + calcOffsetOf(field);
        if (slot[0] && buffer)
            std::memcpy(buffer, slot + 1, static_cast<std::size_t>(field.dataSize()));
        return slot[0] != 0;
    }
    bool blank = false;
    Status status =
        eng()->GetField(handle_, static_cast<std::uint16_t>(field.fieldNo()), row, buffer, blank);
    if (!block_.empty() && status != 0)
        return false;
    check(eng(), status);
    return !blank;
}

void TttDBEDataset::setFieldData(TField& field, const Byte* buffer) {
    TDataSetState st = state();
    bool writable = st == TDataSetState::Edit || st == TDataSetState::Insert ||
                    st == TDataSetState::SetKey || st == TDataSetState::CalcFields ||
                    st == TDataSetState::Filter || st == TDataSetState::NewValue ||
                    st == TDataSetState::InternalCalc;
    if (!writable)
        databaseError("Dataset not in edit or insert mode");
    if (st == TDataSetState::SetKey) {
        bool isKey = false;
        for (std::uint16_t k = 0; k < keyFieldCount_; ++k)
            isKey = isKey || keyFields_[k] == field.fieldNo();
        if (field.fieldNo() < 0 || (keyFieldCount_ > 0 && !isKey))
            databaseError("Field '" + field.displayName() +
                          "' is not indexed and cannot be modified");
    }
    Byte* row = currentRowBuffer();
    if (!row)
        databaseError("Dataset not in edit or insert mode");
    if (field.fieldNo() <= 0) {
        Byte* slot = row + calcOffsetOf(field);
        slot[0] = buffer ? 1 : 0;
        if (buffer)
            std::memcpy(slot + 1, buffer, static_cast<std::size_t>(field.dataSize()));
    } else {
        if (st == TDataSetState::CalcFields)
            databaseError("Dataset not in edit or insert mode");
        if (field.readOnly() && st != TDataSetState::SetKey && st != TDataSetState::Filter)
            databaseError("Field '" + field.displayName() + "' cannot be modified");
        check(eng(),
              eng()->PutField(handle_, static_cast<std::uint16_t>(field.fieldNo()), row, buffer));
    }
    fieldChanged(field);
}

std::string TttDBEDataset::getBlobFieldData(TField& field) {
    Byte* row = currentRowBuffer();
    if (!row || field.fieldNo() <= 0)
        return {};
    auto number = static_cast<std::uint16_t>(field.fieldNo());
    if (eng()->OpenBlob(handle_, row, number, 0) != 0)
        return {};
    std::uint32_t size = 0;
    std::string data;
    Status status = eng()->GetBlobSize(handle_, row, number, size);
    if (status == 0 && size > 0) {
        data.resize(size);
        std::uint32_t read = 0;
        status = eng()->GetBlob(handle_, row, number, 0, size, reinterpret_cast<Byte*>(data.data()),
                                read);
        if (status == dbierr::ENDOFBLOB)
            status = 0;
        data.resize(status == 0 ? read : 0);
    }
    eng()->FreeBlob(handle_, row, number);
    if (status != 0 && block_.empty())
        check(eng(), status);
    return data;
}

void TttDBEDataset::translate(const char* source, char* destination, bool toNative) {
    int length = static_cast<int>(std::strlen(source));
    if (toNative)
        ansiToNativeBuf(eng(), source, destination, length);
    else
        nativeToAnsiBuf(eng(), source, destination, length);
    if (destination != source)
        destination[length] = '\0';
}

void TttDBEDataset::setCachedUpdates(bool on) {
    if (on == cachedUpdates_)
        return;
    if (active() && !designing()) {
        checkBrowseMode();
        check(eng(), on ? eng()->BeginDelayedUpdates(handle_) : eng()->EndDelayedUpdates(handle_));
        cachedUpdates_ = on;
        resync();
        return;
    }
    cachedUpdates_ = on;
}

Variant TttDBEDataset::valueIn(TField& field, const Byte* row) {
    if (!row)
        return Variant::null();
    const Byte* saved = std::exchange(rowOverride_, row);
    try {
        Variant value = field.value();
        rowOverride_ = saved;
        return value;
    } catch (...) {
        rowOverride_ = saved;
        throw;
    }
}

Variant TttDBEDataset::oldValue(TField& field) {
    if (!cachedUpdates_)
        databaseError("Not in cached update mode");
    checkActive();
    if (applying_)
        return valueIn(field, applying_->oldRecord);
    std::vector<Byte> row(rowBufferSize());
    check(eng(), eng()->SetProp(handle_, OldValuesProp, 1));
    Status status = eng()->GetRecord(handle_, LockType::None, row.data(), nullptr);
    eng()->SetProp(handle_, OldValuesProp, 0);
    check(eng(), status);
    return valueIn(field, row.data());
}

Variant TttDBEDataset::newValue(TField& field) {
    if (!cachedUpdates_)
        databaseError("Not in cached update mode");
    checkActive();
    return applying_ ? valueIn(field, applying_->newRecord) : field.value();
}

void TttDBEDataset::setUpdateObject(TDataSetUpdateObject* updateObject) {
    if (updateObject == updateObject_)
        return;
    if (updateObject_)
        updateObject_->dataSet_ = nullptr;
    if (updateObject && updateObject->dataSet_)
        updateObject->dataSet_->updateObject_ = nullptr;
    updateObject_ = updateObject;
    if (updateObject_)
        updateObject_->dataSet_ = this;
}

void TttDBEDataset::applyUpdates() {
    if (!cachedUpdates_)
        databaseError("Not in cached update mode");
    checkBrowseMode();
    handlerFailure_ = nullptr;
    updateRefused_ = false;
    check(eng(), eng()->RegisterCallBack(handle_, DelayedUpdateCallback,
                                         reinterpret_cast<std::uintptr_t>(this), nullptr,
                                         &TttDBEDataset::delayedUpdateCallback));
    Status status = eng()->ApplyDelayedUpdates(handle_, 3);
    eng()->RegisterCallBack(handle_, DelayedUpdateCallback);
    resync();
    dataEvent(DataEvent::DataSetChange);
    if (handlerFailure_)
        std::rethrow_exception(std::exchange(handlerFailure_, nullptr));
    check(eng(), status);
    if (updateRefused_)
        databaseError("Update failed");
}

void TttDBEDataset::cancelUpdates() {
    if (!cachedUpdates_)
        databaseError("Not in cached update mode");
    cancel();
    check(eng(), eng()->ApplyDelayedUpdates(handle_, 0));
    resync();
    dataEvent(DataEvent::DataSetChange);
}

std::int32_t TttDBEDataset::delayedUpdateCallback(std::uintptr_t dataSet, void* info) {
    return reinterpret_cast<TttDBEDataset*>(dataSet)->decideUpdate(
        *static_cast<const DelayedUpdateInfo*>(info));
}

// The handlers run inside the engine's walk: what they raise stops the walk and is raised
// again once the engine has returned.
std::int32_t TttDBEDataset::decideUpdate(const DelayedUpdateInfo& info) {
    UpdateKind kind = info.kind == RecordProps::Inserted  ? UpdateKind::Insert
                      : info.kind == RecordProps::Deleted ? UpdateKind::Delete
                                                          : UpdateKind::Modify;
    bool handled = info.error == 0 ? (onUpdateRecord || updateObject_) : bool(onUpdateError);
    if (!handled)
        return info.error == 0 ? delayedupdate::Apply : delayedupdate::Fail;
    UpdateAction action = UpdateAction::Fail;
    applying_ = &info;
    try {
        if (info.error != 0) {
            onUpdateError(*this, ETDBEngineError(eng(), info.error), kind, action);
        } else if (onUpdateRecord) {
            onUpdateRecord(*this, kind, action);
        } else {
            updateObject_->apply(kind);
            action = UpdateAction::Applied;
        }
    } catch (...) {
        handlerFailure_ = std::current_exception();
        action = UpdateAction::Abort;
    }
    applying_ = nullptr;
    switch (action) {
    case UpdateAction::Applied:
        return delayedupdate::Applied;
    case UpdateAction::Abort:
        return delayedupdate::Abort;
    case UpdateAction::Skip:
        return delayedupdate::Skip;
    case UpdateAction::Retry:
        return delayedupdate::Retry;
    case UpdateAction::Fail:
        break;
    }
    // A change its handler did not apply stays pending, and the applying fails.
    if (info.error == 0)
        updateRefused_ = true;
    return info.error == 0 ? delayedupdate::Skip : delayedupdate::Fail;
}

bool TttDBEDataset::findRecord(bool restart, bool forward) {
    bool searchOnly = !filtered();
    for (TFilterListItem* filter : {exprFilter_, funcFilter_})
        if (filter && searchOnly)
            check(eng(), eng()->ActivateFilter(handle_, filter));
    if (restart)
        forward ? cursorToStart() : cursorToEnd();
    else
        syncCursor();
    Status status = forward ? eng()->GetNextRecord(handle_, LockType::None, nullptr, nullptr)
                            : eng()->GetPriorRecord(handle_, LockType::None, nullptr, nullptr);
    for (TFilterListItem* filter : {exprFilter_, funcFilter_})
        if (filter && searchOnly)
            check(eng(), eng()->DeactivateFilter(handle_, filter));
    return status == 0;
}

void TttDBEDataset::refreshRows() {
    check(eng(), eng()->ForceReread(handle_));
}

void TttDBEDataset::parentScrolled() {
    TDataSet* parent = parentDataSet();
    if (!parent || !parent->active() || parent->isEmpty())
        return;
    Bookmark mark = parent->getBookmark();
    unsigned sum = 0;
    for (Byte b : mark)
        sum += b;
    if (parentMarkSum_ == sum) {
        resync();
        dataEvent(DataEvent::DataSetChange);
        return;
    }
    parentMarkSum_ = sum;
    first();
}

std::vector<Byte> TttDBEDataset::filterBlob() const {
    FilterTextParser parser(
        [this](const std::string& name) -> std::optional<FilterFieldType> {
            for (const FieldDesc& d : engineFields_)
                if (equalsIgnoreCase(d.name, name))
                    return FilterFieldType{d.type, d.length};
            return std::nullopt;
        },
        filterOptions().caseInsensitive, filterOptions().noPartialCompare);
    return parser.parse(filter());
}

void TttDBEDataset::dropFilters() {
    if (handle_) {
        if (exprFilter_)
            eng()->DropFilter(handle_, exprFilter_);
        if (funcFilter_)
            eng()->DropFilter(handle_, funcFilter_);
    }
    exprFilter_ = funcFilter_ = nullptr;
}

void TttDBEDataset::makeFilters() {
    dropFilters();
    if (!filter().empty())
        check(eng(), eng()->AddFilter(handle_, 0, 0, false, filterBlob(), nullptr, exprFilter_));
    if (onFilterRecord())
        check(eng(), eng()->AddFilter(handle_, reinterpret_cast<std::uintptr_t>(this), 1, false, {},
                                      filterCallback, funcFilter_));
}

void TttDBEDataset::applyFiltered() {
    for (TFilterListItem** filter : {&exprFilter_, &funcFilter_}) {
        if (!*filter)
            continue;
        if (!filtered()) {
            check(eng(), eng()->DeactivateFilter(handle_, *filter));
            continue;
        }
        if (eng()->ActivateFilter(handle_, *filter) == 0)
            continue;
        makeFilters();
        check(eng(), eng()->ActivateFilter(handle_, *filter));
    }
}

void TttDBEDataset::filterChanged() {
    if (!handle_)
        return;
    checkBrowseMode();
    makeFilters();
    applyFiltered();
    if (filtered()) {
        cursorToStart();
        first();
    }
}

std::int32_t TttDBEDataset::filterCallback(std::uintptr_t dataSet, const Byte* record,
                                           std::int16_t) {
    auto* self = reinterpret_cast<TttDBEDataset*>(dataSet);
    try {
        return self->runFilterRecord(const_cast<Byte*>(record)) ? 1 : 0;
    } catch (const std::exception& error) {
        if (componentPlatform().showException)
            componentPlatform().showException(error);
        return 1;
    }
}

TBaseTable* TttDBEDataset::lookupCursor(const std::vector<TField*>&, bool) {
    return nullptr;
}

bool TttDBEDataset::keyMatches(const std::vector<TField*>& fields, bool caseInsensitive) const {
    if (expressionIndex_ || keyFieldCount_ < fields.size())
        return false;
    bool anyString = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (keyFields_[i] != fields[i]->fieldNo())
            return false;
        anyString = anyString || fields[i]->dataType() == TFieldType::String;
    }
    return !anyString || keyCaseInsensitive_ == caseInsensitive;
}

bool TttDBEDataset::locateRow(const std::vector<TField*>& fields,
                              const std::vector<Variant>& values, LocateOptions options,
                              Byte* buffer) {
    TBaseTable* cursor = nullptr;
    if (!cachedUpdates_)
        cursor = keyMatches(fields, options.caseInsensitive)
                     ? handle_
                     : lookupCursor(fields, options.caseInsensitive);
    if (!cursor)
        return locateWithFilter(fields, values, options, buffer);
    // Key search: the values go into a row of their own, read back as the key.
    std::vector<Byte> row(rowBufferSize());
    check(eng(), eng()->InitRecord(cursor, row.data()));
    TDataSetState saved = state();
    setState(TDataSetState::Filter);
    setFilterRow(row.data());
    try {
        for (std::size_t i = 0; i < fields.size(); ++i)
            fields[i]->setValue(values[i]);
    } catch (...) {
        setState(saved);
        throw;
    }
    setState(saved);
    auto count = static_cast<std::uint16_t>(fields.size());
    std::uint16_t length = 0;
    if (options.partialKey && fields.back()->dataType() == TFieldType::String) {
        --count;
        length = static_cast<std::uint16_t>(values.back().toString().size());
    }
    if (eng()->GetRecordForKey(cursor, false, count, length, row.data(), row.data()) != 0)
        return false;
    if (cursor != handle_ && eng()->SetToCursor(handle_, cursor) != 0)
        return false;
    return fetchRow(buffer, FetchMode::Current, false) == FetchResult::Ok;
}

bool TttDBEDataset::locateWithFilter(const std::vector<TField*>& fields,
                                     const std::vector<Variant>& values, LocateOptions options,
                                     Byte* buffer) {
    FilterBlobBuilder builder;
    FilterBlobBuilder::NodeId root = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDesc* desc = nullptr;
        for (const FieldDesc& d : engineFields_)
            if (d.fieldNumber == fields[i]->fieldNo())
                desc = &d;
        if (!desc)
            databaseError("Field '" + fields[i]->fieldName() + "' cannot be searched");
        bool last = i + 1 == fields.size();
        std::uint16_t partial = last && options.partialKey
                                    ? static_cast<std::uint16_t>(values[i].toString().size())
                                    : 0;
        auto comparison =
            builder.compare(filterexpr::Eq, options.caseInsensitive, partial,
                            builder.field(desc->name), valueConstant(builder, *desc, values[i]));
        root = i == 0 ? comparison : builder.binary(filterexpr::And, root, comparison);
    }
    std::vector<Byte> blob = builder.build(root);
    eng()->SetToBegin(handle_);
    TFilterListItem* search = nullptr;
    check(eng(), eng()->AddFilter(handle_, 0, 2, false, blob, nullptr, search));
    Status status = eng()->ActivateFilter(handle_, search);
    if (status == 0)
        status = eng()->GetNextRecord(handle_, LockType::None, buffer, nullptr);
    eng()->DropFilter(handle_, search);
    if (status != 0)
        return false;
    return fetchRow(buffer, FetchMode::Current, false) == FetchResult::Ok;
}

} // namespace accessdb
