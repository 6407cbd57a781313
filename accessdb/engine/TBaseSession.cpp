#include "accessdb/engine/TBaseSession.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TBaseCfgrecord.h"
#include "accessdb/engine/TBaseDatabase.h"
#include "accessdb/engine/TMemTable.h"
#include "accessdb/engine/TRightsRegistry.h"

#include "platform/text/CodePage.h"

#include <cstring>
#include <filesystem>

namespace accessdb {
namespace {

const std::string kDatabasesNode = "\\DATABASES\\";

// The rows of a configuration list: node name, description, data type, value, sub-nodes.
std::vector<FieldDesc> cfgInfoFields() {
    auto field = [](const char* name, std::uint16_t type, std::int16_t units) {
        FieldDesc d;
        d.setName(name);
        d.type = type;
        d.units1 = units;
        return d;
    };
    return {field("szNodeName", fldtype::ZSTRING, 31),
            field("szDescription", fldtype::ZSTRING, 127), field("dUzizType", fldtype::UINT16, 0),
            field("szValue", fldtype::ZSTRING, 127), field("bHasSubNodes", fldtype::BOOL, 0)};
}

void appendCfgRow(TMemTable& list, const std::string& node, const std::string& value) {
    std::vector<Byte> row(list.dataSize(), 0);
    putText(row.data(), 0, 32, node);
    putU16(row.data(), 160, 1);
    putText(row.data(), 162, 128, value);
    list.appendRecord(row.data());
}

} // namespace

void SesInfo::pack(Byte* p) const {
    std::memset(p, 0, Size);
    putU16(p, 0, sessionNumber);
    putText(p, 2, 32, name);
    putU16(p, 34, databaseCount);
    putU16(p, 36, cursorCount);
    putI16(p, 38, lockWait);
    putText(p, 40, 261, netDir);
    putText(p, 301, 261, privateDir);
}

void ClientInfo::pack(Byte* p) const {
    std::memset(p, 0, Size);
    putText(p, 0, 32, name);
    putU16(p, 32, sessionCount);
    putText(p, 34, 261, workingDir);
    putText(p, 295, 32, language);
}

void SysInfo::pack(Byte* p) const {
    std::memset(p, 0, Size);
    putU16(p, 8, sessionCount);
}

TBaseSession::TBaseSession(TBapiListItem* engine, const std::string& directory,
                           const std::string& name, TTorvaneCollection* collection)
    : TBapiListItem(engine, collection), name_(leftChars(name, 31)) {
    if (!directory.empty()) {
        netDir_ = leftChars(directory, 260);
        privateDir_ = netDir_;
    }
}

TBaseSession::~TBaseSession() {
    databases_.freeAll();
    configRecords_.freeAll();
    listCursors_.freeAll();
}

void TBaseSession::setPrivateDir(const std::string& dir) {
    privateDir_ = leftChars(dir, 260);
}

void TBaseSession::getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                           std::uint16_t maxLen) {
    size = 0;
    switch (propId) {
    case CurrentDirProp: {
        std::error_code ec;
        std::string dir = std::filesystem::current_path(ec).string();
        size = checked16(dir.size() + 1);
        if (buffer && maxLen > 0)
            putText(buffer, 0, maxLen, dir);
        return;
    }
    case ConfigModeProp:
    case ConfigModeProp2:
        size = 4;
        if (buffer)
            putU32(buffer, 0, configMode_);
        return;
    default:
        TBapiListItem::getProp(propId, buffer, size, maxLen);
    }
}

void TBaseSession::setProp(std::uint32_t propId, std::uint32_t value) {
    if (propId == ConfigModeProp || propId == ConfigModeProp2)
        configMode_ = value;
}

SesInfo TBaseSession::getBasicSesInfo() {
    SesInfo info;
    TTorvaneCollection* engineSessions = collection();
    info.sessionNumber =
        static_cast<std::uint16_t>(engineSessions ? std::max(engineSessions->indexOf(this), 0) : 0);
    info.name = name_;
    info.databaseCount = checked16(static_cast<std::size_t>(databases_.count()));
    std::size_t cursors = 0;
    for (TBapiListItem* item : databases_.items())
        cursors += static_cast<TBaseDatabase*>(item)->openCursorCount();
    info.cursorCount = checked16(cursors);
    info.netDir = netDir_;
    info.privateDir = privateDir_;
    return info;
}

void TBaseSession::fillDbType(bool keep, DatabaseDesc& descriptor) {
    if (!keep)
        descriptor.dbType = "STANDARD";
}

