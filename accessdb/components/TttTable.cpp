#include "accessdb/components/TttTable.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/EngineSupport.h"
#include "accessdb/components/TttBlobStream.h"
#include "accessdb/components/TttDatabase.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TVirtEng.h"

#include <algorithm>

namespace accessdb {
namespace {

constexpr int DefinitionsUse = 1; // the database flag of reading definitions while closed

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = std::min(text.find(';', start), text.size());
        std::string name = trimBlanks(text.substr(start, end - start));
        if (!name.empty())
            names.push_back(name);
        start = end + 1;
    }
    return names;
}

bool sameFieldList(const std::vector<std::string>& a, const std::vector<std::string>& b,
                   std::size_t count) {
    if (a.size() < count || b.size() < count)
        return false;
    for (std::size_t i = 0; i < count; ++i)
        if (!equalsIgnoreCase(a[i], b[i]))
            return false;
    return true;
}

// "C:\dir\name" and "dir/name" give "name".
std::string withoutDirectory(const std::string& name) {
    std::size_t cut = name.find_last_of("\\/:");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

// Holds the database open for reading definitions while the dataset is closed.
class DefinitionsGuard {
public:
    explicit DefinitionsGuard(TttDBDataset& table) : table_(table) {
        table_.setDBFlag(DefinitionsUse, true);
    }
    ~DefinitionsGuard() {
        try {
            table_.setDBFlag(DefinitionsUse, false);
        } catch (...) {
        }
    }
    DefinitionsGuard(const DefinitionsGuard&) = delete;
    DefinitionsGuard& operator=(const DefinitionsGuard&) = delete;

private:
    TttDBDataset& table_;
};

} // namespace

TttTable::TttTable(TComponent* owner, TttSessionlist& sessionList)
    : TttDBDataset(owner, sessionList) {
    masterLink_.onMasterChange = [this] { masterChanged(); };
    masterLink_.onMasterDisable = [this] { masterDisabled(); };
}

TttTable::~TttTable() {
    try {
        close();
    } catch (...) {
    }
    masterLink_.setDataSource(nullptr);
}

void TttTable::setTableName(const std::string& name) {
    if (loading()) {
        tableName_ = name;
        return;
    }
    if (name == tableName_)
        return;
    checkInactive();
    tableName_ = name;
    dataEvent(DataEvent::PropertyChange);
}

void TttTable::setExclusive(bool on) {
    checkInactive();
    exclusive_ = on;
}

void TttTable::setReadOnly(bool on) {
    checkInactive();
    readOnly_ = on;
}

void TttTable::setMasterSource(TDataSource* source) {
    if (source && source->dataSet() == this)
        databaseError("Circular datalinks are not allowed");
    masterLink_.setDataSource(source);
}

// Opening.

TBaseTable* TttTable::createHandle() {
    if (tableName_.empty())
        databaseError("Missing TableName property");
    indexDefsCurrent_ = false;
    bool standard = database() && database()->isStandard();
    OpenTableArgs args;
    args.tableName = ansiToNative(engine(), tableName_, 260);
    if (!standard)
        indexParams(args.indexName, args.indexTag);
    args.indexId = defaultIndex_ ? 0 : 0xFFFF;
    args.openMode = readOnly_ ? 1 : 0;
    args.shareMode = exclusive_ ? 1 : 0;
    args.translateMode = 2;
    TBaseTable* cursor = nullptr;
    for (;;) {
        Status status = engine()->OpenTable(dbHandle(), args, cursor);
        // A table the engine can only read is opened read-only.
        if (status == dbierr::TABLEREADONLY && args.openMode != 1) {
            args.openMode = 1;
            continue;
        }
        if (checkOpen(status))
            break;
    }
    if (standard) {
        std::string name, tag;
        try {
            indexParams(name, tag);
            if (!name.empty())
                check(engine(), engine()->SwitchToIndex(cursor, name, tag, 0, false));
        } catch (...) {
            engine()->CloseCursor(cursor);
            throw;
        }
    }
    return cursor;
}

void TttTable::afterOpenHook() {
    if (masterLink_.active() && !masterLink_.fields().empty())
        masterChanged();
}

void TttTable::closeDataset() {
    closeLookupCursor();
    TttDBDataset::closeDataset();
}

// Index selection.

void TttTable::indexParams(std::string& name, std::string& tag) {
    name.clear();
    tag.clear();
    if (indexSelector_.empty())
        return;
    std::string chosen = indexSelector_;
    if (byFields_) {
        updateIndexDefs();
        chosen = indexForFields(indexSelector_, std::nullopt)->name;
    }
    name = ansiToNative(engine(), chosen, 260);
}

