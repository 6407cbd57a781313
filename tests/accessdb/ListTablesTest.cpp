#include "accessdb/engine/DatabaseDesc.h"
#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/TBaseCfgrecord.h"
#include "accessdb/engine/TBaseDBListTable.h"
#include "accessdb/engine/TBaseListTable.h"

#include "platform/config/ConfigStore.h"
#include "platform/registry/ConfigRegistry.h"
#include "tests/accessdb/ScriptedRegistry.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace accessdb;
using accessdb::testing::ScriptedRegistry;
using Root = platform::Registry::Root;

namespace {

EngineParams values(const std::vector<std::pair<std::string, std::string>>& pairs) {
    EngineParams params;
    for (const auto& [name, value] : pairs)
        params.add(name, value);
    return params;
}

std::vector<DatabaseDesc> readAll(TBaseTable& list) {
    std::vector<DatabaseDesc> out;
    std::vector<Byte> record(DatabaseDesc::Size);
    try {
        for (;;) {
            list.getNextRecord(LockType::None, record.data(), nullptr);
            out.push_back(DatabaseDesc::unpack(record.data()));
        }
    } catch (const ETorvaneEOFError&) {
    }
    return out;
}

} // namespace

TEST(ListTables, IndexListDeliversItsRecordsAgainAfterSetToBegin) {
    TIndexListTable empty(nullptr, {}, nullptr);
    EXPECT_THROW(empty.getNextRecord(LockType::None, nullptr, nullptr), ETorvaneEOFError);

    IndexDesc a;
    a.name = "PRIMARY";
    IndexDesc b;
    b.name = "BYNAME";
    TIndexListTable list(nullptr, {a, b}, nullptr);
    std::uint32_t count = 0;
    list.getRecordCount(count);
    EXPECT_EQ(count, 2u);
    std::vector<Byte> record(IndexDesc::Size);
    list.getNextRecord(LockType::None, record.data(), nullptr);
    list.getNextRecord(LockType::None, record.data(), nullptr);
    EXPECT_EQ(IndexDesc::unpack(record.data()).name, "BYNAME");
    EXPECT_THROW(list.getNextRecord(LockType::None, record.data(), nullptr), ETorvaneEOFError);
    list.setToBegin();
    list.getNextRecord(LockType::None, record.data(), nullptr);
    EXPECT_EQ(IndexDesc::unpack(record.data()).name, "PRIMARY");
}

TEST(ListTables, ConfiguredDatabasesComeFromDbInfoRecords) {
    TTorvaneCollection config;
    new TBaseCfgrecord(nullptr, &config, "\\DATABASES\\MAIL\\DB INFO",
                       values({{"PhysicalName", "C:\\lists\\"}, {"USER NAME", "ann"}}));
    auto v2 = values({{"PATH", "D:\\x"}, {"PhysicalName", "ignored"}});
    new TBaseCfgrecord(nullptr, &config, "\\DRIVERS\\ACCESS\\DB OPEN", v2);
    new TBaseCfgrecord(nullptr, &config, "\\DATABASES\\OTHER\\DB INFO", v2);

    TBaseDBListTable list(nullptr, SessionInfo{}, "ACCESS", &config, nullptr);
    auto dbs = readAll(list);
    ASSERT_EQ(dbs.size(), 2u);
    EXPECT_EQ(dbs[0].name, "MAIL");
    EXPECT_EQ(dbs[0].physicalName, "C:\\lists\\");
    EXPECT_EQ(dbs[0].dbType, "ACCESS");
    EXPECT_EQ(dbs[1].name, "OTHER");
    EXPECT_EQ(dbs[1].physicalName, "D:\\x"); // PATH wins over PhysicalName

    // A value whose offset lies outside the value buffer is not read.
    FieldDesc bad;
    bad.setName("PATH");
    bad.offset = 500;
    bad.length = 1;
    EngineParams badParams;
    badParams.descs.push_back(bad);
    TBaseCfgrecord broken(nullptr, nullptr, "\\DATABASES\\B\\DB INFO", badParams);
    EXPECT_FALSE(broken.value("PATH").has_value());
}

