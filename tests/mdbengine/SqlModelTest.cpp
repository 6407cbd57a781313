// Random INSERT, UPDATE and DELETE statements through the sql tool, typed as in a UTF-8
// terminal, on tables whose indexed text columns take accented letters in both cases,
// Windows-1252's typographic marks and trailing blanks (the model keeps its texts in
// Windows-1252, which every table here holds). A model of the rows says what each statement
// changes and which ones a unique index refuses; every 25 statements the rows (as mdb-export
// reads them), their count (mdb-count), the page structure and every index (rebuilt from the
// rows by the engine's own check) are held to it.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/ExportText.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>

using namespace daotest;
using quillan::test::runCommand;

namespace {

// How Access keys these texts, spelled out from the sort order's rules for the characters
// used here rather than from the engine's code tables: letters without regard to case,
// accented letters apart from the plain ones, trailing blanks left out; Jet3 keys the
// typographic apostrophe and the en dash as the plain apostrophe and the hyphen, Jet4 apart.
std::string modelKey(const std::string& text, bool jet4) {
    std::string key = text.substr(0, text.find_last_not_of(' ') + 1);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        else if (c == '\xC9') // E acute
            c = '\xE9';
        else if (c == '\x8A') // S caron
            c = '\x9A';
        else if (!jet4 && c == '\x92') // right single quotation mark
            c = '\'';
        else if (!jet4 && c == '\x96') // en dash
            c = '-';
    }
    return key;
}

// Pieces the random texts are made of: letters with and without accents in both cases, the
// plain and the typographic apostrophe, hyphen and en dash, the euro sign.
const std::vector<std::string> pieces = {"a",    "A",    "e",        "E", "\xE9", "\xC9",
                                         "o",    "O'",   "O\x92",    "-", "\x96", "\x80",
                                         "\x9A", "\x8A", "P\xE9rez", "x", "7"};

struct KeyedTable {
    const char* file;
    const char* table;
    const char* key;    // the primary key's text column
    const char* other;  // an indexed text column
    const char* number; // a Long column that makes a unique index with `other`, if any
};

struct Row {
    std::optional<std::string> key;
    std::optional<std::string> other;
    std::optional<std::int32_t> number;
};

class SqlModel {
public:
    SqlModel(const KeyedTable& table, std::string path, unsigned seed)
        : table_(table), path_(std::move(path)), random_(seed) {}

    void load() {
        DBEngine engine;
        auto database = open(engine, path_);
        auto recordset = openTable(*database, table_.table);
        jet4_ = recordset->jet4();
        std::vector<Variant> keys = column(*recordset, 0);
        std::vector<Variant> others = column(*recordset, 1);
        std::vector<Variant> numbers =
            table_.number ? column(*recordset, 2) : std::vector<Variant>(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i)
            rows_.push_back({text(keys[i]), text(others[i]),
                             numbers[i].isNull() || numbers[i].isEmpty()
                                 ? std::nullopt
                                 : std::optional<std::int32_t>(
                                       static_cast<std::int32_t>(numbers[i].integerValue()))});
    }

    // One random statement run through the tool, its outcome checked against the model.
    void step() {
        unsigned kind = pick(20);
        if (kind < 8)
            insert();
        else if (kind < 15)
            update(kind >= 12);
        else
            remove();
    }

    void checkFile(const std::string& original) const {
        std::vector<std::string> exported = lines(fromUtf8(mdbExport(path_, table_.table)));
        ASSERT_FALSE(exported.empty());
        exported.erase(exported.begin());
        EXPECT_EQ(sorted(exported), expectedLines());
        EXPECT_EQ(runCommand("mdb-count " + shellQuoted(path_) + " " + table_.table),
                  std::to_string(rows_.size()) + "\n");
        EXPECT_EQ(indexProblems(path_), std::vector<std::string>{});
        EXPECT_EQ(structureProblems(path_, {}, original), std::vector<std::string>{});
    }

