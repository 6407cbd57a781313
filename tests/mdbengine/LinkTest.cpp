// Linked tables whose links lead on: a chain is followed to the table that holds the rows,
// changes through it land there alone, and links that come back on themselves or go on
// past any sensible length are refused by the chain they make, by the engine and its tools.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/LinkChain.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace daotest;
using quillan::test::runCommand;

namespace {

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    // A copy of a file with tables Table1 to Table4.
    std::string database(const std::string& name) {
        return scratch.copy("jackcess/testV2000.mdb", name);
    }

    // Adds to the catalogue of `path` tables linked to others: name, file, foreign name.
    void link(const std::string& path, const std::vector<std::array<std::string, 3>>& links) {
        DBEngine engine;
        auto db = open(engine, path);
        auto catalogue = openTable(*db, "MSysObjects");
        ASSERT_TRUE(catalogue);
        std::shared_ptr<Collection<Field>> collection;
        catalogue->fields(collection);
        auto set = [&](const std::string& name, const Variant& value) {
            for (std::size_t i = 0; i < collection->count(); ++i) {
                std::shared_ptr<Field> field;
                collection->item(i, field);
                if (field->name() == name)
                    return field->setValue(value);
            }
            return Status(1);
        };
        std::int32_t id = 900;
        for (const auto& [name, linked, foreign] : links) {
            ASSERT_EQ(catalogue->addNew(), statusOk);
            for (auto [field, value] : {std::pair{"Id", Variant::longInteger(id++)},
                                        {"ParentId", Variant::longInteger(251658241)},
                                        {"Name", Variant::text(name)},
                                        {"Type", Variant::integer(6)},
                                        {"Flags", Variant::longInteger(0)},
                                        {"Database", Variant::text(linked)},
                                        {"ForeignName", Variant::text(foreign)}})
                ASSERT_EQ(set(field, value), statusOk) << field << errorText(engine);
            ASSERT_EQ(catalogue->update(), statusOk) << errorText(engine);
        }
        ASSERT_EQ(catalogue->close(), statusOk) << errorText(engine);
        ASSERT_EQ(db->close(), statusOk);
    }

    Status openAny(const std::string& path, const std::string& table, std::string& said) {
        DBEngine engine;
        auto db = open(engine, path);
        std::shared_ptr<Recordset> recordset;
        Status status = db->openRecordset(table, -1, recordset);
        said = errorText(engine);
        return status;
    }

    std::string tool(const std::string& name, const std::string& path, const std::string& rest) {
        return runCommand(std::string(QUILLAN_BUILD_DIR) + "/" + name + " " + shellQuoted(path) +
                          " " + rest + " 2>&1; echo status $?");
    }

    ScratchFolder scratch;
};

} // namespace

TEST_F(LinkTest, LinksThatComeBackAreRefusedByTheirChainEverywhere) {
    const std::string self = database("self.mdb");
    link(self, {{"Self", "self.mdb", "Self"}});
    const std::string a = database("a.mdb"), b = database("b.mdb");
    link(a, {{"Theirs", "b.mdb", "Ours"}});
    link(b, {{"Ours", a, "Theirs"}});
    struct Case {
        std::string path, table, chain;
    };
    for (const Case& c :
         {Case{self, "Self", "'Self' in " + self + " -> 'Self' in " + scratch.path("self.mdb")},
          Case{a, "Theirs", "'Theirs' in " + a + " -> 'Ours' in " + b + " -> 'Theirs' in " + a}}) {
        const std::string hash = sha256(c.path);
        std::string said;
        EXPECT_EQ(errorNumber(openAny(c.path, c.table, said)), 3103);
        EXPECT_NE(said.find("'" + c.table + "'"), std::string::npos) << said;
        EXPECT_NE(said.find(c.chain), std::string::npos) << said;
        for (const std::string& run :
             {tool("mdbdump", c.path, c.table),
              tool("mdbsql", c.path, shellQuoted("SELECT * FROM " + c.table)),
              tool("mdbsql", c.path, shellQuoted("UPDATE " + c.table + " SET A = 'x'"))}) {
            EXPECT_NE(run.find(": 3103 "), std::string::npos) << run;
            EXPECT_NE(run.find(c.chain), std::string::npos) << run;
            EXPECT_EQ(run.substr(run.size() - 9), "status 1\n") << run;
        }
        EXPECT_EQ(sha256(c.path), hash);
    }
    // The other tables of those files open as before.
    std::string said;
    EXPECT_EQ(openAny(self, "Table1", said), statusOk) << said;
}

// list.mdb -> b.mdb -> c.mdb: the rows are c.mdb's, a change lands there, and b.mdb, which
// only passes the link on, is not written.
TEST_F(LinkTest, AChainLeadsToTheTableThatHoldsTheRows) {
    const std::string list = database("list.mdb"), b = database("b.mdb"), c = database("c.mdb");
    link(list, {{"Mailing", "b.mdb", "Passed"}});
    link(b, {{"Passed", "c.mdb", "Table1"}});
    const std::string bHash = sha256(b), cHash = sha256(c);
    DBEngine engine;
    auto db = open(engine, list);
    std::string path, table;
    ASSERT_EQ(db->tableHome("MAILING", path, table), statusOk) << errorText(engine);
    EXPECT_EQ(path, scratch.path("c.mdb"));
    EXPECT_EQ(table, "Table1");
    auto rows = openTable(*db, "Mailing");
    ASSERT_TRUE(rows);
    EXPECT_EQ(column(*rows, 0), column(*openTable(*open(engine, c), "Table1"), 0));
    ASSERT_EQ(db->execute("UPDATE Mailing SET A = A & ' through two links'"), statusOk)
        << errorText(engine);
    ASSERT_EQ(db->close(), statusOk);
    EXPECT_NE(mdbExport(c, "Table1").find("through two links"), std::string::npos);
    EXPECT_NE(sha256(c), cHash);
    EXPECT_EQ(sha256(b), bHash);
}

// Links from table to table in one file: as many as the engine follows read, one more is
// refused, in the time and memory of the walk.
TEST_F(LinkTest, AChainLongerThanTheEngineFollowsIsRefused) {
    const std::string path = database("long.mdb");
    std::vector<std::array<std::string, 3>> links;
    for (std::size_t i = 0; i < maximumLinks; ++i)
        links.push_back({"L" + std::to_string(i), "long.mdb", "L" + std::to_string(i + 1)});
    links.push_back({"L" + std::to_string(maximumLinks), "long.mdb", "Table1"});
    link(path, links);
    std::string said;
    EXPECT_EQ(openAny(path, "L1", said), statusOk) << said;
    EXPECT_EQ(errorNumber(openAny(path, "L0", said)), 3103);
    EXPECT_NE(said.find("more than " + std::to_string(maximumLinks) + " tables: 'L0' in"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("(1017 more) -> 'L1021' in"), std::string::npos) << said;
}
