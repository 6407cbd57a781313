#include "tests/accessdb/TestComponents.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/components/ComponentPlatform.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/TttBatchMove.h"

#include <gtest/gtest.h>

#include <thread>

using namespace accessdb;
using namespace accessdb::testing;

namespace {

struct ComponentsTest : ::testing::Test {
    TttSession& session = testDefaultSession();
    std::unique_ptr<TComponent> form = std::make_unique<TComponent>(nullptr);

    void TearDown() override {
        form.reset();
        session.keepConnections = true;
        session.setActive(false);
        componentPlatform() = ComponentPlatform{};
    }
};

} // namespace

TEST_F(ComponentsTest, DefaultSessionStartsAndStopsTheEngine) {
    EXPECT_EQ(testSessionList().findSession(""), &session);
    EXPECT_EQ(testSessionList().findSession("test"), &session);
    EXPECT_THROW(testSessionList().getSession("nobody"), EDatabaseError);
    EXPECT_EQ(testEngineObject, nullptr);
    int busy = 0;
    componentPlatform().busyCursor = [&](bool on) { busy += on ? 1 : -1; };
    session.setActive(true);
    ASSERT_NE(testEngineObject, nullptr);
    EXPECT_EQ(busy, 0);
    ASSERT_EQ(session.callbacks().size(), 2u);
    EXPECT_EQ(session.callbacks()[0]->callbackType, 21) << "the SQL hourglass";
    EXPECT_EQ(session.callbacks()[1]->callbackType, 28);
    EXPECT_EQ(session.callbacks()[1]->owner, &session);
    EXPECT_EQ(session.configMode(), 7);

    // A second session starts its own engine session in the same engine.
    TestSessionComponent second(form.get());
    second.setSessionName("Second");
    second.setActive(true);
    EXPECT_EQ(testEngineObject->sessions().count(), 2);
    second.setActive(false);
    EXPECT_EQ(testEngineObject->sessions().count(), 1);

    session.setActive(false);
    EXPECT_EQ(testEngineObject, nullptr);
}

TEST_F(ComponentsTest, AutomaticSessionNames) {
    auto* first = new TestSessionComponent(form.get());
    first->setName("Session1");
    first->setAutoSessionName(true);
    EXPECT_EQ(first->sessionName(), "Session1_1");
    EXPECT_THROW(first->setSessionName("Mine"), EDatabaseError);
    try {
        new TestSessionComponent(form.get());
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot add a session to the form or data-module while session "
                               "'Session1_1' has AutoSessionName enabled");
    }
    // Datasets put on the form take the automatic name.
    auto* table = new TestTable(form.get());
    EXPECT_EQ(table->sessionName(), "Session1_1");
    first->setName("Orders");
    EXPECT_EQ(first->sessionName(), "Orders_1");
    EXPECT_EQ(table->sessionName(), "Orders_1");

    TComponent other(nullptr);
    TestSessionComponent a(&other);
    a.setSessionName("Dup");
    TestSessionComponent b(&other);
    EXPECT_THROW(b.setSessionName("dup"), EDatabaseError);
    try {
        b.setAutoSessionName(true);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot enable AutoSessionName property with more than one "
                               "session on a form or data-module");
    }
}

TEST_F(ComponentsTest, TableNamesUseATemporaryDatabase) {
    TStringList names;
    session.keepConnections = false;
    session.getTableNames("C:\\lists\\mail.mdb", "", names, false, true);
    EXPECT_EQ(names.lines(), (std::vector<std::string>{"PEOPLE", "Ums\xE4tze"}));
    EXPECT_TRUE(session.databases().empty());

    session.keepConnections = true;
    session.getTableNames("C:\\lists\\mail.mdb", "", names, false, false);
    ASSERT_EQ(session.databases().size(), 1u);
    EXPECT_TRUE(session.databases()[0]->connected());
    EXPECT_TRUE(session.databases()[0]->temporary());

    // A listing that fails part way raises instead of giving a shorter list.
    names.clear();
    EXPECT_THROW(session.getTableNames("C:\\BROKEN\\x.mdb", "", names, false, false),
                 ETDBEngineError);
}

