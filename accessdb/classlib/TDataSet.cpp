#include "accessdb/classlib/TDataSet.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/engine/EngineText.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace accessdb {
namespace {

constexpr std::size_t kRowInfoSize = 6; // record number, update status, bookmark flag

} // namespace

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() {
    for (TDataSource* source : std::vector<TDataSource*>(dataSources_))
        source->setDataSet(nullptr);
    if (parent_)
        parent_->removeNestedDataSet(this);
    for (TDataSet* nested : nested_)
        nested->parent_ = nullptr;
}

void TDataSet::databaseError(const std::string& message) const {
    throw EDatabaseError(message);
}

void TDataSet::checkActive() const {
    if (!active())
        databaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::checkInactive() const {
    if (active())
        databaseError("Cannot perform this operation on an open dataset");
}

void TDataSet::setState(TDataSetState state) {
    if (state_ == state)
        return;
    state_ = state;
    modified_ = false;
    dataEvent(DataEvent::UpdateState);
}

void TDataSet::setActive(bool active) {
    if (active)
        open();
    else
        close();
}

void TDataSet::open() {
    if (active())
        return;
    runEvent(beforeOpen);
    try {
        openInternal();
    } catch (...) {
        try {
            closeDataset();
        } catch (...) {
        }
        fields_.resize(persistentFields_);
        state_ = TDataSetState::Inactive;
        throw;
    }
    dataEvent(DataEvent::UpdateState);
    dataEvent(DataEvent::DataSetChange);
    runEvent(afterOpen);
}

void TDataSet::openInternal() {
    fieldDefs_.clear();
    openDataset();
    if (fields_.size() == persistentFields_)
        createDefaultFields();
    for (auto& field : fields_) {
        if (field->fieldKind() != TFieldKind::Data || field->fieldNo() > 0)
            continue;
        TFieldDef* def = fieldDefs_.find(field->fieldName());
        if (!def)
            databaseError("Field '" + field->fieldName() + "' not found");
        field->setFieldNo(def->fieldNo);
        field->setEngineLength(def->engineLength);
    }
    layoutBuffers();
    afterLayout();
    state_ = TDataSetState::Browse;
    opened();
    first();
}

void TDataSet::createDefaultFields() {
    for (int i = 0; i < fieldDefs_.count(); ++i) {
        const TFieldDef& def = fieldDefs_.items(i);
        if (def.hidden)
            continue;
        std::unique_ptr<TField> field =
            createField(def.dataType, def.name, def.size, def.precision);
        if (!field)
            continue;
        field->setFieldNo(def.fieldNo);
        field->setEngineLength(def.engineLength);
        field->setRequired(def.required);
        field->setReadOnly(def.readOnly);
        if (def.internalCalc)
            field->setFieldKind(TFieldKind::InternalCalc);
        field->setDataSet(this);
        fields_.push_back(std::move(field));
    }
}

void TDataSet::layoutBuffers() {
    calcOffset_ = engineRecordSize();
    std::size_t calcSize = 0;
    for (auto& field : fields_)
        if (field->fieldKind() == TFieldKind::Calculated)
            calcSize += 1 + static_cast<std::size_t>(std::max(field->dataSize(), 0));
    hasCalcFields_ = calcSize > 0;
    infoOffset_ = calcOffset_ + calcSize;
    bookmarkOffset_ = infoOffset_ + kRowInfoSize;
    std::size_t total = bookmarkOffset_ + bookmarkSize();
    active_.assign(total, 0);
    scratch_.assign(total, 0);
    backup_.assign(total, 0);
    backupValid_ = false;
}

std::size_t TDataSet::calcOffsetOf(const TField& field) const {
    std::size_t offset = calcOffset_;
    for (auto& f : fields_) {
        if (f->fieldKind() != TFieldKind::Calculated)
            continue;
        if (f.get() == &field)
            return offset;
        offset += 1 + static_cast<std::size_t>(std::max(f->dataSize(), 0));
    }
    databaseError("Field '" + field.fieldName() + "' is not a calculated field");
}

void TDataSet::close() {
    if (!active())
        return;
    runEvent(beforeClose);
    if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert)
        cancel();
    // A close that reports a failure (changes that could not be written) still closes.
    std::exception_ptr failure;
    try {
        closeDataset();
    } catch (...) {
        failure = std::current_exception();
    }
    for (auto& field : fields_)
        field->setFieldNo(field->fieldKind() == TFieldKind::Data ? 0 : field->fieldNo());
    fields_.resize(persistentFields_);
    fieldDefs_.clear();
    state_ = TDataSetState::Inactive;
    empty_ = true;
    eof_ = bof_ = true;
    cursorPosChanged_ = false;
    dataEvent(DataEvent::UpdateState);
    dataEvent(DataEvent::DataSetChange);
    if (failure)
        std::rethrow_exception(failure);
    runEvent(afterClose);
}

