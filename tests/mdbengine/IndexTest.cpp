// Index keys and index pages against the public files' own indexes, and the page writer's
// upkeep of indexes as records are added, changed and deleted.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/ExportText.h"
#include "mdbengine/dao/FieldValue.h"
#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/UsageMap.h"
#include "mdbengine/tables/IndexCheck.h"
#include "mdbengine/tables/IndexPage.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/values/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <tuple>

using namespace daotest;

namespace {

// Every key of every index of the public files (system tables included) is computed again
// from its row and compared with the stored bytes, and every index page is read and written
// again as the page writer stores it.
TEST(IndexCorpus, EveryKeyIsComputedAgainFromItsRow) {
    REQUIRE_MDB_CORPUS();
    std::size_t entries = 0;
    std::size_t compared = 0;
    for (const std::string& name : corpusFiles()) {
        Errors errors;
        std::shared_ptr<DatabaseFile> file;
        ASSERT_EQ(
            DatabaseFile::open(corpusFile(name), {false, true, passwordFor(name)}, errors, file),
            statusOk)
            << name;
        for (const file::CatalogEntry& entry : file->catalog().tables()) {
            if (entry.isLinked())
                continue;
            auto table = file->tableDefinition(entry.tablePage());
            file::IndexReport report = file::checkIndexes(file->pages(), *table);
            for (const std::string& problem : report.problems)
                ADD_FAILURE() << name << " " << entry.name << ": " << problem;
            entries += report.entries;
            compared += report.keysCompared;
        }
    }
    EXPECT_EQ(entries - compared, 208u)
        << "only keys of Greek, Cyrillic and Japanese text and of binary columns, whose codes "
           "are not known here, are left uncompared";
}

} // namespace

namespace {

using file::ColumnType;

// Characters that give keys trouble: both cases, an accented letter in both cases, the
// hyphen and apostrophe Jet4 lists apart, a space and digits.
const std::vector<std::string> alphabet = {"a", "A", "b", "B", "e", "\u00e9", "\u00c9",
                                           " ", "-", "'", "0", "9", "z"};

// Keys compare without regard to case, accents apart, and leave trailing blanks out.
std::string folded(const std::string& text) {
    std::string result = text.substr(0, text.find_last_not_of(' ') + 1);
    for (std::size_t at = result.find("\u00c9"); at != std::string::npos;
         at = result.find("\u00c9"))
        result.replace(at, 2, "\u00e9");
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return result;
}

// A table under random changes, and the rows it should hold by row id (its bookmark).
class ModelTable {
public:
    ModelTable(std::string path, std::string table, unsigned seed)
        : path_(std::move(path)), name_(std::move(table)), random_(seed) {}

    void load() {
        DBEngine engine;
        auto database = open(engine, path_);
        auto recordset = openTable(*database, name_);
        columns_ = recordset->table().columns;
        definition_ = recordset->table();
        jet4_ = recordset->jet4();
        bool atEnd = false;
        for (recordset->eof(atEnd); !atEnd; recordset->moveNext(), recordset->eof(atEnd)) {
            std::vector<std::uint8_t> bookmark;
            ASSERT_EQ(recordset->bookmark(bookmark), statusOk);
            rows_[file::get32(bookmark.data())] = readRow(*recordset);
        }
    }

    // A batch of changes through one open of the file.
    void changeBatch(std::size_t changes) {
        DBEngine engine;
        auto database = open(engine, path_);
        auto recordset = openTable(*database, name_);
        for (std::size_t i = 0; i < changes; ++i) {
            unsigned kind = pick(10);
            if (kind < 4 || rows_.empty())
                addRow(engine, *recordset);
            else if (kind < 7)
                editRow(engine, *recordset);
            else
                deleteRow(engine, *recordset);
        }
        ASSERT_EQ(recordset->close(), statusOk);
        ASSERT_EQ(database->close(), statusOk) << errorText(engine);
    }

