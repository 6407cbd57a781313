// SQL statements: what the parser takes and refuses, how conditions treat Null, texts and
// patterns, and statements run on tables, stored queries and linked tables, checked against
// mdbtools' reading of the files they change.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/ExportText.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/LinkedDatabase.h"
#include "mdbengine/dao/QueryDef.h"
#include "mdbengine/dao/SqlRunner.h"
#include "mdbengine/sql/SqlError.h"
#include "mdbengine/sql/SqlEvaluator.h"
#include "mdbengine/sql/SqlParser.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/values/JetDate.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace daotest;
using namespace mdbengine::sql;
using quillan::test::runCommand;

namespace {

// The error number a statement's parse gives; 0 when it reads.
int parseError(const std::string& text) {
    try {
        parseStatement(text);
        return 0;
    } catch (const SqlError& error) {
        return static_cast<int>(error.number());
    }
}

// The value of a condition made of literals: "true", "false" or "null"; the error number
// when it cannot be taken.
std::string truthOf(const std::string& condition, file::TextOrder order = file::TextOrder::Jet4) {
    class NoColumns : public RowValues {
    public:
        explicit NoColumns(file::TextOrder order) : RowValues(order) {}
        Variant column(std::size_t) override { return Variant::null(); }
    } row(order);
    try {
        SqlStatement statement = parseStatement("SELECT * FROM t WHERE " + condition);
        Variant value = evaluate(*statement.select.where, row);
        return value.isNull() ? "null" : (value.booleanValue() ? "true" : "false");
    } catch (const SqlError& error) {
        return std::to_string(static_cast<int>(error.number()));
    }
}

TEST(SqlParserTest, ReadsTheSubsetAndRefusesTheRest) {
    SqlStatement select = parseStatement(
        "SELECT DISTINCT [Last Name] AS Name, t.City FROM [My Table] AS t WHERE ZIP LIKE '75*' "
        "ORDER BY City DESC, [Last Name];");
    EXPECT_EQ(select.kind, SqlStatement::Kind::Select);
    EXPECT_TRUE(select.select.distinct);
    EXPECT_EQ(select.select.table, "My Table");
    EXPECT_EQ(select.select.alias, "t");
    ASSERT_EQ(select.select.items.size(), 2u);
    EXPECT_EQ(select.select.items[0].alias, "Name");
    EXPECT_EQ(select.select.items[1].expression->qualifier, "t");
    ASSERT_EQ(select.select.orderBy.size(), 2u);
    EXPECT_TRUE(select.select.orderBy[0].descending);
    EXPECT_FALSE(select.select.orderBy[1].descending);

    SqlStatement insert = parseStatement("INSERT INTO t (a, [b c]) VALUES ('it''s', \"x\")");
    ASSERT_EQ(insert.values.size(), 2u);
    EXPECT_EQ(insert.columns[1], "b c");
    EXPECT_EQ(insert.values[0]->value.stringValue(), "it's");
    EXPECT_TRUE(parseStatement("INSERT INTO t SELECT * FROM s WHERE x = 1").fromSelect);
    SqlStatement update = parseStatement("UPDATE t SET a = a + 1, t.b = Null WHERE c IS NOT NULL");
    ASSERT_EQ(update.assignments.size(), 2u);
    EXPECT_EQ(update.assignments[1].column, "b");
    EXPECT_EQ(parseStatement("DELETE * FROM t").kind, SqlStatement::Kind::Delete);
    EXPECT_EQ(parseStatement("PARAMETERS [Who] Text; DELETE t.* FROM t WHERE a = [Who]").kind,
              SqlStatement::Kind::Delete);

    for (const char* broken :
         {"SELECT FROM t", "SELECT * FROM t WHERE", "SELECT * FROM t x y", "UPDATE t a = 1",
          "INSERT t VALUES (1)", "DELETE FROM t WHERE 'a", "SELECT * FROM t WHERE d = #2/30/2003#",
          "SELECT a b, c FROM t", "DROP TABLEX", "SELECT * FROM t WHERE a NOT = 1"})
        EXPECT_EQ(parseError(broken), broken == std::string("DROP TABLEX") ? 3251 : 3075) << broken;
    for (const char* beyond :
         {"SELECT * FROM a, b", "SELECT * FROM a INNER JOIN b ON a.x = b.x",
          "SELECT Count(*) FROM t", "SELECT a FROM t GROUP BY a", "SELECT TOP 5 * FROM t",
          "SELECT * FROM t WHERE a IN (SELECT a FROM s)", "SELECT a FROM t UNION SELECT a FROM s"})
        EXPECT_EQ(parseError(beyond), 3251) << beyond;
}

TEST(SqlParserTest, ConditionsCarryNullAndCompareAsJetDoes) {
    EXPECT_EQ(truthOf("Null = Null"), "null");
    EXPECT_EQ(truthOf("NOT (Null = 1)"), "null");
    EXPECT_EQ(truthOf("Null = 1 OR 1 = 1"), "true") << "OR is decided by its true side";
    EXPECT_EQ(truthOf("Null = 1 AND 1 = 2"), "false") << "AND is decided by its false side";
    EXPECT_EQ(truthOf("Null = 1 AND 1 = 1"), "null");
    EXPECT_EQ(truthOf("Null IS NULL AND 1 IS NOT NULL"), "true");
    EXPECT_EQ(truthOf("2 IN (1, Null)"), "null");
    EXPECT_EQ(truthOf("1 IN (1, Null)"), "true");
    EXPECT_EQ(truthOf("2 NOT IN (1, 3)"), "true");
    EXPECT_EQ(truthOf("5 BETWEEN 1 AND 5 AND 0 NOT BETWEEN 1 AND 5"), "true");
    EXPECT_EQ(truthOf("'abc' = 'ABC' AND 'abd' > 'ABC'"), "true") << "texts ignore case";
    EXPECT_EQ(truthOf("'10' > 9 AND 1 + 2 * 3 = 7 AND -(2 - 5) = 3"), "true");
    EXPECT_EQ(truthOf("'abc' = 1"), "3464");
    EXPECT_EQ(truthOf("1 / 0 = 1"), "3219");
    EXPECT_EQ(truthOf("'a' & Null & 1 = 'a1' AND Null & Null IS NULL"), "true");
    EXPECT_EQ(truthOf("#1/31/2003# + 1 = #2/1/2003# AND #2003-02-01 12:00# > #2/1/2003#"), "true");
    EXPECT_EQ(truthOf("#1/2/1900 12:00# & '' = '3.5' AND #1/2/1900# & 'x' = '3x' AND "
                      "#1/31/2003# & '' = #1/31/2003#"),
              "true")
        << "a date joins as the count of days it adds and compares as, so its text equals it";
    for (const char* matching :
         {"'Dallas' LIKE 'd*'", "'dd1' LIKE 'd*#'", "'a?c' LIKE 'a[?]c'", "'abc' LIKE 'a?c'",
          "'b' LIKE '[a-c]'", "'x' LIKE '[!a-c]'", "'' LIKE '*'", "'a*b' LIKE '*[*]*'"})
        EXPECT_EQ(truthOf(matching), "true") << matching;
    for (const char* failing : {"'ddd' LIKE 'd*#'", "'abcd' LIKE 'a?c'", "'d' LIKE '[!a-e]'",
                                "'ab' LIKE 'a'", "'Dallas' NOT LIKE 'D*'"})
        EXPECT_EQ(truthOf(failing), "false") << failing;
    EXPECT_EQ(truthOf("Null LIKE '*'"), "null");
}

// Texts compare as their index keys: without regard to case, accented letters apart from
// the plain ones and after them, trailing blanks left out; LIKE takes a character as its key.
// Jet3 keys the typographic apostrophe as the plain one, Jet4 apart. A character no key is
// known for is itself, after all the others.
TEST(SqlParserTest, TextsCompareAsTheirIndexKeys) {
    for (file::TextOrder order : {file::TextOrder::Jet3, file::TextOrder::Jet4}) {
        SCOPED_TRACE(order == file::TextOrder::Jet4 ? "Jet4" : "Jet3");
        for (const char* holding : {"'\u00c9"
                                    "CLAIR' = '\u00e9"
                                    "clair'",
                                    "'row7 ' = 'row7'", "'e' < '\u00e9' AND '\u00e9' < 'f'",
                                    "'\u00e9"
                                    "clair' BETWEEN 'eclair' AND 'f'",
                                    "'\u00c9"
                                    "clair' IN ('x', '\u00e9"
                                    "CLAIR')",
                                    "'\u00c9"
                                    "clair' LIKE '\u00e9*'",
                                    "'\u00e9' LIKE '[a-f]'", "'\u0160' LIKE '[\u0161]'",
                                    "'p\u00e9rez' > 'Perez' AND 'Perez' >= 'PEREZ'",
                                    "'\u041c\u0438\u0440' LIKE '?\u0438?' AND '\u041c\u0438\u0440' "
                                    "< '\u041c\u0438\u0441'",
                                    "'\u0141\u00f3d\u017a' LIKE '[\u0141]\u00d3*' AND 'z' < "
                                    "'\u0141'"})
            EXPECT_EQ(truthOf(holding, order), "true") << holding;
        for (const char* failing :
             {"'\u00e9"
              "clair' = 'eclair'",
              "'\u00e9' LIKE 'e'", "' row7' = 'row7'", "'\u00e9' LIKE '[f-z]'"})
            EXPECT_EQ(truthOf(failing, order), "false") << failing;
    }
    EXPECT_EQ(truthOf("'O\u2019"
                      "Brien' = 'O''Brien'",
                      file::TextOrder::Jet3),
              "true");
    EXPECT_EQ(truthOf("'O\u2019"
                      "Brien' = 'O''Brien'",
                      file::TextOrder::Jet4),
              "false");
}

// Letters beyond Windows-1252 are told apart by their keys; a statement's comparison still
// takes them without regard to case, and no letter is made another.
TEST(SqlParserTest, EveryLetterWithACaseComparesWithoutRegardToIt) {
    for (file::TextOrder order : {file::TextOrder::Jet3, file::TextOrder::Jet4}) {
        SCOPED_TRACE(order == file::TextOrder::Jet4 ? "Jet4" : "Jet3");
        for (const char* holding :
             {"'\u0142ukasz \u017c\u00f3\u0142\u0107' = '\u0141UKASZ \u017b\u00d3\u0141\u0106'",
              "'\u043c\u0438\u0440' = '\u041c\u0418\u0420'",
              "'\u1ea1n' LIKE '\u1ea0*' AND '\u03c9mega' LIKE '[\u03a9]MEGA'",
              "'\u0142a' IN ('x', '\u0141A') AND '\u0142' BETWEEN '\u0141' AND '\u0141'",
              "'\U00010428' = '\U00010400'"})
            EXPECT_EQ(truthOf(holding, order), "true") << holding;
        for (const char* failing :
             {"'\u0131' = 'I'", "'\u00b5' = '\u03bc'", "'\u0142' = 'l'", "'\u0141' < '\u0142'"})
            EXPECT_EQ(truthOf(failing, order), "false") << failing;
    }
}

// Numbers written without an exponent keep their digits: 18-digit whole numbers compare
// and add exactly, as Decimal and Currency values do with each other and whole numbers.
TEST(SqlParserTest, NumbersWrittenInDecimalKeepTheirDigits) {
    for (const char* holding :
         {"123456789012345678 > 123456789012345677", "999999999999999999 + 1 = 1000000000000000000",
          "0.1 + 0.2 = 0.3", "1.2345 * 2 = 2.469", "-0.5 < 0 AND 2.50 = 2.5",
          "12345678901234567.5 - 12345678901234567 = 0.5", "1.5 = '1.5' AND 7 / 2 = 3.5",
          "99999999999999999999999999999999999999 > 1E37"})
        EXPECT_EQ(truthOf(holding), "true") << holding;
    EXPECT_EQ(truthOf("123456789012345678 = 123456789012345680"), "false");
    EXPECT_EQ(truthOf("1.5 = 'x'"), "3464");
}

TEST(LinkedDatabaseTest, LinksAreFollowedToTheirFileOrItsTailBesideTheFrontEnd) {
    ScratchFolder scratch;
    namespace fs = std::filesystem;
    auto make = [&](const std::string& relative) {
        fs::path path = scratch.path(relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        return path.string();
    };
    std::string front = make("front/list.mdb");
    std::string data = make("front/data/list.mdb");
    std::string beside = make("front/list2.mdb");
    std::string deep = make("front/deep/list2.mdb");
    std::string other = make("other/x.mdb");
    EXPECT_EQ(findLinkedDatabase(front, "data/list.mdb").found, data) << "relative to the front";
    EXPECT_EQ(findLinkedDatabase(front, other).found, other) << "absolute";
    EXPECT_EQ(findLinkedDatabase(front, "..\\other\\x.mdb").found,
              scratch.path("front/../other/x.mdb"));
    EXPECT_EQ(findLinkedDatabase(front, "C:\\db\\deep\\list2.mdb").found, deep)
        << "the longest tail that is there wins";
    EXPECT_EQ(findLinkedDatabase(front, "\\\\server\\share\\list2.mdb").found, beside);
    EXPECT_EQ(findLinkedDatabase(front, "C:\\DB\\Deep\\LIST2.MDB").found, deep)
        << "Windows names are found without regard to case";
    EXPECT_EQ(findLinkedDatabase(front, "c:\\List2.Mdb").found, beside);
    EXPECT_FALSE(findLinkedDatabase(front, "Data/List.mdb").found)
        << "a path of this machine keeps its case";
    LinkedDatabaseSearch missing = findLinkedDatabase(front, "C:\\db\\deep\\gone.mdb");
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.lookedAt, (std::vector<std::string>{scratch.path("front/db/deep/gone.mdb"),
                                                          scratch.path("front/deep/gone.mdb"),
                                                          scratch.path("front/gone.mdb")}));
    EXPECT_EQ(findLinkedDatabase(front, "C:").lookedAt, std::vector<std::string>{"C:"});
}

TEST(SqlParserTest, DateLiteralsInJetsForms) {
    EXPECT_EQ(parseJetDate("12/30/1899"), 0.0);
    EXPECT_EQ(parseJetDate("1/1/1900"), 2.0);
    EXPECT_EQ(parseJetDate("2003-01-02"), parseJetDate("1/2/2003"));
    EXPECT_EQ(parseJetDate("1/2/03"), parseJetDate("1/2/2003")) << "two-digit years below 30";
    EXPECT_EQ(parseJetDate("1/2/45"), parseJetDate("1/2/1945"));
    EXPECT_EQ(parseJetDate("2/29/2004 6:00 PM"), *parseJetDate("2/29/2004") + 0.75);
    EXPECT_EQ(parseJetDate("12:00:00 AM"), 0.0);
    for (const char* wrong : {"2/29/2003", "13/1/2003", "1/2", "25:00", "1/2/2003 1:00 XM", ""})
        EXPECT_FALSE(parseJetDate(wrong)) << wrong;
}

class SqlTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_MDB_CORPUS(); }

    Status run(Database& database, const std::string& statement) {
        Status status = database.execute(statement);
        EXPECT_EQ(status, statusOk) << statement << ": " << errorText(engine);
        return status;
    }

    // The records of a statement's result, one line a record as the dump tool writes them.
    std::vector<std::string> rows(const Database& database, const std::string& statement) {
        std::shared_ptr<Recordset> result;
        Status status = database.openRecordset(statement, -1, result);
        EXPECT_EQ(status, statusOk) << statement << ": " << errorText(engine);
        if (failed(status))
            return {};
        std::vector<std::string> found;
        std::shared_ptr<Collection<Field>> fields;
        result->fields(fields);
        bool atEnd = false;
        for (result->eof(atEnd); !atEnd; result->moveNext(), result->eof(atEnd)) {
            std::string line;
            for (std::size_t i = 0; i < fields->count(); ++i) {
                std::shared_ptr<Field> field;
                fields->item(i, field);
                Variant value;
                field->value(value);
                line += (i ? "," : "") + (value.isNull() ? std::string("-") : text(value));
            }
            found.push_back(line);
        }
        return found;
    }

    // The first field of every record of a recordset, from its first record.
    static std::vector<std::string> texts(Recordset& recordset) {
        std::vector<std::string> found;
        for (const Variant& value : column(recordset, 0))
            found.push_back(value.isNull() ? "-" : value.stringValue());
        return found;
    }

    static std::string text(const Variant& value) {
        return value.isString() ? value.stringValue() : std::to_string(value.integerValue());
    }

    DBEngine engine;
};

