// Jet4 descending text keys as Access writes them: random statements on a Jet4 table whose
// index is made descending over text (alone, and beside a text column in either direction),
// every stored key held to Access's form computed here from the format notes, not by the
// engine; and keys this engine wrote before in the shorter form are still found and still
// refuse a duplicate.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/tables/IndexPage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <random>

using namespace daotest;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Access's key of a text, for the characters used here: for each character its primary code
// in the General sort order, 0x01, the diacritic codes (0x02 for none, those at the end left
// out), 0x00; trailing blanks are not keyed. A descending text inverts all of it, flag
// included, and adds one 0x00. Null is the flag alone.
Bytes accessTextKey(const std::optional<std::string>& text, bool descending) {
    if (!text)
        return {static_cast<std::uint8_t>(descending ? 0xFF : 0x00)};
    struct Code {
        const char* character;
        std::uint8_t primary;
        std::uint8_t diacritic;
    };
    static const Code codes[] = {{" ", 0x07, 2}, {"0", 0x36, 2},       {"9", 0x48, 2},
                                 {"a", 0x4A, 2}, {"A", 0x4A, 2},       {"b", 0x4C, 2},
                                 {"e", 0x51, 2}, {"\u00e9", 0x51, 14}, {"\u00c9", 0x51, 14},
                                 {"x", 0x75, 2}, {"X", 0x75, 2},       {"y", 0x76, 2}};
    std::string keyed = text->substr(0, text->find_last_not_of(' ') + 1);
    Bytes key = {0x7F};
    Bytes diacritics;
    for (std::size_t at = 0; at < keyed.size();) {
        const Code* found = nullptr;
        for (const Code& code : codes)
            if (keyed.compare(at, std::strlen(code.character), code.character) == 0)
                found = &code;
        if (found == nullptr) {
            ADD_FAILURE() << "no code here for " << keyed.substr(at);
            return {};
        }
        key.push_back(found->primary);
        diacritics.push_back(found->diacritic);
        at += std::strlen(found->character);
    }
    while (!diacritics.empty() && diacritics.back() == 2)
        diacritics.pop_back();
    key.push_back(0x01);
    key.insert(key.end(), diacritics.begin(), diacritics.end());
    key.push_back(0x00);
    if (!descending)
        return key;
    for (std::uint8_t& byte : key)
        byte = static_cast<std::uint8_t>(~byte);
    key.push_back(0x00);
    return key;
}

// compIndexTestV2000's Table1: CD_AGENTE (Long), RS_AGENTE and DC_AGENTE (Text).
enum Column : std::uint16_t { Number = 0, Rs = 1, Dc = 2 };

struct KeyColumn {
    Column column;
    bool descending;
};

struct Row {
    std::int32_t number;
    std::optional<std::string> rs;
    std::optional<std::string> dc;
};

Bytes accessKey(const Row& row, const std::vector<KeyColumn>& columns) {
    Bytes key;
    for (const KeyColumn& part : columns) {
        Bytes piece = accessTextKey(part.column == Rs ? row.rs : row.dc, part.descending);
        key.insert(key.end(), piece.begin(), piece.end());
    }
    return key;
}

// The page of the table's definition and of its one index's root.
struct TablePages {
    std::uint32_t definition = 0;
    std::uint32_t root = 0;
    std::uint32_t pageSize = 0;
};

TablePages tablePages(const std::string& path) {
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    EXPECT_EQ(DatabaseFile::open(path, {false, true, {}}, errors, file), statusOk);
    TablePages pages;
    for (const file::CatalogEntry& entry : file->catalog().tables())
        if (entry.name == "Table1") {
            pages.definition = entry.tablePage();
            pages.root = file->tableDefinition(pages.definition)->storedIndexes.at(0).rootPage;
        }
    pages.pageSize = static_cast<std::uint32_t>(file->pages().format().pageSize);
    return pages;
}

Bytes readPage(const std::string& path, std::uint32_t page, std::uint32_t size) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(size);
    in.seekg(static_cast<std::streamoff>(page) * size);
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    return bytes;
}

