#include "listio/ListOpener.h"

#include "listio/AsciiFormat.h"
#include "listio/ComponentListOpener.h"
#include "listio/DbfHeader.h"
#include "listio/DbfListSource.h"
#include "listio/FieldIdentification.h"
#include "listio/ListErrorText.h"
#include "listio/ListKinds.h"
#include "listio/ListSource.h"
#include "listio/PaveReader.h"
#include "listio/RecordReader.h"
#include "listio/SortWriterSupport.h"
#include "listio/TextLineReader.h"
#include "listio/TextListSource.h"
#include "platform/fs/RegularFile.h"

namespace quillan {

using namespace platform;

std::vector<FileFilter> mailingListFilters() {
    return {{"All Files", {"*.*"}},
            {"Access", {"*.MDB"}},
            {"Excel", {"*.XLS"}},
            {"Ascii Comma-delimited", {"*.TXT"}},
            {"Ascii Tab-delimited", {"*.TXT"}},
            {"Ascii Merge", {"*.TXT"}},
            {"dBase", {"*.DBF"}}};
}

void ResetListCounters(AppContext& ctx) {
    ctx.counters.recordCount = 0;
    ctx.counters.rejectedCount = 0;
    ctx.counters.missingZip4Count = 0;
    ctx.counters.inCountyCount = 0;
    ctx.progress().clearPicture();
    ctx.progress().clearCaptions();
}

namespace {

// The list being opened: what is known of it so far.
struct OpenList {
    std::string path;
    long records = 0;
    int fields = 0;
    std::unique_ptr<ListSource> source;
};

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string chooseFile(AppContext& ctx, const std::string& mode) {
    if (ctx.parameterCount() > 0)
        return ctx.parameter(1);
    Preferences& prefs = ctx.lists.prefsList;
    FileDialogOptions options;
    options.title = mode == "sort" ? "Find the mailing list you wish to sort"
                                   : "Find the mailing list you wish to verify";
    if (!prefs.lastList().empty())
        options.initialFolder = folderOf(prefs.lastList());
    options.fileName = "*.*";
    options.filters = mailingListFilters();
    std::string path = ctx.platform.ui.openFileDialog(options).value_or("");
    if (path == "*.*")
        return {};
    if (!path.empty() && path != prefs.lastList()) {
        prefs.setLastList(path);
        ctx.saveList(prefs, Preferences::FileName);
    }
    return path;
}

// `inUse` keeps the hint that another program may hold the file, which fits a failure to
// open or read it but not a path that is no file at all.
void cannotRead(AppContext& ctx, const std::string& path, const std::string& why,
                bool inUse = true) {
    ctx.platform.ui.setBusyCursor(false);
    ctx.message(BeepKind::Exclamation, MessageKind::Error, MessageButtons::Cancel,
                "Quillan could not read " + fileNameOf(path) + ". " +
                    (inUse ? "The file may be in use by another application. " : "") + why);
}

// A failure while the list is read: where the library that read it says what is wrong, it
// is told in its words; otherwise the file may be held by another program.
void cannotRead(AppContext& ctx, const std::string& path, const std::exception& error) {
    ListFailure failure = describeListFailure(error);
    cannotRead(ctx, path, failure.text, !failure.explained);
}

// A list must be a plain file with something in it: anything else is refused before it is
// opened (a named pipe would never end, a device never stop).
bool readableFile(AppContext& ctx, const std::string& path) {
    platform::FileStatus status = platform::statusOf(path);
    if (status.exists && !status.regular) {
        cannotRead(ctx, path, status.notRegularReason, false);
        return false;
    }
    if (status.regular && status.size == 0) {
        ctx.platform.ui.setBusyCursor(false);
        ShowNoRecords(ctx, path, "The file is empty.");
        return false;
    }
    return true;
}

void refuse(AppContext& ctx, const std::string& text) {
    ctx.platform.ui.setBusyCursor(false);
    ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Cancel, text);
}

void countText(AppContext& ctx, OpenList& list) {
    list.fields = CountAsciiFields(ctx, list.path);
    if (list.fields <= 0)
        return;
    TextLineReader reader(list.path);
    if (isHeaderKind(ctx.listFileKind))
        reader.skip(1);
    std::vector<std::string>& trailing = ctx.list.trailingBlankLines;
    trailing.clear();
    std::string line;
    long n = 0;
    for (;;) {
        auto status = reader.next(line);
        if (status == TextLineReader::Status::End)
            break;
        if (status == TextLineReader::Status::TooLong) {
            showUnknownFormat(ctx, LineTooLongReason(reader.linesRead() + 1));
            ctx.listFileKind.clear();
            return;
        }
        // Blank lines count as records only once a record follows them.
        if (line.find_first_not_of(" \t") == std::string::npos) {
            trailing.push_back(line);
            continue;
        }
        n += static_cast<long>(trailing.size()) + 1;
        trailing.clear();
    }
    list.records = n;
    list.source = std::make_unique<TextListSource>(ctx.listFileKind, list.path, list.fields);
}

std::string records(long long n) {
    return std::to_string(n) + (n == 1 ? " record" : " records");
}

// A table that ends before the records its header counts is never read short without a
// word: the user is asked whether to sort the records present, and an unattended sort,
// where nobody can answer, refuses.
bool acceptRecordCount(AppContext& ctx, const std::string& path, const DbfHeader& h) {
    if (h.statedRecords == 0) {
        ctx.platform.ui.setBusyCursor(false);
        ShowNoRecords(ctx, path, "The header of the table counts no records.");
        return false;
    }
    if (h.records >= static_cast<long long>(h.statedRecords))
        return true;
    const std::string says = "The header of " + fileNameOf(path) + " says it holds " +
                             records(h.statedRecords) + ", but the file ends after " +
                             records(h.records) +
                             ": it may have been cut short when it was copied.";
    if (h.records == 0 || ctx.runMode() == "NOSTOP") {
        refuse(ctx, says + " Quillan has not sorted it.");
        return false;
    }
    ctx.platform.ui.setBusyCursor(false);
    ModalResult answer =
        ctx.message(BeepKind::Hand, MessageKind::Warning, MessageButtons::YesNo,
                    says + " Do you want to sort the " + records(h.records) + " it holds?");
    ctx.platform.ui.setBusyCursor(true);
    return answer == ModalResult::Yes;
}

void countDbase(AppContext& ctx, OpenList& list) {
    if (isDbaseMemoFile(list.path)) {
        refuse(ctx, fileNameOf(list.path) +
                        " is a dBase memo file, which holds only the long texts of a table. "
                        "Please choose the table itself (the .DBF file).");
        ctx.listFileKind.clear();
        return;
    }
    // Taken before anything is read, so that a table changed or replaced from now on is
    // never written back with what was read of the one before.
    ctx.list.listStamp = listStampOf(list.path);
    DbfHeaderCheck check = readDbfHeader(list.path);
    if (!check.header) {
        refuse(ctx, check.recordsTooLong
                        ? check.problem
                        : "Quillan cannot read " + fileNameOf(list.path) + ". " + check.problem);
        ctx.listFileKind.clear();
        return;
    }
    if (!acceptRecordCount(ctx, list.path, *check.header)) {
        ctx.listFileKind.clear();
        return;
    }
    ctx.list.dbfFieldWidths.clear();
    ctx.list.dbfFieldTypes.clear();
    for (const auto& field : check.header->fields) {
        ctx.list.dbfFieldWidths.push_back(field.width);
        ctx.list.dbfFieldTypes.push_back(field.type);
    }
    const DbfHeader& h = *check.header;
    ctx.list.dbf = {h.headerLength, h.recordLength, h.statedRecords, h.records, h.fileSize};
    list.records = check.header->records;
    list.fields = static_cast<int>(check.header->fields.size());
    list.source = std::make_unique<DbfListSource>(list.path, std::move(*check.header));
}

void countPave(AppContext& ctx, OpenList& list) {
    ctx.listFileName = list.path;
    TextLineReader reader(list.path);
    std::string line;
    long n = -1;
    for (;;) {
        auto status = reader.next(line);
        if (status == TextLineReader::Status::End)
            break;
        if (status == TextLineReader::Status::TooLong) {
            showUnknownFormat(ctx, LineTooLongReason(reader.linesRead() + 1));
            return;
        }
        ++n;
    }
    list.records = std::max(0L, n);
    if (list.records == 0) {
        ctx.platform.ui.setBusyCursor(false);
        ShowNoRecords(ctx, list.path, "The file holds only its first line, the PAVE header.");
    }
}

void countComponentList(ComponentList opened, OpenList& list) {
    list.records = opened.records;
    list.fields = opened.fields;
    list.source = std::move(opened.source);
}

void countRecords(AppContext& ctx, TableChooser& tables, OpenList& list) {
    const std::string& kind = ctx.listFileKind;
    if (isTextKind(kind))
        countText(ctx, list);
    else if (kind == KindDbase)
        countDbase(ctx, list);
    else if (kind == KindPave)
        countPave(ctx, list);
    else if (kind == KindAccess)
        countComponentList(OpenAccessList(ctx, tables, list.path), list);
    else if (kind == KindExcel)
        countComponentList(OpenExcelList(ctx, tables, list.path), list);
}

bool overLimit(AppContext& ctx, long n) {
    if (static_cast<long long>(ctx.counters.recordCount) + n <= MaxMailingRecords)
        return false;
    ctx.platform.ui.setBusyCursor(false);
    ctx.message(BeepKind::Asterisk, MessageKind::Information, MessageButtons::Cancel,
                "You have tried to load more than 100,000 zip codes, exceeding the limit of the "
                "program.");
    return true;
}

// What the per-record tables and the record count were before a list was read, to go
// back to when reading it fails part way.
class ReadingStart {
public:
    explicit ReadingStart(const AppContext& ctx)
        : records_(ctx.counters.recordCount), zips_(ctx.tables.pieceZips.size()),
          lines_(ctx.tables.pieceRecords.size()), cities_(ctx.tables.pieceCities.size()),
          inCounty_(ctx.tables.pieceInCounty.size()) {}
    void restore(AppContext& ctx) const {
        ctx.counters.recordCount = records_;
        ctx.tables.pieceZips.resize(std::min(zips_, ctx.tables.pieceZips.size()));
        ctx.tables.pieceRecords.resize(std::min(lines_, ctx.tables.pieceRecords.size()));
        ctx.tables.pieceCities.resize(std::min(cities_, ctx.tables.pieceCities.size()));
        ctx.tables.pieceInCounty.resize(std::min(inCounty_, ctx.tables.pieceInCounty.size()));
    }

private:
    int32_t records_;
    size_t zips_, lines_, cities_, inCounty_;
};

long readRecords(AppContext& ctx, FieldChooser& chooser, OpenList& list) {
    long n = list.records;
    if (ctx.listFileKind == KindPave)
        return overLimit(ctx, n) ? 0 : ReadPaveRecords(ctx, list.path, n);
    n = IdentifyFields(ctx, chooser, *list.source, list.path, n, list.fields);
    if (n <= 0)
        return 0;
    // A heading row is no record: it neither counts towards the limit nor is read.
    n -= list.source->readFor(ctx.list.roles());
    if (n <= 0) {
        ctx.platform.ui.setBusyCursor(false);
        ShowNoRecords(ctx, list.path, "The sheet holds only the names of its fields.");
        return 0;
    }
    if (overLimit(ctx, n))
        return 0;
    ReadingStart start(ctx);
    try {
        ctx.counters.recordCount += static_cast<int32_t>(n);
        ReadListRecords(ctx, *list.source, list.path, n, list.fields);
    } catch (const OwnFileFault&) {
        start.restore(ctx);
        throw; // one of Quillan's own tables, not the list
    } catch (const std::exception& e) {
        // A file damaged past the records counted, or taken away while it is read: nothing
        // of it is kept.
        start.restore(ctx);
        cannotRead(ctx, list.path, e);
        return 0;
    }
    return n;
}

} // namespace

std::string OpenMailingList(AppContext& ctx, FieldChooser& chooser, TableChooser& tables,
                            const std::string& mode) {
    OpenList list;
    list.path = chooseFile(ctx, mode);
    if (list.path.empty())
        return {};
    ctx.platform.ui.setBusyCursor(true);
    ctx.listFileKind.clear();
    if (!readableFile(ctx, list.path))
        return {};
    if (std::string newer = newerWorkbookRefusal(list.path); !newer.empty()) {
        refuse(ctx, newer);
        return {};
    }
    try {
        ctx.listFileKind = kindFromExtension(list.path);
        if (ctx.listFileKind.empty())
            ctx.listFileKind = DetectAsciiFormat(ctx, list.path);
        countRecords(ctx, tables, list);
    } catch (const OwnFileFault&) {
        throw; // one of Quillan's own tables, not the list
    } catch (const std::exception& e) {
        cannotRead(ctx, list.path, e);
        list.records = 0;
    }
    long n = list.records > 0 ? readRecords(ctx, chooser, list) : 0;
    // An Access table is read once: closing it lets the database go.
    list.source.reset();
    ctx.platform.ui.setBusyCursor(false);
    return n > 0 ? list.path : std::string();
}

} // namespace quillan
