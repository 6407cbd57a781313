// mdbfill LIST OUT.mdb [--jet3] [--empty]
//
// Volume data for benchmarks and tests: copies a small Access table (nine Text (50)
// columns, no index; Jet4, or Jet3 with --jet3) to OUT.mdb and appends every record of a
// tab-separated mailing list (with --empty after taking out the table's own seven rows, so
// that the table holds the list and nothing else), as tools/make_mailing_lists.py --kind tab writes
// it: name, address, city, state, ZIP and county go into the first six columns, the last three stay
// empty for the sort results; blank values are stored as Null. Text is taken as UTF-8 (a
// value that is not UTF-8 as Windows-1252); a Jet3 copy refuses a character its code page
// lacks. Exit status 1, with the error number and text, when a record cannot be added.

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/values/Utf8.h"
#include "mdbengine/values/Windows1252.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace mdbengine;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t listColumns = 6;

// A value of the list as the engine takes it: UTF-8, bytes that are not UTF-8 read as
// Windows-1252.
std::string asUtf8(const std::string& value) {
    return isUtf8(value) ? value : windows1252ToUtf8(value);
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t tab = line.find('\t', start);
        parts.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return parts;
        start = tab + 1;
    }
}

int fail(const DBEngine& engine, Status status, const std::string& where) {
    Error error;
    engine.errors()->item(0, error);
    std::fprintf(stderr, "mdbfill: %s: %u %s\n", where.c_str(), errorNumber(status),
                 error.description.c_str());
    return 1;
}

Status deleteAll(Recordset& table) {
    std::int32_t count = 0;
    while (!failed(table.recordCount(count)) && count > 0) {
        if (Status status = table.moveFirst(); failed(status))
            return status;
        if (Status status = table.deleteRecord(); failed(status))
            return status;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    bool jet3 = std::erase(arguments, std::string("--jet3")) > 0;
    bool empty = std::erase(arguments, std::string("--empty")) > 0;
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: mdbfill LIST OUT.mdb [--jet3] [--empty]\n");
        return 2;
    }
    const std::string& listPath = arguments[0];
    const std::string& out = arguments[1];
    std::ifstream list(listPath, std::ios::binary);
    if (!list) {
        std::fprintf(stderr, "mdbfill: cannot read %s\n", listPath.c_str());
        return 1;
    }
    fs::path source = fs::path(QUILLAN_MDBFILL_TEMPLATES) /
                      (jet3 ? "overflowTestV1997.mdb" : "overflowTestV2000.mdb");
    std::error_code copied;
    fs::copy_file(source, out, fs::copy_options::overwrite_existing, copied);
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                    copied);
    if (copied) {
        std::fprintf(stderr, "mdbfill: cannot write %s\n", out.c_str());
        return 1;
    }

    DBEngine engine;
    std::shared_ptr<Database> database;
    if (Status status = engine.openDatabase(out, true, false, {}, database); failed(status))
        return fail(engine, status, out);
    std::shared_ptr<Recordset> table;
    if (Status status = database->openRecordset("Table1", -1, table); failed(status))
        return fail(engine, status, out);
    if (empty)
        if (Status status = deleteAll(*table); failed(status))
            return fail(engine, status, out);
    std::shared_ptr<Collection<Field>> fieldList;
    table->fields(fieldList);
    std::vector<std::shared_ptr<Field>> fields(listColumns);
    for (std::size_t i = 0; i < listColumns; ++i)
        fieldList->item(i, fields[i]);

    std::string line;
    std::size_t records = 0;
    while (std::getline(list, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> values = splitTabs(line);
        std::string where = listPath + " line " + std::to_string(records + 1);
        if (Status status = table->addNew(); failed(status))
            return fail(engine, status, where);
        // A blank value stays Null, as the program writes blanks.
        for (std::size_t i = 0; i < listColumns && i < values.size(); ++i)
            if (!values[i].empty())
                if (Status status = fields[i]->setValue(Variant::text(asUtf8(values[i])));
                    failed(status))
                    return fail(engine, status, where);
        if (Status status = table->update(); failed(status))
            return fail(engine, status, where);
        ++records;
    }
    table->close();
    if (Status status = database->close(); failed(status))
        return fail(engine, status, out);
    std::printf("%zu records appended to %s\n", records, out.c_str());
    return 0;
}