    // As mdb-export writes the rows, line by line (a value may hold a line break).
    std::vector<std::string> expectedLines() const {
        std::string text;
        for (const auto& [rowId, values] : rows_) {
            for (std::size_t i = 0; i < values.size(); ++i)
                text += (i ? "," : "") + exportText(values[i]);
            text += "\n";
        }
        return sorted(lines(jet4_ ? text : asMdbExportShowsJet3(text)));
    }

    std::size_t refusals() const { return refusals_; }
    bool refuses() const {
        for (const file::StoredIndex& index : definition_.storedIndexes)
            if (index.unique || index.required)
                return true;
        return false;
    }

private:
    unsigned pick(unsigned count) {
        return std::uniform_int_distribution<unsigned>(0, count - 1)(random_);
    }

    std::vector<Variant> readRow(Recordset& recordset) {
        std::vector<Variant> values(columns_.size());
        for (std::size_t i = 0; i < columns_.size(); ++i)
            EXPECT_EQ(recordset.columnValue(i, values[i]), statusOk);
        return values;
    }

    bool writable(const file::Column& column) const {
        return !column.isAutoNumber() && columnWritable(column);
    }

    std::string randomText(std::size_t most) {
        std::string text;
        for (unsigned n = pick(static_cast<unsigned>(std::min<std::size_t>(most, 12)) + 1); n > 0;
             --n)
            text += alphabet[pick(static_cast<unsigned>(alphabet.size()))];
        return text;
    }

    Variant randomValue(const file::Column& column) {
        if (column.type != ColumnType::Boolean && pick(7) == 0)
            return Variant::null();
        switch (column.type) {
        case ColumnType::Boolean:
            return Variant::boolean(pick(2) == 0);
        case ColumnType::Byte:
            return Variant::byte(static_cast<std::uint8_t>(pick(4) * 60));
        case ColumnType::Integer:
            return Variant::integer(static_cast<std::int16_t>(static_cast<int>(pick(7)) - 3));
        case ColumnType::Long:
            return Variant::longInteger(static_cast<std::int32_t>(pick(9)) * 250000 - 1000000);
        case ColumnType::Currency:
            return Variant::currency((static_cast<std::int64_t>(pick(200)) - 100) * 125);
        case ColumnType::Single:
            return Variant::single(static_cast<float>(static_cast<int>(pick(40)) - 20) / 4);
        case ColumnType::Double:
            return Variant::real(static_cast<double>(static_cast<int>(pick(400)) - 200) / 8);
        case ColumnType::DateTime:
            return Variant::date(36000 + pick(60) + pick(4) * 0.25);
        case ColumnType::Text:
            return Variant::text(randomText(jet4_ ? column.length / 2u : column.length));
        case ColumnType::Memo: {
            static const std::size_t lengths[] = {0, 7, 64, 65, 900, 2500, 6000};
            std::string text;
            std::size_t length = lengths[pick(7)];
            while (characterCount(text) < length)
                text += randomText(12);
            return Variant::text(std::string(characterRange(text, 0, length)));
        }
        default:
            return Variant::null();
        }
    }

    // The refusal the indexes owe a row with `values` (the row `self` before it changed,
    // when it is an edit): the first index, in order, whose key changed and that takes no
    // Null in it or holds the key already.
    std::optional<std::uint16_t> refusalFor(const std::vector<Variant>& values,
                                            const std::vector<Variant>* before,
                                            std::optional<std::uint32_t> self) const {
        for (const file::StoredIndex& index : definition_.storedIndexes) {
            std::vector<std::size_t> parts;
            for (const file::IndexColumn& key : index.columns)
                for (std::size_t i = 0; i < columns_.size(); ++i)
                    if (columns_[i].number == key.columnNumber)
                        parts.push_back(i);
            bool changed = !before;
            bool anyNull = false;
            for (std::size_t i : parts) {
                changed = changed || !((*before)[i] == values[i]);
                anyNull = anyNull || values[i].isNull();
            }
            if (!changed)
                continue;
            if (index.required && anyNull)
                return 3058;
            if (!index.unique || anyNull)
                continue;
            for (const auto& [rowId, other] : rows_) {
                if (self && rowId == *self)
                    continue;
                bool same = true;
                for (std::size_t i : parts) {
                    const Variant& a = other[i];
                    const Variant& b = values[i];
                    same = same && !a.isNull() &&
                           (a.isString() ? folded(a.stringValue()) == folded(b.stringValue())
                                         : a == b);
                }
                if (same)
                    return 3022;
            }
        }
        return std::nullopt;
    }

