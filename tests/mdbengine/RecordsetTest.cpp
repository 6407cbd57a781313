// Reading through recordsets: which rows a table has and in which order, moves, keys,
// Seek, bookmarks and positions, values of each type, the catalogue.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/ExportText.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/Index.h"
#include "mdbengine/dao/QueryDef.h"
#include "mdbengine/dao/TableDef.h"

#include <gtest/gtest.h>

using namespace daotest;

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    std::shared_ptr<Recordset> table(const std::string& file, const std::string& name) {
        database = open(engine, corpusFile(file), {}, false, true);
        return database ? openTable(*database, name) : nullptr;
    }

    static std::vector<std::string> texts(const std::vector<Variant>& values) {
        std::vector<std::string> result;
        for (const Variant& v : values)
            result.push_back(v.isNull() ? "<null>" : v.stringValue());
        return result;
    }

    static std::vector<std::int64_t> integers(const std::vector<Variant>& values) {
        std::vector<std::int64_t> result;
        for (const Variant& v : values)
            result.push_back(v.integerValue());
        return result;
    }

    std::shared_ptr<Field> field(Recordset& recordset, std::size_t index) {
        std::shared_ptr<Collection<Field>> fields;
        std::shared_ptr<Field> result;
        EXPECT_EQ(recordset.fields(fields), statusOk);
        EXPECT_EQ(fields->item(index, result), statusOk);
        return result;
    }

    Variant valueOf(Recordset& recordset, std::size_t index) {
        Variant value;
        EXPECT_EQ(field(recordset, index)->value(value), statusOk) << errorText(engine);
        return value;
    }

    DBEngine engine;
    std::shared_ptr<Database> database;
};

TEST_F(RecordsetTest, DeletedSlotsAreSkipped) {
    for (const char* file : {"jackcess/delTestV2000.mdb", "jackcess/delTestV1997.mdb"}) {
        SCOPED_TRACE(file);
        auto recordset = table(file, "Table");
        ASSERT_TRUE(recordset);
        EXPECT_EQ(texts(column(*recordset, 0)), (std::vector<std::string>{"z", "v"}));
        EXPECT_EQ(texts(column(*recordset, 1)), (std::vector<std::string>{"y", "u"}));
    }
}

// Rows 3 and 5 were moved to other pages; their home slots keep their places.
TEST_F(RecordsetTest, MovedRowsKeepTheirHomeSlotOrder) {
    auto recordset = table("jackcess/overflowTestV2000.mdb", "Table1");
    ASSERT_TRUE(recordset);
    EXPECT_EQ(texts(column(*recordset, 0)),
              (std::vector<std::string>{"row1col1", "row2col1", "<null>", "row4col1", "<null>",
                                        "<null>", "row7col1"}));
    EXPECT_EQ(texts(column(*recordset, 1)),
              (std::vector<std::string>{"<null>", "row2col3", "row3col3", "row4col2", "row5col2",
                                        "row6col2", "<null>"}));
    EXPECT_EQ(texts(column(*recordset, 7))[2], "row3col9");
}

TEST_F(RecordsetTest, PrimaryKeyOrderSeekBookmarksAndPositions) {
    auto recordset = table("jackcess/indexTestV2000.mdb", "table1");
    ASSERT_TRUE(recordset);
    EXPECT_EQ(recordset->name(), "Table1");
    ASSERT_EQ(recordset->setIndex("primarykey"), statusOk);
    EXPECT_EQ(recordset->index(), "PrimaryKey");
    EXPECT_EQ(integers(column(*recordset, 0)), (std::vector<std::int64_t>{0, 1, 2, 3}));

    bool noMatch = true;
    Variant key[] = {Variant::longInteger(2)};
    ASSERT_EQ(recordset->seek("=", key), statusOk);
    recordset->noMatch(noMatch);
    EXPECT_FALSE(noMatch);
    EXPECT_EQ(valueOf(*recordset, 3).stringValue(), "baz11-2");
    std::int32_t position = -1;
    recordset->absolutePosition(position);
    EXPECT_EQ(position, 2);

    std::vector<std::uint8_t> mark;
    ASSERT_EQ(recordset->bookmark(mark), statusOk);
    ASSERT_EQ(mark.size(), 4u);
    ASSERT_EQ(recordset->moveFirst(), statusOk);
    ASSERT_EQ(recordset->setBookmark(mark), statusOk);
    EXPECT_EQ(valueOf(*recordset, 0).integerValue(), 2);

    ASSERT_EQ(recordset->setAbsolutePosition(3), statusOk);
    EXPECT_EQ(valueOf(*recordset, 0).integerValue(), 3);
    recordset->absolutePosition(position);
    EXPECT_EQ(position, 3);
    EXPECT_EQ(errorNumber(recordset->setAbsolutePosition(4)), 3001);

    Variant absent[] = {Variant::longInteger(7)};
    ASSERT_EQ(recordset->seek("=", absent), statusOk);
    recordset->noMatch(noMatch);
    EXPECT_TRUE(noMatch);
    Variant value;
    EXPECT_EQ(errorNumber(field(*recordset, 0)->value(value)), 3021);

    std::vector<std::uint8_t> unknown = {0xFF, 0xFF, 0xFF, 0x00};
    EXPECT_EQ(errorNumber(recordset->setBookmark(unknown)), 3159);
}