void TBaseSession::getDatabaseDesc(const std::string& name, DatabaseDesc& descriptor, bool keep) {
    if (isPathName(name, true)) {
        descriptor = DatabaseDesc{};
        descriptor.name = "PATH";
        descriptor.description = "PATH";
        descriptor.physicalName = pathsAreFiles_ ? name : includeBackslash(name);
        descriptor.physicalName = leftChars(descriptor.physicalName, 260);
        fillDbType(false, descriptor);
        return;
    }
    TBaseTable* list = openDatabaseList();
    std::vector<Byte> record(DatabaseDesc::Size);
    bool found = false;
    try {
        for (;;) {
            list->getNextRecord(LockType::None, record.data(), nullptr);
            DatabaseDesc candidate = DatabaseDesc::unpack(record.data());
            if (equalsIgnoreCase(candidate.name, name)) {
                descriptor = candidate;
                fillDbType(keep, descriptor);
                found = true;
                break;
            }
        }
    } catch (const ETorvaneBoundryError&) {
    } catch (...) {
        closeList(list);
        throw;
    }
    closeList(list);
    if (!found)
        raiseEngineErrorText(dbierr::UNKNOWNDB, leftChars(name, 255));
}

void TBaseSession::getDatabaseDescDefault(const std::string& name, DatabaseDesc& descriptor) {
    getDatabaseDesc(name, descriptor, false);
}

TBaseDatabase* TBaseSession::createDatabase(const DatabaseDesc&, const OpenDatabaseArgs&) {
    raiseNotSupported(9200);
}

TBaseDatabase* TBaseSession::openDatabase(const OpenDatabaseArgs& args) {
    DatabaseDesc descriptor;
    descriptor.name = leftChars(args.name, 31);
    descriptor.dbType = leftChars(driverType(), 31);
    auto description = args.params.value("Description");
    auto physical = args.params.value("PhysicalName");
    if (description)
        descriptor.description = leftChars(*description, 31);
    if (physical)
        descriptor.physicalName = leftChars(*physical, 260);
    if (!description || !physical)
        getDatabaseDesc(args.name, descriptor, true);
    return createDatabase(descriptor, args);
}

TBaseTable* TBaseSession::openDatabaseList() {
    auto* list =
        new TRegDBListTable(this, registryInfo_, driverType(), &configRecords_, &listCursors_);
    list->openCursor();
    return list;
}

void TBaseSession::closeList(TBaseTable*& cursor) {
    delete cursor;
    cursor = nullptr;
    afterCloseList();
}

std::string TBaseSession::nativeToAnsi(const std::string& text) const {
    return noOemToAnsi_ ? text : platform::oemToAnsi(text);
}

std::string TBaseSession::ansiToNative(const std::string& text) const {
    return noAnsiToOem_ ? text : platform::ansiToOem(text);
}

void TBaseSession::registerCallBack(TBaseTable* cursor, const CursorCallback& callback) {
    checkAssigned(cursor, dbierr::NOTSUPPORTED)->registerCallBack(callback);
}

CursorCallback TBaseSession::getCallBack(TBaseTable* cursor, int callbackType) {
    return checkAssigned(cursor, dbierr::NOTSUPPORTED)->getCallBack(callbackType);
}

std::uint16_t TBaseSession::sumDatabaseCounts(bool all) {
    if (!all)
        return 0;
    std::size_t count = 0;
    for (TBapiListItem* item : databases_.items())
        count += static_cast<TBaseDatabase*>(item)->openCursorCount();
    return checked16(count);
}

ClientInfo TBaseSession::getClientInfo() {
    ClientInfo info;
    info.sessionCount = static_cast<std::uint16_t>(collection() ? collection()->count() : 1);
    info.workingDir = netDir_;
    return info;
}

SysInfo TBaseSession::getSysInfo() {
    SysInfo info;
    info.sessionCount = static_cast<std::uint16_t>(collection() ? collection()->count() : 1);
    return info;
}

SesInfo TBaseSession::getSesInfo() {
    SesInfo info = getBasicSesInfo();
    info.lockWait = static_cast<std::int16_t>(lockWait_);
    return info;
}

std::string TBaseSession::getNetUserName() const {
    return leftChars(networkUserName(*this), 256);
}

std::vector<std::pair<std::string, std::string>>
TBaseSession::parseAliasParams(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t bufferUsed = 0;
    bool inQuotes = false;
    bool readingName = true;
    std::string name;
    std::string value;
    for (char c : text) {
        if (c == '"') {
            inQuotes = !inQuotes;
            if (inQuotes) {
                readingName = false;
                continue;
            }
            if (pairs.size() == MaxAliasPairs)
                throw ERangeError("Too many alias parameters");
            bufferUsed += value.size() + 1;
            if (bufferUsed > AliasValueBufferSize)
                throw ERangeError("Alias parameter values too long");
            pairs.emplace_back(leftChars(name, 31), value);
            name.clear();
            value.clear();
            readingName = true;
            continue;
        }
        if (!inQuotes && c == ':') {
            readingName = false;
            continue;
        }
        if (!inQuotes && c == ';') {
            name.clear();
            value.clear();
            readingName = true;
            continue;
        }
        (readingName ? name : value) += c;
    }
    return pairs;
}