    // Sends the values, updates, and checks the outcome against the refusal owed.
    bool save(DBEngine& engine, Recordset& recordset, const std::vector<Variant>& values,
              const std::set<std::size_t>& given, std::optional<std::uint16_t> refusal) {
        for (std::size_t i : given)
            EXPECT_EQ(recordset.setColumnValue(i, values[i]), statusOk) << errorText(engine);
        Status status = recordset.update();
        if (refusal) {
            ++refusals_;
            EXPECT_EQ(errorNumber(status), *refusal) << errorText(engine);
            EXPECT_EQ(recordset.cancelUpdate(), statusOk);
            return false;
        }
        EXPECT_EQ(status, statusOk) << errorText(engine);
        return status == statusOk;
    }

    void addRow(DBEngine& engine, Recordset& recordset) {
        ASSERT_EQ(recordset.addNew(), statusOk) << errorText(engine);
        std::vector<Variant> values(columns_.size(), Variant::null());
        std::set<std::size_t> given;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i].type == ColumnType::Boolean)
                values[i] = Variant::boolean(false);
            if (!writable(columns_[i]))
                continue;
            values[i] = randomValue(columns_[i]);
            given.insert(i);
        }
        bool numbered = false;
        for (const file::Column& column : columns_)
            numbered = numbered || column.isAutoNumber();
        if (!save(engine, recordset, values, given,
                  numbered ? std::nullopt : refusalFor(values, nullptr, std::nullopt)))
            return;
        std::vector<std::uint8_t> bookmark;
        ASSERT_EQ(recordset.lastModified(bookmark), statusOk);
        ASSERT_EQ(recordset.setBookmark(bookmark), statusOk);
        // Numbered columns take what the engine gave; the rest must be as sent.
        std::vector<Variant> stored = readRow(recordset);
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i].isAutoNumber())
                values[i] = stored[i];
        rows_[file::get32(bookmark.data())] = values;
    }

    std::uint32_t someRow(Recordset& recordset) {
        auto at = rows_.begin();
        std::advance(at, pick(static_cast<unsigned>(rows_.size())));
        std::vector<std::uint8_t> bookmark(4);
        file::put32(bookmark.data(), at->first);
        EXPECT_EQ(recordset.setBookmark(bookmark), statusOk);
        return at->first;
    }

    void editRow(DBEngine& engine, Recordset& recordset) {
        std::uint32_t rowId = someRow(recordset);
        ASSERT_EQ(recordset.edit(), statusOk) << errorText(engine);
        std::vector<Variant> values = rows_[rowId];
        std::set<std::size_t> given;
        for (unsigned n = pick(3) + 1; n > 0; --n) {
            std::size_t i = pick(static_cast<unsigned>(columns_.size()));
            if (!writable(columns_[i]))
                continue;
            values[i] = randomValue(columns_[i]);
            if (columns_[i].type == ColumnType::Boolean)
                values[i] = Variant::boolean(values[i].booleanValue());
            given.insert(i);
        }
        if (save(engine, recordset, values, given, refusalFor(values, &rows_[rowId], rowId)))
            rows_[rowId] = values;
    }

    void deleteRow(DBEngine& engine, Recordset& recordset) {
        std::uint32_t rowId = someRow(recordset);
        ASSERT_EQ(recordset.deleteRecord(), statusOk) << errorText(engine);
        rows_.erase(rowId);
    }

    std::string path_;
    std::string name_;
    std::mt19937 random_;
    std::vector<file::Column> columns_;
    file::TableDefinition definition_;
    bool jet4_ = false;
    std::map<std::uint32_t, std::vector<Variant>> rows_;
    std::size_t refusals_ = 0;
};

struct ModelCase {
    const char* file;
    const char* table;
};

void PrintTo(const ModelCase& test, std::ostream* out) {
    *out << test.file << " " << test.table;
}

