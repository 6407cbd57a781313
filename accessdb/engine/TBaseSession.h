#pragma once

#include "accessdb/engine/CursorCallback.h"
#include "accessdb/engine/DatabaseDesc.h"
#include "accessdb/engine/EngineParams.h"
#include "accessdb/engine/TBapiListItem.h"
#include "accessdb/engine/TBaseDBListTable.h"
#include "accessdb/engine/TTorvaneCollection.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace accessdb {

class TBaseCfgrecord;
class TBaseDatabase;
class TBaseTable;
class TMemTable;
class TRightsRegistry;

// Session information (562 bytes packed).
struct SesInfo {
    static constexpr std::size_t Size = 562;
    std::uint16_t sessionNumber = 0;
    std::string name;
    std::uint16_t databaseCount = 0;
    std::uint16_t cursorCount = 0;
    std::int16_t lockWait = 0;
    std::string netDir;
    std::string privateDir;
    void pack(Byte* p) const;
};

// Client information (327 bytes packed).
struct ClientInfo {
    static constexpr std::size_t Size = 327;
    std::string name;
    std::uint16_t sessionCount = 0;
    std::string workingDir;
    std::string language;
    void pack(Byte* p) const;
};

// System information (14 bytes packed): seven counters, of which the engine fills the
// number of sessions.
struct SysInfo {
    static constexpr std::size_t Size = 14;
    std::uint16_t sessionCount = 0;
    void pack(Byte* p) const;
};

// What opening a database asks for.
struct OpenDatabaseArgs {
    std::string name;
    std::string type;
    std::uint32_t openMode = 0;
    std::uint32_t shareMode = 0;
    std::string password;
    EngineParams params;
};

// The engine-neutral session: it owns a driver's databases, resolves database names
// (directory paths, aliases of its configuration records and of the registry) into
// database descriptors, and keeps the configuration tree of aliases. A driver derives its
// session from it and supplies initDriver, driverType, fillDbType and createDatabase; the
// driver's constructor calls its own initDriver first.
class TBaseSession : public TBapiListItem {
public:
    static constexpr std::uint32_t CurrentDirProp = 0x20002;
    static constexpr std::uint32_t ConfigModeProp = 0x20003;
    static constexpr std::uint32_t ConfigModeProp2 = 0x2000C;
    static constexpr std::size_t MaxAliasPairs = 17;
    static constexpr std::size_t AliasValueBufferSize = 1025;

    TBaseSession(TBapiListItem* engine, const std::string& directory, const std::string& name,
                 TTorvaneCollection* collection);
    ~TBaseSession() override;

    const std::string& name() const { return name_; }
    const std::string& netDir() const { return netDir_; }
    const std::string& privateDir() const { return privateDir_; }
    void setPrivateDir(const std::string& dir);
    TTorvaneCollection& databases() { return databases_; }
    TTorvaneCollection& configRecords() { return configRecords_; }
    TTorvaneCollection& listCursors() { return listCursors_; }
    const SessionInfo& registryInfo() const { return registryInfo_; }
    std::uint32_t configMode() const { return configMode_; }

    void getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                 std::uint16_t maxLen) override;
    void setProp(std::uint32_t propId, std::uint32_t value) override;

    void setSessionValue(std::uint16_t value) { sessionValue_ = value; }
    virtual void initDriver() {}
    virtual SesInfo getBasicSesInfo();
    virtual std::string driverType() const { return "TORVANE"; }
    virtual void fillDbType(bool keep, DatabaseDesc& descriptor);
    // A name with ":", "\" or "." is a directory path; any other is looked up in the
    // database list, and an unknown one is DBIERR_UNKNOWNDB.
    virtual void getDatabaseDesc(const std::string& name, DatabaseDesc& descriptor, bool keep);
    void getDatabaseDescDefault(const std::string& name, DatabaseDesc& descriptor);
    virtual TBaseDatabase* createDatabase(const DatabaseDesc& descriptor,
                                          const OpenDatabaseArgs& args);
    virtual TBaseDatabase* openDatabase(const OpenDatabaseArgs& args);
    virtual TBaseTable* openDatabaseList();
    virtual void closeList(TBaseTable*& cursor);
    // Runs after a list cursor was closed; drivers idle their engine here.
    virtual void afterCloseList() {}

    // Translation between the windows' character set and the engine's; either may be a
    // plain copy for a driver that keeps its texts as they are.
    virtual std::string nativeToAnsi(const std::string& text) const;
    virtual std::string ansiToNative(const std::string& text) const;
    // Pass a callback registration, or the query for one, to the cursor; a missing cursor
    // is not supported.
    virtual void registerCallBack(TBaseTable* cursor, const CursorCallback& callback);
    virtual CursorCallback getCallBack(TBaseTable* cursor, int callbackType);
    // The open cursors of every database summed (0 unless all are asked for): the count a
    // session reports among its open objects.
    virtual std::uint16_t sumDatabaseCounts(bool all);

    virtual ClientInfo getClientInfo();
    virtual SysInfo getSysInfo();
    virtual SesInfo getSesInfo();
    virtual std::string getNetUserName() const;

    // Alias parameter texts are pairs name:"value"; an alias lives in the configuration
    // record "\DATABASES\<alias>\DB INFO".
    static std::vector<std::pair<std::string, std::string>>
    parseAliasParams(const std::string& text);
    virtual void addAlias(const std::string& alias, const std::string& paramText);
    virtual void deleteAlias(const std::string& alias);
    virtual void writeAliasParams(TRightsRegistry& registry, const std::string& paramText);
    virtual void saveAlias(const std::string& alias, const std::string& paramText);
    virtual void removeAlias(const std::string& alias);
    // Fills the configuration list of the node the path names.
    virtual void fillCfgInfoList(TMemTable& list, const std::string& path);
    TMemTable* openCfgInfoList(const std::string& path);

    virtual void cfgNodeExists(const std::string& path);
    virtual TBaseCfgrecord* getCfgRecord(const std::string& path);
    virtual void setCfgRecord(const std::string& path, const EngineParams& params);
    virtual void modifyCfgRecord(const std::string& path, const EngineParams& params);
    virtual void deleteCfgRecords(const std::string& text);

protected:
    SessionInfo registryInfo_;
    bool noOemToAnsi_ = false;
    bool noAnsiToOem_ = false;
    bool pathsAreFiles_ = false;
    std::int32_t lockWait_ = 0;

private:
    std::string aliasKey(const std::string& alias) const;

    TTorvaneCollection databases_;
    TTorvaneCollection configRecords_;
    TTorvaneCollection listCursors_;
    std::uint16_t sessionValue_ = 0;
    std::string name_;
    std::string netDir_;
    std::string privateDir_;
    std::uint32_t configMode_ = 0;
};

} // namespace accessdb