const TIndexDef* TttTable::indexForFields(const std::string& fields,
                                          std::optional<bool> caseInsensitive) {
    std::vector<std::string> wanted = splitFields(fields);
    auto matches = [&](const TIndexDef& def) {
        return !def.expression && (!caseInsensitive || def.caseInsensitive == *caseInsensitive);
    };
    // An index on exactly those fields first, else one that starts with them.
    for (bool exact : {true, false}) {
        for (int i = 0; i < indexDefs_.count(); ++i) {
            const TIndexDef& def = indexDefs_.items(i);
            std::vector<std::string> keys = splitFields(def.fields);
            if (!matches(def) || (exact && keys.size() != wanted.size()))
                continue;
            if (sameFieldList(keys, wanted, wanted.size()))
                return &def;
        }
    }
    if (caseInsensitive)
        return nullptr;
    databaseError("No index for fields '" + fields + "'");
}

void TttTable::selectIndex(const std::string& text, bool byFields) {
    if (active())
        checkBrowseMode();
    if (text == indexSelector_ && byFields == byFields_)
        return;
    if (active()) {
        std::string previous = indexSelector_;
        bool previousKind = byFields_;
        indexSelector_ = text;
        byFields_ = byFields;
        std::string name, tag;
        try {
            indexParams(name, tag);
        } catch (...) {
            indexSelector_ = previous;
            byFields_ = previousKind;
            throw;
        }
        switchToIndex(name, tag);
        afterOpenHook();
        resync();
        return;
    }
    indexSelector_ = text;
    byFields_ = byFields;
}

// Definitions.

void TttTable::initFieldDefs() {
    if (handle()) {
        loadFieldDefinitions();
        return;
    }
    if (tableName_.empty())
        databaseError("Missing TableName property");
    DefinitionsGuard guard(*this);
    ListCursor list{engine()};
    std::string table = ansiToNative(engine(), tableName_, 260);
    while (!checkOpen(engine()->OpenFieldList(dbHandle(), table, "", false, list.cursor))) {
    }
    std::uint32_t count = 0;
    check(engine(), engine()->GetRecordCount(list.cursor, count));
    std::vector<FieldDesc> descs;
    std::vector<Byte> record(FieldDesc::Size);
    std::size_t largest = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        check(engine(),
              engine()->GetNextRecord(list.cursor, LockType::None, record.data(), nullptr));
        descs.push_back(FieldDesc::unpack(record.data()));
        largest = std::max<std::size_t>(largest, descs.back().fieldNumber);
    }
    std::vector<bool> required(std::max(largest, descs.size()) + 1, false);
    ListCursor checks{engine()};
    if (engine()->OpenVchkList(dbHandle(), table, "", checks.cursor) == 0) {
        std::vector<Byte> vchk(64);
        while (engine()->GetNextRecord(checks.cursor, LockType::None, vchk.data(), nullptr) == 0) {
            std::uint16_t field = getU16(vchk.data(), 0);
            if (field >= required.size())
                required.resize(std::size_t{field} + 100, false);
            if (getU16(vchk.data(), 2) != 0 && getU16(vchk.data(), 6) == 0)
                required[field] = true;
        }
    }
    buildFieldDefs(descs, required);
}

std::vector<IndexDesc> TttTable::readIndexDescs() {
    std::vector<IndexDesc> descs;
    if (handle()) {
        CursorProps props;
        check(engine(), engine()->GetCursorProps(handle(), props));
        if (props.indexCount > 0)
            check(engine(), engine()->GetIndexDescs(handle(), descs));
        return descs;
    }
    if (tableName_.empty())
        databaseError("Missing TableName property");
    DefinitionsGuard guard(*this);
    ListCursor list{engine()};
    std::string table = ansiToNative(engine(), tableName_, 260);
    for (;;) {
        Status status = engine()->OpenIndexList(dbHandle(), table, "", list.cursor);
        if (status == dbierr::NOTINDEXED)
            return descs;
        if (checkOpen(status))
            break;
    }
    std::vector<Byte> record(IndexDesc::Size);
    while (engine()->GetNextRecord(list.cursor, LockType::None, record.data(), nullptr) == 0) {
        IndexDesc desc = IndexDesc::unpack(record.data());
        if (desc.maintained)
            descs.push_back(desc);
    }
    return descs;
}

void TttTable::updateIndexDefs() {
    if (fieldDefs().count() == 0)
        initFieldDefs();
    std::vector<IndexDesc> descs = readIndexDescs();
    indexDefs_.clear();
    for (const IndexDesc& desc : descs)
        indexDefs_.add() = indexDefOf(desc);
    indexDefsCurrent_ = true;
}