// Every comparison against a linear reading of the same index: 512 rows under a
// descending Long key, its two Null keys last.
TEST_F(RecordsetTest, SeekComparisonsFollowTheIndexOrder) {
    auto recordset = table("jackcess/compIndexTestV2000.mdb", "Table1");
    ASSERT_TRUE(recordset);
    ASSERT_EQ(recordset->setIndex("CD_AGENTE"), statusOk);
    std::vector<Variant> keys = column(*recordset, 0);
    ASSERT_EQ(keys.size(), 512u);
    ASSERT_TRUE(keys[510].isNull() && keys[511].isNull());

    // Where a row stands against the key in index order: after it (1) when smaller or Null.
    auto order = [](const Variant& row, std::int64_t key) {
        if (row.isNull() || row.integerValue() < key)
            return 1;
        return row.integerValue() > key ? -1 : 0;
    };
    auto expectedPosition = [&](const std::string& comparison, std::int64_t key) {
        std::vector<std::int64_t> hits;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            int o = order(keys[i], key);
            bool hit = comparison == "="    ? o == 0
                       : comparison == ">=" ? o >= 0
                       : comparison == ">"  ? o > 0
                       : comparison == "<"  ? o < 0
                                            : o <= 0;
            if (hit)
                hits.push_back(static_cast<std::int64_t>(i));
        }
        if (hits.empty())
            return std::int64_t{-1};
        return comparison[0] == '<' ? hits.back() : hits.front();
    };
    std::int64_t first = keys.front().integerValue();
    std::int64_t middle = keys[100].integerValue();
    std::int64_t last = keys[509].integerValue();
    for (std::int64_t key : {first + 1, first, middle, middle - 1, last, last - 1}) {
        for (const char* comparison : {"=", ">=", ">", "<", "<="}) {
            SCOPED_TRACE(std::string(comparison) + " " + std::to_string(key));
            Variant search[] = {Variant::longInteger(static_cast<std::int32_t>(key))};
            ASSERT_EQ(recordset->seek(comparison, search), statusOk);
            bool noMatch = false;
            recordset->noMatch(noMatch);
            std::int32_t position = -1;
            recordset->absolutePosition(position);
            std::int64_t expected = expectedPosition(comparison, key);
            EXPECT_EQ(noMatch, expected < 0);
            EXPECT_EQ(position, expected);
        }
    }
    Variant none[] = {Variant::missing()};
    EXPECT_EQ(errorNumber(recordset->seek("=", none)), 3001);
    EXPECT_EQ(errorNumber(recordset->seek("~", none)), 3001);
    EXPECT_EQ(errorNumber(recordset->setIndex("nosuchindex")), 3800);
    ASSERT_EQ(recordset->setIndex(""), statusOk);
    Variant one[] = {Variant::longInteger(1)};
    EXPECT_EQ(errorNumber(recordset->seek("=", one)), 3019);
}

// Text keys compare without regard to case; a partial key matches its leading columns.
TEST_F(RecordsetTest, TextAndPartialKeys) {
    auto recordset = table("jackcess/testIndexPropertiesV2000.mdb", "TableIgnoreNulls2");
    ASSERT_TRUE(recordset);
    ASSERT_EQ(recordset->setIndex("DataIndex"), statusOk);
    Variant partial[] = {Variant::text("LOTS OF STUFF"), Variant::missing()};
    ASSERT_EQ(recordset->seek(">=", partial), statusOk);
    EXPECT_EQ(valueOf(*recordset, 0).stringValue(), "row6");
    Variant both[] = {Variant::text("some"), Variant::longInteger(0)};
    ASSERT_EQ(recordset->seek("=", both), statusOk);
    EXPECT_EQ(valueOf(*recordset, 0).stringValue(), "row4");
    // Null keys come first.
    ASSERT_EQ(recordset->moveFirst(), statusOk);
    EXPECT_TRUE(valueOf(*recordset, 1).isNull());
}

