// The Access session: which DAO version the registry offers, the one DAO engine shared by
// the main thread's sessions, and DAO failures as engine errors.

#include "tests/accessdb/AccessTestSupport.h"

#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TDAOEngine.h"

#include <thread>

using namespace accessdb;
using namespace accessdb::testing;
using Root = platform::Registry::Root;

namespace {

const std::string daoConfigKey = "\\Software\\Torvane\\Access\\Configuration\\DAO";

void prefer(platform::Registry& registry, std::int64_t version) {
    registry.createKey(Root::LocalMachine, daoConfigKey);
    platform::Registry::Value value;
    value.kind = platform::Registry::Value::Kind::Integer;
    value.number = version;
    registry.writeValue(Root::LocalMachine, daoConfigKey, "VersionPreference", value);
}

} // namespace

TEST(AccessSessionTest, MainThreadSessionsShareOneDaoEngine) {
    ASSERT_EQ(TAccessSession::sharedEngine(), nullptr);
    auto first = std::make_unique<TVirtEng>(accessSessionFactory());
    ASSERT_EQ(first->startStatus(), 0);
    TDAOEngine* engine = TAccessSession::sharedEngine();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(TAccessSession::engineUseCount(), 1);
    EXPECT_EQ(TAccessSession::daoVersion(), 36);
    EXPECT_EQ(first->currentSession()->driverType(), "ACCESS");

    TVirtEng second(accessSessionFactory());
    EXPECT_EQ(TAccessSession::sharedEngine(), engine);
    EXPECT_EQ(TAccessSession::engineUseCount(), 2);
    EXPECT_EQ(static_cast<TAccessSession*>(second.currentSession())->daoEngine(), engine);

    // A session made on another thread takes the engine but does not hold it.
    std::thread([&] {
        TVirtEng other(accessSessionFactory());
        EXPECT_EQ(static_cast<TAccessSession*>(other.currentSession())->daoEngine(), engine);
        EXPECT_EQ(TAccessSession::engineUseCount(), 2);
    }).join();
    EXPECT_EQ(TAccessSession::engineUseCount(), 2);

    first.reset();
    EXPECT_EQ(TAccessSession::sharedEngine(), engine);
    EXPECT_EQ(TAccessSession::engineUseCount(), 1);
}

TEST(AccessSessionTest, AfterTheLastSessionTheEngineIsGone) {
    { TVirtEng only(accessSessionFactory()); }
    EXPECT_EQ(TAccessSession::sharedEngine(), nullptr);
    EXPECT_EQ(TAccessSession::engineUseCount(), 0);
}

TEST(AccessSessionTest, VersionProbeFollowsThePreferenceAndTheClassKeys) {
    ScriptedRegistry scripted(false);
    platform::Registry& registry = scripted.registry;
    // Nothing registered: no session.
    EXPECT_EQ(TVirtEng(accessSessionFactory(), scripted.services()).startStatus(),
              dbierr::NOTINITIALIZED);
    EXPECT_EQ(TAccessSession::sharedEngine(), nullptr);

    // Only DAO 3.0: found after two misses.
    registry.createKey(Root::ClassesRoot, "\\DAO.DBEngine");
    {
        TVirtEng engine(accessSessionFactory(), scripted.services());
        EXPECT_EQ(engine.startStatus(), 0);
        EXPECT_EQ(TAccessSession::daoVersion(), 30);
    }
    registry.createKey(Root::ClassesRoot, "\\DAO.DBEngine.36");
    EXPECT_EQ(TAccessSession::probeVersion(registry, std::nullopt), 36);

    // A preferred version is the only one tried.
    prefer(registry, 35);
    EXPECT_EQ(TVirtEng(accessSessionFactory(), scripted.services()).startStatus(),
              dbierr::NOTINITIALIZED);
    registry.createKey(Root::ClassesRoot, "\\DAO.DBEngine.33");
    for (int never = 31; never <= 34; ++never)
        EXPECT_EQ(TAccessSession::probeVersion(registry, never), std::nullopt) << never;
    prefer(registry, 33);
    EXPECT_EQ(TVirtEng(accessSessionFactory(), scripted.services()).startStatus(),
              dbierr::NOTINITIALIZED);
    // A value outside 30 to 36 is no preference.
    prefer(registry, 40);
    {
        TVirtEng engine(accessSessionFactory(), scripted.services());
        EXPECT_EQ(engine.startStatus(), 0);
        EXPECT_EQ(TAccessSession::daoVersion(), 36);
    }
}

TEST(AccessSessionTest, DaoFailuresBecomeEngineErrorsWithDaoTexts) {
    REQUIRE_MDB_CORPUS();
    TVirtEng engine(accessSessionFactory());
    EngineParams none;
    TBaseDatabase* database = nullptr;
    std::string missing = corpusFile("jackcess/missing.mdb");
    EXPECT_EQ(engine.OpenDatabase(missing, "", 0, 0, "", none, database), 3024);
    EXPECT_EQ(database, nullptr);
    std::int32_t native = 0;
    std::string text;
    EXPECT_EQ(engine.GetErrorEntry(1, native, text), 3024);
    EXPECT_EQ(static_cast<std::uint32_t>(native), 0x800A0BD0u) << "the whole DAO result";
    EXPECT_EQ(text.find("Access Status 3024 - The file '" + missing + "' does not exist."), 0u)
        << text;

    EXPECT_EQ(EAccessEngineError::engineCode(0x800A0000u | 3021), dbierr::NOCURRREC);
    EXPECT_EQ(EAccessEngineError::engineCode(0x800A0000u | 3031), dbierr::INVALIDPASSWORD);
    EXPECT_EQ(EAccessEngineError::engineCode(0x800A0000u | 3078), dbierr::NOSUCHTABLE);
    EXPECT_EQ(EAccessEngineError::engineCode(0x800A0000u | 3251), 3251);

    // The driver message is cut to 255 characters, whatever DAO says.
    ASSERT_EQ(
        engine.OpenDatabase(corpusFile("jackcess/testV2000.mdb"), "", 1, 0, "", none, database), 0);
    OpenTableArgs args;
    args.tableName = std::string(300, 'x');
    TBaseTable* cursor = nullptr;
    EXPECT_EQ(engine.OpenTable(database, args, cursor), dbierr::NOSUCHTABLE);
    EXPECT_EQ(engine.GetErrorEntry(1, native, text), dbierr::NOSUCHTABLE);
    EXPECT_EQ(static_cast<std::uint32_t>(native), 0x800A0000u | 3078);
    EXPECT_EQ(text.find("Access Status 3078 - There is no table or query named 'xxx"), 0u);
    EXPECT_LE(text.find("\r\n"), 255u);
}
