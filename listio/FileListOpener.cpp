#include "listio/FileListOpener.h"

#include "listio/AsciiFormat.h"
#include "listio/DbfHeader.h"
#include "listio/DbfListSource.h"
#include "listio/ListNotices.h"
#include "listio/ListPaths.h"
#include "listio/PaveListSource.h"
#include "listio/SortWriterSupport.h"
#include "listio/TextLineReader.h"
#include "listio/TextListSource.h"
#include "listio/TextRecordReader.h"

namespace quillan {

using namespace platform;

namespace {

std::string records(long long n) {
    return std::to_string(n) + (n == 1 ? " record" : " records");
}

// A table that ends before the records its header counts is never read short without a
// word: the person is asked whether to sort the records present, and an unattended sort,
// where nobody can answer, refuses.
bool acceptRecordCount(ListOpening& opening, const std::string& path, const DbfHeader& h) {
    Notices& notices = opening.notices();
    if (h.statedRecords == 0) {
        ShowNoRecords(notices, path, "The header of the table counts no records.");
        return false;
    }
    if (h.records >= static_cast<long long>(h.statedRecords))
        return true;
    const std::string says = "The header of " + fileNameOf(path) + " says it holds " +
                             records(h.statedRecords) + ", but the file ends after " +
                             records(h.records) +
                             ": it may have been cut short when it was copied.";
    if (h.records == 0 || opening.request.reader == ListReader::Unattended) {
        refuseList(notices, says + " Quillan has not sorted it.");
        return false;
    }
    return notices.tell({BeepKind::Hand, MessageKind::Warning, MessageButtons::YesNo,
                         says + " Do you want to sort the " + records(h.records) + " it holds?"}) ==
           ModalResult::Yes;
}

// Hands each line of the file to `take`; false after the person was told of a line too
// long to read.
template <typename Take>
bool eachLine(Notices& notices, const std::string& path, TextLineReader& reader, Take take) {
    std::string line;
    for (;;) {
        auto status = reader.next(line);
        if (status == TextLineReader::Status::End)
            return true;
        if (status == TextLineReader::Status::TooLong) {
            refuseUnreadableList(notices, path, LineTooLongReason(reader.linesRead() + 1));
            return false;
        }
        take(line);
    }
}

} // namespace

OpenedList OpenTextList(ListOpening& opening, const std::string& path) {
    OpenedList list;
    const ListFormat& format = opening.format();
    list.fields = CountAsciiFields(opening.notices(), format, path);
    if (list.fields <= 0)
        return {};
    TextRecordReader reader(path, format, list.fields);
    if (format.headerLine)
        reader.skip(1);
    std::vector<std::string>& trailing = opening.state().trailingBlankLines;
    trailing.clear();
    long n = 0;
    std::string record;
    TextRecordReader::Status status;
    while ((status = reader.next(record)) == TextRecordReader::Status::Record) {
        // Blank lines count as records only once a record follows them.
        if (record.find_first_not_of(" \t") == std::string::npos) {
            trailing.push_back(record);
            continue;
        }
        n += static_cast<long>(trailing.size()) + 1;
        trailing.clear();
    }
    if (status == TextRecordReader::Status::TooLong ||
        status == TextRecordReader::Status::BrokenQuote) {
        refuseUnreadableList(opening.notices(), path, reader.problem());
        return {};
    }
    list.records = n;
    list.source = std::make_unique<TextListSource>(format, path, list.fields);
    return list;
}

OpenedList OpenDbaseList(ListOpening& opening, const std::string& path) {
    if (isDbaseMemoFile(path)) {
        refuseList(opening.notices(),
                   fileNameOf(path) +
                       " is a dBase memo file, which holds only the long texts of a table. "
                       "Please choose the table itself (the .DBF file).");
        return {};
    }
    ListState& state = opening.state();
    // Taken before anything is read, so that a table changed or replaced from now on is
    // never written back with what was read of the one before.
    state.listStamp = listStampOf(path);
    DbfHeaderCheck check = readDbfHeader(path);
    if (!check.header) {
        refuseList(opening.notices(),
                   check.recordsTooLong
                       ? check.problem
                       : "Quillan cannot read " + fileNameOf(path) + ". " + check.problem);
        return {};
    }
    if (!acceptRecordCount(opening, path, *check.header))
        return {};
    const DbfHeader& h = *check.header;
    for (const auto& field : h.fields) {
        state.dbfFieldWidths.push_back(field.width);
        state.dbfFieldTypes.push_back(field.type);
    }
    state.dbf = {h.headerLength, h.recordLength, h.statedRecords, h.records, h.fileSize};
    OpenedList list;
    list.records = h.records;
    list.fields = static_cast<int>(h.fields.size());
    list.source = std::make_unique<DbfListSource>(path, std::move(*check.header));
    return list;
}

OpenedList OpenPaveList(ListOpening& opening, const std::string& path) {
    TextLineReader reader(path);
    long n = -1; // the first line describes the file
    if (!eachLine(opening.notices(), path, reader, [&n](const std::string&) { ++n; }))
        return {};
    OpenedList list;
    list.records = std::max(0L, n);
    if (list.records == 0) {
        ShowNoRecords(opening.notices(), path,
                      "The file holds only its first line, the PAVE header.");
        return {};
    }
    list.source = std::make_unique<PaveListSource>(path);
    return list;
}

} // namespace quillan