TEST(ListTables, RegisteredAliasesFollowTheConfiguredOnes) {
    ScriptedRegistry scripted;
    const std::string base = "\\Software\\Torvane\\Access";
    auto& reg = scripted.registry;
    ASSERT_TRUE(reg.createKey(Root::LocalMachine, base + "\\Aliases\\Lists"));
    platform::Registry::Value path;
    path.text = "C:\\data";
    reg.writeValue(Root::LocalMachine, base + "\\Aliases\\Lists", "PhysicalName", path);
    platform::Registry::Value text;
    text.text = "mailing lists";
    reg.writeValue(Root::LocalMachine, base + "\\Aliases\\Lists", "Description", text);
    ASSERT_TRUE(reg.createKey(Root::LocalMachine, base + "\\Aliases\\Bare"));

    TTorvaneCollection config;
    new TBaseCfgrecord(nullptr, &config, "\\DATABASES\\LOCAL\\DB INFO", values({{"PATH", "E:\\"}}));

    SessionInfo info;
    info.baseKey = base;
    TRegDBListTable list(&scripted.root, info, "ACCESS", &config, nullptr);
    list.openCursor();
    auto dbs = readAll(list);
    ASSERT_EQ(dbs.size(), 3u);
    EXPECT_EQ(dbs[0].name, "LOCAL");
    EXPECT_EQ(dbs[1].name, "Bare"); // keys come in name order
    EXPECT_EQ(dbs[1].physicalName, "");
    EXPECT_EQ(dbs[2].name, "Lists");
    EXPECT_EQ(dbs[2].physicalName, "C:\\data\\");
    EXPECT_EQ(dbs[2].description, "mailing lists");

    info.noTrailingBackslash = true;
    TRegDBListTable plain(&scripted.root, info, "ACCESS", nullptr, nullptr);
    plain.openCursor();
    EXPECT_EQ(readAll(plain)[1].physicalName, "C:\\data");
    plain.closeCursor();
    EXPECT_THROW(plain.getNextRecord(LockType::None, nullptr, nullptr), ETorvaneEOFError);
}

TEST(Registry, KeysAndValuesLiveInTheConfigStore) {
    platform::ConfigStore store;
    platform::ConfigRegistry reg(store);
    EXPECT_TRUE(reg.keyExists(Root::ClassesRoot, "\\DAO.DBEngine.36"));
    EXPECT_FALSE(reg.keyExists(Root::ClassesRoot, "\\DAO.DBEngine.35"));
    platform::ConfigRegistry bare(store, false);
    EXPECT_FALSE(bare.keyExists(Root::ClassesRoot, "\\DAO.DBEngine.36"));

    EXPECT_FALSE(reg.writeValue(Root::LocalMachine, "A\\B", "x", {}));
    ASSERT_TRUE(reg.createKey(Root::LocalMachine, "\\A\\B\\C"));
    EXPECT_TRUE(reg.keyExists(Root::LocalMachine, "a\\b"));
    platform::Registry::Value number;
    number.kind = platform::Registry::Value::Kind::Integer;
    number.number = 35;
    ASSERT_TRUE(reg.writeValue(Root::LocalMachine, "A\\B", "VersionPreference", number));
    auto read = reg.readValue(Root::LocalMachine, "a\\B", "versionpreference");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->kind, platform::Registry::Value::Kind::Integer);
    EXPECT_EQ(read->number, 35);
    EXPECT_EQ(reg.subKeyNames(Root::LocalMachine, "A\\B"), std::vector<std::string>{"C"});
    EXPECT_EQ(reg.valueNames(Root::LocalMachine, "A\\B"),
              std::vector<std::string>{"VersionPreference"});
    EXPECT_TRUE(reg.deleteKey(Root::LocalMachine, "A\\B"));
    EXPECT_FALSE(reg.keyExists(Root::LocalMachine, "A\\B\\C"));
    EXPECT_TRUE(reg.keyExists(Root::LocalMachine, "A"));
}