    std::size_t refusals() const { return refusals_; }
    std::size_t changes() const { return changes_; }

private:
    static std::optional<std::string> text(const Variant& value) {
        if (value.isNull() || value.isEmpty())
            return std::nullopt;
        return fromUtf8(value.stringValue());
    }

    unsigned pick(unsigned count) {
        return std::uniform_int_distribution<unsigned>(0, count - 1)(random_);
    }

    std::string randomText() {
        std::string text;
        for (unsigned n = pick(3) + 1; n > 0; --n)
            text += pieces[pick(static_cast<unsigned>(pieces.size()))];
        if (pick(4) == 0)
            text += std::string(pick(2) + 1, ' ');
        return text;
    }

    // Another spelling of a text that keys the same: other letter cases, trailing blanks.
    std::string respelled(std::string text) {
        for (char& c : text) {
            if (pick(2) == 0)
                continue;
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
            else if (c == '\xE9')
                c = '\xC9';
            else if (c == '\x9A')
                c = '\x8A';
        }
        return pick(2) ? text + " " : text.substr(0, text.find_last_not_of(' ') + 1);
    }

    // A key: often one the table holds, spelled another way, else a new one.
    std::string someKey() {
        if (!rows_.empty() && pick(2) == 0) {
            const Row& row = rows_[pick(static_cast<unsigned>(rows_.size()))];
            if (row.key)
                return respelled(*row.key);
        }
        return randomText();
    }

    static std::string literal(const std::optional<std::string>& value) {
        if (!value)
            return "Null";
        std::string quoted = "'";
        for (char c : *value)
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        return quoted + "'";
    }

    static std::string literal(const std::optional<std::int32_t>& value) {
        return value ? std::to_string(*value) : "Null";
    }

    bool sameKey(const std::optional<std::string>& a, const std::string& b) const {
        return a && modelKey(*a, jet4_) == modelKey(b, jet4_);
    }

    // The row whose key the condition "key = `key`" finds.
    std::optional<std::size_t> rowKeyed(const std::string& key) const {
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (sameKey(rows_[i].key, key))
                return i;
        return std::nullopt;
    }