void writePage(const std::string& path, std::uint32_t page, const Bytes& bytes) {
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(page) * bytes.size());
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The table emptied, then its index (Access made it over CD_AGENTE alone, descending, not
// unique) set to other columns and directions in the definition: an empty index has no keys
// to change.
void indexOver(const std::string& path, const std::vector<KeyColumn>& columns,
               bool unique = false) {
    {
        DBEngine engine;
        auto database = open(engine, path);
        ASSERT_EQ(database->execute("DELETE FROM Table1"), statusOk) << errorText(engine);
        ASSERT_EQ(database->close(), statusOk);
    }
    TablePages pages = tablePages(path);
    Bytes definition = readPage(path, pages.definition, pages.pageSize);
    // Ten places of a column number and its order (0x01 ascending), unused ones 0xFFFF; then
    // the usage map, the root, four bytes and the flags (0x01 unique).
    Bytes accessMade = {0x00, 0x00, 0x00};
    for (int i = 0; i < 9; ++i)
        accessMade.insert(accessMade.end(), {0xFF, 0xFF, 0x00});
    auto at =
        std::search(definition.begin(), definition.end(), accessMade.begin(), accessMade.end());
    ASSERT_NE(at, definition.end());
    ASSERT_EQ(std::search(at + 1, definition.end(), accessMade.begin(), accessMade.end()),
              definition.end());
    Bytes wanted;
    for (std::size_t i = 0; i < 10; ++i) {
        if (i < columns.size())
            wanted.insert(wanted.end(),
                          {static_cast<std::uint8_t>(columns[i].column), 0x00,
                           static_cast<std::uint8_t>(columns[i].descending ? 0x00 : 0x01)});
        else
            wanted.insert(wanted.end(), {0xFF, 0xFF, 0x00});
    }
    auto flags = at + static_cast<std::ptrdiff_t>(accessMade.size()) + 12;
    std::copy(wanted.begin(), wanted.end(), at);
    if (unique)
        *flags |= 0x01;
    writePage(path, pages.definition, definition);
}

// Every entry of the index's leaves, in order: its key and its row.
std::vector<std::pair<Bytes, std::uint32_t>> leafEntries(const std::string& path) {
    TablePages pages = tablePages(path);
    const file::JetFormat& format = file::JetFormat::version4();
    std::uint32_t page = pages.root;
    file::IndexNode node = file::readIndexPage(readPage(path, page, pages.pageSize), format);
    while (!node.leaf) {
        page = node.entries.empty() ? node.tail : file::entryChild(node.entries.front());
        node = file::readIndexPage(readPage(path, page, pages.pageSize), format);
    }
    std::vector<std::pair<Bytes, std::uint32_t>> entries;
    while (true) {
        for (const file::IndexEntry& entry : node.entries) {
            auto keyAndRow = file::keyAndRow(entry, true);
            entries.emplace_back(Bytes(keyAndRow.begin(), keyAndRow.end() - 4),
                                 file::entryRowId(entry, true));
        }
        if (node.next == 0)
            return entries;
        node = file::readIndexPage(readPage(path, node.next, pages.pageSize), format);
    }
}

// The table's rows by row id, as the engine reads them.
std::map<std::uint32_t, Row> rowsOf(const std::string& path) {
    DBEngine engine;
    auto database = open(engine, path, {}, false, true);
    auto recordset = openTable(*database, "Table1");
    std::map<std::uint32_t, Row> rows;
    bool atEnd = false;
    for (recordset->eof(atEnd); !atEnd; recordset->moveNext(), recordset->eof(atEnd)) {
        auto text = [&](std::size_t column) -> std::optional<std::string> {
            Variant value;
            EXPECT_EQ(recordset->columnValue(column, value), statusOk);
            return value.isNull() ? std::nullopt : std::optional(value.stringValue());
        };
        Variant number;
        EXPECT_EQ(recordset->columnValue(Number, number), statusOk);
        rows[*recordset->currentRowId()] = {static_cast<std::int32_t>(number.integerValue()),
                                            text(Rs), text(Dc)};
    }
    return rows;
}

// Each row has one entry, and its key is Access's; answers how many were compared.
std::size_t checkKeys(const std::string& path, const std::vector<KeyColumn>& columns) {
    std::map<std::uint32_t, Row> rows = rowsOf(path);
    auto entries = leafEntries(path);
    EXPECT_EQ(entries.size(), rows.size());
    for (const auto& [key, rowId] : entries) {
        auto row = rows.find(rowId);
        if (row == rows.end()) {
            ADD_FAILURE() << "an entry for no row";
            continue;
        }
        EXPECT_EQ(key, accessKey(row->second, columns))
            << row->second.number << " '" << row->second.rs.value_or("<Null>") << "' '"
            << row->second.dc.value_or("<Null>") << "'";
    }
    return entries.size();
}

class DescendingKeyTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    std::string text() {
        if (pick(8) == 0)
            return "Null";
        static const char* const pieces[] = {"a", "A", "b", "e", "\u00e9", "\u00c9",
                                             "x", "X", "y", "0", "9",      " "};
        std::string value;
        for (unsigned n = pick(6); n > 0; --n)
            value += pieces[pick(12)];
        return "'" + value + "'";
    }

    unsigned pick(unsigned count) {
        return std::uniform_int_distribution<unsigned>(0, count - 1)(random_);
    }

    // Random inserts, updates and deletes; answers how many ran (others were refused by the
    // index: a duplicate or a Null it does not take).
    int runStatements(const std::string& path, int count) {
        DBEngine engine;
        auto database = open(engine, path);
        int ran = 0;
        for (int i = 0; i < count; ++i) {
            std::string number = std::to_string(pick(40));
            unsigned kind = pick(10);
            std::string statement =
                kind < 5
                    ? "INSERT INTO Table1 VALUES (" + number + ", " + text() + ", " + text() + ")"
                : kind < 8 ? "UPDATE Table1 SET RS_AGENTE = " + text() +
                                 (pick(2) ? ", DC_AGENTE = " + text() : std::string()) +
                                 " WHERE CD_AGENTE = " + number
                           : "DELETE FROM Table1 WHERE CD_AGENTE = " + number;
            Status status = database->execute(statement);
            if (status == statusOk)
                ++ran;
            else
                EXPECT_TRUE(errorNumber(status) == 3022 || errorNumber(status) == 3058)
                    << statement << ": " << errorText(engine);
        }
        EXPECT_EQ(database->close(), statusOk) << errorText(engine);
        return ran;
    }

    std::mt19937 random_{54};
    ScratchFolder scratch;
};

