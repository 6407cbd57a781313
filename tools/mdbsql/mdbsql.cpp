// mdbsql FILE "STATEMENT" [--password=PASSWORD]
//
// Runs one statement on the database through the object model. A SELECT (or the name of a
// table or stored select query) prints its records as mdbdump prints a table; INSERT,
// UPDATE and DELETE (or a stored query of those kinds) print "N rows affected" and write
// the file. The statement is taken as UTF-8, as a terminal types it (one that is not UTF-8 is
// taken as Windows-1252), and records print in UTF-8, as mdbdump prints them. A Jet4 file
// keeps every character; a Jet3 file, whose text is Windows-1252, refuses one it lacks. Exit
// status 1, with the error number and text on standard error, when the statement cannot be
// run.

#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/ExportText.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/values/Utf8.h"
#include "mdbengine/values/Windows1252.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace mdbengine;

namespace {

std::string asUtf8(const std::string& typed) {
    return isUtf8(typed) ? typed : windows1252ToUtf8(typed);
}

int report(const DBEngine& engine, Status status) {
    Error error;
    engine.errors()->item(0, error);
    std::fprintf(stderr, "mdbsql: %u %s\n", errorNumber(status), error.description.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    std::string password;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.rfind("--password=", 0) == 0)
            password = asUtf8(argument.substr(11));
        else
            arguments.push_back(argument);
    }
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: mdbsql FILE \"STATEMENT\" [--password=PASSWORD]\n");
        return 2;
    }

    std::string statement = asUtf8(arguments[1]);
    DBEngine engine;
    std::shared_ptr<Database> database;
    if (Status status = engine.openDatabase(arguments[0], false, false,
                                            password.empty() ? "" : ";pwd=" + password, database);
        failed(status))
        return report(engine, status);
    std::shared_ptr<Recordset> records;
    Status status = database->openRecordset(statement, Recordset::readOnly, records);
    if (errorNumber(status) == static_cast<std::uint16_t>(ErrorNumber::InvalidOperation)) {
        if (Status executed = database->execute(statement); failed(executed))
            return report(engine, executed);
        if (Status closed = database->close(); failed(closed))
            return report(engine, closed);
        std::printf("%d rows affected\n", database->recordsAffected());
        return 0;
    }
    if (failed(status))
        return report(engine, status);
    Status exported = exportRecords(*records, [](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    });
    return failed(exported) ? report(engine, exported) : 0;
}
