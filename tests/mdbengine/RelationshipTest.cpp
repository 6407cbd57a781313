// Enforced relationships kept by every change: refused by name with the file as it was, or
// carried to the records that refer, checked from mdb-export's reading of MSysRelationships
// and of the tables.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/tables/Relationships.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace daotest;

namespace {

const char* const related = "jackcess/indexTestV2000.mdb";

// The cells of mdb-export's lines, by the names of its heading.
std::vector<std::map<std::string, std::string>> exported(const std::string& path,
                                                         const std::string& table) {
    std::vector<std::string> text = lines(mdbExport(path, table));
    auto cells = [](const std::string& line) {
        std::vector<std::string> found(1);
        bool quoted = false;
        for (char c : line) {
            if (c == '"')
                quoted = !quoted;
            else if (c == ',' && !quoted)
                found.emplace_back();
            else
                found.back() += c;
        }
        return found;
    };
    std::vector<std::map<std::string, std::string>> records;
    if (text.empty())
        return records;
    std::vector<std::string> names = cells(text[0]);
    for (std::size_t i = 1; i < text.size(); ++i) {
        std::vector<std::string> values = cells(text[i]);
        std::map<std::string, std::string> record;
        for (std::size_t k = 0; k < names.size() && k < values.size(); ++k)
            record[names[k]] = values[k];
        records.push_back(std::move(record));
    }
    return records;
}

// The values of `column` in `table` that no record of `parent` holds in `parentColumn`.
std::vector<std::string> orphans(const std::string& path, const std::string& table,
                                 const std::string& column, const std::string& parent,
                                 const std::string& parentColumn) {
    std::set<std::string> keys;
    for (auto& record : exported(path, parent))
        keys.insert(record[parentColumn]);
    std::vector<std::string> found;
    for (auto& record : exported(path, table))
        if (!record[column].empty() && !keys.count(record[column]))
            found.push_back(table + "." + column + " = " + record[column]);
    return found;
}

// Every orphan of every enforced relationship, as MSysRelationships lists them.
std::vector<std::string> allOrphans(const std::string& path) {
    std::vector<std::string> found;
    for (auto& pair : exported(path, "MSysRelationships"))
        if ((std::stol(pair["grbit"]) & 0x2) == 0)
            for (std::string& orphan :
                 orphans(path, pair["szObject"], pair["szColumn"], pair["szReferencedObject"],
                         pair["szReferencedColumn"]))
                found.push_back(pair["szRelationship"] + ": " + orphan);
    return found;
}

class RelationshipTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    // The statement on a fresh copy: its status, the engine's message and the copy.
    struct Outcome {
        Status status = statusOk;
        std::string message;
        std::string path;
    };
    Outcome run(const std::string& statement) {
        Outcome outcome;
        outcome.path = scratch.copy(related, "copy" + std::to_string(++copies) + ".mdb");
        auto database = open(engine, outcome.path);
        outcome.status = database->execute(statement);
        outcome.message = errorText(engine);
        EXPECT_EQ(database->close(), statusOk);
        return outcome;
    }

    std::vector<std::string> column(const std::string& path, const std::string& table,
                                    const std::string& name) {
        std::vector<std::string> values;
        for (auto& record : exported(path, table))
            values.push_back(record[name]);
        return values;
    }

    DBEngine engine;
    ScratchFolder scratch;
    int copies = 0;
};

TEST_F(RelationshipTest, TheFileListsOneRelationshipOfEachCascade) {
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    ASSERT_EQ(DatabaseFile::open(corpusFile(related), {false, true, {}}, errors, file), statusOk);
    std::map<std::string, file::Relationship> byName;
    for (file::Relationship& relationship : file::readRelationships(file->pages(), file->catalog()))
        byName[relationship.name] = relationship;
    ASSERT_EQ(byName.count("Table2Table1"), 1u);
    const file::Relationship& deletes = byName["Table2Table1"];
    EXPECT_EQ(deletes.describeColumns(), "Table1.otherfk1");
    EXPECT_EQ(deletes.describeReferencedColumns(), "Table2.id");
    EXPECT_TRUE(deletes.enforced() && deletes.cascadesDeletes() && !deletes.cascadesUpdates());
    const file::Relationship& updates = byName["Table3Table1"];
    EXPECT_TRUE(updates.enforced() && !updates.cascadesDeletes() && updates.cascadesUpdates());
    EXPECT_EQ(allOrphans(corpusFile(related)), std::vector<std::string>{});
    EXPECT_EQ(orphans(corpusFile(related), "Table1", "otherfk3", "Table3", "id").size(), 4u)
        << "the check finds values no parent holds";
}