// The fill tool's table (nine Text columns, no index) holding a generated list: name
// (data1), address, city, state, ZIP (data6) and county (data7, empty on every third).
std::string filledTable(const ScratchFolder& scratch, const std::string& name, int records,
                        const std::string& jet = {}) {
    std::string list = scratch.path(name + ".txt");
    {
        std::ofstream out(list);
        for (int i = 0; i < records; ++i)
            out << "NAME " << i << "\t" << i << " MAIN ST\tTOWN" << i % 7 << "\tTX\t"
                << 75000 + i % 50 << "\t" << (i % 3 ? "DALLAS" : "") << "\r\n";
    }
    std::string path = scratch.path(name + ".mdb");
    runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbfill " + shellQuoted(list) + " " +
               shellQuoted(path) + " --empty" + jet);
    return path;
}

TEST_F(SqlTest, ConditionsOnEveryTypeOfColumn) {
    auto database = open(engine, corpusFile("jackcess/testV2000.mdb"), {}, false, true);
    ASSERT_TRUE(database);
    const std::vector<std::string> first{"abcdefg"}, second{"a"}, both{"abcdefg", "a"};
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 WHERE C > 1 AND D = 222"), first);
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 WHERE E BETWEEN 1 AND 333333333"), first);
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 WHERE F IN (444.555, 1.5)"), first);
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 WHERE G >= #1/1/1980#"), second);
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 WHERE G < #1974-09-21 00:00:01#"), first);
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 WHERE H = 3.5 AND I = True"), first);
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 WHERE NOT I"), second);
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 WHERE B LIKE 'H*P' OR C = 0"), both);
    EXPECT_EQ(rows(*database, "SELECT A FROM Table1 ORDER BY G DESC"),
              (std::vector<std::string>{"a", "abcdefg"}));
    std::shared_ptr<Recordset> computed;
    EXPECT_EQ(
        errorNumber(database->openRecordset("SELECT A, E * 2 AS Twice FROM Table1", -1, computed)),
        3251);
    EXPECT_NE(errorText(engine).find("'Twice' is computed"), std::string::npos);
    EXPECT_EQ(errorNumber(database->execute("UPDATE Table1 SET A = 'x' WHERE A = 1")), 3464);
}

