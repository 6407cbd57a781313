// Writing Access tables: a generated 100,000-record mailing list appended by the fill tool,
// read by our dump tool and by mdb-export, then the sort write-back pattern on it (Edit, four Text
// fields, Update, next record, on every record; one write of the file at the end), its peak memory,
// and mdbtools' mdb-export reading the written table, all in the same run. Each step runs as a
// child process, so that its CPU time and memory are its own.

#include "bench/ChildProcess.h"
#include "platform/dao/Collection.h"
#include "platform/dao/DBEngine.h"
#include "platform/dao/Database.h"
#include "platform/dao/Field.h"
#include "platform/dao/Recordset.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace platform::dao;
namespace fs = std::filesystem;

namespace {

constexpr int records = 100000;

using quillan::bench::runChild;

// A step of the run; a failure is said, and the figures of what did run are kept.
quillan::bench::ChildUsage run(const std::vector<std::string>& command) {
    quillan::bench::ChildUsage usage = runChild(command);
    if (!usage.succeeded)
        std::fprintf(stderr, "%s failed\n", command[0].c_str());
    return usage;
}

// The sort write-back: every record gets its sort number, tray, package and endorsement.
int writeBack(const std::string& path) {
    DBEngine engine;
    std::shared_ptr<Database> database;
    std::shared_ptr<Recordset> table;
    if (failed(engine.openDatabase(path, true, false, {}, database)) ||
        failed(database->openRecordset("Table1", -1, table)))
        return 1;
    std::shared_ptr<Collection<Field>> fieldList;
    table->fields(fieldList);
    std::shared_ptr<Field> fields[4];
    for (int i = 0; i < 4; ++i)
        fieldList->item(static_cast<std::size_t>(5 + i), fields[i]);
    bool atEnd = false;
    int number = 0;
    for (table->eof(atEnd); !atEnd; table->moveNext(), table->eof(atEnd)) {
        ++number;
        char sort[16], tray[16], package[16];
        std::snprintf(sort, sizeof sort, "%06d", number);
        std::snprintf(tray, sizeof tray, "T%04d", number / 250);
        std::snprintf(package, sizeof package, "P%05d", number / 12);
        if (failed(table->edit()) || failed(fields[0]->setValue(Variant::text(sort))) ||
            failed(fields[1]->setValue(Variant::text(tray))) ||
            failed(fields[2]->setValue(Variant::text(package))) ||
            failed(fields[3]->setValue(Variant::text("AUTO**5-DIGIT"))) || failed(table->update()))
            return 1;
    }
    return failed(table->close()) || failed(database->close()) ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-back")
        return writeBack(argv[2]);

    fs::path work = fs::temp_directory_path() / ("quillan-dao-write-" + std::to_string(getpid()));
    fs::create_directories(work);
    std::string list = (work / "list.txt").string();
    std::string table = (work / "list.mdb").string();
    run({"/usr/bin/python3", std::string(QUILLAN_SOURCE_DIR) + "/tools/make_mailing_lists.py",
         "--kind", "tab", "--records", std::to_string(records), "--seed", "17", "--out", list});

    auto fill = run({QUILLAN_MDBFILL, list, table});
    double fileMegabytes = static_cast<double>(fs::file_size(table)) / (1024.0 * 1024.0);
    auto ourRead = run({QUILLAN_MDBDUMP, table, "Table1"});
    auto theirRead = run({"mdb-export", "-D", "%Y-%m-%d %H:%M:%S", "-T", "%Y-%m-%d %H:%M:%S", "-b",
                          "strip", table, "Table1"});
    auto write = run({argv[0], "--write-back", table});
    double writtenMegabytes = static_cast<double>(fs::file_size(table)) / (1024.0 * 1024.0);
    auto read = run({"mdb-export", table, "Table1"});

    std::printf("Access table of %d generated records (%.1f MB):\n", records, fileMegabytes);
    std::printf("  fill tool                         %6.2f s CPU\n", fill.cpuSeconds);
    std::printf("  reading it: mdbdump %.2f s CPU, mdb-export %.2f s (%.1fx)\n", ourRead.cpuSeconds,
                theirRead.cpuSeconds, theirRead.cpuSeconds / ourRead.cpuSeconds);
    std::printf("  write-back (Edit, 4 Text, Update) %6.2f s CPU, peak %.0f MB (%.1fx the file),"
                " file now %.1f MB\n",
                write.cpuSeconds, write.peakMegabytes, write.peakMegabytes / fileMegabytes,
                writtenMegabytes);
    std::printf("  mdb-export of the written table   %6.2f s CPU (write-back %.1fx of it)\n",
                read.cpuSeconds, write.cpuSeconds / read.cpuSeconds);
    fs::remove_all(work);
    return 0;
}