class IndexPropertyTest : public ::testing::TestWithParam<ModelCase> {};

// Random batches of AddNew, Edit and Delete; after each the rows (as mdb-export reads them)
// and every index of the file (by the engine's check) agree with the model.
TEST_P(IndexPropertyTest, RandomChangesAgreeWithTheModel) {
    REQUIRE_MDB_CORPUS();
    ScratchFolder scratch;
    std::string path = scratch.copy(GetParam().file);
    ModelTable model(path, GetParam().table, 40);
    model.load();
    for (int batch = 0; batch < 5; ++batch) {
        SCOPED_TRACE("batch " + std::to_string(batch));
        model.changeBatch(30);
        std::vector<std::string> exported = lines(mdbExport(path, GetParam().table));
        ASSERT_FALSE(exported.empty());
        exported.erase(exported.begin());
        EXPECT_EQ(sorted(exported), model.expectedLines());
        EXPECT_EQ(indexProblems(path), std::vector<std::string>{});
        EXPECT_EQ(structureProblems(path, {}, corpusFile(GetParam().file)),
                  std::vector<std::string>{});
        if (HasFailure())
            return;
    }
    if (model.refuses()) {
        EXPECT_GT(model.refusals(), 0u) << "the batches meet the indexes' refusals";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, IndexPropertyTest,
    ::testing::Values(ModelCase{"jackcess/testIndexCodesV1997.mdb", "Table12"},
                      ModelCase{"jackcess/testIndexCodesV1997.mdb", "Table1"},
                      ModelCase{"jackcess/test2V1997.mdb", "MSP_PROJECTS"},
                      ModelCase{"jackcess/testIndexPropertiesV2000.mdb", "TableIgnoreNulls2"},
                      ModelCase{"jackcess/testIndexPropertiesV2000.mdb", "TableUnique2_temp"},
                      ModelCase{"jackcess/compIndexTestV2000.mdb", "Table1"},
                      ModelCase{"jackcess/test2V2000.mdb", "MSP_PROJECTS"}),
    [](const auto& info) {
        return testNameOf(std::string(info.param.file) + "_" + info.param.table);
    });

} // namespace

namespace {

class IndexWriteTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    file::IndexReport report(const std::string& path, const std::string& table) {
        Errors errors;
        std::shared_ptr<DatabaseFile> file;
        EXPECT_EQ(DatabaseFile::open(path, {false, true, {}}, errors, file), statusOk);
        for (const file::CatalogEntry& entry : file->catalog().tables())
            if (entry.name == table)
                return file::checkIndexes(file->pages(), *file->tableDefinition(entry.tablePage()));
        ADD_FAILURE() << "no table " << table;
        return {};
    }

    std::size_t freePages(const std::string& path) {
        Errors errors;
        std::shared_ptr<DatabaseFile> file;
        EXPECT_EQ(DatabaseFile::open(path, {false, true, {}}, errors, file), statusOk);
        std::size_t count = 0;
        for (std::uint32_t page : file::readUsageMap(file->pages(), file::freePagesMapRow, true))
            count += page < file->pages().pageCount();
        return count;
    }

    Status add(Recordset& recordset, const std::vector<Variant>& values) {
        if (Status status = recordset.addNew(); failed(status))
            return status;
        for (std::size_t i = 0; i < values.size(); ++i)
            if (!values[i].isMissing())
                if (Status status = recordset.setColumnValue(i, values[i]); failed(status))
                    return status;
        return recordset.update();
    }

    DBEngine engine;
    ScratchFolder scratch;
};