TEST_F(SqlTest, SelectInsertAndUpdateKeepNamesOrderAndValues) {
    ScratchFolder scratch;
    std::string path = filledTable(scratch, "list", 30);
    auto database = open(engine, path);
    ASSERT_TRUE(database);
    run(*database, "INSERT INTO Table1 (data1, data6) SELECT data1 & ' COPY', data6 FROM Table1 "
                   "WHERE data6 >= '75014' AND data4 = 'town0' ORDER BY data1 DESC");
    EXPECT_EQ(database->recordsAffected(), 3) << "NAME 14, 21 and 28";
    EXPECT_EQ(rows(*database, "SELECT data1 FROM Table1 WHERE data1 LIKE '* COPY'"),
              (std::vector<std::string>{"NAME 28 COPY", "NAME 21 COPY", "NAME 14 COPY"}))
        << "added in the order of the select that gave them";
    run(*database, "INSERT INTO Table1 VALUES ('ALONE', Null, Null, Null, '00001', Null, Null, "
                   "Null, Null)");
    run(*database, "UPDATE Table1 SET data8 = data6 & '-' & data5, data9 = 'X' WHERE data7 IS "
                   "NULL AND data6 < '75010'");
    EXPECT_EQ(database->recordsAffected(), 5) << "NAME 0, 3, 6 and 9, and ALONE (no state)";
    EXPECT_EQ(rows(*database, "SELECT data1 AS Who, data8 FROM Table1 WHERE data9 = 'x' "
                              "ORDER BY data8 DESC, data1"),
              (std::vector<std::string>{"NAME 9,75009-TX", "NAME 6,75006-TX", "NAME 3,75003-TX",
                                        "NAME 0,75000-TX", "ALONE,00001-"}));
    EXPECT_EQ(rows(*database, "SELECT DISTINCT data4 FROM Table1 WHERE data6 < '75003'"),
              (std::vector<std::string>{"-", "TOWN0", "TOWN1", "TOWN2"}))
        << "duplicates go, the rest in the order of the column, Null first";

    std::shared_ptr<Recordset> named;
    ASSERT_EQ(database->openRecordset("SELECT t.data1 AS Who FROM Table1 AS t WHERE data1 = "
                                      "'alone'",
                                      -1, named),
              statusOk);
    std::shared_ptr<Collection<Field>> fields;
    named->fields(fields);
    std::shared_ptr<Field> who;
    ASSERT_EQ(fields->item(0, who), statusOk);
    EXPECT_EQ(who->name(), "Who");
    ASSERT_EQ(named->edit(), statusOk) << "a select over one table can be changed";
    ASSERT_EQ(who->setValue(Variant::text("TOGETHER")), statusOk);
    ASSERT_EQ(named->update(), statusOk);
    EXPECT_EQ(rows(*database, "SELECT data6 FROM Table1 WHERE data1 = 'together'"),
              std::vector<std::string>{"00001"});
    EXPECT_EQ(errorNumber(named->setIndex("")), 3251) << "query results have no index";
    std::shared_ptr<Recordset> distinct;
    ASSERT_EQ(database->openRecordset("SELECT DISTINCT data1 FROM Table1", -1, distinct), statusOk);
    EXPECT_EQ(errorNumber(distinct->edit()), 3027);

    EXPECT_EQ(errorNumber(database->execute("SELECT * FROM Table1")), 3065);
    EXPECT_EQ(errorNumber(database->openRecordset("DELETE FROM Table1", -1, distinct)), 3219);
    EXPECT_EQ(errorNumber(database->openRecordset("SELECT Nothing FROM Table1", -1, distinct)),
              3061);
    EXPECT_EQ(errorText(engine), "3061 Too few parameters. Expected 1.");
    EXPECT_EQ(errorNumber(database->openRecordset("SELECT * FROM Nowhere", -1, distinct)), 3078);
    EXPECT_EQ(errorNumber(database->execute("INSERT INTO Table1 (data1, Z) VALUES (1, 2)")), 3265);
    EXPECT_EQ(errorNumber(database->execute("INSERT INTO Table1 (data1, data3) VALUES (1)")), 3346);
}