TEST_F(ComponentsTest, DatabaseComponents) {
    auto* db = new TestDatabaseComponent(form.get());
    db->setDatabaseName("C:\\lists\\mail.mdb");
    bool loginAsked = false;
    db->onLogin = [&](TttDatabase&, TStringList&) { loginAsked = true; };
    db->open();
    ASSERT_TRUE(db->connected());
    EXPECT_EQ(db->params().values("PATH"), "C:\\lists\\mail.mdb");
    EXPECT_GE(db->params().indexOfName("USER NAME"), 0);
    EXPECT_TRUE(db->params().values("USER NAME").empty());
    EXPECT_FALSE(loginAsked);
    EXPECT_TRUE(session.handle()->configRecords().items().empty()); // no temporary alias
    EXPECT_FALSE(db->isStandard());
    try {
        db->setReadOnly(true);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot perform this operation on an open database");
    }
    EXPECT_THROW(db->params().add("X=1"), EDatabaseError);
    db->close();
    db->setReadOnly(true);

    auto* shared1 = new TestDatabaseComponent(form.get());
    auto* shared2 = new TestDatabaseComponent(form.get());
    for (TttDatabase* d : {shared1, shared2}) {
        d->handleShared = true;
        d->setDatabaseName("SHARED.MDB");
        d->open();
    }
    EXPECT_EQ(shared1->handle(), shared2->handle());
    shared1->close();
    EXPECT_TRUE(shared2->connected());
    EXPECT_EQ(session.handle()->databases().count(), 1);
    shared2->close();
    EXPECT_EQ(session.handle()->databases().count(), 0);

    auto* unnamed = new TestDatabaseComponent(form.get());
    EXPECT_THROW(unnamed->open(), EDatabaseError);
    auto* duplicate = new TestDatabaseComponent(form.get());
    EXPECT_THROW(duplicate->setDatabaseName("shared.mdb"), EDatabaseError);
}

TEST_F(ComponentsTest, BoundDatasetsOpenTheirDatabaseAndRetryAfterAPassword) {
    auto* table = new TestTable(form.get());
    table->setDatabaseName("C:\\lists\\mail.mdb");
    table->constraints().push_back("ZIP > 0");
    table->refusals = {dbierr::NOTSUFFTABLERIGHTS};
    int prompts = 0;
    session.onPassword = [&](TttSession&, bool& proceed) {
        ++prompts;
        proceed = true;
    };
    table->open();
    EXPECT_EQ(prompts, 1);
    EXPECT_TRUE(table->active());
    EXPECT_EQ(table->fieldByName("ID").asInteger(), 10);
    ASSERT_NE(table->database(), nullptr);
    EXPECT_TRUE(table->database()->temporary());
    EXPECT_THROW(table->setDatabaseName("other.mdb"), EDatabaseError);
    table->setDatabaseName("C:\\lists\\mail.mdb");
    table->close();
    EXPECT_EQ(table->database(), nullptr);

    session.onPassword = [&](TttSession&, bool& proceed) { proceed = false; };
    table->refusals = {dbierr::NOTSUFFTABLERIGHTS};
    try {
        table->open();
        FAIL();
    } catch (const ETDBEngineError& e) {
        EXPECT_EQ(e.errorCode(), dbierr::NOTSUFFTABLERIGHTS);
    }
    session.onPassword = nullptr;

    table->setSessionName("Nobody");
    EXPECT_THROW(table->open(), EDatabaseError);
}

TEST_F(ComponentsTest, BatchMoveForgetsARemovedSource) {
    auto* move = new TttBatchMove(form.get());
    EXPECT_TRUE(move->abortOnKeyViol && move->abortOnProblem && move->transliterate);
    auto* source = new TestTable(form.get());
    move->setSource(source);
    move->setMappings({"A=B"});
    EXPECT_EQ(move->source(), source);
    delete source;
    EXPECT_EQ(move->source(), nullptr);
    EXPECT_EQ(move->mappings().count(), 1);
}

TEST_F(ComponentsTest, LoginRunsWhenTheConfigurationNamesAUser) {
    session.setActive(true);
    TStringList params{"PATH=C:\\lists", "USER NAME=ann"};
    std::vector<std::pair<int, std::string>> notes;
    session.onNotify = [&](int code, void* info) {
        if (code == TttSession::AliasAdded || code == TttSession::AliasDeleted)
            notes.emplace_back(code, *static_cast<std::string*>(info));
    };
    session.addAlias("MAIL", "", false, 2, params);
    TStringList aliasParams;
    session.getAliasParams("MAIL", aliasParams);
    EXPECT_EQ(aliasParams.lines(), (std::vector<std::string>{"USER NAME="}));
    TStringList driverParams;
    session.getDriverParams("standard", driverParams);
    EXPECT_EQ(driverParams.lines(), std::vector<std::string>{"PATH="});

    // A configured alias of the session is opened by name; its user name asks for a login.
    auto* db = new TestDatabaseComponent(form.get());
    db->setDatabaseName("C:\\x.mdb");
    db->setLoginPrompt(true);
    std::string askedFor;
    componentPlatform().loginDialog = [&](const std::string& name, std::string& user,
                                          std::string& password) {
        askedFor = name;
        user = "bob";
        password = "secret";
        return true;
    };
    db->open();
    EXPECT_EQ(askedFor, "C:\\x.mdb");
    EXPECT_EQ(db->params().values("USER NAME"), "bob");
    db->close();

    componentPlatform().loginDialog = [](const std::string&, std::string&, std::string&) {
        return false;
    };
    try {
        db->open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot connect to database 'C:\\x.mdb'");
    }
    EXPECT_FALSE(db->connected());

    session.deleteAlias("MAIL");
    // The user name given at the login differs from the configuration's, so the open made a
    // temporary alias, which the close removed.
    using Note = std::pair<int, std::string>;
    EXPECT_EQ(notes, (std::vector<Note>{{TttSession::AliasAdded, "MAIL"},
                                        {TttSession::AliasAdded, "C:\\x.mdb"},
                                        {TttSession::AliasDeleted, "C:\\x.mdb"},
                                        {TttSession::AliasDeleted, "MAIL"}}));
    session.onNotify = nullptr;
}

