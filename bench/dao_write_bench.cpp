// Writing Access tables: a generated 100,000-record mailing list appended by the fill tool,
// read by our dump tool and by mdb-export, then the sort write-back pattern on it (Edit, four Text
// fields, Update, next record, on every record; one write of the file at the end), its peak memory,
// and mdbtools' mdb-export reading the written table, all in the same run. Each step runs as a
// child process, so that its CPU time and memory are its own.

#include "platform/dao/Collection.h"
#include "platform/dao/DBEngine.h"
#include "platform/dao/Database.h"
#include "platform/dao/Field.h"
#include "platform/dao/Recordset.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace platform::dao;
namespace fs = std::filesystem;

namespace {

constexpr int records = 100000;

struct Usage {
    double cpuSeconds = 0;
    double peakMegabytes = 0;
};

// Runs a command (output to /dev/null unless `keepOutput`) and answers its CPU time and peak
// memory.
Usage run(const std::vector<std::string>& command, bool keepOutput = false) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!keepOutput)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    Usage usage;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage used{};
        wait4(child, &status, 0, &used);
        usage.cpuSeconds = static_cast<double>(used.ru_utime.tv_sec + used.ru_stime.tv_sec) +
                           static_cast<double>(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
        usage.peakMegabytes = static_cast<double>(used.ru_maxrss) / 1024.0;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            std::fprintf(stderr, "%s failed\n", command[0].c_str());
    }
    posix_spawn_file_actions_destroy(&actions);
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

    Usage fill = run({QUILLAN_MDBFILL, list, table});
    double fileMegabytes = static_cast<double>(fs::file_size(table)) / (1024.0 * 1024.0);
    Usage ourRead = run({QUILLAN_MDBDUMP, table, "Table1"});
    Usage theirRead = run({"mdb-export", "-D", "%Y-%m-%d %H:%M:%S", "-T", "%Y-%m-%d %H:%M:%S", "-b",
                           "strip", table, "Table1"});
    Usage write = run({argv[0], "--write-back", table});
    double writtenMegabytes = static_cast<double>(fs::file_size(table)) / (1024.0 * 1024.0);
    Usage read = run({"mdb-export", table, "Table1"});

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