// A primary key and a WHERE agree on which texts are the same: what the key refuses as a
// duplicate, the condition finds; ORDER BY and DISTINCT follow the keys too.
TEST_F(SqlTest, KeysAndConditionsAgreeOnAccentsCaseAndTrailingBlanks) {
    ScratchFolder scratch;
    struct Case {
        const char* file;
        std::string table;
        std::string key;   // the primary key's text column
        std::string other; // another text column
    };
    for (const Case& c :
         {Case{"jackcess/testIndexPropertiesV2003.mdb", "TableUnique2_temp", "row", "data1"},
          Case{"jackcess/testIndexCodesV1997.mdb", "Table1", "name", "data"}}) {
        SCOPED_TRACE(c.file);
        std::string path = scratch.copy(c.file);
        auto database = open(engine, path);
        ASSERT_TRUE(database);
        const std::string& key = c.key;
        const std::string& table = c.table;
        int serial = 0;
        auto insert = [&](const std::string& value) {
            return errorNumber(database->execute("INSERT INTO " + table + " (" + key + ", " +
                                                 c.other + ") VALUES (" + value + ", 'x" +
                                                 std::to_string(++serial) + "')"));
        };
        EXPECT_EQ(insert("'\u00e9"
                         "clair'"),
                  0)
            << errorText(engine);
        EXPECT_EQ(insert("'\u00c9"
                         "CLAIR'"),
                  3022)
            << "case";
        EXPECT_EQ(insert("'\u00e9"
                         "clair  '"),
                  3022)
            << "trailing blanks";
        EXPECT_EQ(insert("'eclair'"), 0) << "an accent makes another key";
        EXPECT_EQ(insert("'  eclair'"), 0) << "leading blanks count";
        EXPECT_EQ(insert("'row7 '"), 3022) << "row7 is there already";
        EXPECT_EQ(rows(*database, "SELECT " + key + " FROM " + table + " WHERE " + key +
                                      " = '\u00c9"
                                      "CLAIR '"),
                  std::vector<std::string>{"\u00e9"
                                           "clair"});
        EXPECT_EQ(rows(*database, "SELECT " + key + " FROM " + table + " WHERE " + key +
                                      " LIKE '*CLAIR' ORDER BY " + key + " DESC"),
                  (std::vector<std::string>{"\u00e9"
                                            "clair",
                                            "eclair", "  eclair"}));
        EXPECT_EQ(rows(*database, "SELECT DISTINCT " + key + " FROM " + table + " WHERE " + key +
                                      " IN ('ECLAIR', '\u00c9"
                                      "CLAIR', 'row7  ')"),
                  (std::vector<std::string>{"eclair",
                                            "\u00e9"
                                            "clair",
                                            "row7"}));
        ASSERT_EQ(database->close(), statusOk);
        EXPECT_EQ(indexProblems(path), std::vector<std::string>{});
    }
}

