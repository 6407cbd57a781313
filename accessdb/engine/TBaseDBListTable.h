#pragma once

#include "accessdb/engine/DatabaseDesc.h"
#include "accessdb/engine/TBaseTable.h"
#include "accessdb/engine/TRightsRegistry.h"

#include <memory>
#include <string>
#include <vector>

namespace accessdb {

// Where a session's aliases live in the registry.
struct SessionInfo {
    platform::Registry::Root root = platform::Registry::Root::LocalMachine;
    std::string baseKey; // "\Software\Torvane\Access" for the Access session
    bool noTrailingBackslash = false;
};

// The databases defined by a session's configuration records ("...\DB INFO" nodes), as
// 357-byte database descriptors.
class TBaseDBListTable : public TBaseTable {
public:
    TBaseDBListTable(TBapiListItem* session, const SessionInfo& sessionInfo,
                     const std::string& driverType, TTorvaneCollection* configRecords,
                     TTorvaneCollection* collection);
    ~TBaseDBListTable() override;

    std::uint16_t recordSize() override { return DatabaseDesc::Size; }
    void setToBegin() override;
    void getNextRecord(LockType lock, Byte* buffer, RecordProps* props) override;

protected:
    // The next configured database; false when there is none left.
    bool nextConfigured(DatabaseDesc& desc);
    const SessionInfo& sessionInfo() const { return sessionInfo_; }
    const std::string& driverType() const { return driverType_; }
    void restartConfigured() { configIndex_ = 0; }

private:
    SessionInfo sessionInfo_;
    std::string driverType_;
    TTorvaneCollection* configRecords_;
    int configIndex_ = 0;
};

// The configured databases, then the aliases registered under "<base key>\Aliases".
class TRegDBListTable : public TBaseDBListTable {
public:
    using TBaseDBListTable::TBaseDBListTable;
    ~TRegDBListTable() override;

    void openCursor() override;
    void closeCursor() override;
    void getNextRecord(LockType lock, Byte* buffer, RecordProps* props) override;

private:
    std::vector<std::string> aliasNames_;
    std::unique_ptr<TRightsRegistry> registry_;
    std::size_t regIndex_ = 0;
    bool configuredDone_ = false;
};

} // namespace accessdb
