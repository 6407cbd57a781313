// The sheet's own record writers: its cells, hyperlinks and merged ranges.

#include "platform/text/AnsiCodePage.h"
#include "platform/text/WindowsCodePage.h"
#include "xls/RecordBody.h"
#include "xls/RecordCursor.h"
#include "xls/RecordId.h"
#include "xls/Sheet.h"
#include "xls/Sheets.h"
#include "xls/Workbook.h"
#include "xls/WriteLosses.h"
#include "xls/XlsStream.h"
#include "xls/XlsUtils.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace xls {

namespace {

constexpr uint16_t DefaultCellXf = 15;
constexpr size_t MaxTokenLength = 65513;
constexpr size_t MaxLabelLength = 255;
constexpr uint16_t AlwaysCalculate = 0x0003;
constexpr std::string_view StdLink{
    "\xD0\xC9\xEA\x79\xF9\xBA\xCE\x11\x8C\x82\x00\xAA\x00\x4B\xA9\x0B", 16};
constexpr std::string_view UrlMoniker{
    "\xE0\xC9\xEA\x79\xF9\xBA\xCE\x11\x8C\x82\x00\xAA\x00\x4B\xA9\x0B", 16};

void writeRecord(XlsStream& stream, uint16_t id, const RecordBody& body) {
    stream.writeRecord(id, body.str());
}

std::string utf16Bytes(std::string_view ansi) {
    std::string bytes;
    for (char16_t c : platform::AnsiCodePage::toUtf16(ansi)) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

// A flagged string made UTF-16 when the write asks for it: the 8-bit characters of a
// flagged string are single code units, so widening them keeps them.
std::string flaggedFor(const std::string& flagged, bool unicode) {
    if (!unicode || flagged.empty() || isWideXlsString(flagged))
        return flagged.empty() ? std::string(1, '\0') : flagged;
    std::string wide(1, '\x01');
    for (size_t i = 1; i < flagged.size(); ++i) {
        wide += flagged[i];
        wide += '\0';
    }
    return wide;
}

std::string formulaResult(const Cell& cell) {
    RecordBody result;
    switch (cell.type()) {
    case CellType::StringFormula:
        result.zeros(6).u16(0xFFFF);
        break;
    case CellType::BooleanFormula:
        result.u16(1).u8(cell.boolean() ? 1 : 0).zeros(3).u16(0xFFFF);
        break;
    case CellType::ErrorFormula:
        result.u16(2).u8(errorIndexToCode(cell.errorOrdinal())).zeros(3).u16(0xFFFF);
        break;
    default: // a number, or an array formula's result as read
        result.f64(cell.number());
        break;
    }
    return result.str();
}

} // namespace

uint16_t Sheet::writtenXf(int32_t xf, int xfOffset) {
    if (xf < 0)
        return DefaultCellXf;
    int64_t written = static_cast<int64_t>(xf) + xfOffset;
    if (written > 0xFFFF)
        throw RangeError();
    return static_cast<uint16_t>(written);
}

std::string Sheet::text8Of(const Cell& cell, std::u16string_view text, ExcelVersion version,
                           const platform::WindowsCodePage& codePage) const {
    std::string where = "The text of cell " +
                        colRowToRefText(cell.column(), cell.row(), false, false) + " on sheet \"" +
                        name() + "\"";
    std::optional<std::string> bytes = codePage.fromUtf16(text);
    if (!bytes)
        throw XlsError(where + " has characters that " + versionFileName(version) +
                       " in code page " + std::to_string(codePage.number()) + " cannot hold.");
    if (bytes->size() > MaxLabelLength)
        throw XlsError(where + " is longer than the 255 characters a cell of " +
                       versionFileName(version) + " holds.");
    return *bytes;
}

// The runs of a text in the form of a BIFF5 RSTRING: a count byte, then a character and a
// font byte each. None when the text has no runs or they do not fit that form.
std::optional<std::string> Sheet::narrowRuns(int32_t sstIndex, size_t length) const {
    std::string_view runs = strings().runs(static_cast<size_t>(sstIndex));
    size_t count = runs.size() / 4;
    if (count == 0 || count > 0xFF)
        return std::nullopt;
    RecordCursor in(runs);
    std::string narrow(1, static_cast<char>(count));
    for (size_t i = 0; i < count; ++i) {
        uint16_t first = in.u16(4 * i);
        uint16_t font = in.u16(4 * i + 2);
        if (first > length || first > 0xFF || font > 0xFF)
            return std::nullopt;
        narrow += {static_cast<char>(first), static_cast<char>(font)};
    }
    return narrow;
}

void Sheet::writeCells(ExcelVersion version, XlsStream& stream, int xfOffset, bool unicode,
                       const platform::WindowsCodePage& codePage) {
    bool biff8 = version >= ExcelVersion::Excel97;
    cells_.beginIterate();
    while (const Cell* cell = cells_.nextCell()) {
        RecordBody body;
        body.u16(cell->row()).u16(cell->column());
        uint16_t xf = writtenXf(cell->xf(), xfOffset);
        body.u16(xf);
        switch (cell->type()) {
        case CellType::Blank:
            writeRecord(stream, record::Blank, body);
            break;
        case CellType::Integer:
            writeRecord(stream, record::Number, body.f64(cell->integer()));
            break;
        case CellType::Float:
            writeRecord(stream, record::Number, body.f64(cell->number()));
            break;
        case CellType::String:
            if (biff8) {
                writeRecord(stream, record::LabelSst, body.u32(cell->sstIndex()));
            } else {
                std::string text =
                    text8Of(*cell, strings().getWideString(cell->sstIndex()), version, codePage);
                body.u16(text.size()).bytes(text);
                std::optional<std::string> runs = narrowRuns(cell->sstIndex(), text.size());
                if (runs)
                    body.bytes(*runs);
                writeRecord(stream, runs ? record::RString : record::Label, body);
            }
            break;
        case CellType::Boolean:
            writeRecord(stream, record::BoolErr, body.u8(cell->boolean() ? 1 : 0).u8(0));
            break;
        case CellType::Error: {
            int ordinal = cell->errorOrdinal();
            if (ordinal < 1 || ordinal > 7) {
                char message[64];
                std::snprintf(message, sizeof message, "Invalid error value in cell %d:%d",
                              cell->row(), cell->column());
                throw XlsError(message);
            }
            writeRecord(stream, record::BoolErr, body.u8(errorIndexToCode(ordinal)).u8(1));
            break;
        }
        case CellType::NumberFormula:
        case CellType::StringFormula:
        case CellType::BooleanFormula:
        case CellType::ErrorFormula:
        case CellType::ArrayFormula:
            writeFormula(version, stream, *cell, xf, unicode, codePage);
            break;
        default:
            break;
        }
    }
}

void Sheet::writeFormula(ExcelVersion version, XlsStream& stream, const Cell& cell, uint16_t xf,
                         bool unicode, const platform::WindowsCodePage& codePage) {
    const std::string& tokens = cell.tokens();
    if (tokens.size() > MaxTokenLength)
        throw RangeError();
    bool array = cell.type() == CellType::ArrayFormula;
    uint16_t options = recalcFormulas ? AlwaysCalculate : 0;
    RecordBody body;
    body.u16(cell.row()).u16(cell.column()).u16(xf).bytes(formulaResult(cell)).u16(options);
    if (version <= ExcelVersion::Excel40) {
        body.u16(tokens.size()).bytes(tokens);
        writeRecord(stream, record::Formula4, body);
    } else {
        body.u32(0).u16(tokens.size()).bytes(tokens);
        if (!array)
            body.bytes(cell.constants());
        writeRecord(stream, record::Formula, body);
    }
    if (array)
        stream.writeRecord(record::Array, cell.arrayData());
    bool text = cell.type() == CellType::StringFormula ||
                (array && cell.arrayResultKind() == Cell::ResultKind::Text);
    if (!text)
        return;
    if (version >= ExcelVersion::Excel97)
        return writeStringRecord(stream, flaggedFor(cell.flaggedResult(), unicode));
    std::string plain = text8Of(cell, wideFromXlsString(cell.flaggedResult()), version, codePage);
    RecordBody result;
    result.u16(plain.size()).bytes(plain);
    stream.writeRecord(record::String, result.str());
}

// A BIFF8 STRING whose text does not fit one record goes on in CONTINUE records, each
// beginning with the text's option byte; a UTF-16 text is cut between characters.
void Sheet::writeStringRecord(XlsStream& stream, const std::string& flagged) {
    size_t max = static_cast<size_t>(owner_.owner().maxRecordSize());
    size_t width = isWideXlsString(flagged) ? 2 : 1;
    std::string_view chars = std::string_view(flagged).substr(1);
    RecordBody first;
    first.u16(xlsStringCount(flagged)).u8(flagged[0]);
    size_t room = (max - first.size()) / width * width;
    first.bytes(chars.substr(0, room));
    stream.writeRecord(record::String, first.str());
    chars.remove_prefix(std::min(room, chars.size()));
    while (!chars.empty()) {
        size_t piece = (max - 1) / width * width;
        std::string body = flagged.substr(0, 1) + std::string(chars.substr(0, piece));
        stream.writeRecord(record::Continue, body);
        chars.remove_prefix(std::min(piece, chars.size()));
    }
}

void Sheet::writeHyperlinks(XlsStream& stream) const {
    for (const Hyperlink& link : hyperlinks_) {
        RecordCursor asRead(link.recordAsRead);
        if (!link.recordAsRead.empty() && link.text == link.textAsRead &&
            link.key == cellKey(asRead.u16(4), asRead.u16(0))) {
            stream.writeRecord(record::HLink, link.recordAsRead);
            continue;
        }
        size_t tab = link.text.find('\t');
        if (tab == std::string::npos)
            continue;
        std::string description = utf16Bytes(link.text.substr(0, tab));
        std::string target = utf16Bytes(link.text.substr(tab + 1));
        int row = keyRow(link.key);
        int col = keyColumn(link.key);
        RecordBody body;
        body.u16(row).u16(row).u16(col).u16(col).bytes(StdLink).u32(2).u32(0x17);
        body.u32(description.size() / 2 + 1).bytes(description).u16(0);
        body.bytes(UrlMoniker).u32(target.size() + 2).bytes(target).u16(0);
        if (body.size() > 65534)
            throw RangeError();
        stream.writeRecord(record::HLink, body.str());
    }
}

// The ranges go in records as full as the version allows, or grouped as they were read while
// there are as many.
void Sheet::writeMergedCells(XlsStream& stream, int maxRecordSize) const {
    size_t perRecord = static_cast<size_t>((maxRecordSize - 2) / 8);
    std::vector<size_t> sizes;
    for (uint16_t size : mergedCells_.recordSizes)
        sizes.push_back(size);
    size_t asRead = std::accumulate(sizes.begin(), sizes.end(), size_t{0});
    if (asRead != mergedCells_.count() ||
        std::any_of(sizes.begin(), sizes.end(), [&](size_t n) { return n > perRecord; }))
        sizes.clear();
    for (size_t first = 0, group = 0; first < mergedCells_.count() || group < sizes.size();
         ++group) {
        size_t count =
            group < sizes.size() ? sizes[group] : std::min(perRecord, mergedCells_.count() - first);
        RecordBody body;
        body.u16(count);
        for (size_t i = first; i < first + count; ++i) {
            const MergedCell& range = mergedCells_.item(i);
            body.u16(range.row1).u16(range.row2).u16(range.col1).u16(range.col2);
        }
        stream.writeRecord(record::MergedCells, body.str());
        first += count;
    }
}

} // namespace xls