// A unique index over several columns calls no key with a Null in it a duplicate: the file
// Access wrote holds (Null, Null) twice in DataIndex, unique over data1 and data2, and so a
// key with one Null column repeats too; a key without Null does not.
TEST_F(SqlTest, AUniqueIndexTakesEveryKeyThatHasANull) {
    ScratchFolder scratch;
    std::string path = scratch.copy("jackcess/testIndexPropertiesV2003.mdb");
    auto database = open(engine, path);
    ASSERT_TRUE(database);
    EXPECT_EQ(rows(*database, "SELECT row FROM TableUnique2_temp WHERE data1 IS NULL AND data2 "
                              "IS NULL"),
              (std::vector<std::string>{"row5", "row10"}));
    const std::string insert = "INSERT INTO TableUnique2_temp (row, data1, data2) VALUES ";
    run(*database, insert + "('n1', Null, Null)");
    run(*database, insert + "('n2', 'stuff', Null)");
    run(*database, insert + "('n3', 'STUFF ', Null)");
    run(*database, insert + "('n4', Null, 13)");
    EXPECT_EQ(errorNumber(database->execute(insert + "('n5', 'Stuff', 13)")), 3022)
        << "row0 holds stuff and 13";
    ASSERT_EQ(database->close(), statusOk);
    EXPECT_EQ(indexProblems(path), std::vector<std::string>{});
}

// A statement that fails on one record changes none: the table reads as before it.
TEST_F(SqlTest, AFailedStatementChangesNothing) {
    ScratchFolder scratch;
    std::string path = scratch.copy("jackcess/testV2000.mdb");
    std::string before = mdbExport(path, "Table1");
    {
        auto database = open(engine, path);
        ASSERT_TRUE(database);
        EXPECT_EQ(errorNumber(database->execute("UPDATE Table1 SET C = 300 - C * 100")), 3349)
            << "the second record's Byte goes past 255, after the first was changed";
        EXPECT_EQ(errorNumber(database->execute("UPDATE Table1 SET E = E + 1, F = 1 / C")), 3219)
            << "the second record divides by zero";
        EXPECT_EQ(rows(*database, "SELECT C, E FROM Table1"),
                  (std::vector<std::string>{"2,333333333", "0,0"}));
        ASSERT_EQ(database->close(), statusOk);
    }
    EXPECT_EQ(mdbExport(path, "Table1"), before);
}

// Half of a table deleted through SQL and added again through SQL reads as the table did,
// in Jet 3 and Jet 4.
TEST_F(SqlTest, DeletedHalfComesBackThroughInserts) {
    ScratchFolder scratch;
    for (const std::string jet : {"", " --jet3"}) {
        std::string path = filledTable(scratch, jet.empty() ? "jet4" : "jet3", 400, jet);
        std::vector<std::string> original = sorted(lines(mdbExport(path, "Table1")));
        ASSERT_EQ(original.size(), 401u);
        auto database = open(engine, path);
        ASSERT_TRUE(database);
        const std::string half = " FROM Table1 WHERE data6 < '75025' OR data7 IS NULL";
        std::vector<std::string> removed =
            rows(*database, "SELECT data1, data3, data4, data5, data6, data7" + half);
        run(*database, "DELETE" + half);
        EXPECT_EQ(database->recordsAffected(), static_cast<std::int32_t>(removed.size()));
        EXPECT_GT(removed.size(), 200u);
        EXPECT_TRUE(rows(*database, "SELECT *" + half).empty());
        for (const std::string& row : removed) {
            std::string values;
            std::size_t from = 0;
            for (std::size_t comma = row.find(','); from <= row.size();
                 comma = row.find(',', from)) {
                std::string value = row.substr(from, comma - from);
                values +=
                    (values.empty() ? "" : ", ") + (value == "-" ? "Null" : "'" + value + "'");
                if (comma == std::string::npos)
                    break;
                from = comma + 1;
            }
            run(*database, "INSERT INTO Table1 (data1, data3, data4, data5, data6, data7) "
                           "VALUES (" +
                               values + ")");
        }
        ASSERT_EQ(database->close(), statusOk);
        EXPECT_EQ(sorted(lines(mdbExport(path, "Table1"))), original) << jet;
        EXPECT_TRUE(structureProblems(path).empty()) << jet;
    }
}

