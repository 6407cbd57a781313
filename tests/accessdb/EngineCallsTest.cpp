#include "tests/accessdb/ScriptedRegistry.h"
#include "tests/accessdb/TestDataSet.h"
#include "tests/accessdb/TestDriver.h"

#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/TBaseCfgrecord.h"
#include "accessdb/engine/TRightsRegistry.h"
#include "accessdb/engine/TSqlStmt.h"

#include <gtest/gtest.h>

using namespace accessdb;
using namespace accessdb::testing;

namespace {

struct EngineTest : ::testing::Test {
    ScriptedRegistry scripted;
    TVirtEng engine{testSessions(), scripted.services()};
    EngineParams noParams;

    TBaseDatabase* open(const std::string& name) {
        TBaseDatabase* db = nullptr;
        EXPECT_EQ(engine.OpenDatabase(name, "", 0, 0, "", noParams, db), 0);
        return db;
    }
    TBaseTable* people(TBaseDatabase* db) {
        OpenTableArgs args;
        args.tableName = "PEOPLE";
        TBaseTable* cursor = nullptr;
        EXPECT_EQ(engine.OpenTable(db, args, cursor), 0);
        return cursor;
    }
};

} // namespace

TEST_F(EngineTest, FailedCallsLeaveOnlyTheLastFailureOnTheStack) {
    EXPECT_EQ(engine.startStatus(), 0);
    TBaseDatabase* db = open("C:\\lists\\mail.mdb");
    TBaseTable* cursor = people(db);
    std::vector<Byte> record(cursor->recordBufferSize());

    EXPECT_EQ(engine.SetToBegin(cursor), 0);
    EXPECT_EQ(engine.GetPriorRecord(cursor, LockType::None, record.data(), nullptr), dbierr::BOF);
    EXPECT_EQ(engine.SetToEnd(cursor), 0);
    EXPECT_EQ(engine.GetNextRecord(cursor, LockType::None, record.data(), nullptr), dbierr::EOF_);
    EXPECT_EQ(engine.errorStack().count(), 1);
    std::int32_t native = 0;
    std::string text;
    EXPECT_EQ(engine.GetErrorEntry(1, native, text), dbierr::EOF_);
    EXPECT_EQ(text, "DBIERR_EOF");
    EXPECT_EQ(engine.GetErrorEntry(2, native, text), 0);

    std::uint16_t length = 9;
    EXPECT_EQ(engine.GetProp(nullptr, 0, record.data(), 4, length), dbierr::INVALIDPARAM);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(engine.GetErrorEntry(1, native, text), dbierr::EOF_); // unchanged

    // Walking back past the start reports the beginning, never the end of the table.
    engine.SetToEnd(cursor);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(engine.GetPriorRecord(cursor, LockType::None, record.data(), nullptr), 0);
    EXPECT_EQ(engine.GetPriorRecord(cursor, LockType::None, record.data(), nullptr), dbierr::BOF);

    EXPECT_EQ(engine.GetErrorContext(dbierr::BOF, text), 0);
    EXPECT_EQ(text, "DBIERR_BOF");
    EXPECT_EQ(engine.GetErrorContext(dbierr::EOF_, text), dbierr::EOF_);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(engine.CallbackStubA(), dbierr::NA);
    EXPECT_EQ(engine.RegisterCallBack(nullptr, 21), dbierr::NOTSUPPORTED);
    EXPECT_EQ(engine.CloseCursor(cursor), 0);
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(engine.CloseCursor(cursor), dbierr::INVALIDHNDL);
}

TEST_F(EngineTest, OtherExceptionsPassThroughTheCallFrame) {
    TBaseDatabase* db = open("C:\\lists\\mail.mdb");
    OpenTableArgs args;
    args.tableName = "BROKEN";
    TBaseTable* cursor = nullptr;
    EXPECT_THROW(engine.OpenTable(db, args, cursor), std::logic_error);
    args.tableName = "MISSING";
    EXPECT_EQ(engine.OpenTable(db, args, cursor), dbierr::NOSUCHTABLE);
}

