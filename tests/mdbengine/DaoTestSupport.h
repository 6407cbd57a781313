#pragma once

// Shared helpers of the DAO tests: the public .mdb corpus, scratch copies, the mdbtools
// reference commands and short ways to open and read.

#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/values/Variant.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace daotest {

using namespace mdbengine;

// The corpus folder (QUILLAN_MDB_CORPUS, tests/corpora/mdb); tests that need it fail when
// it is missing.
bool corpusAvailable();
std::string corpusFile(const std::string& relative);
std::vector<std::string> corpusFiles();
// A corpus file as the name of a test over it: letters and digits kept, "_" for the rest.
std::string testNameOf(const std::string& file);

// A folder of its own for the test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    // A writable copy of a corpus file.
    std::string copy(const std::string& relative, const std::string& name = {}) const;

private:
    std::filesystem::path folder_;
};

std::string shellQuoted(const std::string& text);
std::string fromUtf8(const std::string& utf8); // to Windows-1252, "?" for the rest
std::string toUtf8(const std::string& windows1252);
std::vector<std::string> lines(const std::string& text);
std::vector<std::string> sorted(std::vector<std::string> items);

// The password of a corpus file, and its connect string.
std::string passwordFor(const std::string& file);
std::string connectFor(const std::string& file);
// A table as mdb-export writes it, in the dump tool's date form (UTF-8, as the engine's text).
std::string mdbExport(const std::string& path, const std::string& table);
// Our reading of a Jet3 text as mdb-export prints it: the five bytes Windows-1252 leaves
// unassigned, which the engine keeps as the controls of the same number, are "?" there.
std::string asMdbExportShowsJet3(std::string text);

// Opening through the object model; a failure fails the test.
std::shared_ptr<Database> open(DBEngine& engine, const std::string& path,
                               const std::string& connect = {}, bool exclusive = false,
                               bool readOnly = false);
std::shared_ptr<Recordset> openTable(const Database& database, const std::string& table,
                                     int options = -1);
// The names of the tables that are neither system nor linked tables.
std::vector<std::string> userTables(const Database& database);

// One column's values in the recordset's order, from the first record on.
std::vector<Variant> column(Recordset& recordset, std::size_t field);

std::string errorText(const DBEngine& engine);

} // namespace daotest

// Fails the test when there is no corpus: the repository carries it, so a missing corpus
// is lost test data, never a reason to pass.
#define REQUIRE_MDB_CORPUS()                                                                       \
    do {                                                                                           \
        if (!::daotest::corpusAvailable())                                                         \
            GTEST_FAIL() << "no .mdb corpus at " << QUILLAN_MDB_CORPUS;                            \
    } while (false)

namespace daotest {

// What is wrong with the table pages of a database file, one line a problem; empty when
// they are sound: the offsets of rows not deleted inside the page and descending, the
// free-space word as computed, every data page of a table that the map of free pages does
// not give up in the table's usage map, every row pointer reaching a moved image of its
// table. Pages that differ from `original` (when given) must state their free space
// exactly; others may understate it, as Access pages do.
std::vector<std::string> structureProblems(const std::string& path,
                                           const std::string& password = {},
                                           const std::string& original = {});

// Slots flagged as moved images (0x8000 alone) and as deleted (0xC000), over all tables.
struct SlotCounts {
    std::size_t movedImages = 0;
    std::size_t deleted = 0;
};
SlotCounts slotCounts(const std::string& path, const std::string& password = {});

// What the engine's check of indexes finds wrong with any table of the file (system tables
// included), each line naming its table.
std::vector<std::string> indexProblems(const std::string& path, const std::string& password = {});

std::string sha256(const std::string& path);

} // namespace daotest