// Jet3's small pages: a few thousand rows with long text keys make the trees three levels
// deep; deleting nearly all of them merges and frees the pages again down to one root leaf.
TEST_F(IndexWriteTest, TreesGrowThreeLevelsDeepAndShrinkBack) {
    std::string path = scratch.copy("jackcess/testIndexCodesV1997.mdb");
    std::mt19937 random(7);
    std::vector<std::string> names;
    {
        auto database = open(engine, path);
        auto recordset = openTable(*database, "Table1");
        for (int i = 0; i < 2000; ++i) {
            std::string name =
                "name " + std::to_string(random() % 1000000) + "-" + std::to_string(i);
            std::string data;
            for (int k = 0; k < 40; ++k)
                data += alphabet[random() % alphabet.size()];
            ASSERT_EQ(add(*recordset, {Variant::text(name), Variant::text(data)}), statusOk)
                << errorText(engine);
            names.push_back(name);
        }
        ASSERT_EQ(database->close(), statusOk);
    }
    file::IndexReport grown = report(path, "Table1");
    EXPECT_EQ(grown.problems, std::vector<std::string>{});
    EXPECT_EQ(grown.deepest, 3u);
    EXPECT_EQ(grown.entries, 2u * (2000 + 275));
    std::size_t freeBefore = freePages(path);

    {
        auto database = open(engine, path);
        auto recordset = openTable(*database, "Table1");
        ASSERT_EQ(recordset->setIndex("PrimaryKey"), statusOk);
        for (std::size_t i = 0; i + 5 < names.size(); ++i) {
            Variant key[] = {Variant::text(names[i])};
            ASSERT_EQ(recordset->seek("=", key), statusOk);
            ASSERT_EQ(recordset->deleteRecord(), statusOk) << errorText(engine);
        }
        std::int32_t count = 0;
        ASSERT_EQ(recordset->recordCount(count), statusOk);
        for (; count > 5; --count) {
            ASSERT_EQ(recordset->moveFirst(), statusOk);
            ASSERT_EQ(recordset->deleteRecord(), statusOk) << errorText(engine);
        }
        ASSERT_EQ(database->close(), statusOk);
    }
    file::IndexReport shrunk = report(path, "Table1");
    EXPECT_EQ(shrunk.problems, std::vector<std::string>{});
    EXPECT_EQ(shrunk.deepest, 1u);
    EXPECT_EQ(shrunk.entries, 10u);
    EXPECT_GT(freePages(path), freeBefore + 100) << "the pages of the index are given back";
    EXPECT_EQ(lines(mdbExport(path, "Table1")).size(), 6u);
    EXPECT_EQ(structureProblems(path, {}, corpusFile("jackcess/testIndexCodesV1997.mdb")),
              std::vector<std::string>{});
}

// New records are numbered after the last number given, also one given by hand; a refused
// record uses up no number, and the table definition keeps the last one for the next open.
TEST_F(IndexWriteTest, AutoNumbersFollowTheLastGiven) {
    for (auto [file, table, first] :
         {std::tuple{"mdb-reader/V2000_no-password.mdb", "Table1", 4},
          std::tuple{"jackcess/testIndexCodesV1997.mdb", "Table11", 53}}) {
        SCOPED_TRACE(file);
        std::string path = scratch.copy(file);
        auto numbers = [&](Recordset& recordset) {
            std::vector<std::int64_t> result;
            for (const Variant& value : column(recordset, 0))
                result.push_back(value.integerValue());
            std::sort(result.begin(), result.end());
            return result;
        };
        Variant missing = Variant::missing();
        {
            auto database = open(engine, path);
            auto recordset = openTable(*database, table);
            ASSERT_EQ(add(*recordset, {missing, Variant::text("next")}), statusOk)
                << errorText(engine);
            ASSERT_EQ(add(*recordset, {Variant::longInteger(first + 10), Variant::text("given")}),
                      statusOk);
            EXPECT_EQ(
                errorNumber(add(*recordset, {Variant::longInteger(first), Variant::text("twice")})),
                3022);
            ASSERT_EQ(recordset->cancelUpdate(), statusOk);
            ASSERT_EQ(add(*recordset, {missing, Variant::text("after")}), statusOk);
            ASSERT_EQ(recordset->edit(), statusOk);
            EXPECT_EQ(errorNumber(recordset->setColumnValue(0, Variant::longInteger(99))), 3164);
            ASSERT_EQ(database->close(), statusOk);
        }
        auto database = open(engine, path);
        auto recordset = openTable(*database, table);
        ASSERT_EQ(add(*recordset, {missing, Variant::text("reopened")}), statusOk);
        std::vector<std::int64_t> got = numbers(*recordset);
        ASSERT_GE(got.size(), 4u);
        EXPECT_EQ(std::vector<std::int64_t>(got.end() - 4, got.end()),
                  (std::vector<std::int64_t>{first, first + 10, first + 11, first + 12}));
        ASSERT_EQ(database->close(), statusOk);
        EXPECT_EQ(indexProblems(path), std::vector<std::string>{});
    }
}