TEST_F(EngineTest, DatabaseNamesLoseTheirBracketTag) {
    EXPECT_EQ(TVirtEng::withoutBracketTag("[x] C:\\data\\list.mdb"), "C:\\data\\list.mdb");
    EXPECT_EQ(TVirtEng::withoutBracketTag("[abc"), "[abc");
    EXPECT_EQ(TVirtEng::withoutBracketTag("[x]"), "");

    TBaseDatabase* db = open("[x] C:\\data\\list.mdb");
    EXPECT_EQ(db->descriptor().physicalName, "C:\\data\\list.mdb\\");
    EXPECT_EQ(db->descriptor().name, "PATH");
    EXPECT_EQ(db->descriptor().dbType, "STANDARD");

    // Without a name or type the PATH parameter names the database, bracket tag removed.
    EngineParams params;
    params.add("path", "[tag] D:\\x.mdb");
    TBaseDatabase* byPath = nullptr;
    ASSERT_EQ(engine.OpenDatabase("", "", 0, 0, "", params, byPath), 0);
    EXPECT_EQ(byPath->descriptor().physicalName, "D:\\x.mdb\\");
    EXPECT_EQ(params.valueAt(0), "D:\\x.mdb");

    // A name with a dot is a path; with paths as files nothing is appended.
    static_cast<TestSession*>(engine.currentSession())->setPathsAreFiles(true);
    EXPECT_EQ(open("list.mdb")->descriptor().physicalName, "list.mdb");

    TBaseDatabase* unknown = nullptr;
    EXPECT_EQ(engine.OpenDatabase("NOALIAS", "", 0, 0, "", noParams, unknown), dbierr::UNKNOWNDB);
    ErrorEntry entry;
    ASSERT_TRUE(engine.errorStack().getEntry(1, entry));
    EXPECT_EQ(entry.context(0), "NOALIAS");
    EXPECT_EQ(unknown, nullptr);
}

TEST_F(EngineTest, SessionsComeAndGo) {
    TBaseSession* first = engine.currentSession();
    TBaseSession* second = nullptr;
    ASSERT_EQ(engine.StartSession("two", second, "C:\\work"), 0);
    EXPECT_EQ(engine.currentSession(), second);
    SesInfo info;
    ASSERT_EQ(engine.GetSesInfo(info), 0);
    EXPECT_EQ(info.name, "two");
    EXPECT_EQ(info.privateDir, "C:\\work");
    EXPECT_EQ(engine.SetPrivateDir("D:\\tmp"), 0);
    EXPECT_EQ(second->privateDir(), "D:\\tmp");

    EXPECT_EQ(engine.CloseSession(second), 0);
    EXPECT_EQ(engine.currentSession(), first);
    EXPECT_EQ(engine.CloseSession(first), dbierr::INVALIDHNDL);
    EXPECT_EQ(engine.currentSession(), nullptr);
    EXPECT_EQ(engine.SetPrivateDir("x"), 0);
    TBaseSession* none = nullptr;
    EXPECT_EQ(engine.SetCurrSession(none), dbierr::INVALIDHNDL);
}

TEST_F(EngineTest, AliasesLiveInTheConfigurationTree) {
    TBaseSession& session = *engine.currentSession();
    ASSERT_EQ(engine.AddAlias("MAIL", "PATH:\"C:\\lists\";USER NAME:\"ann\";BAD:unquoted;"), 0);
    TBaseCfgrecord* record = session.getCfgRecord("\\DATABASES\\MAIL\\DB INFO");
    ASSERT_EQ(record->params().count(), 2u);
    EXPECT_EQ(record->value("USER NAME"), "ann");

    TBaseDatabase* db = open("mail");
    EXPECT_EQ(db->descriptor().physicalName, "C:\\lists");
    EXPECT_EQ(db->descriptor().dbType, "TEST");

    std::string many;
    for (int i = 0; i < 18; ++i)
        many += "P" + std::to_string(i) + ":\"v\";";
    EXPECT_THROW(engine.AddAlias("MANY", many), ERangeError);
    EXPECT_THROW(engine.AddAlias("LONG", "P:\"" + std::string(1100, 'x') + "\""), ERangeError);

    ASSERT_EQ(engine.AddAlias("MAIL2", "PATH:\"D:\\\""), 0);
    ASSERT_EQ(engine.AddAlias("OTHER", "PATH:\"E:\\\""), 0);
    EXPECT_EQ(engine.DeleteAlias("MAIL"), 0); // takes MAIL2 with it
    EXPECT_EQ(session.configRecords().count(), 1);
    EXPECT_EQ(engine.DeleteAlias("MAIL"), 0);
}

