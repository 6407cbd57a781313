// The Access table component as the program uses it, on the fill tool's 100,000-record
// table: a walk reading every field as text, against the engine's recordset walk
// reading every value and mdb-export writing the table, all in the same run; then the
// table names and the opening of a table of testV2000.mdb.

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TtaSession.h"
#include "accessdb/access/TtaTable.h"
#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/Recordset.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace accessdb;
namespace fs = std::filesystem;

namespace {

constexpr int records = 100000;

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs a command with its output thrown away; its CPU time in milliseconds.
double childCpuMs(const std::vector<std::string>& command) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    double ms = -1;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage used{};
        wait4(child, &status, 0, &used);
        ms = static_cast<double>(used.ru_utime.tv_sec + used.ru_stime.tv_sec) * 1000.0 +
             static_cast<double>(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1000.0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return ms;
}

// The component walk: every field of every record as text.
double componentWalk(const std::string& file, std::size_t& characters) {
    TtaTable table(nullptr);
    table.setDatabaseName(file);
    table.setTableName("Table1");
    double start = cpuMs();
    table.setActive(true);
    for (table.first(); !table.eof(); table.next())
        for (int i = 0; i < table.fieldCount(); ++i)
            characters += table.fields(i).asString().size();
    table.setActive(false);
    return cpuMs() - start;
}

// The engine's own walk: every field's value.
double recordsetWalk(const std::string& file, std::size_t& characters) {
    using namespace mdbengine;
    double start = cpuMs();
    DBEngine engine;
    std::shared_ptr<Database> database;
    std::shared_ptr<Recordset> table;
    if (failed(engine.openDatabase(file, false, true, {}, database)) ||
        failed(database->openRecordset("Table1", Recordset::readOnly, table)))
        return -1;
    std::shared_ptr<Collection<Field>> list;
    table->fields(list);
    std::vector<std::shared_ptr<Field>> fields(list->count());
    for (std::size_t i = 0; i < fields.size(); ++i)
        list->item(i, fields[i]);
    bool atEnd = false;
    for (table->eof(atEnd); !atEnd; table->moveNext(), table->eof(atEnd)) {
        for (auto& field : fields) {
            mdbengine::Variant value;
            field->value(value);
            characters += value.stringValue().size();
        }
    }
    table->close();
    database->close();
    return cpuMs() - start;
}

// The sort write-back through the component: Edit, four fields set by name, Next.
double sortPass(const std::string& file) {
    TtaTable table(nullptr);
    table.setDatabaseName(file);
    table.setTableName("Table1");
    double start = cpuMs();
    table.setActive(true);
    int number = 0;
    for (table.first(); !table.eof(); table.next()) {
        char sort[16], tray[16], package[16];
        ++number;
        std::snprintf(sort, sizeof sort, "%06d", number);
        std::snprintf(tray, sizeof tray, "T%04d", number / 250);
        std::snprintf(package, sizeof package, "P%05d", number / 12);
        table.edit();
        table.fieldByName("data8").setAsString(sort);
        table.fieldByName("data9").setAsString(tray);
        table.fieldByName("data10").setAsString(package);
        table.fieldByName("data7").setAsString("AUTO**5-DIGIT");
    }
    table.setActive(false);
    return cpuMs() - start;
}

double namesAndOpen(const std::string& file) {
    double start = cpuMs();
    TStringList names;
    AccessSession().getTableNames(file, "", names, false, true);
    TtaTable table(nullptr);
    table.setDatabaseName(file);
    table.setTableName(names[0]);
    table.setActive(true);
    double elapsed = cpuMs() - start;
    table.setActive(false);
    return elapsed;
}

} // namespace

int main() {
    fs::path work = fs::temp_directory_path() / ("quillan-access-" + std::to_string(getpid()));
    fs::create_directories(work);
    std::string list = (work / "list.txt").string();
    std::string table = (work / "list.mdb").string();
    childCpuMs({"/usr/bin/python3",
                std::string(QUILLAN_SOURCE_DIR) + "/tools/make_mailing_lists.py", "--kind", "tab",
                "--records", std::to_string(records), "--seed", "17", "--out", list});
    childCpuMs({QUILLAN_MDBFILL, list, table});

    std::size_t ours = 0, theirs = 0;
    double component = componentWalk(table, ours);
    double recordset = recordsetWalk(table, theirs);
    double exported = childCpuMs({"mdb-export", table, "Table1"});
    std::printf("Access table of %d generated records, every field as text:\n", records);
    std::printf("  taTable1 walk (open, First..Next, AsString) %7.1f ms CPU\n", component);
    std::printf("  DAO recordset walk (every Value)            %7.1f ms CPU (component %.1fx)\n",
                recordset, component / recordset);
    std::printf("  mdb-export of the table                     %7.1f ms CPU (component %.2fx)\n",
                exported, component / exported);

    double pass = sortPass(table);
    std::printf("  sort pass (Edit, 4 fields by name, Next; written at close) %.1f ms CPU\n", pass);

    std::string small = std::string(QUILLAN_MDB_CORPUS) + "/jackcess/testV2000.mdb";
    if (fs::exists(small)) {
        double first = namesAndOpen(small);
        AccessSession().setActive(false);
        double again = namesAndOpen(small);
        std::printf("  GetTableNames + Active on testV2000.mdb     %7.2f ms CPU (%.2f ms with the "
                    "session started)\n",
                    first, again);
    }
    AccessSession().setActive(false);
    fs::remove_all(work);
    return 0;
}