void TDataSet::setRowInfo(Byte* buffer, std::int32_t recNo, UpdateStatus status,
                          BookmarkFlag flag) {
    putI32(buffer, infoOffset_, recNo);
    buffer[infoOffset_ + 4] = static_cast<Byte>(status);
    buffer[infoOffset_ + 5] = static_cast<Byte>(flag);
}

UpdateStatus TDataSet::rowUpdateStatus(const Byte* buffer) const {
    return static_cast<UpdateStatus>(buffer[infoOffset_ + 4]);
}

BookmarkFlag TDataSet::rowBookmarkFlag(const Byte* buffer) const {
    return static_cast<BookmarkFlag>(buffer[infoOffset_ + 5]);
}

UpdateStatus TDataSet::updateStatus() const {
    if (!active() || empty_)
        return UpdateStatus::Unmodified;
    return rowUpdateStatus(active_.data());
}

void TDataSet::computeCalcFields(Byte* buffer) {
    if (!hasCalcFields_ || !onCalcFields || !autoCalcFields)
        return;
    std::memset(buffer + calcOffset_, 0, infoOffset_ - calcOffset_);
    TDataSetState saved = state_;
    Byte* savedRow = calcRow_;
    state_ = TDataSetState::CalcFields;
    calcRow_ = buffer;
    try {
        onCalcFields(*this);
    } catch (...) {
        state_ = saved;
        calcRow_ = savedRow;
        throw;
    }
    state_ = saved;
    calcRow_ = savedRow;
}

bool TDataSet::runFilterRecord(Byte* record) {
    bool accept = true;
    if (!onFilterRecord_)
        return accept;
    TDataSetState saved = state_;
    Byte* savedRow = filterRow_;
    state_ = TDataSetState::Filter;
    filterRow_ = record;
    try {
        onFilterRecord_(*this, accept);
    } catch (...) {
        state_ = saved;
        filterRow_ = savedRow;
        throw;
    }
    state_ = saved;
    filterRow_ = savedRow;
    return accept;
}

bool TDataSet::fetchInto(FetchMode mode, bool reportErrors) {
    FetchResult result = fetchRow(scratch_.data(), mode, reportErrors);
    if (result != FetchResult::Ok)
        return false;
    std::swap(active_, scratch_);
    empty_ = false;
    return true;
}

void TDataSet::syncCursor() {
    if (!cursorPosChanged_ || empty_)
        return;
    if (rowBookmarkFlag(active_.data()) == BookmarkFlag::Current)
        gotoRowBookmark(rowBookmark(active_.data()));
    cursorPosChanged_ = false;
}

void TDataSet::first() {
    openAtEnd(false);
}

void TDataSet::last() {
    openAtEnd(true);
}

void TDataSet::next() {
    step(false);
}

void TDataSet::prior() {
    step(true);
}

// The data set stands at the end it opened at; only an empty one stands at both.
void TDataSet::openAtEnd(bool last) {
    checkBrowseMode();
    runEvent(beforeScroll);
    last ? cursorToEnd() : cursorToStart();
    cursorPosChanged_ = false;
    empty_ = !fetchInto(last ? FetchMode::Prior : FetchMode::Next);
    (last ? eof_ : bof_) = true;
    (last ? bof_ : eof_) = empty_;
    if (empty_)
        cursorPosChanged_ = true;
    dataEvent(DataEvent::DataSetChange);
    scrolled();
}

void TDataSet::step(bool backward) {
    checkBrowseMode();
    bool& ahead = backward ? bof_ : eof_;
    if (ahead)
        return;
    runEvent(beforeScroll);
    syncCursor();
    if (fetchInto(backward ? FetchMode::Prior : FetchMode::Next)) {
        (backward ? eof_ : bof_) = false;
    } else {
        ahead = true;
        cursorPosChanged_ = true; // the cursor went past the end
    }
    dataEvent(DataEvent::DataSetScroll);
    scrolled();
}

int TDataSet::moveBy(int distance) {
    int moved = 0;
    while (distance > 0 && !eof_) {
        next();
        if (!eof_)
            ++moved;
        --distance;
    }
    while (distance < 0 && !bof_) {
        prior();
        if (!bof_)
            --moved;
        ++distance;
    }
    return moved;
}

int TDataSet::recordCount() {
    checkActive();
    return rowCount();
}

