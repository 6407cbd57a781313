#include "listio/ListFormat.h"

#include "listio/AccessListWriter.h"
#include "listio/ComponentListOpener.h"
#include "listio/DbfListSource.h"
#include "listio/DbfListWriter.h"
#include "listio/ExcelListWriter.h"
#include "listio/FileListOpener.h"
#include "listio/FormatNames.h"
#include "listio/ListPaths.h"
#include "listio/ListWriter.h"
#include "listio/PaveListWriter.h"
#include "listio/TextListSource.h"
#include "listio/TextListWriter.h"

namespace quillan {

namespace {

using WriteFunction = std::optional<ClosingMessage> (*)(const SortInformationJob&, Notices&,
                                                        WriterProgress&);

class FunctionWriter : public ListWriter {
public:
    explicit FunctionWriter(WriteFunction write) : write_(write) {}
    std::optional<ClosingMessage> write(const SortInformationJob& job, Notices& notices,
                                        WriterProgress& progress) override {
        return write_(job, notices, progress);
    }

private:
    WriteFunction write_;
};

template <WriteFunction Write>
std::unique_ptr<ListWriter> writerOf() {
    return std::make_unique<FunctionWriter>(Write);
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

ListFormat textFormat(const char* name, std::optional<platform::FileFilter> filter, char delimiter,
                      bool headerLine) {
    ListFormat f{.name = name, .filter = std::move(filter)};
    f.text = true;
    f.fieldSplit =
        delimiter == ',' ? ListFormat::FieldSplit::Comma : ListFormat::FieldSplit::TabOrBar;
    f.delimiter = delimiter;
    f.closingDelimiter = delimiter == '|';
    f.headerLine = headerLine;
    f.firstRowIsRecord = !headerLine;
    f.open = OpenTextList;
    f.reopen = reopenText;
    f.writer = writerOf<WriteTextList>;
    return f;
}

ListFormat accessFormat() {
    ListFormat f{.name = KindAccess, .extensions = {".MDB"}, .filter = {{"Access", {"*.MDB"}}}};
    f.readsToEnd = true;
    f.outputFieldCheck = OutputFieldCheck::AccessFieldTypes;
    f.partName = "table";
    f.open = OpenAccessList;
    f.writer = writerOf<WriteAccessList>;
    return f;
}

ListFormat excelFormat() {
    ListFormat f{.name = KindExcel, .extensions = {".XLS"}, .filter = {{"Excel", {"*.XLS"}}}};
    f.firstRowIsRecord = true;
    f.partName = "sheet";
    f.open = OpenExcelList;
    f.writer = writerOf<WriteExcelList>;
    return f;
}

// A memo file (.DBT) is a dBase file too: the dBase format refuses it by name.
ListFormat dbaseFormat() {
    ListFormat f{
        .name = KindDbase, .extensions = {".DBF", ".DBT"}, .filter = {{"dBase", {"*.DBF"}}}};
    f.paddedRecords = true;
    f.outputFieldCheck = OutputFieldCheck::DbaseWidthsAndTypes;
    f.open = OpenDbaseList;
    f.reopen = reopenDbase;
    f.writer = writerOf<WriteDbfList>;
    return f;
}

ListFormat paveFormat() {
    ListFormat f{.name = KindPave, .extensions = {".SET"}};
    f.identifiesFields = false;
    f.keepsPresortRecords = true;
    f.open = OpenPaveList;
    f.writer = writerOf<WritePaveList>;
    return f;
}

// Bar lists and PAVE files have no filter of their own: "All Files" shows them.
std::vector<ListFormat> makeFormats() {
    return {
        accessFormat(),
        excelFormat(),
        textFormat(KindComma, platform::FileFilter{"Ascii Comma-delimited", {"*.TXT"}}, ',', false),
        textFormat(KindTab, platform::FileFilter{"Ascii Tab-delimited", {"*.TXT"}}, '\t', false),
        textFormat(KindMerge, platform::FileFilter{"Ascii Merge", {"*.TXT"}}, ',', true),
        dbaseFormat(),
        textFormat(KindBar, std::nullopt, '|', true),
        paveFormat()};
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