// Parameters by name (a name no column has) and "?"; statements inside a transaction go
// with its rollback, and a result keeps only the rows that are still there.
TEST_F(SqlTest, ParametersTransactionsAndCopiesOfRows) {
    ScratchFolder scratch;
    std::string path = filledTable(scratch, "list", 12);
    auto database = open(engine, path);
    ASSERT_TRUE(database);
    std::shared_ptr<Recordset> found;
    SqlRunner withValue(*database, *engine.errors(), {{"Which Town", Variant::text("town3")}});
    ASSERT_EQ(withValue.open("SELECT data1 FROM Table1 WHERE data4 = [Which Town]", true, found),
              statusOk);
    EXPECT_EQ(texts(*found), (std::vector<std::string>{"NAME 3", "NAME 10"}));
    SqlRunner without(*database, *engine.errors());
    EXPECT_EQ(errorNumber(without.open("SELECT * FROM Table1 WHERE data4 = [Which Town] OR data5 "
                                       "= ? OR data6 = [which town] OR data7 = ?",
                                       true, found)),
              3061);
    EXPECT_EQ(errorText(engine), "3061 Too few parameters. Expected 3.") << "one name, two ?";

    run(*database, "INSERT INTO Table1 SELECT * FROM Table1 WHERE data4 = 'TOWN1'");
    EXPECT_EQ(database->recordsAffected(), 2) << "columns matched by their names";
    std::shared_ptr<Recordset> result;
    ASSERT_EQ(database->openRecordset("SELECT data1 FROM Table1 WHERE data4 = 'TOWN1'", -1, result),
              statusOk);
    EXPECT_EQ(texts(*result), (std::vector<std::string>{"NAME 1", "NAME 8", "NAME 1", "NAME 8"}));
    ASSERT_EQ(engine.beginTrans(), statusOk);
    run(*database, "DELETE FROM Table1 WHERE data1 = 'NAME 8'");
    run(*database, "UPDATE Table1 SET data9 = 'gone' WHERE data4 = 'TOWN1'");
    ASSERT_EQ(engine.rollback(), statusOk);
    EXPECT_EQ(texts(*result), (std::vector<std::string>{"NAME 1", "NAME 8", "NAME 1", "NAME 8"}))
        << "the rollback brings the deleted rows back";
    EXPECT_TRUE(rows(*database, "SELECT * FROM Table1 WHERE data9 = 'gone'").empty());
    ASSERT_EQ(engine.beginTrans(), statusOk);
    run(*database, "INSERT INTO Table1 (data1, data4) VALUES ('NAME 99', 'TOWN1')");
    ASSERT_EQ(database->openRecordset("SELECT data1 FROM Table1 WHERE data4 = 'TOWN1'", -1, result),
              statusOk);
    EXPECT_EQ(texts(*result).size(), 5u);
    ASSERT_EQ(engine.rollback(), statusOk);
    EXPECT_EQ(texts(*result).size(), 4u) << "a row the rollback took away leaves the result";
}

TEST_F(SqlTest, StoredQueriesRunByKindAndTheOthersAreRefusedByName) {
    ScratchFolder scratch;
    std::string path = scratch.copy("jackcess/queryTestV2000.mdb");
    auto database = open(engine, path);
    ASSERT_TRUE(database);
    for (const char* word : {"apple", "zebra", "blah", "cat"})
        run(*database, std::string("INSERT INTO Table1 (col1, col2) VALUES ('") + word + "', 'x')");
    run(*database, "DeleteQuery");
    EXPECT_EQ(database->recordsAffected(), 2) << "col1 > \"blah\": zebra and cat";
    EXPECT_EQ(rows(*database, "SELECT col1 FROM Table1 ORDER BY col1"),
              (std::vector<std::string>{"apple", "blah"}));

    std::shared_ptr<Recordset> result;
    for (auto [query, kind] : {std::pair{"MakeTableQuery", "a make-table query"},
                               {"CrosstabQuery", "a crosstab query"},
                               {"UnionQuery", "a union query"},
                               {"PassthroughQuery", "a pass-through query"},
                               {"DataDefinitionQuery", "a data-definition query"},
                               {"SelectQuery", "a query over several tables"}}) {
        EXPECT_EQ(errorNumber(database->openRecordset(query, -1, result)), 3251) << query;
        EXPECT_NE(errorText(engine).find(std::string("'") + query + "' is " + kind),
                  std::string::npos)
            << errorText(engine);
    }
    EXPECT_EQ(errorNumber(database->execute("UpdateQuery")), 3061)
        << "its parameter and the columns of a table it does not name";

    auto like = open(engine, corpusFile("ucanaccess/accessLike.mdb"), {}, false, true);
    ASSERT_TRUE(like);
    EXPECT_EQ(rows(*like, "q_like2"), std::vector<std::string>{"dd1"}) << "LIKE \"d*#\"";
    std::shared_ptr<Collection<QueryDef>> queries;
    ASSERT_EQ(like->queryDefs(queries), statusOk);
    std::shared_ptr<QueryDef> stored;
    queries->item(0, stored);
    std::string sql;
    ASSERT_EQ(stored->sql(sql), statusOk);
    EXPECT_EQ(sql, "SELECT Campo2 FROM [t_like2] WHERE Campo2 LIKE \"d*#\"");
    std::int32_t affected = 0;
    EXPECT_EQ(errorNumber(stored->execute(affected)), 3065);
}

TEST_F(SqlTest, LinkedTablesAreFollowedToTheFileBesideTheLink) {
    ScratchFolder scratch;
    std::string linked = scratch.copy("ucanaccess/linked.mdb");
    auto database = open(engine, linked);
    ASSERT_TRUE(database);
    std::shared_ptr<Recordset> recordset;
    EXPECT_EQ(errorNumber(database->openRecordset("table1", -1, recordset)), 3024);
    EXPECT_EQ(errorText(engine), "3024 The file '" + scratch.path("linkee1.mdb") +
                                     "' does not exist. 'Table1' is a linked table of "
                                     "'C:\\db\\linkee1.mdb'; it was looked for as " +
                                     scratch.path("db/linkee1.mdb") + " and " +
                                     scratch.path("linkee1.mdb") + ".");

    std::string linkee = scratch.copy("ucanaccess/linkee1.mdb");
    std::string expected = mdbExport(linkee, "Table1");
    std::string ours;
    ASSERT_EQ(exportTable(*database, "Table1", ours), statusOk) << errorText(engine);
    EXPECT_EQ(ours, expected);
    run(*database, "UPDATE Table1 SET field1 = field1 & '!' WHERE ID = 1");
    ASSERT_EQ(database->close(), statusOk);
    EXPECT_NE(mdbExport(linkee, "Table1").find("\"ciao bello!\""), std::string::npos)
        << "the change goes into the file the table lives in";
    EXPECT_EQ(sha256(linked), sha256(corpusFile("ucanaccess/linked.mdb")));
}