// Index pages changed before a transaction are part of what its rollback goes back to; those
// changed inside it are dropped with it.
TEST_F(IndexWriteTest, RollbackTakesTheIndexesBackWithTheRows) {
    std::string path = scratch.copy("jackcess/testIndexCodesV1997.mdb");
    auto database = open(engine, path);
    auto recordset = openTable(*database, "Table12");
    ASSERT_EQ(
        add(*recordset, {Variant::text("before"), Variant::text("kept"), Variant::longInteger(1)}),
        statusOk);
    ASSERT_EQ(engine.beginTrans(), statusOk);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(add(*recordset, {Variant::text("inside " + std::to_string(i)),
                                   Variant::text("dropped"), Variant::longInteger(i)}),
                  statusOk);
    ASSERT_EQ(engine.rollback(), statusOk);
    ASSERT_EQ(
        add(*recordset, {Variant::text("after"), Variant::text("kept"), Variant::longInteger(2)}),
        statusOk);
    ASSERT_EQ(database->close(), statusOk);
    file::IndexReport checked = report(path, "Table12");
    EXPECT_EQ(checked.problems, std::vector<std::string>{});
    EXPECT_EQ(checked.entries, 2u * (10 + 2));
}

// Half the rows of every indexed table of the public files are deleted and added again
// through recordsets: the indexes hold and mdb-export reads the rows the table had.
TEST_F(IndexWriteTest, HalfTheRowsDeletedAndAddedAgain) {
    for (const char* file : {"jackcess/testIndexCodesV1997.mdb", "jackcess/indexTestV1997.mdb",
                             "jackcess/indexTestV2000.mdb", "jackcess/compIndexTestV2000.mdb",
                             "jackcess/testIndexPropertiesV2000.mdb", "jackcess/test2V1997.mdb",
                             "jackcess/test2V2000.mdb", "mdb-reader/V2000_no-password.mdb"}) {
        SCOPED_TRACE(file);
        std::string path = scratch.copy(file);
        std::map<std::string, std::vector<std::string>> before;
        auto database = open(engine, path);
        // Relationships (where there are any) are set aside: a deleted record that others
        // refer to would take them with it, and they would not come back.
        database->execute("UPDATE MSysRelationships SET grbit = 2");
        for (const std::string& name : userTables(*database)) {
            auto recordset = openTable(*database, name);
            bool copyable = !recordset->table().storedIndexes.empty();
            for (const file::Column& column : recordset->table().columns)
                copyable = copyable && (columnWritable(column) ||
                                        (column.isAutoNumber() && column.type == ColumnType::Long));
            if (!copyable)
                continue;
            before[name] = sorted(lines(mdbExport(path, name)));
            std::vector<std::vector<std::uint8_t>> bookmarks;
            bool atEnd = false;
            for (recordset->eof(atEnd); !atEnd; recordset->moveNext(), recordset->eof(atEnd)) {
                bookmarks.emplace_back();
                ASSERT_EQ(recordset->bookmark(bookmarks.back()), statusOk);
            }
            std::vector<std::vector<Variant>> deleted;
            for (std::size_t k = 0; k < bookmarks.size(); k += 2) {
                ASSERT_EQ(recordset->setBookmark(bookmarks[k]), statusOk);
                std::vector<Variant> values(recordset->table().columns.size());
                for (std::size_t i = 0; i < values.size(); ++i)
                    ASSERT_EQ(recordset->columnValue(i, values[i]), statusOk);
                ASSERT_EQ(recordset->deleteRecord(), statusOk) << name << ": " << errorText(engine);
                deleted.push_back(std::move(values));
            }
            for (const std::vector<Variant>& values : deleted)
                ASSERT_EQ(add(*recordset, values), statusOk) << name << ": " << errorText(engine);
        }
        ASSERT_FALSE(before.empty());
        ASSERT_EQ(database->close(), statusOk);
        EXPECT_EQ(indexProblems(path), std::vector<std::string>{});
        for (const auto& [name, rows] : before)
            EXPECT_EQ(sorted(lines(mdbExport(path, name))), rows) << name;
    }
}

} // namespace

