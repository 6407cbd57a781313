#include "listio/ComponentListOpener.h"

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TtaSession.h"
#include "accessdb/access/TtaTable.h"
#include "accessdb/classlib/Fields.h"
#include "core/BusyCursor.h"
#include "core/Convert.h"
#include "listio/AccessListSource.h"
#include "listio/AccessTableHome.h"
#include "listio/ExcelListSource.h"
#include "listio/ListComponents.h"
#include "listio/ListNotices.h"
#include "listio/ListPaths.h"
#include "listio/SortWriterSupport.h"
#include "mdbengine/tables/Names.h"
#include "xls/Workbook.h"

namespace quillan {

using namespace platform;

namespace {

std::optional<size_t> namedInRequest(const ListRequest& request,
                                     const std::vector<std::string>& names) {
    const std::string wanted = upperAscii(request.tableName);
    if (wanted.empty())
        return std::nullopt;
    for (size_t i = 0; i < names.size(); ++i)
        if (upperAscii(names[i]) == wanted)
            return i;
    return std::nullopt;
}

// The refusal of a table or sheet named on the command line that the file lacks, naming
// the ones it has.
void refuseMissingName(ListOpening& opening, const std::vector<std::string>& names) {
    const std::string part = opening.format().partName;
    refuseList(opening.notices(),
               fileNameOf(opening.reading.list.path) + " has no " + part + " named \"" +
                   opening.request.tableName + "\": " +
                   (names.size() == 1 ? "its only " + part + " is " : "its " + part + "s are ") +
                   quotedNames(names) + ". Quillan has not sorted it.");
}

// A file of one table or sheet reads it, unless the command line named another: that name
// is never taken for the only one there is. Nor is a name the file lacks left to a person
// in an unattended run, where nobody can choose.
std::optional<size_t> chooseName(ListOpening& opening, const std::vector<std::string>& names) {
    const bool named = !opening.request.tableName.empty();
    const bool nobodyChooses =
        names.size() == 1 || opening.request.reader == ListReader::Unattended;
    if (named && nobodyChooses && !namedInRequest(opening.request, names)) {
        refuseMissingName(opening, names);
        return std::nullopt;
    }
    if (names.size() == 1)
        return 0;
    if (auto named = namedInRequest(opening.request, names))
        return named;
    std::optional<size_t> chosen;
    {
        ArrowCursor arrow(opening.notices());
        chosen = opening.people.tables.choose(opening.format(), names);
    }
    if (!chosen || *chosen >= names.size()) {
        opening.cancel();
        return std::nullopt;
    }
    return chosen;
}

ListComponents& componentsOf(ListOpening& opening) {
    ListComponents& components = opening.request.components();
    opening.reading.list.components = &components;
    return components;
}

// A Decimal field holds as many whole digits as its precision leaves beside its places.
std::optional<long long> largestNumberOf(const accessdb::TField& field) {
    if (const auto* integer = dynamic_cast<const accessdb::TIntegerField*>(&field))
        return integer->maxValue();
    const auto* decimal = dynamic_cast<const accessdb::TBCDField*>(&field);
    if (decimal == nullptr || decimal->precision() - decimal->size() > 18)
        return std::nullopt;
    long long largest = 0;
    for (int digit = decimal->size(); digit < decimal->precision(); ++digit)
        largest = largest * 10 + 9;
    return largest;
}

std::vector<AccessField> fieldsOf(accessdb::TtaTable& table) {
    std::vector<AccessField> fields;
    for (int i = 0; i < table.fieldCount(); ++i) {
        const accessdb::TField& f = table.fields(i);
        fields.push_back({f.fieldName(), static_cast<int>(f.dataType()), f.size(), f.readOnly(),
                          largestNumberOf(f)});
    }
    return fields;
}

// The fields a relationship Access enforces ties to another table, wherever the table lives.
void markTiedFields(std::vector<AccessField>& fields, const TableHome& home) {
    for (const auto& [name, relationship] : fieldsTiedByRelationships(home))
        for (AccessField& field : fields)
            if (mdbengine::file::sameName(field.name, name))
                field.relationship = relationship;
}

// Why the sort information could not be written back into this workbook, or nothing.
std::string whyNotWritable(const xls::Workbook& book) {
    const xls::ExcelVersion version = book.version();
    if (version == xls::ExcelVersion::Excel21 || version == xls::ExcelVersion::Excel30)
        return std::string("it is an Excel ") +
               (version == xls::ExcelVersion::Excel21 ? "2.1" : "3.0") +
               " workbook, and Quillan writes only Excel 4.0 and later workbooks. Choose \"Put "
               "it in a separate file.\" in the Preferences, or save the workbook in a later "
               "Excel version, and sort it again.";
    return {};
}

// Workbooks that cannot be written: a list whose sort information is to go into one is
// refused before it is sorted, not after. Everything else a workbook holds (drawn objects,
// protection, hidden sheets) goes back with it.
bool refusedForWriteBack(ListOpening& opening, const xls::Workbook& book, const std::string& path) {
    if (!opening.settings.prefsList.writesIntoList())
        return false;
    const std::string why = whyNotWritable(book);
    if (why.empty())
        return false;
    refuseList(opening.notices(),
               "Quillan cannot save the sorting information in " + fileNameOf(path) + ": " + why);
    return true;
}

} // namespace

OpenedList OpenAccessList(ListOpening& opening, const std::string& path) {
    ListState& state = opening.state();
    if (path.size() > LongestAccessPath) {
        refuseList(opening.notices(),
                   "Quillan cannot open " + fileNameOf(path) +
                       ": the path of an Access database "
                       "may have at most " +
                       std::to_string(LongestAccessPath) + " characters, and this one has " +
                       std::to_string(path.size()) +
                       ". Move the database to a folder with a shorter path, or give it a "
                       "shorter name.");
        return {};
    }
    accessdb::TtaTable& table = componentsOf(opening).table();
    table.setActive(false);
    table.setDatabaseName(path);
    table.setTableName("");
    state.accessTableName.clear();
    state.accessFields.clear();
    state.listStamp = listStampOf(path);
    accessdb::TStringList list;
    accessdb::AccessSession().getTableNames(path, "", list, false, true);
    const std::vector<std::string> names = list.lines();
    if (names.empty()) {
        refuseList(opening.notices(), "There are no tables in " + fileNameOf(path) +
                                          ", so there is nothing to "
                                          "sort.");
        return {};
    }
    std::optional<size_t> chosen = chooseName(opening, names);
    if (!chosen)
        return {};
    table.setTableName(names[*chosen]);
    table.setActive(true);
    OpenedList opened;
    opened.source = std::make_unique<AccessListSource>(table);
    table.first();
    table.last();
    opened.records = table.recordCount();
    opened.fields = table.fieldCount();
    table.first();
    state.accessTableName = names[*chosen];
    state.accessFields = fieldsOf(table);
    markTiedFields(state.accessFields, homeOf(path, state.accessTableName));
    if (opened.records <= 0) {
        ShowNoRecords(opening.notices(), path, "The table \"" + names[*chosen] + "\" holds none.");
        opened.records = 0;
    }
    return opened;
}

OpenedList OpenExcelList(ListOpening& opening, const std::string& path) {
    ListState& state = opening.state();
    xls::Workbook& book = componentsOf(opening).workbook();
    state.selectedTableName.clear();
    state.selectedSheetIndex = 0;
    state.listStamp = listStampOf(path);
    book.setFilename(path);
    book.read();
    if (refusedForWriteBack(opening, book, path))
        return {};
    std::vector<std::string> names;
    for (size_t i = 0; i < book.sheets().count(); ++i)
        names.push_back(book.sheets().item(i).name());
    if (names.empty()) {
        refuseList(opening.notices(), "There are no worksheets in " + fileNameOf(path) +
                                          ", so there is nothing "
                                          "to sort.");
        return {};
    }
    std::optional<size_t> chosen = chooseName(opening, names);
    if (!chosen)
        return {};
    state.selectedSheetIndex = static_cast<int>(*chosen);
    state.selectedTableName = names[*chosen];
    xls::Sheet& sheet = book.sheets().item(*chosen);
    OpenedList opened;
    opened.records = static_cast<long>(sheet.lastRow) + 1;
    opened.fields = static_cast<int>(sheet.lastCol) + 1;
    opened.source = std::make_unique<ExcelListSource>(sheet, opened.fields);
    return opened;
}

} // namespace quillan