TIndexDef TttTable::indexDefOf(const IndexDesc& desc) const {
    TIndexDef def;
    if (!desc.tagName.empty()) {
        def.name = withoutDirectory(nativeToAnsi(engine(), desc.tagName));
        def.source = withoutDirectory(nativeToAnsi(engine(), desc.name));
    } else {
        def.name = withoutDirectory(nativeToAnsi(engine(), desc.name));
    }
    def.primary = desc.primary != 0;
    def.unique = desc.unique != 0;
    def.descending = desc.descending != 0;
    def.caseInsensitive = desc.caseInsensitive != 0;
    def.nonMaintained = desc.maintained == 0;
    def.expression = desc.expressionIndex != 0;
    if (def.expression) {
        def.fields = desc.keyExpression;
        return def;
    }
    auto nameOf = [this](std::uint16_t number) {
        for (int i = 0; i < const_cast<TttTable*>(this)->fieldDefs().count(); ++i) {
            const TFieldDef& field = const_cast<TttTable*>(this)->fieldDefs().items(i);
            if (field.fieldNo == number)
                return field.name;
        }
        return std::to_string(number);
    };
    for (std::uint16_t k = 0; k < desc.keyFieldCount && k < IndexDesc::MaxKeyFields; ++k) {
        std::string name = nameOf(desc.keyFields[k]);
        def.fields += (def.fields.empty() ? "" : ";") + name;
        if (desc.descendingFields[k])
            def.descFields += (def.descFields.empty() ? "" : ";") + name;
    }
    if (def.descending && def.descFields == def.fields)
        def.descFields.clear();
    return def;
}

// Master and detail.

void TttTable::masterChanged() {
    if (!active())
        return;
    checkBrowseMode();
    std::vector<Variant> values;
    for (TField* field : masterLink_.fields())
        values.push_back(field->value());
    setLinkRanges(values);
    applyRange();
}

void TttTable::masterDisabled() {
    if (!active())
        return;
    checkBrowseMode();
    cancelRange();
}

void TttTable::newRecord() {
    if (masterLink_.active()) {
        const std::vector<TField*>& master = masterLink_.fields();
        for (std::size_t i = 0; i < master.size() && static_cast<int>(i) < indexFieldCount(); ++i)
            indexField(static_cast<int>(i)).setValue(master[i]->value());
    }
    TttDBDataset::newRecord();
}

void TttTable::getDetailLinkFields(std::vector<TField*>& masterFields,
                                   std::vector<TField*>& detailFields) {
    masterFields.clear();
    detailFields.clear();
    if (!masterLink_.active() || masterLink_.fieldNames().empty())
        return;
    masterFields = masterLink_.fields();
    updateIndexDefs();
    const TIndexDef* index = nullptr;
    if (!indexName().empty())
        index = indexDefs_.find(indexName());
    else if (!indexFieldNames().empty())
        index = indexForFields(indexFieldNames(), std::nullopt);
    for (int i = 0; !index && i < indexDefs_.count(); ++i)
        if (indexDefs_.items(i).primary)
            index = &indexDefs_.items(i);
    if (!index)
        return;
    for (const std::string& name : splitFields(index->fields))
        detailFields.push_back(&fieldByName(name));
}

// Lookups.

void TttTable::closeLookupCursor() {
    if (lookupCursor_ && engine())
        engine()->CloseCursor(lookupCursor_);
    lookupCursor_ = nullptr;
    lookupKnown_ = false;
}

TBaseTable* TttTable::getLookupCursor(const std::string& keyFields, bool caseInsensitive) {
    if (lookupKnown_ && keyFields == lookupFields_ && caseInsensitive == lookupCaseInsensitive_)
        return lookupCursor_;
    closeLookupCursor();
    lookupKnown_ = true;
    lookupFields_ = keyFields;
    lookupCaseInsensitive_ = caseInsensitive;
    if (rangeApplied() || !handle())
        return nullptr;
    updateIndexDefs();
    const TIndexDef* index = indexForFields(keyFields, caseInsensitive);
    if (!index || keyFields.size() >= 127)
        return nullptr;
    TBaseTable* clone = nullptr;
    check(engine(), engine()->CloneCursor(handle(), true, false, clone));
    Status status =
        engine()->SwitchToIndex(clone, ansiToNative(engine(), index->name, 260), "", 0, false);
    if (status != 0) {
        engine()->CloseCursor(clone);
        check(engine(), status);
    }
    lookupCursor_ = clone;
    return lookupCursor_;
}

TBaseTable* TttTable::lookupCursor(const std::vector<TField*>& fields, bool caseInsensitive) {
    std::string names;
    for (TField* field : fields)
        names += (names.empty() ? "" : ";") + field->fieldName();
    return getLookupCursor(names, caseInsensitive);
}

std::unique_ptr<TttBlobStream> TttTable::createBlobStream(TField& field, BlobStreamMode mode) {
    return std::make_unique<TttBlobStream>(field, mode);
}

void TttTable::setBlobFieldData(TField& field, const std::string& data) {
    std::unique_ptr<TttBlobStream> stream = createBlobStream(field, BlobStreamMode::Write);
    stream->write(data.data(), static_cast<std::uint32_t>(data.size()));
}

} // namespace accessdb