TEST_F(ComponentsTest, SessionLockNestsAndDeactivationClosesDatabases) {
    session.lock();
    session.lock();
    EXPECT_TRUE(session.active());
    session.unlock();
    // Still held: another thread could not take the driver's lock now.
    std::thread other([&] {
        bool got = testSessionList().criticalSection().try_lock();
        EXPECT_FALSE(got);
        if (got)
            testSessionList().criticalSection().unlock();
    });
    other.join();
    session.unlock();

    auto* db = new TestDatabaseComponent(form.get());
    db->setDatabaseName("C:\\y.mdb");
    db->open();
    TttDatabase* temporary = session.openDatabase("C:\\z.mdb", nullptr);
    EXPECT_TRUE(temporary->temporary());
    EXPECT_EQ(session.findDatabase("c:\\Z.MDB"), temporary);
    session.setActive(false);
    EXPECT_FALSE(db->connected());
    EXPECT_EQ(session.findDatabase("C:\\z.mdb"), nullptr); // temporaries are freed

    session.setPrivateDir("c:\\priv");
    EXPECT_EQ(session.privateDir(), "C:\\PRIV");
    session.setActive(true);
    EXPECT_EQ(session.privateDir(), "C:\\PRIV");
}

TEST_F(ComponentsTest, DatasetsHoldTheirDatabaseWhileAnyUseRemains) {
    auto* table = new TestTable(form.get());
    table->setDatabaseName("C:\\lists\\mail.mdb");
    session.keepConnections = false;
    table->setDBFlag(3, true);
    table->open();
    TttDatabase* database = table->database();
    ASSERT_NE(database, nullptr);
    table->close();
    EXPECT_EQ(table->database(), database); // flag 3 still holds it
    EXPECT_TRUE(database->connected());
    EXPECT_TRUE(table->setDBFlag(3, false));
    EXPECT_EQ(table->database(), nullptr);
    EXPECT_TRUE(session.databases().empty());
    EXPECT_FALSE(table->setDBFlag(16, true)); // beyond the flags: ignored
    EXPECT_EQ(table->database(), nullptr);
}

TEST_F(ComponentsTest, HandlesFromAnotherSessionAreRefused) {
    TestSessionComponent second(form.get());
    second.setSessionName("Other");
    second.setActive(true);
    auto* otherDb = new TestDatabaseComponent(&second);
    otherDb->setDatabaseName("C:\\o.mdb");
    otherDb->open();
    EXPECT_EQ(otherDb->session(), &second);

    auto* db = new TestDatabaseComponent(form.get());
    try {
        db->setHandle(otherDb->handle());
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Database handle owned by a different session");
    }
    auto* same = new TestDatabaseComponent(&second);
    same->setHandle(otherDb->handle());
    EXPECT_TRUE(same->connected());
    EXPECT_FALSE(same->isStandard()) << "a taken handle is asked its kind too";
    same->close();
    EXPECT_TRUE(otherDb->connected()); // a taken handle is only forgotten
}

TEST_F(ComponentsTest, KeyRangesAndKeySearchesOnTheIndex) {
    auto* table = new TestTable(form.get());
    table->setDatabaseName("C:\\lists\\mail.mdb");
    table->open();
    ASSERT_EQ(table->indexFieldCount(), 1);
    EXPECT_EQ(table->indexField(0).fieldName(), "ID");
    EXPECT_THROW(table->indexField(1), EDatabaseError);

    // The key search runs on the table's own index.
    EXPECT_TRUE(table->locate("ID", {Variant(40)}));
    EXPECT_EQ(table->fieldByName("NAME").asString(), "Dee");
    EXPECT_FALSE(table->locate("ID", {Variant(45)}));

    table->setLinkRanges({Variant(30)});
    EXPECT_TRUE(table->applyRange());
    std::vector<std::int64_t> ids;
    for (table->first(); !table->eof(); table->next())
        ids.push_back(table->fieldByName("ID").asInteger());
    EXPECT_EQ(ids, std::vector<std::int64_t>{30});
    EXPECT_FALSE(table->applyRange()); // unchanged

    // Only key fields can be set in a key; a cancelled key edit leaves the key as it was.
    table->setKeyBuffer(TttDBEDataset::RangeStart, false);
    EXPECT_THROW(table->fieldByName("NAME").setAsString("x"), EDatabaseError);
    table->fieldByName("ID").setAsInteger(10);
    table->cancel();
    EXPECT_FALSE(table->applyRange());

    EXPECT_TRUE(table->cancelRange());
    EXPECT_FALSE(table->cancelRange());
    EXPECT_EQ(table->recordCount(), 5);
}
