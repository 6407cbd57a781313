// Index keys and index pages against the public files' own indexes, and the page writer's
// upkeep of indexes as records are added, changed and deleted.

#include "tests/platform/dao/DaoTestSupport.h"

#include "platform/dao/DatabaseFile.h"
#include "platform/dao/jet/IndexCheck.h"

#include <gtest/gtest.h>

using namespace daotest;

namespace {

// Every key of every index of the public files (system tables included) is computed again
// from its row and compared with the stored bytes, and every index page is read and written
// again as the page writer stores it.
TEST(IndexCorpus, EveryKeyIsComputedAgainFromItsRow) {
    SKIP_WITHOUT_MDB_CORPUS();
    std::size_t entries = 0;
    std::size_t compared = 0;
    for (const std::string& name : corpusFiles()) {
        Errors errors;
        std::shared_ptr<DatabaseFile> file;
        ASSERT_EQ(
            DatabaseFile::open(corpusFile(name), {false, true, passwordFor(name)}, errors, file),
            statusOk)
            << name;
        for (const jet::CatalogEntry& entry : file->catalog().tables()) {
            if (entry.isLinked())
                continue;
            auto table = file->tableDefinition(entry.tablePage());
            jet::IndexReport report = jet::checkIndexes(file->pages(), *table);
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
