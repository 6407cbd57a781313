// mdbdump FILE [TABLE] [--password=PASSWORD]
//
// Without a table: the file's tables, one a line (system and linked tables left out).
// With one: the table as comma-separated values with a header line, as mdbtools'
// mdb-export writes it with an explicit date format ("%Y-%m-%d %H:%M:%S") and binary data
// stripped, in UTF-8. Reads through the object model, so what it prints is what the
// program reads. Exit status 1, with the error number and text on standard error, when the
// database or table cannot be read.

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/ExportText.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/dao/TableDef.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace mdbengine;

namespace {

int report(const DBEngine& engine, Status status) {
    Error error;
    engine.errors()->item(0, error);
    std::fprintf(stderr, "mdbdump: %u %s\n", errorNumber(status), error.description.c_str());
    return 1;
}

bool toStandardOutput(std::string_view piece) {
    return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
}

Status listTables(const Database& database) {
    std::shared_ptr<Collection<TableDef>> tables;
    if (Status status = database.tableDefs(tables); failed(status))
        return status;
    for (std::size_t i = 0; i < tables->count(); ++i) {
        std::shared_ptr<TableDef> table;
        tables->item(i, table);
        if (!table->isSystem() && !table->isLinked())
            toStandardOutput(table->name() + "\n");
    }
    return statusOk;
}

Status dumpTable(const Database& database, const std::string& table) {
    std::shared_ptr<Recordset> recordset;
    if (Status status = database.openRecordset(table, Recordset::readOnly, recordset);
        failed(status))
        return status;
    return exportRecords(*recordset, toStandardOutput);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    std::string password;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.rfind("--password=", 0) == 0)
            password = argument.substr(11);
        else
            arguments.push_back(argument);
    }
    if (arguments.empty() || arguments.size() > 2) {
        std::fprintf(stderr, "usage: mdbdump FILE [TABLE] [--password=PASSWORD]\n");
        return 2;
    }

    DBEngine engine;
    std::shared_ptr<Database> database;
    if (Status status = engine.openDatabase(arguments[0], false, true,
                                            password.empty() ? "" : ";pwd=" + password, database);
        failed(status))
        return report(engine, status);
    Status status =
        arguments.size() == 1 ? listTables(*database) : dumpTable(*database, arguments[1]);
    if (failed(status))
        return report(engine, status);
    return 0;
}
