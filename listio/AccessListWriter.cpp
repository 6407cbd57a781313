#include "listio/AccessListWriter.h"

#include "accessdb/access/EngineText.h"
#include "accessdb/access/TtaTable.h"
#include "listio/AccessTableHome.h"
#include "listio/ClearedField.h"
#include "listio/ComponentListOpener.h"
#include "listio/FieldChecks.h"
#include "listio/ListComponents.h"
#include "listio/ListErrorText.h"
#include "listio/ListFileError.h"
#include "listio/StandInValues.h"
#include "platform/fs/AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace quillan {

namespace fs = std::filesystem;

namespace {

// A copy of the database beside it, for the changes to go into; it goes with this object
// whatever becomes of it.
class WorkCopy {
public:
    explicit WorkCopy(const std::string& path)
        : copy_(platform::copyBeside(path, AccessWorkCopyPattern)) {}
    ~WorkCopy() {
        if (copy_.path.empty())
            return;
        platform::ownFileStep();
        ::unlink(copy_.path.c_str());
    }
    WorkCopy(const WorkCopy&) = delete;
    WorkCopy& operator=(const WorkCopy&) = delete;

    bool ok() const { return copy_.error.empty(); }
    std::string error() const { return "Quillan " + copy_.error + "."; }
    const std::string& path() const { return copy_.path; }

private:
    platform::CopyBeside copy_;
};

bool lockFilePresent(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::path(path).replace_extension(".ldb"), ec) ||
           fs::exists(fs::path(path).replace_extension(".LDB"), ec);
}

// Why the database cannot be written as it was read, or empty.
std::string problemOf(const ReadList& list, const TableHome& home) {
    const ListState& s = list.state;
    const int fields = static_cast<int>(s.accessFields.size());
    if (s.accessTableName.empty() || s.sortColumn < 0 || s.sortColumn >= fields)
        return "No field was chosen for the sorting sequence number.";
    for (int column : {s.trayColumn, s.packageColumn, s.endorsementColumn})
        if (column >= fields)
            return "A field chosen for the sorting information is not in the table.";
    if (!list.components)
        return "The database is no longer open; please sort it again.";
    if (!listUnchangedSinceRead(list))
        return ListChangedReason;
    if (lockFilePresent(list.path) || lockFilePresent(home.path))
        return "The database is open in Access. Please close it there and sort it again.";
    return {};
}

// Walks the open table's records in the order they were read, `visit` given each record's
// index; the picture counts down over `walks` such walks, this being walk `walk` (from 0).
void walkRecords(accessdb::TtaTable& table, int32_t count, WriterProgress& progress, int walk,
                 int walks, const std::function<void(int32_t)>& visit) {
    table.first();
    for (int32_t r = 0; r < count; ++r) {
        progress.before(int64_t(walk) * count + r + 1, int64_t(walks) * count);
        if (table.eof())
            throw ListFileError("The table holds fewer records than when Quillan read it.");
        visit(r);
        // Moving on stores the record.
        table.next();
    }
}

// What the record's field at `column` receives.
const std::string& valueFor(const ListState& s, int column, const RecordSortValues& values) {
    if (column == s.packageColumn)
        return values.package;
    if (column == s.trayColumn)
        return values.tray;
    if (column == s.endorsementColumn)
        return values.endorsement;
    return values.sort;
}

// A field to clear, with the stand-ins of a field that takes no Null, one for each record
// that holds a value in it, in the order the records are met.
struct Clearing {
    ClearedField field;
    std::vector<std::string> standIns;
};

// The stand-ins avoid every value the fields hold now (read in a first walk) and every value
// they will hold. A field whose values leave too little room is not cleared: its values go
// in record by record, which the index refuses only when they meet.
std::vector<Clearing> clearingsOf(const std::vector<ClearedField>& fields,
                                  accessdb::TtaTable& table, const SortInformationJob& job,
                                  WriterProgress& progress, int walks) {
    std::vector<Clearing> clearings;
    std::vector<StandInValues> values;
    for (const ClearedField& field : fields)
        if (!field.takesNull)
            values.emplace_back(field);
    if (values.empty()) {
        for (const ClearedField& field : fields)
            clearings.push_back({field, {}});
        return clearings;
    }
    const int32_t count = job.mailing.recordCount();
    std::vector<std::size_t> held(fields.size(), 0);
    walkRecords(table, count, progress, 0, walks, [&](int32_t) {
        for (std::size_t i = 0, v = 0; i < fields.size(); ++i) {
            if (fields[i].takesNull)
                continue;
            const accessdb::TField& field = table.fields(fields[i].column);
            if (!field.isNull()) {
                values[v].taken(field.asString());
                ++held[i];
            }
            ++v;
        }
    });
    SortNumbers finals(job.mailing);
    for (int32_t r = 0; r < count; ++r) {
        RecordSortValues will = finals.valuesOf(r);
        for (std::size_t i = 0, v = 0; i < fields.size(); ++i)
            if (!fields[i].takesNull)
                values[v++].taken(valueFor(job.list.state, fields[i].column, will));
    }
    for (std::size_t i = 0, v = 0; i < fields.size(); ++i) {
        if (fields[i].takesNull) {
            clearings.push_back({fields[i], {}});
            continue;
        }
        if (auto standIns = values[v++].make(held[i]))
            clearings.push_back({fields[i], std::move(*standIns)});
    }
    return clearings;
}

