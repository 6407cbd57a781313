#include "accessdb/engine/TBaseDBListTable.h"

#include "accessdb/engine/DatabaseDesc.h"
#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TBaseCfgrecord.h"

namespace accessdb {
namespace {

const std::string kDatabasesNode = "\\DATABASES\\";

} // namespace

TBaseDBListTable::TBaseDBListTable(TBapiListItem* session, const SessionInfo& sessionInfo,
                                   const std::string& driverType, TTorvaneCollection* configRecords,
                                   TTorvaneCollection* collection)
    : TBaseTable(session, collection, "", driverType, 1, 1), sessionInfo_(sessionInfo),
      driverType_(leftChars(driverType, 31)), configRecords_(configRecords) {}

TBaseDBListTable::~TBaseDBListTable() {
    TBaseDBListTable::closeCursor();
}

void TBaseDBListTable::setToBegin() {
    TBaseTable::setToBegin();
    configIndex_ = 0;
}

bool TBaseDBListTable::nextConfigured(DatabaseDesc& desc) {
    if (!configRecords_)
        return false;
    while (configIndex_ < configRecords_->count()) {
        auto* record = static_cast<TBaseCfgrecord*>(configRecords_->at(configIndex_++));
        if (!record || !containsText(record->path(), "DB INFO"))
            continue;
        desc = DatabaseDesc{};
        std::string rest = record->path().size() > kDatabasesNode.size()
                               ? record->path().substr(kDatabasesNode.size())
                               : std::string();
        desc.name = leftChars(truncateAtChar(rest, '\\'), 31);
        auto path = record->value("PATH");
        if (!path)
            path = record->value("PhysicalName");
        desc.physicalName = leftChars(path.value_or(""), 255);
        desc.dbType = driverType_;
        return true;
    }
    return false;
}

void TBaseDBListTable::getNextRecord(LockType, Byte* buffer, RecordProps*) {
    DatabaseDesc desc;
    if (!nextConfigured(desc))
        raiseEOF();
    if (buffer)
        desc.pack(buffer);
    setOnRecord();
}

TRegDBListTable::~TRegDBListTable() {
    TRegDBListTable::closeCursor();
}

void TRegDBListTable::openCursor() {
    regIndex_ = 0;
    configuredDone_ = false;
    restartConfigured();
    aliasNames_.clear();
    registry_ = std::make_unique<TRightsRegistry>(engineRegistry(*this), sessionInfo().root,
                                                  TRightsRegistry::ReadAccess);
    if (registry_->openKey(sessionInfo().baseKey + "\\Aliases", false))
        aliasNames_ = registry_->keyNames();
    setPositionState(PositionState::NoPosition);
}

void TRegDBListTable::closeCursor() {
    if (positionState() == PositionState::Closed)
        return;
    setPositionState(PositionState::Closed);
    registry_.reset();
}

void TRegDBListTable::getNextRecord(LockType, Byte* buffer, RecordProps*) {
    DatabaseDesc desc;
    if (!configuredDone_) {
        if (nextConfigured(desc)) {
            if (buffer)
                desc.pack(buffer);
            setOnRecord();
            return;
        }
        configuredDone_ = true;
    }
    if (!registry_ || regIndex_ >= aliasNames_.size())
        raiseEOF();
    const std::string& alias = aliasNames_[regIndex_];
    TRightsRegistry key(engineRegistry(*this), sessionInfo().root, TRightsRegistry::ReadAccess);
    if (!key.openKey(sessionInfo().baseKey + "\\Aliases\\" + alias, false))
        raiseEOF();
    desc.name = leftChars(alias, 31);
    if (auto text = key.readValue("Description"))
        desc.description = leftChars(text->text, 31);
    if (auto path = key.readValue("PhysicalName")) {
        desc.physicalName =
            sessionInfo().noTrailingBackslash ? path->text : includeBackslash(path->text);
        desc.physicalName = leftChars(desc.physicalName, 260);
    }
    desc.dbType = driverType();
    if (buffer)
        desc.pack(buffer);
    ++regIndex_;
    setOnRecord();
}

} // namespace accessdb