TEST_F(EngineTest, ConfigurationListsOfPathsAndRegistryAliases) {
    TBaseSession& session = *engine.currentSession();
    session.saveAlias("Lists", "PATH:\"C:\\lists\";USER:\"bob\"");

    auto rows = [&](const std::string& path) {
        TBaseTable* list = nullptr;
        EXPECT_EQ(engine.OpenCfgInfoList(path, list), 0);
        std::vector<std::string> out;
        std::vector<Byte> row(292);
        while (engine.GetNextRecord(list, LockType::None, row.data(), nullptr) == 0)
            out.push_back(getText(row.data(), 0, 32) + "=" + getText(row.data(), 162, 128));
        engine.CloseCursor(list);
        return out;
    };
    EXPECT_EQ(rows("\\DATABASES\\C:\\data\\list.mdb\\DB OPEN"),
              (std::vector<std::string>{"PATH=C:\\data\\list.mdb", "USER NAME="}));
    EXPECT_EQ(rows("\\DATABASES\\Lists\\DB OPEN"),
              (std::vector<std::string>{"PATH=C:\\lists", "USER NAME=bob"}));
    EXPECT_TRUE(rows("\\DRIVERS\\X").empty());

    session.removeAlias("Lists");
    EXPECT_EQ(rows("\\DATABASES\\Lists\\DB OPEN"), (std::vector<std::string>{"USER NAME="}));
}

TEST_F(EngineTest, DatabaseLevelOperations) {
    TBaseDatabase* db = open("C:\\lists\\mail.mdb");
    TBaseTable* cursor = nullptr;
    OpenTableArgs args;
    args.tableName = "t";
    ASSERT_EQ(engine.OpenTable(db, args, cursor), 0);
    EXPECT_EQ(db->findTableCursor("t;x"), cursor);
    EXPECT_EQ(db->countTableCursors("T"), 1);
    EXPECT_TRUE(db->tableExists("people"));
    EXPECT_FALSE(db->tableExists("nobody"));

    TBaseTable* list = nullptr;
    EXPECT_EQ(engine.OpenIndexList(db, "t", "", list), dbierr::NOTINDEXED);
    EXPECT_EQ(engine.OpenIndexList(db, "PEOPLE", "", list), dbierr::NOTINDEXED);

    try {
        db->createInMemTable("M", {});
        FAIL();
    } catch (const ETorvaneEngineError& e) {
        EXPECT_EQ(e.errorCode(), dbierr::INVALIDPARAM);
        EXPECT_EQ(e.errorText(), "M");
    }
    TBaseTable* mem = db->createInMemTable("M", {fieldDesc("A", fldtype::INT32)});
    EXPECT_EQ(mem->recordSize(), 4);
    EXPECT_EQ(mem->owner(), db);
}

TEST_F(EngineTest, SqlTextGoesThroughTheSessionsTranslation) {
    TBaseDatabase* db = open("C:\\lists\\mail.mdb");
    TSqlStmt translating(db, &db->cursors(), "SELECT * FROM \xE4", 2);
    EXPECT_EQ(translating.sqlText(), "SELECT * FROM \x84");

    TVirtEng plain(testSessions(false));
    TBaseDatabase* plainDb = nullptr;
    ASSERT_EQ(plain.OpenDatabase("C:\\x", "", 0, 0, "", noParams, plainDb), 0);
    TSqlStmt copied(plainDb, nullptr, "Ums\xE4tze", 2);
    EXPECT_EQ(copied.sqlText(), "Ums\xE4tze");
    std::string out;
    EXPECT_EQ(plain.AnsiToNative("\xE4", out), 0);
    EXPECT_EQ(out, "\xE4");
    EXPECT_EQ(engine.AnsiToNative("\xE4", out), 0);
    EXPECT_EQ(out, "\x84");
    EXPECT_EQ(engine.NativeToAnsi("\x84", out), 0);
    EXPECT_EQ(out, "\xE4");
}