// Statements typed in a UTF-8 terminal on a Jet4 table without indexes: Cyrillic, Polish
// and Japanese texts joined, copied and inserted from a select keep every character, as
// mdb-export reads them. Jet3's code page and an index whose keys are not known for a
// character refuse it by name, and the file stays as it was.
TEST_F(SqlTest, Jet4TextKeepsEveryCharacterAndWhatCannotHoldOneRefuses) {
    ScratchFolder scratch;
    std::string list = scratch.path("world.txt");
    std::ofstream(list)
        << "\u041c\u0438\u0440 \u0422\u0440\u0443\u0434\t\u0443\u043b. 1\t"
           "\u041c\u043e\u0441\u043a\u0432\u0430\t\t10100\t\r\n"
           "\u0141ukasz \u017b\u00f3\u0142\u0107\tul. D\u0142uga 5\t"
           "Gda\u0144sk\t\t80001\t\r\n"
           "\u6f22\u5b57\u4eee\u540d\t\u5343\u4ee3\u7530\t\u6771\u4eac\t\t10000\t\r\n";
    std::string path = scratch.path("world.mdb");
    std::string fill = std::string(QUILLAN_BUILD_DIR) + "/mdbfill " + shellQuoted(list) + " ";
    runCommand(fill + shellQuoted(path) + " --empty");
    std::string tool = std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(path) + " ";
    auto sql = [&](const std::string& statement) {
        return runCommand(tool + shellQuoted(statement) + " 2>&1");
    };
    EXPECT_EQ(sql("UPDATE Table1 SET data1 = data1 & 'x'"), "3 rows affected\n");
    EXPECT_EQ(sql("UPDATE Table1 SET data3 = data3, data8 = data4"), "3 rows affected\n");
    EXPECT_EQ(sql("INSERT INTO Table1 (data1, data4) SELECT data1, data4 FROM Table1 WHERE "
                  "data6 < '20000'"),
              "2 rows affected\n");
    EXPECT_EQ(sql("INSERT INTO Table1 (data1) VALUES ('\u0141\u00f3d\u017a')"),
              "1 rows affected\n");
    std::vector<std::string> exported = lines(mdbExport(path, "Table1"));
    ASSERT_FALSE(exported.empty());
    exported.erase(exported.begin());
    EXPECT_EQ(sorted(exported),
              sorted({"\"\u041c\u0438\u0440 \u0422\u0440\u0443\u0434x\",\"\u0443\u043b. 1\","
                      "\"\u041c\u043e\u0441\u043a\u0432\u0430\",,\"10100\",,"
                      "\"\u041c\u043e\u0441\u043a\u0432\u0430\",,",
                      "\"\u0141ukasz \u017b\u00f3\u0142\u0107x\",\"ul. D\u0142uga 5\","
                      "\"Gda\u0144sk\",,\"80001\",,\"Gda\u0144sk\",,",
                      "\"\u6f22\u5b57\u4eee\u540dx\",\"\u5343\u4ee3\u7530\",\"\u6771\u4eac\",,"
                      "\"10000\",,\"\u6771\u4eac\",,",
                      "\"\u041c\u0438\u0440 \u0422\u0440\u0443\u0434x\",,"
                      "\"\u041c\u043e\u0441\u043a\u0432\u0430\",,,,,,",
                      "\"\u6f22\u5b57\u4eee\u540dx\",,\"\u6771\u4eac\",,,,,,",
                      "\"\u0141\u00f3d\u017a\",,,,,,,,"}));
    EXPECT_EQ(sql("SELECT data1 FROM Table1 WHERE data1 LIKE '\u0141*' ORDER BY data1"),
              "data1\n\"\u0141\u00f3d\u017a\"\n\"\u0141ukasz \u017b\u00f3\u0142\u0107x\"\n")
        << "o with acute before u";

    std::string jet3 = scratch.path("jet3.mdb");
    std::ofstream(scratch.path("jet3.txt")) << "ANNA\t1 MAIN\tDALLAS\tTX\t10000\t\r\n";
    runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbfill " +
               shellQuoted(scratch.path("jet3.txt")) + " " + shellQuoted(jet3) + " --empty --jet3");
    tool = std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(jet3) + " ";
    std::string before = sha256(jet3);
    EXPECT_EQ(sql("UPDATE Table1 SET data9 = 'caf\u00e9' WHERE data6 = '10000'"),
              "1 rows affected\n")
        << "in the code page";
    before = sha256(jet3);
    EXPECT_EQ(sql("UPDATE Table1 SET data9 = 'x', data1 = 'Gda\u0144sk'"),
              "mdbsql: 3421 The value cannot be converted to the field's type. 'data1' cannot "
              "hold the character '\u0144' (U+0144): this database keeps its text in "
              "Windows-1252.\n");
    EXPECT_EQ(sha256(jet3), before);

    std::string unicode = scratch.copy("jackcess/testUnicodeCompV2003.mdb");
    tool = std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(unicode) + " ";
    before = sha256(unicode);
    EXPECT_EQ(sql("UPDATE [Table] SET [Unicode] = [Unicode] & 'x' WHERE ID = 5"),
              "mdbsql: 3251 The operation is not supported for this object. 'Unicode' holds the "
              "character '\u6f22' (U+6F22), whose place in an index is not known here.\n")
        << "the column is indexed";
    EXPECT_EQ(sql("UPDATE [Table] SET [Unicode] = [Unicode] & 'x'"),
              "mdbsql: 3251 The operation is not supported for this object. 'Unicode' holds the "
              "character '\u041c' (U+041C), whose place in an index is not known here.\n")
        << "the statement is whole or nothing";
    EXPECT_EQ(sha256(unicode), before);
    EXPECT_EQ(sql("UPDATE [Table] SET [Unicode] = [Unicode] & 'x' WHERE ID = 2"),
              "1 rows affected\n");
    EXPECT_EQ(sql("SELECT [Unicode] FROM [Table] WHERE ID = 2"),
              "Unicode\n\"\u00e4\u00e4kk\u00f6si\u00e4x\"\n");
    EXPECT_EQ(indexProblems(unicode), std::vector<std::string>{});
}