TEST_F(RecordsetTest, MovesAndTheirBoundaries) {
    auto recordset = table("jackcess/delTestV2000.mdb", "Table");
    ASSERT_TRUE(recordset);
    bool bof = false, eof = false;
    recordset->bof(bof);
    EXPECT_FALSE(bof) << "the first record is current after the open";
    ASSERT_EQ(recordset->movePrevious(), statusOk);
    recordset->bof(bof);
    EXPECT_TRUE(bof);
    EXPECT_EQ(errorNumber(recordset->movePrevious()), 3021);
    ASSERT_EQ(recordset->moveLast(), statusOk);
    ASSERT_EQ(recordset->moveNext(), statusOk);
    recordset->eof(eof);
    EXPECT_TRUE(eof);
    EXPECT_EQ(errorNumber(recordset->moveNext()), 3021);
    std::vector<std::uint8_t> mark;
    EXPECT_EQ(errorNumber(recordset->bookmark(mark)), 3021);
    EXPECT_EQ(errorText(engine), "3021 There is no current record.");

    auto empty = table("jackcess/bigIndexTestV2000.mdb", "Table1");
    ASSERT_TRUE(empty);
    empty->bof(bof);
    empty->eof(eof);
    EXPECT_TRUE(bof && eof);
    EXPECT_EQ(errorNumber(empty->moveFirst()), 3021);
    EXPECT_EQ(errorNumber(empty->moveLast()), 3021);

    recordset->close();
    EXPECT_EQ(errorNumber(recordset->moveFirst()), 3420);
}

TEST_F(RecordsetTest, ValuesOfEachType) {
    auto recordset = table("jackcess/testV2000.mdb", "Table1");
    ASSERT_TRUE(recordset);
    ASSERT_EQ(recordset->moveFirst(), statusOk);
    EXPECT_EQ(valueOf(*recordset, 0), Variant::text("abcdefg"));
    EXPECT_EQ(valueOf(*recordset, 2), Variant::byte(2));
    EXPECT_EQ(valueOf(*recordset, 3), Variant::integer(222));
    EXPECT_EQ(valueOf(*recordset, 4), Variant::longInteger(333333333));
    EXPECT_EQ(valueOf(*recordset, 5), Variant::real(444.555));
    EXPECT_EQ(valueOf(*recordset, 6), Variant::date(27293)); // 21 September 1974
    EXPECT_EQ(valueOf(*recordset, 7), Variant::currency(35000));
    EXPECT_EQ(valueOf(*recordset, 8), Variant::boolean(true));

    std::vector<std::pair<std::int16_t, std::int32_t>> types;
    for (std::size_t i = 0; i < 9; ++i)
        types.emplace_back(field(*recordset, i)->type(), field(*recordset, i)->size());
    EXPECT_EQ(types, (std::vector<std::pair<std::int16_t, std::int32_t>>{{Field::typeText, 50},
                                                                         {Field::typeText, 100},
                                                                         {Field::typeByte, 1},
                                                                         {Field::typeInteger, 2},
                                                                         {Field::typeLong, 4},
                                                                         {Field::typeDouble, 8},
                                                                         {Field::typeDate, 8},
                                                                         {Field::typeCurrency, 8},
                                                                         {Field::typeBoolean, 1}}));
}

TEST_F(RecordsetTest, MemoThroughGetChunk) {
    auto recordset = table("jackcess/test2V2000.mdb", "MSP_PROJECTS");
    ASSERT_TRUE(recordset);
    auto memo = field(*recordset, 2);
    ASSERT_EQ(memo->type(), Field::typeMemo);
    Variant whole;
    ASSERT_EQ(memo->value(whole), statusOk);
    ASSERT_EQ(whole.stringValue().substr(0, 18), "Jon Iles this is a");
    std::int32_t size = 0;
    ASSERT_EQ(memo->fieldSize(size), statusOk);
    EXPECT_EQ(size, static_cast<std::int32_t>(whole.stringValue().size()));

    Variant chunk;
    ASSERT_EQ(memo->getChunk(4, 4, chunk), statusOk);
    EXPECT_EQ(chunk, Variant::text("Iles"));
    ASSERT_EQ(memo->getChunk(size - 2, 100, chunk), statusOk);
    EXPECT_EQ(chunk.stringValue(), whole.stringValue().substr(size - 2));
    ASSERT_EQ(memo->getChunk(size + 10, 5, chunk), statusOk);
    EXPECT_EQ(chunk, Variant::text(""));
    EXPECT_EQ(errorNumber(field(*recordset, 0)->getChunk(0, 4, chunk)), 3251);
    EXPECT_EQ(errorNumber(memo->appendChunk(Variant::text("x"))), 3020)
        << "chunks belong to an Edit or AddNew";
}