void TDataSet::resync() {
    cursorPosChanged_ = false;
    // The row under the cursor, else its neighbour (after a delete the cursor is on a crack).
    if (fetchInto(FetchMode::Current, false))
        return;
    if (fetchInto(FetchMode::Next, false))
        return;
    if (fetchInto(FetchMode::Prior, false))
        return;
    empty_ = true;
    eof_ = bof_ = true;
}

void TDataSet::edit() {
    checkActive();
    if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert)
        return;
    if (empty_)
        return insert();
    runEvent(beforeEdit);
    syncCursor();
    try {
        beginRowEdit(active_.data());
    } catch (const std::exception& error) {
        if (onEditError)
            onEditError(*this, error);
        throw;
    }
    setState(TDataSetState::Edit);
    dataEvent(DataEvent::RecordChange);
    runEvent(afterEdit);
}

void TDataSet::insert() {
    checkBrowseMode();
    runEvent(beforeInsert);
    syncCursor();
    backupValid_ = !empty_;
    if (backupValid_)
        backup_ = active_;
    beginRowInsert();
    std::fill(active_.begin(), active_.end(), 0);
    initRowBuffer(active_.data());
    setRowInfo(active_.data(), -1, UpdateStatus::Inserted, BookmarkFlag::Inserted);
    setState(TDataSetState::Insert);
    newRecord();
    modified_ = false;
    dataEvent(DataEvent::DataSetChange);
    runEvent(afterInsert);
}

void TDataSet::append() {
    insert();
}

void TDataSet::post() {
    checkActive();
    if (state_ == TDataSetState::SetKey)
        return endKeyEdit(true);
    if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert)
        return;
    dataEvent(DataEvent::UpdateRecord);
    runEvent(beforePost);
    for (auto& field : fields_)
        if (field->required() && !field->readOnly() && field->fieldKind() == TFieldKind::Data &&
            field->isNull())
            databaseError("Field '" + field->displayName() + "' must have a value");
    try {
        postRow(active_.data());
    } catch (const std::exception& error) {
        if (onPostError)
            onPostError(*this, error);
        throw;
    }
    bool inserted = state_ == TDataSetState::Insert;
    setState(TDataSetState::Browse);
    if (inserted || !postKeepsRow()) {
        afterPostOrCancel();
    } else {
        // The cursor stayed on the row, and the row holds what was written.
        computeCalcFields(active_.data());
        dataEvent(DataEvent::DataSetChange);
    }
    runEvent(afterPost);
}

void TDataSet::afterPostOrCancel() {
    backupValid_ = false;
    resync();
    if (!empty_)
        eof_ = bof_ = false;
    dataEvent(DataEvent::DataSetChange);
}

void TDataSet::cancel() {
    checkActive();
    if (state_ == TDataSetState::SetKey)
        return endKeyEdit(false);
    if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert)
        return;
    runEvent(beforeCancel);
    bool inserting = state_ == TDataSetState::Insert;
    if (!inserting)
        cancelRowEdit();
    setState(TDataSetState::Browse);
    if (inserting) {
        if (backupValid_) {
            active_ = backup_;
            cursorPosChanged_ = true;
        } else {
            empty_ = true;
        }
        backupValid_ = false;
        dataEvent(DataEvent::DataSetChange);
    } else {
        afterPostOrCancel();
    }
    runEvent(afterCancel);
}

void TDataSet::deleteRecord() {
    checkActive();
    if (state_ == TDataSetState::Insert)
        return cancel();
    if (empty_)
        databaseError("Cannot perform this operation on an empty dataset");
    checkBrowseMode();
    runEvent(beforeDelete);
    syncCursor();
    try {
        deleteRow();
    } catch (const std::exception& error) {
        if (onDeleteError)
            onDeleteError(*this, error);
        throw;
    }
    setState(TDataSetState::Browse);
    resync();
    dataEvent(DataEvent::DataSetChange);
    runEvent(afterDelete);
}

void TDataSet::checkBrowseMode() {
    checkActive();
    dataEvent(DataEvent::CheckBrowseMode);
    if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) {
        dataEvent(DataEvent::UpdateRecord);
        if (modified_)
            post();
        else
            cancel();
    } else if (state_ == TDataSetState::SetKey) {
        post();
    }
}

Bookmark TDataSet::getBookmark() const {
    if (!active() || empty_ || rowBookmarkFlag(active_.data()) != BookmarkFlag::Current)
        return {};
    return Bookmark(active_.begin() + static_cast<std::ptrdiff_t>(bookmarkOffset_),
                    active_.begin() +
                        static_cast<std::ptrdiff_t>(bookmarkOffset_ + bookmarkSize()));
}