namespace {

// A change through an index whose pages loop would follow the loop or write it further: it
// is refused by the index's name, with the file as it was. The tree is grown to two levels
// first; then the second leaf's sibling link leads back to the first, or the root's last
// child is the root itself.
TEST_F(IndexWriteTest, WritesThroughAnIndexWhosePagesLoopAreRefusedByName) {
    std::string grown = scratch.copy("jackcess/testIndexCodesV1997.mdb", "grown.mdb");
    {
        auto database = open(engine, grown);
        auto recordset = openTable(*database, "Table1");
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ(add(*recordset,
                          {Variant::text("grown name " + std::to_string(i) + std::string(30, 'x')),
                           Variant::text("d")}),
                      statusOk);
        ASSERT_EQ(database->close(), statusOk);
    }
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    ASSERT_EQ(DatabaseFile::open(grown, {false, true, {}}, errors, file), statusOk);
    const file::JetFormat format = file->pages().format();
    std::shared_ptr<const file::TableDefinition> table;
    for (const file::CatalogEntry& entry : file->catalog().tables())
        if (entry.name == "Table1")
            table = file->tableDefinition(entry.tablePage());
    ASSERT_TRUE(table);
    const std::uint32_t root = table->storedIndexes[0].rootPage;
    file::IndexNode top = file::readIndexPage(file->pages().page(root), format);
    ASSERT_FALSE(top.leaf);
    ASSERT_GE(top.entries.size(), 1u);
    const std::uint32_t firstLeaf = file::entryChild(top.entries[0]);
    const std::uint32_t secondLeaf =
        file::readIndexPage(file->pages().page(firstLeaf), format).next;
    std::set<std::string> names;
    for (const file::IndexDefinition& index : table->indexes)
        if (index.storedIndex == 0)
            names.insert(index.name);
    file.reset();

    auto damaged = [&](const std::string& name, std::uint32_t page, std::uint32_t offset,
                       std::uint32_t value) {
        std::string path = scratch.path(name);
        std::filesystem::copy_file(grown, path);
        std::fstream bytes(path, std::ios::in | std::ios::out | std::ios::binary);
        std::uint8_t word[4];
        file::put32(word, value);
        bytes.seekp(static_cast<std::streamoff>(page) * format.pageSize + offset);
        bytes.write(reinterpret_cast<const char*>(word), 4);
        return path;
    };
    const std::vector<std::string> loops{
        damaged("sibling.mdb", secondLeaf, format.indexNextOffset, firstLeaf),
        damaged("tail.mdb", root, format.indexTailOffset, root),
    };
    const std::vector<std::string> statements{
        "INSERT INTO Table1 (name, data) VALUES ('zz new', 'x')",
        "UPDATE Table1 SET name = 'aa changed', data = 'changed' WHERE name = 'row3'",
        "DELETE FROM Table1 WHERE name = 'row4'",
    };
    for (const std::string& path : loops) {
        const std::string before = sha256(path);
        for (const std::string& statement : statements) {
            auto database = open(engine, path);
            EXPECT_EQ(errorNumber(database->execute(statement)), 3343) << path << ": " << statement;
            std::string message = errorText(engine);
            EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const std::string& name) {
                return message.find("index '" + name + "'") != std::string::npos;
            })) << message;
            EXPECT_EQ(database->close(), statusOk);
            EXPECT_EQ(sha256(path), before) << path << ": " << statement;
        }
    }
    auto database = open(engine, grown);
    EXPECT_EQ(database->execute(statements[0]), statusOk) << "the sound file takes the change";
    EXPECT_EQ(database->close(), statusOk);
}

} // namespace