    // The refusal the indexes owe `row` in place of row `self` (none for a new row): 3058 for
    // a Null key, 3022 for a key the table holds, or a pair of other text and number it holds.
    std::optional<int> refusalFor(const Row& row, std::optional<std::size_t> self) const {
        if (!row.key)
            return 3058;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (self && i == *self)
                continue;
            const Row& held = rows_[i];
            if (sameKey(held.key, *row.key))
                return 3022;
        }
        if (!table_.number || !row.other || !row.number)
            return std::nullopt;
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if ((!self || i != *self) && sameKey(rows_[i].other, *row.other) &&
                rows_[i].number == row.number)
                return 3022;
        return std::nullopt;
    }

    // Runs the statement; checks that it changed `affected` rows, or was refused so.
    void run(const std::string& statement, std::optional<int> refusal, int affected) {
        std::string output =
            runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(path_) + " " +
                       shellQuoted(toUtf8(statement)) + " 2>&1");
        if (refusal) {
            ++refusals_;
            EXPECT_EQ(output.substr(0, 12), "mdbsql: " + std::to_string(*refusal))
                << statement << "\n"
                << output;
            return;
        }
        changes_ += static_cast<std::size_t>(affected);
        EXPECT_EQ(output, std::to_string(affected) + " rows affected\n") << statement;
    }

    void insert() {
        Row row{pick(30) ? std::optional<std::string>(someKey()) : std::nullopt,
                pick(6) ? std::optional<std::string>(randomText()) : std::nullopt,
                pick(4) ? std::optional<std::int32_t>(static_cast<std::int32_t>(pick(3)))
                        : std::nullopt};
        std::string columns = std::string(table_.key) + ", " + table_.other;
        std::string values = literal(row.key) + ", " + literal(row.other);
        if (table_.number) {
            columns += std::string(", ") + table_.number;
            values += ", " + literal(row.number);
        } else {
            row.number.reset();
        }
        std::optional<int> refusal = refusalFor(row, std::nullopt);
        run("INSERT INTO " + std::string(table_.table) + " (" + columns + ") VALUES (" + values +
                ")",
            refusal, 1);
        if (!refusal)
            rows_.push_back(row);
    }

    // UPDATE ... SET (the key or the other text) = ... WHERE key = ...
    void update(bool ofKey) {
        std::string key = someKey();
        std::optional<std::size_t> target = rowKeyed(key);
        std::optional<std::string> value;
        if (ofKey ? pick(30) > 0 : pick(6) > 0)
            value = ofKey && pick(3) == 0 ? someKey() : randomText();
        std::string statement = "UPDATE " + std::string(table_.table) + " SET " +
                                (ofKey ? table_.key : table_.other) + " = " + literal(value) +
                                " WHERE " + table_.key + " = " + literal(key);
        std::optional<int> refusal;
        if (target) {
            Row changed = rows_[*target];
            (ofKey ? changed.key : changed.other) = value;
            refusal = refusalFor(changed, target);
            if (!refusal)
                rows_[*target] = changed;
        }
        run(statement, refusal, target ? 1 : 0);
    }

    void remove() {
        std::string key = someKey();
        std::optional<std::size_t> target = rowKeyed(key);
        run("DELETE FROM " + std::string(table_.table) + " WHERE " + table_.key + " = " +
                literal(key),
            std::nullopt, target ? 1 : 0);
        if (target)
            rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*target));
    }

    // As mdb-export writes the rows, line by line (a value may hold a line break).
    std::vector<std::string> expectedLines() const {
        std::string all;
        auto value = [](const std::optional<std::string>& text) {
            return text ? Variant::text(*text) : Variant::null();
        };
        for (const Row& row : rows_) {
            all += exportText(value(row.key)) + "," + exportText(value(row.other));
            if (table_.number)
                all += "," + (row.number ? std::to_string(*row.number) : std::string());
            all += "\n";
        }
        return sorted(lines(all));
    }

    KeyedTable table_;
    std::string path_;
    std::mt19937 random_;
    bool jet4_ = false;
    std::vector<Row> rows_;
    std::size_t refusals_ = 0;
    std::size_t changes_ = 0;
};

class SqlModelTest : public ::testing::TestWithParam<KeyedTable> {};

void PrintTo(const KeyedTable& table, std::ostream* out) {
    *out << table.file << " " << table.table;
}

TEST_P(SqlModelTest, StatementsKeepRowsAndIndexesAsAccessWould) {
    REQUIRE_MDB_CORPUS();
    ScratchFolder scratch;
    std::string path = scratch.copy(GetParam().file);
    SqlModel model(GetParam(), path, 47);
    model.load();
    for (int batch = 0; batch < 6; ++batch) {
        SCOPED_TRACE("batch " + std::to_string(batch));
        for (int i = 0; i < 25; ++i)
            model.step();
        model.checkFile(corpusFile(GetParam().file));
        if (HasFailure())
            return;
    }
    EXPECT_GT(model.refusals(), 10u) << "duplicates spelled another way were tried";
    EXPECT_GT(model.changes(), 60u);
}

INSTANTIATE_TEST_SUITE_P(Tables, SqlModelTest,
                         ::testing::Values(KeyedTable{"jackcess/testIndexPropertiesV2003.mdb",
                                                      "TableUnique2_temp", "row", "data1", "data2"},
                                           KeyedTable{"jackcess/testIndexCodesV1997.mdb", "Table1",
                                                      "name", "data", nullptr}),
                         [](const auto& info) { return testNameOf(std::string(info.param.file)); });

} // namespace