void TDataSet::gotoBookmark(const Bookmark& bookmark) {
    checkBrowseMode();
    if (bookmark.size() < bookmarkSize())
        databaseError("Invalid bookmark");
    runEvent(beforeScroll);
    gotoRowBookmark(bookmark.data());
    cursorPosChanged_ = false;
    if (!fetchInto(FetchMode::Current))
        databaseError("Record not found");
    eof_ = bof_ = false;
    dataEvent(DataEvent::DataSetChange);
    scrolled();
}

bool TDataSet::bookmarkValid(const Bookmark& bookmark) {
    if (!active() || bookmark.size() < bookmarkSize())
        return false;
    cursorPosChanged_ = true;
    return isRowBookmarkValid(bookmark.data());
}

int TDataSet::compareBookmarks(const Bookmark& a, const Bookmark& b) {
    if (a.empty() && b.empty())
        return 0;
    if (a.empty())
        return 1;
    if (b.empty())
        return -1;
    return compareRowBookmarks(a.data(), b.data());
}

TField& TDataSet::fields(int index) const {
    if (index < 0 || index >= fieldCount())
        databaseError("Field index out of range");
    return *fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::findField(const std::string& name) const {
    for (auto& field : fields_)
        if (equalsIgnoreCase(field->fieldName(), name))
            return field.get();
    return nullptr;
}

TField& TDataSet::fieldByName(const std::string& name) const {
    TField* field = findField(name);
    if (!field)
        databaseError("Field '" + name + "' not found");
    return *field;
}

TField& TDataSet::addField(std::unique_ptr<TField> field) {
    checkInactive();
    field->setDataSet(this);
    fields_.insert(fields_.begin() + static_cast<std::ptrdiff_t>(persistentFields_),
                   std::move(field));
    return *fields_[persistentFields_++];
}

void TDataSet::fieldChanged(TField& field) {
    if (state_ == TDataSetState::CalcFields || state_ == TDataSetState::Filter ||
        state_ == TDataSetState::NewValue)
        return;
    modified_ = true;
    dataEvent(DataEvent::FieldChange, reinterpret_cast<std::intptr_t>(&field));
}

Byte* TDataSet::currentRowBuffer() {
    switch (state_) {
    case TDataSetState::Browse:
        return empty_ ? nullptr : active_.data();
    case TDataSetState::Filter:
        return filterRow_;
    case TDataSetState::CalcFields:
        return calcRow_;
    case TDataSetState::Inactive:
        return nullptr;
    default:
        return active_.data();
    }
}

std::string TDataSet::getBlobFieldData(TField& field) {
    databaseError("Field '" + field.fieldName() + "' cannot be read as a blob");
}

void TDataSet::setBlobFieldData(TField& field, const std::string&) {
    databaseError("Field '" + field.fieldName() + "' cannot be modified");
}

void TDataSet::setFilter(const std::string& text) {
    if (text == filterText_)
        return;
    filterText_ = text;
    if (active())
        filterChanged();
}

void TDataSet::setFiltered(bool filtered) {
    if (filtered == filtered_)
        return;
    filtered_ = filtered;
    if (active()) {
        checkBrowseMode();
        filterChanged();
        first();
    }
}

void TDataSet::setFilterOptions(const FilterOptions& options) {
    filterOptions_ = options;
    if (active())
        filterChanged();
}

void TDataSet::setOnFilterRecord(FilterRecordEvent event) {
    onFilterRecord_ = std::move(event);
    if (active())
        filterChanged();
}

std::vector<TField*> TDataSet::fieldList(const std::string& names) const {
    std::vector<TField*> list;
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = std::min(names.find(';', start), names.size());
        std::string name = trimBlanks(names.substr(start, end - start));
        if (!name.empty())
            list.push_back(&fieldByName(name));
        start = end + 1;
    }
    return list;
}

bool TDataSet::locate(const std::string& keyFields, const std::vector<Variant>& values,
                      LocateOptions options) {
    checkBrowseMode();
    std::vector<TField*> fields = fieldList(keyFields);
    if (fields.size() != values.size())
        databaseError("Locate needs one value for each field");
    if (!locateRow(fields, values, options, scratch_.data()))
        return false;
    runEvent(beforeScroll);
    std::swap(active_, scratch_);
    empty_ = false;
    eof_ = bof_ = false;
    cursorPosChanged_ = false;
    dataEvent(DataEvent::DataSetChange);
    scrolled();
    return true;
}

