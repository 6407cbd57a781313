#include "listio/ListFormat.h"

#include "listio/AccessListWriter.h"
#include "listio/ComponentListOpener.h"
#include "listio/DbfListSource.h"
#include "listio/DbfListWriter.h"
#include "listio/ExcelListWriter.h"
#include "listio/FileListOpener.h"
#include "listio/ListKinds.h"
#include "listio/ListWriter.h"
#include "listio/PaveListWriter.h"
#include "listio/TextListSource.h"
#include "listio/TextListWriter.h"

namespace quillan {

namespace {

using WriteFunction = std::optional<ClosingMessage> (*)(AppContext&, WriterProgress&);

class FunctionWriter : public ListWriter {
public:
    FunctionWriter(WriteFunction write, bool needsLines) : write_(write), needsLines_(needsLines) {}
    bool needsRecordLines() const override { return needsLines_; }
    std::optional<ClosingMessage> write(AppContext& ctx, WriterProgress& progress) override {
        return write_(ctx, progress);
    }

private:
    WriteFunction write_;
    bool needsLines_;
};

template <WriteFunction Write, bool NeedsRecordLines>
std::unique_ptr<ListWriter> writerOf() {
    return std::make_unique<FunctionWriter>(Write, NeedsRecordLines);
}

std::unique_ptr<ListSource> reopenText(const ListFormat& format, const std::string& path,
                                       int fieldCount) {
    return std::make_unique<TextListSource>(format, path, fieldCount);
}

std::unique_ptr<ListSource> reopenDbase(const ListFormat&, const std::string& path, int) {
    DbfHeaderCheck check = readDbfHeader(path);
    if (!check.header)
        return nullptr;
    return std::make_unique<DbfListSource>(path, std::move(*check.header));
}

ListFormat textFormat(const char* name, std::optional<platform::FileFilter> filter,
                      bool headerLine) {
    ListFormat f{.name = name, .filter = std::move(filter)};
    f.text = true;
    f.headerLine = headerLine;
    f.firstRowIsRecord = !headerLine;
    f.open = OpenTextList;
    f.reopen = reopenText;
    f.writer = writerOf<WriteTextList, true>;
    return f;
}

std::vector<ListFormat> makeFormats() {
    ListFormat access{
        .name = KindAccess, .extensions = {".MDB"}, .filter = {{"Access", {"*.MDB"}}}};
    access.readsToEnd = true;
    access.outputFieldCheck = OutputFieldCheck::AccessFieldTypes;
    access.partName = "table";
    access.open = OpenAccessList;
    access.writer = writerOf<WriteAccessList, false>;

    ListFormat excel{.name = KindExcel, .extensions = {".XLS"}, .filter = {{"Excel", {"*.XLS"}}}};
    excel.firstRowIsRecord = true;
    excel.partName = "sheet";
    excel.open = OpenExcelList;
    excel.writer = writerOf<WriteExcelList, false>;

    ListFormat dbase{
        .name = KindDbase, .extensions = {".DBF", ".DBT"}, .filter = {{"dBase", {"*.DBF"}}}};
    dbase.paddedRecords = true;
    dbase.outputFieldCheck = OutputFieldCheck::DbaseWidthsAndTypes;
    dbase.open = OpenDbaseList;
    dbase.reopen = reopenDbase;
    dbase.writer = writerOf<WriteDbfList, false>;

    ListFormat pave{.name = KindPave, .extensions = {".SET"}};
    pave.identifiesFields = false;
    pave.keepsPresortRecords = true;
    pave.open = OpenPaveList;
    pave.writer = writerOf<WritePaveList, true>;

    return {std::move(access),
            std::move(excel),
            textFormat(KindComma, platform::FileFilter{"Ascii Comma-delimited", {"*.TXT"}}, false),
            textFormat(KindTab, platform::FileFilter{"Ascii Tab-delimited", {"*.TXT"}}, false),
            textFormat(KindMerge, platform::FileFilter{"Ascii Merge", {"*.TXT"}}, true),
            std::move(dbase),
            textFormat(KindBar, std::nullopt, true),
            std::move(pave)};
}

} // namespace

const std::vector<ListFormat>& listFormats() {
    static const std::vector<ListFormat> formats = makeFormats();
    return formats;
}

const ListFormat* formatNamed(std::string_view name) {
    for (const ListFormat& format : listFormats())
        if (name == format.name)
            return &format;
    return nullptr;
}

const ListFormat* formatForExtension(const std::string& path) {
    const std::string extension = upperExtensionOf(path);
    for (const ListFormat& format : listFormats())
        for (const std::string& own : format.extensions)
            if (extension == own)
                return &format;
    return nullptr;
}

std::vector<platform::FileFilter> mailingListFilters() {
    std::vector<platform::FileFilter> filters{{"All Files", {"*.*"}}};
    for (const ListFormat& format : listFormats())
        if (format.filter)
            filters.push_back(*format.filter);
    return filters;
}

} // namespace quillan
