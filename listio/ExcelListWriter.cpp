#include "listio/ExcelListWriter.h"

#include "core/Convert.h"
#include "listio/ExcelHeadingRow.h"
#include "listio/ListComponents.h"
#include "listio/ListErrorText.h"
#include "listio/ListPaths.h"
#include "xls/Workbook.h"

namespace quillan {

namespace {

// Without the blanks and control characters around it.
std::string trimmed(const std::string& text) {
    auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0, end = text.size();
    while (first < end && isSpace(text[first]))
        ++first;
    while (end > first && isSpace(text[end - 1]))
        --end;
    return text.substr(first, end - first);
}

// The sheet the list was read from, while the workbook still holds that file; else why not.
xls::Sheet* sheetOfList(const ReadList& list, std::string& why) {
    if (!list.components) {
        why = "The workbook is no longer in memory; please sort it again.";
        return nullptr;
    }
    xls::Workbook& book = list.components->workbook();
    const int index = list.state.selectedSheetIndex;
    if (book.filename() != list.path || index < 0 ||
        static_cast<size_t>(index) >= book.sheets().count()) {
        why = "The workbook is no longer in memory; please sort it again.";
        return nullptr;
    }
    if (!listUnchangedSinceRead(list)) {
        why = ListChangedReason;
        return nullptr;
    }
    if (list.state.sortColumn < 0) {
        why = "No field was chosen for the sorting sequence number.";
        return nullptr;
    }
    return &book.sheets().item(static_cast<size_t>(index));
}

class SheetPatcher {
public:
    // The heading row, which the reader skipped, keeps its texts: record 1 is the row under
    // it.
    SheetPatcher(const ListState& state, xls::Sheet& sheet) : s_(state), sheet_(sheet) {
        if (hasHeadingRow(sheet, s_)) {
            firstRow_ = 1;
            prefix_ = trimmed(sheet.getAsString(s_.sortColumn, 0));
        }
    }

    void patch(int32_t record, const RecordSortValues& values) {
        const int row = record - 1 + firstRow_;
        sheet_.setAsString(s_.sortColumn, row, prefix_ + values.sort);
        put(s_.endorsementColumn, row, values.endorsement);
        put(s_.trayColumn, row, values.tray);
        put(s_.packageColumn, row, values.package);
    }

private:
    void put(int column, int row, const std::string& text) {
        if (column >= 0)
            sheet_.setAsString(column, row, text);
    }

    const ListState& s_;
    xls::Sheet& sheet_;
    int firstRow_ = 0;
    std::string prefix_;
};

} // namespace

std::optional<ClosingMessage> WriteExcelList(const SortInformationJob& job, Notices& notices,
                                             WriterProgress& progress) {
    progress.begin("Sorting Information");
    const std::string& path = job.list.path;
    std::string why;
    xls::Sheet* sheet = sheetOfList(job.list, why);
    if (!sheet) {
        reportNotSaved(notices, path, why);
        return std::nullopt;
    }
    // The workbook goes out through the list's own writer, as every other kind of list does:
    // a file the user may not change is refused with the advice to write a separate file, and
    // a write over the file that fails part way says where the complete workbook is.
    platform::AtomicFileWriter target(path, platform::AtomicFileWriter::Links::Follow,
                                      job.list.state.listStamp);
    if (!target.ok()) {
        reportListNotWritten(notices, path, target);
        return std::nullopt;
    }
    std::string bytes;
    try {
        SheetPatcher patcher(job.list.state, *sheet);
        SortNumbers numbers(job.mailing);
        const int32_t count = job.mailing.recordCount();
        for (int32_t r = 1; r <= count; ++r) {
            progress.before(r, count);
            patcher.patch(r, numbers.valuesOf(r - 1));
        }
        job.list.components->workbook().writeToStream(bytes);
    } catch (const OwnFileFault&) {
        throw; // a label list of Quillan's own, not the list
    } catch (const std::exception& e) {
        reportNotSaved(notices, path,
                       "Your list has not been changed. (" + describeListFailure(e).text + ")");
        return std::nullopt;
    }
    if (progress.stopBeforeWriting() || !replaceListWith(notices, path, target, bytes))
        return std::nullopt;
    return ClosingMessage{"Quillan has saved sorting information in the file named \"" +
                              fileNameOf(path) +
                              "\". Using Excel, you should now sort the file in ascending order "
                              "based on the sort order field.",
                          " Before you do, would you like to add barcodes to this file?", path};
}

} // namespace quillan