TEST_F(EngineTest, RegistryAliasesNameDatabasesAndTheReadMaskWritesNothing) {
    TBaseSession& session = *engine.currentSession();
    session.saveAlias("Lists", "PhysicalName:\"D:\\mail\";Description:\"lists\"");
    TBaseDatabase* db = open("LISTS");
    EXPECT_EQ(db->descriptor().physicalName, "D:\\mail\\");
    EXPECT_EQ(db->descriptor().name, "Lists");
    EXPECT_EQ(db->descriptor().dbType, "TEST"); // kept, not made "STANDARD"

    TRightsRegistry readOnly(scripted.registry, platform::Registry::Root::LocalMachine,
                             TRightsRegistry::ReadAccess);
    ASSERT_TRUE(readOnly.openKey("\\Software\\Torvane\\Test\\Aliases\\Lists", false));
    EXPECT_FALSE(readOnly.writeString("PhysicalName", "E:\\"));
    EXPECT_EQ(readOnly.readValue("PhysicalName")->text, "D:\\mail");
    ASSERT_TRUE(readOnly.openKey("\\Software", false)); // from the root, not below Lists
    EXPECT_EQ(readOnly.currentPath(), "Software");
    EXPECT_TRUE(readOnly.openKey("Torvane", false)); // below the current key
    EXPECT_EQ(readOnly.currentPath(), "Software\\Torvane");
    EXPECT_FALSE(readOnly.openKey("Missing", false));
}

TEST_F(EngineTest, HandlesAndCopies) {
    TBaseDatabase* db = open("C:\\lists\\mail.mdb");
    TBapiListItem* owner = nullptr;
    EXPECT_EQ(engine.GetObjFromObj(db, 2, owner), 0);
    EXPECT_EQ(owner, engine.currentSession());
    EXPECT_EQ(engine.GetObjFromObj(db, 3, owner), dbierr::INVALIDPARAM);
    EXPECT_EQ(owner, nullptr);

    TBaseTable* cursor = people(db);
    TBaseTable* copy = nullptr;
    ASSERT_EQ(engine.CloneCursor(cursor, true, false, copy), 0);
    EXPECT_EQ(copy->tableName(), "PEOPLE");
    EXPECT_EQ(db->countTableCursors("people"), 2);
    std::vector<FieldDesc> descs;
    ASSERT_EQ(engine.GetFieldDescs(copy, descs), 0);
    EXPECT_EQ(descs.size(), 3u);

    // A cursor made outside any database cannot be copied.
    TestCursor loose(fivePeople());
    EXPECT_EQ(engine.CloneCursor(&loose, false, false, copy), dbierr::INVALIDPARAM);

    EXPECT_EQ(engine.CloseDatabase(db), 0);
    EXPECT_EQ(db, nullptr);
    EXPECT_EQ(engine.CloseDatabase(db), dbierr::INVALIDHNDL);
}

TEST_F(EngineTest, SessionSumsOpenCursorsAndHandsOutCallbacks) {
    TBaseSession* session = nullptr;
    engine.GetCurrSession(session);
    ASSERT_NE(session, nullptr);
    TBaseTable* first = people(open("C:\\lists\\one.mdb"));
    people(open("C:\\lists\\two.mdb"));
    people(open("C:\\lists\\two.mdb"));
    EXPECT_EQ(session->sumDatabaseCounts(true), 3);
    EXPECT_EQ(session->sumDatabaseCounts(false), 0);

    auto answer = [](std::uintptr_t data, void*) { return static_cast<std::int32_t>(data); };
    EXPECT_EQ(engine.RegisterCallBack(first, DelayedUpdateCallback, 7, nullptr, answer), 0);
    CursorCallback found = session->getCallBack(first, DelayedUpdateCallback);
    EXPECT_EQ(found.function(found.clientData, nullptr), 7);
    try {
        session->getCallBack(first, 3);
        FAIL() << "no callback of that type";
    } catch (const ETorvaneEngineError& error) {
        EXPECT_EQ(error.errorCode(), dbierr::NOCALLBACK);
    }
    EXPECT_THROW(session->getCallBack(nullptr, DelayedUpdateCallback), ETorvaneEngineError);
}
