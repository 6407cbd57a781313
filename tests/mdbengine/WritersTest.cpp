// Writers of one file side by side: each statement's answer is what the file holds, a
// refused write leaves nothing to land later, and a file replaced by another writer is
// found up to the moment ours would take its name.

#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/Field.h"
#include "platform/fs/AtomicFile.h"
#include "tests/support/TestEnvironment.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

using namespace daotest;
using quillan::test::runCommand;
namespace fs = std::filesystem;

namespace {

std::string tool(const std::string& path) {
    return std::string(QUILLAN_BUILD_DIR) + "/mdbsql " + shellQuoted(path) + " ";
}

// A Jet 4 list made by the fill tool: Table1, fields data1 to data9.
std::string filledList(const ScratchFolder& scratch) {
    std::string text = scratch.path("list.txt");
    std::ofstream(text) << "ANNA\t1 MAIN\tDALLAS\tTX\t75201\t\r\n";
    std::string path = scratch.path("list.mdb");
    runCommand(std::string(QUILLAN_BUILD_DIR) + "/mdbfill " + shellQuoted(text) + " " +
               shellQuoted(path) + " --empty");
    return path;
}

// The first field of every row, as mdb-export reads it.
std::set<std::string> firstFields(const std::string& path) {
    std::set<std::string> values;
    std::vector<std::string> rows = lines(mdbExport(path, "Table1"));
    for (std::size_t i = 1; i < rows.size(); ++i)
        values.insert(rows[i].substr(0, rows[i].find(',')));
    return values;
}

// Holds the advisory write lock another writer of the file would hold while writing it.
class HeldWriteLock {
public:
    explicit HeldWriteLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR)) {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        held_ = fd_ >= 0 && ::fcntl(fd_, F_OFD_SETLK, &lock) == 0;
    }
    ~HeldWriteLock() { release(); }
    bool held() const { return held_; }
    void release() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
    bool held_ = false;
};

std::string replacement;
std::string replaced;
// At the last moment before our file takes the name, another writer's takes it.
void anotherWriterRenamesItsFileIn(platform::WriteStage stage) {
    if (stage != platform::WriteStage::ReplacingTheFile || replacement.empty())
        return;
    fs::copy_file(replacement, replaced + ".theirs", fs::copy_options::overwrite_existing);
    fs::rename(replaced + ".theirs", replaced);
    replacement.clear();
}

} // namespace

// Three loops of the statement tool inserting rows into one file at once: every insert
// answered "1 rows affected" is in the file, every refused one is not, and the indexes
// check sound.
TEST(Writers, ConcurrentStatementsAreInTheFileExactlyWhenAnsweredDone) {
    REQUIRE_MDB_CORPUS();
    ScratchFolder scratch;
    const std::string path = filledList(scratch);
    const int writers = 3, statements = 25;
    std::string script;
    for (int w = 0; w < writers; ++w) {
        std::string log = shellQuoted(scratch.path("writer" + std::to_string(w) + ".log"));
        script += "(for i in $(seq 1 " + std::to_string(statements) + "); do " + tool(path) +
                  "\"INSERT INTO Table1 (data1) VALUES ('W" + std::to_string(w) +
                  "-$i')\" >/dev/null 2>&1; echo \"W" + std::to_string(w) + "-$i $?\"; done > " +
                  log + ") & ";
    }
    runCommand(script + "wait");

    std::set<std::string> answeredDone, refused;
    for (int w = 0; w < writers; ++w) {
        std::ifstream log(scratch.path("writer" + std::to_string(w) + ".log"));
        std::string value;
        int status = -1;
        while (log >> value >> status)
            (status == 0 ? answeredDone : refused).insert("\"" + value + "\"");
    }
    ASSERT_EQ(answeredDone.size() + refused.size(), std::size_t(writers * statements));
    ASSERT_FALSE(answeredDone.empty());
    std::set<std::string> inFile = firstFields(path);
    inFile.erase("\"ANNA\"");
    EXPECT_EQ(inFile, answeredDone) << refused.size() << " refused";
    EXPECT_EQ(indexProblems(path), std::vector<std::string>{});
    EXPECT_EQ(structureProblems(path), std::vector<std::string>{});
}

// A write refused while another program holds the file's write lock is not made once the
// lock is gone: not when the tool ends, not at the engine's next write.
TEST(Writers, AWriteRefusedUnderAHeldLockNeverLandsLater) {
    REQUIRE_MDB_CORPUS();
    ScratchFolder scratch;
    const std::string path = filledList(scratch);
    const std::string before = sha256(path);
    {
        HeldWriteLock lock(path);
        ASSERT_TRUE(lock.held());
        std::string said =
            runCommand(tool(path) + "\"INSERT INTO Table1 (data1) VALUES ('HELD')\" 2>&1; echo $?");
        EXPECT_NE(said.find("mdbsql: 3043 "), std::string::npos) << said;
        EXPECT_NE(said.find("Another program is writing"), std::string::npos) << said;
        EXPECT_EQ(said.substr(said.size() - 2), "1\n") << said;
    }
    EXPECT_EQ(sha256(path), before);

    DBEngine engine;
    auto database = open(engine, path);
    auto table = openTable(*database, "Table1");
    HeldWriteLock lock(path);
    ASSERT_EQ(table->addNew(), statusOk);
    std::shared_ptr<Collection<Field>> fields;
    table->fields(fields);
    std::shared_ptr<Field> first;
    fields->item(0, first);
    ASSERT_EQ(first->setValue(Variant::text("LATER")), statusOk);
    ASSERT_EQ(table->update(), statusOk);
    EXPECT_EQ(errorNumber(engine.idle(0)), 3043);
    lock.release();
    EXPECT_EQ(engine.idle(0), statusOk) << "nothing waits";
    EXPECT_EQ(database->close(), statusOk);
    database.reset();
    table.reset();
    EXPECT_EQ(sha256(path), before);

    // The engine goes on: the next change is written.
    EXPECT_EQ(runCommand(tool(path) + "\"INSERT INTO Table1 (data1) VALUES ('AFTER')\""),
              "1 rows affected\n");
    EXPECT_EQ(firstFields(path), (std::set<std::string>{"\"ANNA\"", "\"AFTER\""}));
}

// Another writer's file put in place in the last instant before ours takes the name stays,
// our write is refused as changed by another (3197), and its changes do not wait to land.
TEST(Writers, AFileReplacedAtTheLastMomentIsKept) {
    REQUIRE_MDB_CORPUS();
    ScratchFolder scratch;
    const std::string path = filledList(scratch);
    const std::string theirs = scratch.path("theirs.mdb");
    fs::copy_file(path, theirs);
    ASSERT_EQ(runCommand(tool(theirs) + "\"INSERT INTO Table1 (data1) VALUES ('THEIRS')\""),
              "1 rows affected\n");

    DBEngine engine;
    auto database = open(engine, path);
    replacement = theirs;
    replaced = path;
    platform::setWriteStageHook(anotherWriterRenamesItsFileIn);
    Status status = database->execute("INSERT INTO Table1 (data1) VALUES ('MINE')");
    platform::setWriteStageHook(nullptr);
    EXPECT_EQ(errorNumber(status), 3197) << errorText(engine);
    EXPECT_TRUE(replacement.empty()) << "the other writer came";
    EXPECT_EQ(sha256(path), sha256(theirs));
    EXPECT_EQ(errorNumber(engine.idle(0)), 0);
    EXPECT_EQ(database->close(), statusOk);
    EXPECT_EQ(firstFields(path), (std::set<std::string>{"\"ANNA\"", "\"THEIRS\""}));
}