Variant TDataSet::lookup(const std::string& keyFields, const std::vector<Variant>& values,
                         const std::string& resultField) {
    checkBrowseMode();
    std::vector<TField*> fields = fieldList(keyFields);
    TField& result = fieldByName(resultField);
    if (fields.size() != values.size())
        databaseError("Lookup needs one value for each field");
    if (!locateRow(fields, values, {}, scratch_.data()))
        return Variant::null();
    // Read the found row without making it the active one.
    std::swap(active_, scratch_);
    bool wasEmpty = empty_;
    empty_ = false;
    cursorPosChanged_ = true;
    Variant value;
    try {
        computeCalcFields(active_.data());
        value = result.value();
    } catch (...) {
        std::swap(active_, scratch_);
        empty_ = wasEmpty;
        throw;
    }
    std::swap(active_, scratch_);
    empty_ = wasEmpty;
    return value;
}

void TDataSet::setBlockReadSize(int size) {
    if (size == blockReadSize_)
        return;
    if (active())
        checkBrowseMode();
    blockReadSize_ = size;
    if (active())
        blockReadChanged();
}

void TDataSet::addDataSource(TDataSource* source) {
    if (std::find(dataSources_.begin(), dataSources_.end(), source) == dataSources_.end())
        dataSources_.push_back(source);
}

void TDataSet::removeDataSource(TDataSource* source) {
    dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), source),
                       dataSources_.end());
}

void TDataSet::dataEvent(DataEvent event, std::intptr_t info) {
    if (event == DataEvent::ParentScroll)
        parentScrolled();
    for (TDataSource* source : std::vector<TDataSource*>(dataSources_))
        source->notifyLinks(event, info);
}

void TDataSet::scrolled() {
    runEvent(afterScroll);
    for (TDataSet* nested : std::vector<TDataSet*>(nested_))
        if (nested->active())
            nested->dataEvent(DataEvent::ParentScroll);
}

void TDataSet::addNestedDataSet(TDataSet* nested) {
    if (nested->parent_)
        nested->parent_->removeNestedDataSet(nested);
    nested->parent_ = this;
    nested_.push_back(nested);
}

void TDataSet::removeNestedDataSet(TDataSet* nested) {
    if (std::erase(nested_, nested) > 0)
        nested->parent_ = nullptr;
}

bool TDataSet::findRow(bool restart, bool forward) {
    checkBrowseMode();
    runEvent(beforeScroll);
    bool found = findRecord(restart, forward);
    if (found) {
        resync();
        empty_ = false;
        eof_ = bof_ = false;
    }
    dataEvent(DataEvent::DataSetChange);
    scrolled();
    return found;
}

void TDataSet::refresh() {
    checkBrowseMode();
    refreshRows();
    resync();
    dataEvent(DataEvent::DataSetChange);
}

TDataSource::~TDataSource() {
    setDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(links_))
        link->setDataSource(nullptr);
}

void TDataSource::setDataSet(TDataSet* dataSet) {
    if (dataSet_ == dataSet)
        return;
    if (dataSet_) {
        dataSet_->removeDataSource(this);
        removeFreeNotification(dataSet_);
    }
    dataSet_ = dataSet;
    if (dataSet_) {
        dataSet_->addDataSource(this);
        freeNotification(dataSet_);
    }
    notifyLinks(DataEvent::UpdateState, 0);
}

void TDataSource::notification(TComponent* component, Operation operation) {
    if (operation == Operation::Remove && component == dataSet_) {
        dataSet_ = nullptr;
        notifyLinks(DataEvent::UpdateState, 0);
    }
}

void TDataSource::addLink(TDataLink* link) {
    links_.push_back(link);
}

void TDataSource::removeLink(TDataLink* link) {
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TDataSource::notifyLinks(DataEvent event, std::intptr_t info) {
    for (TDataLink* link : std::vector<TDataLink*>(links_))
        link->dataEvent(event, info);
}

TDataLink::~TDataLink() {
    setDataSource(nullptr);
}

void TDataLink::setDataSource(TDataSource* source) {
    if (dataSource_ == source)
        return;
    if (dataSource_)
        dataSource_->removeLink(this);
    dataSource_ = source;
    if (dataSource_)
        dataSource_->addLink(this);
    activeChanged();
}

void TDataLink::dataEvent(DataEvent event, std::intptr_t info) {
    switch (event) {
    case DataEvent::UpdateState:
        activeChanged();
        break;
    case DataEvent::FieldChange:
    case DataEvent::RecordChange:
        recordChanged(reinterpret_cast<TField*>(info));
        break;
    case DataEvent::DataSetChange:
        dataSetChanged();
        break;
    case DataEvent::DataSetScroll:
        dataSetScrolled();
        break;
    default:
        break;
    }
}

} // namespace accessdb