// Every record's uniquely indexed output fields cleared: Null, or the next stand-in.
void clearFields(accessdb::TtaTable& table, std::vector<Clearing>& clearings, int32_t count,
                 WriterProgress& progress, int walk, int walks) {
    std::vector<std::size_t> used(clearings.size(), 0);
    walkRecords(table, count, progress, walk, walks, [&](int32_t) {
        table.edit();
        for (std::size_t i = 0; i < clearings.size(); ++i) {
            accessdb::TField& field = table.fields(clearings[i].field.column);
            if (field.isNull())
                continue;
            if (clearings[i].field.takesNull)
                field.clear();
            else
                field.setAsString(clearings[i].standIns.at(used[i]++));
        }
    });
}

// Pass 2 in the copy: every record, in the order read, gets its values; first the fields a
// unique index covers are cleared. Closing the table writes the copy; it raises when that
// fails.
void fillTable(const SortInformationJob& job, SortNumbers& numbers, const std::string& copy,
               const std::string& tableName, WriterProgress& progress) {
    const ListState& s = job.list.state;
    const std::vector<ClearedField> cleared = clearedFieldsOf(copy, tableName, s);
    accessdb::TtaTable& table = job.list.components->table();
    table.setActive(false);
    table.setDatabaseName(copy);
    table.setTableName(tableName);
    table.setActive(true);
    const int32_t count = job.mailing.recordCount();
    const bool readsFirst = std::any_of(cleared.begin(), cleared.end(),
                                        [](const ClearedField& f) { return !f.takesNull; });
    const int walks = 1 + (cleared.empty() ? 0 : 1) + (readsFirst ? 1 : 0);
    int walk = 0;
    if (!cleared.empty()) {
        std::vector<Clearing> clearings = clearingsOf(cleared, table, job, progress, walks);
        walk = readsFirst ? 1 : 0;
        clearFields(table, clearings, count, progress, walk++, walks);
    }
    auto put = [&table](int column, const std::string& text) {
        if (column >= 0)
            table.fields(column).setAsString(text);
    };
    walkRecords(table, count, progress, walk, walks, [&](int32_t r) {
        RecordSortValues values = numbers.valuesOf(r);
        table.edit();
        put(s.sortColumn, values.sort);
        put(s.endorsementColumn, values.endorsement);
        put(s.trayColumn, values.tray);
        put(s.packageColumn, values.package);
    });
    table.setActive(false);
}

// The engine names the file it worked on, which is the copy; the person knows the list.
std::string namingTheList(std::string text, const std::string& copy, const std::string& list) {
    for (size_t at = text.find(copy); at != std::string::npos;
         at = text.find(copy, at + list.size()))
        text.replace(at, copy.size(), list);
    return text;
}

void reportChangesLost(Notices& notices, const std::string& path, const std::string& why) {
    reportNotSaved(notices, path, "Your list has not been changed. " + why);
}

} // namespace

// A linked table's records are written into a copy of the file at the end of its links,
// which replaces that file; the list itself, and every file between, holds only links and
// stays as it is.
std::optional<ClosingMessage> WriteAccessList(const SortInformationJob& job, Notices& notices,
                                              WriterProgress& progress) {
    progress.begin("Sorting Information");
    const std::string& list = job.list.path;
    const ListState& state = job.list.state;
    const TableHome home = homeOf(list, state.accessTableName);
    const std::string& path = home.path;
    if (std::string problem = problemOf(job.list, home); !problem.empty()) {
        reportNotSaved(notices, path, problem);
        return std::nullopt;
    }
    SortNumbers numbers(job.mailing);
    if (auto tooLarge = accessNumbersProblem(state, numbers.largest())) {
        reportNotSaved(notices, path, *tooLarge);
        return std::nullopt;
    }
    // A linked table's file was not the one read: it is held to what it is now.
    platform::AtomicFileWriter target(path, platform::AtomicFileWriter::Links::Follow,
                                      path == list ? std::optional<FileStamp>(state.listStamp)
                                                   : std::nullopt);
    if (!target.ok()) {
        reportListNotWritten(notices, path, target);
        return std::nullopt;
    }
    WorkCopy copy(path);
    if (!copy.ok()) {
        reportChangesLost(notices, path, copy.error());
        return std::nullopt;
    }
    try {
        fillTable(job, numbers, copy.path(), home.table, progress);
    } catch (const OwnFileFault&) {
        job.list.components->closeTableQuietly();
        throw; // a label list of Quillan's own, not the list
    } catch (const std::exception& e) {
        job.list.components->closeTableQuietly();
        reportChangesLost(notices, path,
                          namingTheList(describeListFailure(e).text, copy.path(), path));
        return std::nullopt;
    }
    std::optional<std::string> written = platform::readFileBytes(copy.path());
    if (!written) {
        reportChangesLost(notices, path, "The changed copy of the database cannot be read.");
        return std::nullopt;
    }
    if (progress.stopBeforeWriting() || !replaceListWith(notices, path, target, *written))
        return std::nullopt;
    const std::string& sortField = state.accessFields[static_cast<size_t>(state.sortColumn)].name;
    // The barcoding program is offered the list, which holds the table or its link.
    return ClosingMessage{
        "Quillan has saved sorting information in the table named \"" + state.accessTableName +
            "\". Using your mailing list software, you should now sort the "
            "table in ascending order based on the field named \"" +
            sortField + "\".",
        " Before you do, would you like to add barcodes to this file?", path, list};
}

} // namespace quillan
