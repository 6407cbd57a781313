#include "listio/ComponentListOpener.h"

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TtaSession.h"
#include "accessdb/access/TtaTable.h"
#include "core/Convert.h"
#include "listio/AccessListSource.h"
#include "listio/AsciiFormat.h"
#include "listio/ExcelListSource.h"
#include "listio/ListComponents.h"
#include "listio/ListKinds.h"
#include "listio/SortWriterSupport.h"
#include "xls/Workbook.h"

namespace quillan {

using namespace platform;

namespace {

std::optional<size_t> namedOnCommandLine(const AppContext& ctx,
                                         const std::vector<std::string>& names) {
    const std::string mode = ctx.runMode();
    if (ctx.parameterCount() <= 2 || (mode != "NOSTOP" && mode != "DUZIZ"))
        return std::nullopt;
    const std::string wanted = upperAscii(ctx.parameter(3));
    if (wanted.empty())
        return std::nullopt;
    for (size_t i = 0; i < names.size(); ++i)
        if (upperAscii(names[i]) == wanted)
            return i;
    return std::nullopt;
}

std::optional<size_t> chooseName(AppContext& ctx, TableChooser& chooser, const std::string& kind,
                                 const std::vector<std::string>& names) {
    if (names.size() == 1)
        return 0;
    if (auto named = namedOnCommandLine(ctx, names))
        return named;
    ctx.platform.ui.setBusyCursor(false);
    std::optional<size_t> chosen = chooser.choose(kind, names);
    ctx.platform.ui.setBusyCursor(true);
    if (chosen && *chosen >= names.size())
        return std::nullopt;
    return chosen;
}

void refuse(AppContext& ctx, const std::string& text) {
    ctx.platform.ui.setBusyCursor(false);
    ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Cancel, text);
}

std::vector<AccessField> fieldsOf(accessdb::TtaTable& table) {
    std::vector<AccessField> fields;
    for (int i = 0; i < table.fieldCount(); ++i) {
        const accessdb::TField& f = table.fields(i);
        fields.push_back({f.fieldName(), static_cast<int>(f.dataType()), f.size(), f.readOnly()});
    }
    return fields;
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
bool refusedForWriteBack(AppContext& ctx, const xls::Workbook& book, const std::string& path) {
    if (!ctx.lists.prefsList.writesIntoList())
        return false;
    const std::string why = whyNotWritable(book);
    if (why.empty())
        return false;
    refuse(ctx, "Quillan cannot save the sorting information in " + fileNameOf(path) + ": " + why);
    return true;
}

} // namespace

ComponentList OpenAccessList(AppContext& ctx, TableChooser& chooser, const std::string& path) {
    if (path.size() > LongestAccessPath) {
        refuse(ctx, "Quillan cannot open " + fileNameOf(path) +
                        ": the path of an Access database "
                        "may have at most " +
                        std::to_string(LongestAccessPath) + " characters, and this one has " +
                        std::to_string(path.size()) +
                        ". Move the database to a folder with a shorter path, or give it a "
                        "shorter name.");
        return {};
    }
    accessdb::TtaTable& table = listComponents(ctx).table();
    table.setActive(false);
    table.setDatabaseName(path);
    table.setTableName("");
    ctx.list.accessTableName.clear();
    ctx.list.accessFields.clear();
    ctx.list.listStamp = listStampOf(path);
    accessdb::TStringList list;
    accessdb::AccessSession().getTableNames(path, "", list, false, true);
    const std::vector<std::string> names = list.lines();
    if (names.empty()) {
        refuse(ctx, "There are no tables in " + fileNameOf(path) +
                        ", so there is nothing to "
                        "sort.");
        return {};
    }
    std::optional<size_t> chosen = chooseName(ctx, chooser, KindAccess, names);
    if (!chosen)
        return {};
    table.setTableName(names[*chosen]);
    table.setActive(true);
    ComponentList opened;
    opened.source = std::make_unique<AccessListSource>(table);
    table.first();
    table.last();
    opened.records = table.recordCount();
    opened.fields = table.fieldCount();
    table.first();
    ctx.list.accessTableName = names[*chosen];
    ctx.list.accessFields = fieldsOf(table);
    if (opened.records <= 0) {
        ctx.platform.ui.setBusyCursor(false);
        ShowNoRecords(ctx, path, "The table \"" + names[*chosen] + "\" holds none.");
        opened.records = 0;
    }
    return opened;
}

ComponentList OpenExcelList(AppContext& ctx, TableChooser& chooser, const std::string& path) {
    xls::Workbook& book = listComponents(ctx).workbook();
    ctx.list.selectedTableName.clear();
    ctx.list.selectedSheetIndex = 0;
    ctx.list.listStamp = listStampOf(path);
    book.setFilename(path);
    book.read();
    if (refusedForWriteBack(ctx, book, path))
        return {};
    std::vector<std::string> names;
    for (size_t i = 0; i < book.sheets().count(); ++i)
        names.push_back(book.sheets().item(i).name());
    if (names.empty()) {
        refuse(ctx, "There are no worksheets in " + fileNameOf(path) +
                        ", so there is nothing "
                        "to sort.");
        return {};
    }
    std::optional<size_t> chosen = chooseName(ctx, chooser, KindExcel, names);
    if (!chosen)
        return {};
    ctx.list.selectedSheetIndex = static_cast<int>(*chosen);
    ctx.list.selectedTableName = names[*chosen];
    xls::Sheet& sheet = book.sheets().item(*chosen);
    ComponentList opened;
    opened.records = static_cast<long>(sheet.lastRow) + 1;
    opened.fields = static_cast<int>(sheet.lastCol) + 1;
    opened.source = std::make_unique<ExcelListSource>(sheet, opened.fields);
    return opened;
}

} // namespace quillan