TEST_F(RelationshipTest, ChangesThatWouldLeaveOrphansAreRefusedByNameAndChangeNothing) {
    const std::string original = sha256(corpusFile(related));
    struct Case {
        std::string statement;
        std::uint16_t number;
        std::vector<std::string> named;
    };
    const std::vector<Case> cases{
        {"DELETE FROM Table3 WHERE id = 13", 3200, {"Table3Table1", "'Table1'", "Table3.id"}},
        {"UPDATE Table2 SET id = 5 WHERE id = 2", 3200, {"Table2Table1", "'Table1'", "Table2.id"}},
        {"INSERT INTO Table1 (id, otherfk1, otherfk2, data, otherfk3) VALUES (9, 99, 10, 'x', 0)",
         3201,
         {"Table2Table1", "'Table2'", "Table1.otherfk1"}},
        {"UPDATE Table1 SET otherfk2 = 14 WHERE id = 0", 3201, {"Table3Table1", "'Table3'"}},
        // One record of the two has records that refer to it: neither goes.
        {"DELETE FROM Table3 WHERE id >= 12", 3200, {"Table3Table1"}},
    };
    for (const Case& c : cases) {
        Outcome outcome = run(c.statement);
        EXPECT_EQ(errorNumber(outcome.status), c.number) << c.statement;
        for (const std::string& name : c.named)
            EXPECT_NE(outcome.message.find(name), std::string::npos)
                << c.statement << ": " << outcome.message;
        EXPECT_EQ(sha256(outcome.path), original) << c.statement;
    }
}

TEST_F(RelationshipTest, CascadesRunWithTheStatementAndLeaveNoOrphan) {
    Outcome deleted = run("DELETE FROM Table2 WHERE id = 1");
    ASSERT_EQ(deleted.status, statusOk) << deleted.message;
    EXPECT_EQ(column(deleted.path, "Table1", "id"), (std::vector<std::string>{"0", "3"}));
    EXPECT_EQ(column(deleted.path, "Table2", "id"), (std::vector<std::string>{"0", "2"}));

    Outcome changed = run("UPDATE Table3 SET id = 21 WHERE id = 11");
    ASSERT_EQ(changed.status, statusOk) << changed.message;
    EXPECT_EQ(column(changed.path, "Table1", "otherfk2"),
              (std::vector<std::string>{"10", "21", "21", "13"}));

    // Values that stay or are Null refer to nothing new; a parent added first can be
    // referred to.
    Outcome kept = run("UPDATE Table1 SET otherfk1 = Null, data = 'y' WHERE id = 3");
    EXPECT_EQ(kept.status, statusOk) << kept.message;
    for (const Outcome* outcome : {&deleted, &changed, &kept}) {
        EXPECT_EQ(allOrphans(outcome->path), std::vector<std::string>{});
        EXPECT_EQ(indexProblems(outcome->path), std::vector<std::string>{});
    }
    {
        auto database = open(engine, kept.path);
        EXPECT_EQ(database->execute("INSERT INTO Table2 (id, data) VALUES (99, 'new')"), statusOk);
        EXPECT_EQ(
            database->execute("INSERT INTO Table1 (id, otherfk1, otherfk2) VALUES (9, 99, 10)"),
            statusOk)
            << errorText(engine);
        EXPECT_EQ(database->execute("DELETE FROM Table2 WHERE id = 99"), statusOk);
        EXPECT_EQ(database->close(), statusOk);
    }
    EXPECT_EQ(column(kept.path, "Table1", "id"), (std::vector<std::string>{"0", "1", "2", "3"}));
}

// Through a recordset, as a program changes records: the refusal leaves the record being
// edited, to be put right.
TEST_F(RelationshipTest, RecordsetChangesKeepTheRulesToo) {
    std::string path = scratch.copy(related);
    auto database = open(engine, path);
    auto children = openTable(*database, "Table1");
    ASSERT_EQ(children->edit(), statusOk);
    ASSERT_EQ(children->setColumnValue(1, Variant::longInteger(7)), statusOk);
    EXPECT_EQ(errorNumber(children->update()), 3201);
    ASSERT_EQ(children->setColumnValue(1, Variant::longInteger(2)), statusOk);
    EXPECT_EQ(children->update(), statusOk) << errorText(engine);

    auto parents = openTable(*database, "Table2");
    ASSERT_EQ(parents->moveNext(), statusOk);
    ASSERT_EQ(parents->deleteRecord(), statusOk) << errorText(engine);
    EXPECT_EQ(parents->moveNext(), statusOk);
    EXPECT_EQ(daotest::column(*parents, 0).size(), 2u);
    ASSERT_EQ(database->close(), statusOk);
    EXPECT_EQ(column(path, "Table1", "id"), (std::vector<std::string>{"0", "3"}));
    EXPECT_EQ(allOrphans(path), std::vector<std::string>{});
}

} // namespace
