// Writing Access tables: a generated 100,000-record mailing list appended by the fill tool,
// read by our dump tool and by mdb-export, then the sort write-back pattern on it (Edit, four Text
// fields, Update, next record, on every record; one write of the file at the end), its peak memory,
// and mdbtools' mdb-export reading the written table, all in the same run. Then the same
// mailing added record by record to a Jet4 and a Jet3 table with two indexes (name, the primary
// key; city and ZIP), the indexes checked afterwards. Each step runs as a child process, so that
// its CPU time and memory are its own.

#include "bench/ChildProcess.h"
#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/tables/IndexCheck.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace mdbengine;
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

std::vector<std::string> tabFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

// Every record of the tab list as a new record: its name made unique by its number, its
// city, its ZIP as a number.
int addIndexed(const std::string& path, const std::string& tableName, const std::string& list) {
    DBEngine engine;
    std::shared_ptr<Database> database;
    std::shared_ptr<Recordset> table;
    if (failed(engine.openDatabase(path, true, false, {}, database)) ||
        failed(database->openRecordset(tableName, -1, table)))
        return 1;
    std::ifstream in(list, std::ios::binary);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> fields = tabFields(line);
        if (fields.size() < 5)
            continue;
        std::string name = fields[0].substr(0, 30) + " " + std::to_string(++number);
        std::int32_t zip = std::atoi(fields[4].c_str());
        if (failed(table->addNew()) || failed(table->setColumnValue(0, Variant::text(name))) ||
            failed(table->setColumnValue(1, Variant::text(fields[2].substr(0, 40)))) ||
            failed(table->setColumnValue(2, Variant::longInteger(zip))) || failed(table->update()))
            return 1;
    }
    return failed(table->close()) || failed(database->close()) ? 1 : 0;
}

// The engine's check of the table's indexes: entries, and problems found.
std::string indexState(const std::string& path, const std::string& tableName) {
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    if (failed(DatabaseFile::open(path, {false, true, {}}, errors, file)))
        return "cannot be opened";
    for (const auto& entry : file->catalog().tables())
        if (entry.name == tableName) {
            file::IndexReport report =
                file::checkIndexes(file->pages(), *file->tableDefinition(entry.tablePage()));
            return std::to_string(report.entries) + " entries, " + std::to_string(report.deepest) +
                   " levels, " + (report.problems.empty() ? "sound" : report.problems.front());
        }
    return "no table";
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-back")
        return writeBack(argv[2]);
    if (argc == 5 && std::string(argv[1]) == "--add-indexed")
        return addIndexed(argv[2], argv[3], argv[4]);

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

    struct Indexed {
        const char* file;
        const char* table;
    };
    for (Indexed indexed : {Indexed{"jackcess/testIndexPropertiesV2000.mdb", "TableIgnoreNulls2"},
                            Indexed{"jackcess/testIndexCodesV1997.mdb", "Table12"}}) {
        std::string copy = (work / fs::path(indexed.file).filename()).string();
        fs::copy_file(fs::path(QUILLAN_MDB_CORPUS) / indexed.file, copy,
                      fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add);
        auto add = run({argv[0], "--add-indexed", copy, indexed.table, list});
        std::printf("  %d records added to %s %s (two indexes) %6.2f s CPU, peak %.0f MB; "
                    "indexes: %s\n",
                    records, fs::path(indexed.file).filename().c_str(), indexed.table,
                    add.cpuSeconds, add.peakMegabytes, indexState(copy, indexed.table).c_str());
    }
    fs::remove_all(work);
    return 0;
}
