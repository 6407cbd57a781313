// CPU time of reading Access tables: our dump tool and mdbtools' mdb-export on the same
// tables in the same run, each run several times as a child process (their CPU time as
// the system counts it for children); then the time to open testV2000.mdb and read its
// catalogue, the columns and the indexes of every table.

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/Index.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/dao/TableDef.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace mdbengine;

namespace {

constexpr int repetitions = 31;

double seconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the command with its output thrown away and answers its CPU time; spawned without
// copying this process, so that the time is the tool's own.
double run(const std::vector<std::string>& command) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    double cpu = 0;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        cpu = seconds(usage);
    }
    posix_spawn_file_actions_destroy(&actions);
    return cpu;
}

// The median over the repetitions of the CPU time of running every command once: the
// machine may be busy with other work now and then.
double cpuOf(const std::vector<std::vector<std::string>>& commands) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        double total = 0;
        for (const auto& command : commands)
            total += run(command);
        times.push_back(total);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::vector<std::string> userTables(const std::string& path) {
    DBEngine engine;
    std::shared_ptr<Database> database;
    std::vector<std::string> names;
    if (failed(engine.openDatabase(path, false, true, {}, database)))
        return names;
    std::shared_ptr<Collection<TableDef>> tables;
    database->tableDefs(tables);
    for (std::size_t i = 0; i < tables->count(); ++i) {
        std::shared_ptr<TableDef> table;
        tables->item(i, table);
        if (!table->isSystem() && !table->isLinked())
            names.push_back(table->name());
    }
    return names;
}

void compare(const std::string& label, const std::string& file,
             const std::vector<std::string>& tables) {
    std::string path = std::string(QUILLAN_MDB_CORPUS) + "/" + file;
    std::vector<std::vector<std::string>> ours;
    std::vector<std::vector<std::string>> theirs;
    for (const std::string& table : tables) {
        ours.push_back({QUILLAN_MDBDUMP, path, table});
        theirs.push_back({"mdb-export", "-D", "%Y-%m-%d %H:%M:%S", "-T", "%Y-%m-%d %H:%M:%S", "-b",
                          "strip", path, table});
    }
    double our = cpuOf(ours);
    double their = cpuOf(theirs);
    std::printf("%-44s mdbdump %7.2f ms  mdb-export %7.2f ms  (%.1fx)\n", label.c_str(), our * 1000,
                their * 1000, their / our);
}

void openTime(const std::string& file) {
    std::string path = std::string(QUILLAN_MDB_CORPUS) + "/" + file;
    constexpr int opens = 200;
    auto start = std::chrono::steady_clock::now();
    std::size_t columns = 0;
    for (int i = 0; i < opens; ++i) {
        DBEngine engine;
        std::shared_ptr<Database> database;
        engine.openDatabase(path, false, true, {}, database);
        std::shared_ptr<Collection<TableDef>> tables;
        database->tableDefs(tables);
        for (std::size_t t = 0; t < tables->count(); ++t) {
            std::shared_ptr<TableDef> table;
            tables->item(t, table);
            std::shared_ptr<Recordset> recordset;
            if (failed(database->openRecordset(table->name(), -1, recordset)))
                continue;
            std::shared_ptr<Collection<Field>> fields;
            std::shared_ptr<Collection<Index>> indexes;
            recordset->fields(fields);
            recordset->indexes(indexes);
            columns += fields->count() + indexes->count();
        }
    }
    double each =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count() /
        opens;
    std::printf("Open %s with catalogue, columns and indexes: %.2f ms (%zu columns and indexes)\n",
                file.c_str(), each, columns / opens);
}

} // namespace

int main() {
    std::printf("Reading Access tables, CPU per run (median of %d runs):\n", repetitions);
    compare("compIndexTestV2000 Table1 (512 rows)", "jackcess/compIndexTestV2000.mdb", {"Table1"});
    compare("testIndexCodesV1997, its 29 tables", "jackcess/testIndexCodesV1997.mdb",
            userTables(std::string(QUILLAN_MDB_CORPUS) + "/jackcess/testIndexCodesV1997.mdb"));
    compare("testV2000, every table", "jackcess/testV2000.mdb",
            userTables(std::string(QUILLAN_MDB_CORPUS) + "/jackcess/testV2000.mdb"));
    openTime("jackcess/testV2000.mdb");
    return 0;
}
