#include "xls/WriteLosses.h"

#include "xls/RecordCursor.h"
#include "xls/RecordKeeping.h"
#include "xls/UnkeptShapes.h"
#include "xls/Workbook.h"

#include <algorithm>
#include <vector>

namespace xls {

namespace {

void addOnce(std::vector<std::string>& items, const std::string& item) {
    if (!item.empty() && std::find(items.begin(), items.end(), item) == items.end())
        items.push_back(item);
}

// The content of the kept records of a substream, one name for each kind; records that mean
// the same in both versions go along between BIFF5 and BIFF8.
std::vector<std::string> keptContent(const KeptRecords& kept, bool betweenBiff5And8) {
    std::vector<std::string> content;
    for (const KeptRecords::Run& run : kept.runs())
        for (const KeptRecords::Piece& piece : run.pieces) {
            RecordCursor in(piece.records);
            for (size_t at = 0; at + 4 <= in.size(); at += 4 + in.u16(at + 2)) {
                uint16_t id = in.u16(at);
                if (!(betweenBiff5And8 && sameInBiff5And8(id)))
                    addOnce(content, contentOfRecord(id, in.bytes(at + 4, in.u16(at + 2))));
            }
        }
    return content;
}

// What a sheet read from a BIFF8 file holds in the model that a file before BIFF8 has no
// place for.
std::vector<std::string> newerContent(Sheet& sheet) {
    std::vector<std::string> content;
    size_t notes = 0;
    for (size_t i = 0; i < sheet.notes().count(); ++i)
        notes += sheet.notes().item(i).legacy ? 0 : 1;
    if (notes > 0)
        content.push_back("notes");
    if (sheet.sheetPictures().count() > 0)
        content.push_back("pictures");
    if (sheet.charts().count() + sheet.inFileCharts().count() > 0)
        content.push_back("charts");
    if (!sheet.hyperlinks().empty())
        content.push_back("hyperlinks");
    if (sheet.mergedCells().count() > 0)
        content.push_back("merged cells");
    if (sheet.validations().count() > 0)
        content.push_back("data validations");
    return content;
}

} // namespace

std::string versionFileName(ExcelVersion version) {
    switch (version) {
    case ExcelVersion::Excel40:
        return "an Excel 4.0 file";
    case ExcelVersion::Excel50:
        return "an Excel 5.0 file";
    default:
        return "an Excel 97 file";
    }
}

std::string describeWriteLosses(const Workbook& book) {
    const ExcelVersion version = book.version();
    const bool carried = book.carriesThrough();
    const bool converted = !book.isDefaultWorkbook && !carried;
    const bool older = version < ExcelVersion::Excel97;
    const bool drawingsMade = !carried || (!older && !book.drawingsAsRead());
    std::vector<std::string> parts;
    const bool betweenBiff5And8 =
        book.readVersion >= ExcelVersion::Excel50 && version >= ExcelVersion::Excel50;
    std::vector<std::string> globals =
        converted ? keptContent(book.keptGlobals(), betweenBiff5And8) : std::vector<std::string>{};
    const bool fromNewer = converted && book.readVersion >= ExcelVersion::Excel97 && older;
    if (fromNewer && (book.nameDefs().nameCount() > 0 || book.areaNames().count() > 0))
        addOnce(globals, "defined names");
    if (!globals.empty())
        parts.push_back(joinAsList(globals) + " in the workbook");
    for (size_t i = 0; i < book.sheets().count(); ++i) {
        Sheet& sheet = book.sheets().item(i);
        std::vector<std::string> content;
        if (drawingsMade && !sheet.unkeptShapes().empty())
            content.push_back(sheet.unkeptShapes().describe());
        if (converted)
            for (const std::string& item : keptContent(sheet.keptRecords(), betweenBiff5And8))
                if (item != "drawn objects" || sheet.unkeptShapes().empty())
                    addOnce(content, item);
        if (fromNewer)
            for (const std::string& item : newerContent(sheet))
                addOnce(content, item);
        if (!content.empty())
            parts.push_back(joinAsList(content) + " on sheet \"" + sheet.name() + "\"");
    }
    return joinAsList(parts);
}

} // namespace xls