void TBaseSession::addAlias(const std::string& alias, const std::string& paramText) {
    EngineParams params;
    for (const auto& [name, value] : parseAliasParams(paramText))
        params.add(name, value);
    setCfgRecord(kDatabasesNode + alias + "\\DB INFO", params);
}

void TBaseSession::deleteAlias(const std::string& alias) {
    try {
        deleteCfgRecords(alias);
    } catch (const ETorvaneEOFError&) {
    }
}

void TBaseSession::writeAliasParams(TRightsRegistry& registry, const std::string& paramText) {
    for (const auto& [name, value] : parseAliasParams(paramText))
        registry.writeString(name, value);
}

std::string TBaseSession::aliasKey(const std::string& alias) const {
    return registryInfo_.baseKey + "\\Aliases\\" + alias;
}

void TBaseSession::saveAlias(const std::string& alias, const std::string& paramText) {
    TRightsRegistry registry(engineRegistry(*this), platform::Registry::Root::LocalMachine);
    if (registry.openKey(aliasKey(alias), true))
        writeAliasParams(registry, paramText);
}

void TBaseSession::removeAlias(const std::string& alias) {
    TRightsRegistry registry(engineRegistry(*this), platform::Registry::Root::LocalMachine);
    if (registry.keyExists(aliasKey(alias)))
        registry.deleteKey(aliasKey(alias));
}

void TBaseSession::fillCfgInfoList(TMemTable& list, const std::string& path) {
    std::size_t at = path.find(kDatabasesNode);
    if (at == std::string::npos)
        return;
    std::string alias = path.substr(at + kDatabasesNode.size());
    if (std::size_t cut = alias.find("\\DB OPEN"); cut != std::string::npos)
        alias.resize(cut);
    else if (std::size_t infoCut = alias.find("\\DB INFO"); infoCut != std::string::npos)
        alias.resize(infoCut);

    bool userNameRow = false;
    if (isPathName(alias, true)) {
        appendCfgRow(list, "PATH", leftChars(alias, 127));
    } else {
        TRightsRegistry registry(engineRegistry(*this), registryInfo_.root,
                                 TRightsRegistry::ReadAccess);
        if (registry.openKey(aliasKey(alias), false)) {
            for (const std::string& valueName : registry.valueNames()) {
                auto value = registry.readValue(valueName);
                if (!value)
                    continue;
                std::string node = valueName;
                if (!userNameRow && equalsIgnoreCase(valueName, "USER")) {
                    node = "USER NAME";
                    userNameRow = true;
                }
                std::string text = value->kind == platform::Registry::Value::Kind::Integer
                                       ? std::to_string(value->number)
                                       : value->text;
                appendCfgRow(list, node, leftChars(text, 127));
            }
        }
    }
    if (!userNameRow)
        appendCfgRow(list, "USER NAME", "");
}

TMemTable* TBaseSession::openCfgInfoList(const std::string& path) {
    auto* list = new TMemTable(this, nullptr, cfgInfoFields(), 0, "", &listCursors_);
    try {
        fillCfgInfoList(*list, path);
    } catch (...) {
        delete list;
        throw;
    }
    list->setToBegin();
    return list;
}

void TBaseSession::cfgNodeExists(const std::string& path) {
    for (TBapiListItem* item : configRecords_.items())
        if (containsText(static_cast<TBaseCfgrecord*>(item)->path(), path))
            return;
    raiseEOF();
}

TBaseCfgrecord* TBaseSession::getCfgRecord(const std::string& path) {
    for (TBapiListItem* item : configRecords_.items())
        if (static_cast<TBaseCfgrecord*>(item)->path() == path)
            return static_cast<TBaseCfgrecord*>(item);
    raiseEOF();
}

void TBaseSession::setCfgRecord(const std::string& path, const EngineParams& params) {
    try {
        modifyCfgRecord(path, params);
    } catch (const ETorvaneEOFError&) {
        new TBaseCfgrecord(this, &configRecords_, path, params);
    }
}

void TBaseSession::modifyCfgRecord(const std::string& path, const EngineParams& params) {
    getCfgRecord(path)->setFields(params);
}

void TBaseSession::deleteCfgRecords(const std::string& text) {
    bool freed = false;
    for (int i = configRecords_.count() - 1; i >= 0; --i) {
        auto* record = static_cast<TBaseCfgrecord*>(configRecords_.at(i));
        if (record && containsText(record->path(), text)) {
            delete record;
            freed = true;
        }
    }
    if (!freed)
        raiseEOF();
}

} // namespace accessdb