TEST_F(RecordsetTest, Jet4TextReadsWhole) {
    auto recordset = table("jackcess/testUnicodeCompV2003.mdb", "Table");
    ASSERT_TRUE(recordset);
    std::vector<std::string> values = texts(column(*recordset, 1));
    ASSERT_GE(values.size(), 7u);
    EXPECT_EQ(values[1], "\u00e4\u00e4kk\u00f6si\u00e4"); // compressed, Latin-1 range
    EXPECT_EQ(values[2], "\u041c\u0438\u0440");
    EXPECT_EQ(values[4], "\u6f22\u5b57\u4eee\u540d\u4ea4\u3058\u308a\u6587");
    EXPECT_EQ(values[6], "\u00fcmlaut");
}

// One documented order: by name without regard to case, system and linked tables
// included.
TEST_F(RecordsetTest, CatalogueListsTablesInNameOrder) {
    database = open(engine, corpusFile("jackcess/testV2000.mdb"));
    ASSERT_TRUE(database);
    std::shared_ptr<Collection<TableDef>> tables;
    ASSERT_EQ(database->tableDefs(tables), statusOk);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < tables->count(); ++i) {
        std::shared_ptr<TableDef> t;
        tables->item(i, t);
        names.push_back(t->name() + (t->isSystem() ? "*" : ""));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"MSysAccessObjects*", "MSysACEs*", "MSysObjects*",
                                               "MSysQueries*", "MSysRelationships*", "Table1",
                                               "Table2", "Table3", "Table4"}));
    std::shared_ptr<TableDef> none;
    EXPECT_EQ(errorNumber(tables->item(9, none)), 3265);
    EXPECT_FALSE(none);
}

TEST_F(RecordsetTest, LinkedTablesAreListedAndOpenedInTheirFile) {
    database = open(engine, corpusFile("ucanaccess/linked.mdb"), {}, false, true);
    ASSERT_TRUE(database);
    std::shared_ptr<Collection<TableDef>> tables;
    ASSERT_EQ(database->tableDefs(tables), statusOk);
    std::shared_ptr<TableDef> linked;
    ASSERT_EQ(tables->item(5, linked), statusOk);
    EXPECT_EQ(linked->name(), "Table1");
    EXPECT_TRUE(linked->isLinked());
    EXPECT_EQ(linked->connect(), ";DATABASE=C:\\db\\linkee1.mdb");
    std::shared_ptr<Recordset> recordset = openTable(*database, "table1");
    ASSERT_TRUE(recordset) << "linkee1.mdb lies beside it";
    EXPECT_EQ(recordset->name(), "Table1");
    EXPECT_EQ(texts(column(*recordset, 1)), std::vector<std::string>{"ciao bello"});
}

TEST_F(RecordsetTest, QueriesAndTheirParametersAreListed) {
    database = open(engine, corpusFile("jackcess/queryTestV2000.mdb"), {}, false, true);
    ASSERT_TRUE(database);
    std::shared_ptr<Collection<QueryDef>> queries;
    ASSERT_EQ(database->queryDefs(queries), statusOk);
    ASSERT_EQ(queries->count(), 9u);
    std::shared_ptr<QueryDef> update;
    ASSERT_EQ(queries->item(8, update), statusOk);
    EXPECT_EQ(update->name(), "UpdateQuery");
    std::shared_ptr<Collection<Parameter>> parameters;
    ASSERT_EQ(update->parameters(parameters), statusOk);
    ASSERT_EQ(parameters->count(), 1u);
    std::shared_ptr<Parameter> parameter;
    parameters->item(0, parameter);
    EXPECT_EQ(parameter->name(), "User Name");
    EXPECT_EQ(parameter->type(), Field::typeText);

    std::shared_ptr<Recordset> recordset;
    EXPECT_EQ(errorNumber(update->openRecordset(-1, -1, recordset)), 3219)
        << "an update query gives no records";
    EXPECT_EQ(errorNumber(database->openRecordset("SelectQuery", -1, recordset)), 3251)
        << "it joins three tables";
    EXPECT_EQ(database->openRecordset("SELECT * FROM Table1", -1, recordset), statusOk);
    EXPECT_EQ(errorNumber(database->openRecordset("NoSuchTable", -1, recordset)), 3078);
    EXPECT_EQ(errorText(engine), "3078 There is no table or query named 'NoSuchTable'.");
}