// One and two columns, text descending beside either direction.
TEST_F(DescendingKeyTest, RandomStatementsStoreAccessKeys) {
    EXPECT_EQ(accessTextKey("x", false), (Bytes{0x7F, 0x75, 0x01, 0x00}));
    EXPECT_EQ(accessTextKey("x", true), (Bytes{0x80, 0x8A, 0xFE, 0xFF, 0x00}))
        << "the notes' example";
    struct Case {
        std::vector<KeyColumn> columns;
        bool unique;
    };
    const std::vector<Case> indexes = {
        {{{Rs, true}}, true},
        {{{Rs, true}}, false},
        {{{Rs, true}, {Dc, false}}, true},
        {{{Dc, false}, {Rs, true}}, false},
        {{{Rs, true}, {Dc, true}}, true},
    };
    std::size_t compared = 0;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        SCOPED_TRACE("index " + std::to_string(i));
        std::string path =
            scratch.copy("jackcess/compIndexTestV2000.mdb", "desc" + std::to_string(i) + ".mdb");
        indexOver(path, indexes[i].columns, indexes[i].unique);
        for (int batch = 0; batch < 3; ++batch) {
            EXPECT_GT(runStatements(path, 100), 40);
            compared += checkKeys(path, indexes[i].columns);
            EXPECT_EQ(indexProblems(path), std::vector<std::string>{});
            if (HasFailure())
                return;
        }
    }
    EXPECT_GT(compared, 300u);
    RecordProperty("keysCompared", static_cast<int>(compared));
}

// A file this engine wrote before keeps its descending text keys without the last byte until
// their rows change: such an entry is still removed with its row, and still refuses a
// duplicate in a unique index.
TEST_F(DescendingKeyTest, KeysWrittenBeforeInTheShortFormAreStillFound) {
    std::string path = scratch.copy("jackcess/compIndexTestV2000.mdb");
    indexOver(path, {{Rs, true}}, true);
    {
        DBEngine engine;
        auto database = open(engine, path);
        for (const char* values : {"(1, 'x', 'a')", "(2, 'y', 'b')", "(3, 'ab', 'c')"})
            ASSERT_EQ(database->execute(std::string("INSERT INTO Table1 VALUES ") + values),
                      statusOk);
        ASSERT_EQ(database->close(), statusOk);
    }
    TablePages pages = tablePages(path);
    const file::JetFormat& format = file::JetFormat::version4();
    file::IndexNode leaf = file::readIndexPage(readPage(path, pages.root, pages.pageSize), format);
    ASSERT_TRUE(leaf.leaf);
    for (file::IndexEntry& entry : leaf.entries)
        entry.erase(entry.end() - 5); // the 0x00 before the row pointer
    Bytes page(pages.pageSize);
    file::writeIndexPage(leaf, format, pages.definition, page);
    writePage(path, pages.root, page);

    DBEngine engine;
    auto database = open(engine, path);
    EXPECT_EQ(errorNumber(database->execute("INSERT INTO Table1 VALUES (4, 'Y', 'd')")), 3022)
        << "'y' is there, keyed the short way";
    EXPECT_EQ(database->execute("DELETE FROM Table1 WHERE CD_AGENTE = 1"), statusOk);
    EXPECT_EQ(database->execute("UPDATE Table1 SET RS_AGENTE = 'b' WHERE CD_AGENTE = 2"), statusOk);
    ASSERT_EQ(database->close(), statusOk);
    auto entries = leafEntries(path);
    std::map<std::uint32_t, Row> rows = rowsOf(path);
    ASSERT_EQ(entries.size(), 2u) << "the deleted row's entry went with it";
    for (const auto& [key, rowId] : entries) {
        const Row& row = rows.at(rowId);
        Bytes expected = accessKey(row, {{Rs, true}});
        if (row.number == 3)
            expected.pop_back(); // untouched: as it was written
        EXPECT_EQ(key, expected) << row.number;
    }
}

} // namespace