// Names and texts of a Jet4 list with Polish letters: found, deleted and ordered without
// regard to case, as those of Windows-1252 are.
TEST_F(SqlTest, StatementsFindPolishLettersInEitherCase) {
    EXPECT_TRUE(file::sameName("Ulica_\u0141d\u017a", "ulica_\u0142d\u0179"));
    EXPECT_FALSE(file::sameName("Ulica_\u0141d\u017a", "ulica_ld\u017a"));
    // One order however the names are compared, ASCII alone or not.
    EXPECT_TRUE(file::nameLess("A", "_b") && file::nameLess("_b", "\u0141") &&
                file::nameLess("A", "\u0141"));
    EXPECT_FALSE(file::nameLess("\u0141", "_b"));

    ScratchFolder scratch;
    std::string list = scratch.path("names.txt");
    std::ofstream(list)
        << "\u0141ukasz \u017b\u00f3\u0142\u0107\tul. D\u0142uga 5\tGda\u0144sk\t\t80001\t\r\n"
           "\u00c9lan M\u00fcller\t1 Rue\tNancy\t\t80002\t\r\n"
           "\u0142ucja\t2 Rue\tNancy\t\t80003\t\r\n";
    std::string path = scratch.path("names.mdb");
    runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbfill " + shellQuoted(list) + " " +
               shellQuoted(path) + " --empty");
    std::string tool = std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(path) + " ";
    auto sql = [&](const std::string& statement) {
        return runCommand(tool + shellQuoted(statement) + " 2>&1");
    };
    EXPECT_EQ(sql("SELECT data1 FROM Table1 WHERE data1 = '\u0142ukasz \u017c\u00f3\u0142\u0107'"),
              "data1\n\"\u0141ukasz \u017b\u00f3\u0142\u0107\"\n");
    EXPECT_EQ(sql("SELECT data1 AS Ulica_\u0141d\u017a FROM Table1 WHERE data1 LIKE '\u0141*' "
                  "ORDER BY [ulica_\u0142d\u017a] DESC"),
              "Ulica_\u0141d\u017a\n\"\u0141ukasz \u017b\u00f3\u0142\u0107\"\n\"\u0142ucja\"\n");
    EXPECT_EQ(sql("DELETE FROM Table1 WHERE data1 = '\u0141UCJA'"), "1 rows affected\n");
    EXPECT_EQ(sql("SELECT data6 FROM Table1 WHERE data1 = '\u00e9lan m\u00fcller' OR data1 = "
                  "'\u0142ucja'"),
              "data6\n\"80002\"\n");
}

TEST_F(SqlTest, SqlToolPrintsRecordsOrCountsAndReportsFailures) {
    ScratchFolder scratch;
    std::string path = shellQuoted(scratch.copy("jackcess/testV2000.mdb"));
    std::string tool = std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + path + " ";
    EXPECT_EQ(runCommand(tool + "'SELECT A, G FROM Table1 WHERE C > 0'"),
              "A,G\n\"abcdefg\",\"1974-09-21 00:00:00\"\n");
    EXPECT_EQ(runCommand(tool + "'UPDATE Table1 SET H = H * 2'"), "2 rows affected\n");
    EXPECT_EQ(runCommand(tool + "Table1"),
              runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbdump " + path + " Table1"));
    EXPECT_EQ(runCommand(tool + "'DELETE FROM Table1 WHERE' 2>&1; echo status $?"),
              "mdbsql: 3075 Syntax error in the SQL statement 'DELETE FROM Table1 WHERE'. The "
              "statement ends too soon.\nstatus 1\n");

    // A statement typed in a UTF-8 terminal: this Jet4 file keeps its texts whole, as
    // mdb-export (which writes UTF-8) shows, and the tool prints them in UTF-8 too; one in
    // Windows-1252 (not UTF-8) is taken as such. Text into a date field is a date. B is
    // indexed: a character whose key is not known here is refused by name.
    EXPECT_EQ(runCommand(tool + "\"UPDATE Table1 SET B = 'P\xC3\xA9rez O\xE2\x80\x99"
                                "Brien \xE2\x82\xAC"
                                "5', "
                                "G = '2003-03-01' WHERE A = 'a'\""),
              "1 rows affected\n");
    EXPECT_EQ(
        runCommand(tool + "\"UPDATE Table1 SET B = B & ' \xE9t\xE9 \xC4\x89' WHERE A = 'a'\""),
        "1 rows affected\n")
        << "Windows-1252 bytes";
    EXPECT_EQ(
        runCommand(tool + "\"UPDATE Table1 SET B = B & ' \xC4\x89' WHERE A = 'a'\" 2>&1"),
        "mdbsql: 3251 The operation is not supported for this object. 'B' holds the character "
        "'\xC4\x89' (U+0109), whose place in an index is not known here.\n");
    EXPECT_EQ(
        runCommand(tool + "\"UPDATE Table1 SET B = 'x\xF0\x9F\x98\x80' WHERE A = 'a'\" 2>&1"),
        "mdbsql: 3251 The operation is not supported for this object. 'B' holds the character "
        "'\xF0\x9F\x98\x80' (U+1F600), whose place in an index is not known here.\n")
        << "named whole, in UTF-8";
    const std::string stored = "P\xC3\xA9rez O\xE2\x80\x99"
                               "Brien \xE2\x82\xAC"
                               "5 \xC3\xA9t\xC3\xA9 \xC3\x84\xE2\x80\xB0";
    std::string exported = runCommand("mdb-export " + path + " Table1");
    EXPECT_NE(exported.find("\"" + stored + "\""), std::string::npos) << exported;
    EXPECT_NE(exported.find("\"03/01/03 00:00:00\""), std::string::npos) << exported;
    EXPECT_EQ(runCommand(tool + "\"SELECT B FROM Table1 WHERE A = 'a'\""),
              "B\n\"" + stored + "\"\n");
}

} // namespace