TEST_F(RecordsetTest, IndexesAndFieldAttributes) {
    auto recordset = table("jackcess/indexTestV2000.mdb", "Table1");
    ASSERT_TRUE(recordset);
    std::shared_ptr<Collection<Index>> indexes;
    ASSERT_EQ(recordset->indexes(indexes), statusOk);
    std::vector<std::string> described;
    for (std::size_t i = 0; i < indexes->count(); ++i) {
        std::shared_ptr<Index> index;
        indexes->item(i, index);
        std::shared_ptr<Collection<IndexField>> keys;
        index->fields(keys);
        std::string text = index->name() + (index->primary() ? " primary" : "") +
                           (index->unique() ? " unique" : "") +
                           (index->foreign() ? " foreign" : "") + ":";
        for (std::size_t k = 0; k < keys->count(); ++k) {
            std::shared_ptr<IndexField> key;
            keys->item(k, key);
            text += " " + key->name();
        }
        described.push_back(text);
    }
    EXPECT_EQ(described, (std::vector<std::string>{"id: id", "PrimaryKey primary unique: id",
                                                   "Table2Table1 foreign: otherfk1",
                                                   "Table3Table1 foreign: otherfk2"}));
    EXPECT_EQ(field(*recordset, 0)->attributes(), Field::fixedAttribute | Field::updatableAttribute)
        << "an indexed column is written, its indexes kept";
    EXPECT_EQ(field(*recordset, 3)->attributes(),
              Field::variableAttribute | Field::updatableAttribute);
}

} // namespace

// A table of many runs of pages is read in page order through the recordset's own buffer,
// which each run reuses: every value as mdb-export reads it, and a row read before an index
// is set (its keys are read through the same buffer, which then holds the last run) reads
// the same afterwards.
TEST_F(RecordsetTest, ATableOfManyPagesReadsTheSameInPageOrderAndThroughAnIndex) {
    ScratchFolder scratch;
    std::string path = scratch.copy("jackcess/testV2000.mdb");
    const int records = 5000;
    {
        auto writable = open(engine, path);
        ASSERT_EQ(writable->execute("DELETE FROM Table1"), statusOk);
        auto filling = openTable(*writable, "Table1");
        for (int r = 1; r <= records; ++r) {
            ASSERT_EQ(filling->addNew(), statusOk);
            std::string key = std::to_string(100000 + r);
            filling->setColumnValue(0, Variant::text(key));
            filling->setColumnValue(1, Variant::text(key + std::string(90, 'b')));
            ASSERT_EQ(filling->update(), statusOk) << errorText(engine);
        }
        ASSERT_EQ(writable->close(), statusOk);
    }
    database = open(engine, path, {}, false, true);
    std::string ours;
    ASSERT_EQ(exportTable(*database, "Table1", ours), statusOk);
    EXPECT_EQ(lines(ours), lines(mdbExport(path, "Table1")));
    EXPECT_EQ(lines(ours).size(), static_cast<std::size_t>(records) + 1);

    auto recordset = openTable(*database, "Table1");
    // A row in the middle, whose run of pages the file keeps for nothing else.
    ASSERT_EQ(recordset->setAbsolutePosition(records / 2), statusOk);
    const std::string middle = valueOf(*recordset, 1).stringValue();
    std::vector<std::uint8_t> bookmark;
    ASSERT_EQ(recordset->bookmark(bookmark), statusOk);
    ASSERT_EQ(recordset->setIndex("PrimaryKey"), statusOk);
    ASSERT_EQ(recordset->setBookmark(bookmark), statusOk);
    EXPECT_EQ(valueOf(*recordset, 1).stringValue(), middle) << "the same row in the key's order";
    ASSERT_EQ(recordset->moveLast(), statusOk);
    EXPECT_EQ(valueOf(*recordset, 0).stringValue(), std::to_string(100000 + records));
}
