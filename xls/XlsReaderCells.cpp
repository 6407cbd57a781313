// The reader's cell records: values of every layout and version, formulas with the records
// that follow them (STRING, SHRFMLA, ARRAY), rows and dimensions.

#include "xls/CellRecordShape.h"
#include "xls/FormulaDecoder.h"
#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsReader.h"
#include "xls/XlsUtils.h"

#include <cstring>
#include <optional>

namespace xls {

namespace {

constexpr uint8_t PtgExp = 0x01;
constexpr uint16_t TableRecord = 0x0236;
constexpr uint16_t SharedFlag = 0x0008;

enum ResultKind : uint8_t { StringResult = 0, BooleanResult = 1, ErrorResult = 2, EmptyResult = 3 };

bool isBetweenFormulaAndString(uint16_t id) {
    return id == record::ShrFmla || id == record::ShrFmla2 || id == record::Array ||
           id == TableRecord;
}

double resultNumber(std::string_view result) {
    double value;
    std::memcpy(&value, result.data(), sizeof value);
    return value;
}

bool isSpecialResult(std::string_view result) {
    return static_cast<uint8_t>(result[6]) == 0xFF && static_cast<uint8_t>(result[7]) == 0xFF &&
           static_cast<uint8_t>(result[0]) <= EmptyResult;
}

std::u16string wideChars(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                        (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    return text;
}

} // namespace

bool XlsReader::onCellRecord() {
    Sheet* s = sheet();
    if (!s)
        return false;
    if (std::optional<std::string> fault = cellRecordFault(header_.id, body_, version_))
        throw damagedRecord(*fault);
    const RecordCursor& b = body_;
    int row = b.u16(0);
    int col = b.u16(2);
    auto boolErr = [&](uint8_t value, uint8_t isError, int32_t xf) {
        if (isError)
            s->setError(col, row, static_cast<uint8_t>(errorCodeToIndex(value)), xf);
        else
            s->setBoolean(col, row, value != 0, xf);
    };
    bool biff2 = version_ <= ExcelVersion::Excel21;
    switch (header_.id) {
    case record::Blank2:
        if (biff2) {
            b.require(0, 7);
            s->setBlank(col, row, biff2Xf());
        }
        break;
    // BIFF2 cells in a BIFF5 or BIFF8 file are no cells of its sheets (a chart's data can
    // look like them): kept as they are.
    case record::Integer2:
        if (version_ >= ExcelVersion::Excel50)
            return false;
        b.require(0, 9);
        s->setFloat(col, row, b.u16(7), biff2Xf());
        break;
    case record::Number2:
        if (version_ >= ExcelVersion::Excel50)
            return false;
        b.require(0, 15);
        s->setFloat(col, row, b.f64(7), biff2Xf());
        break;
    case record::Label2:
        if (version_ >= ExcelVersion::Excel50)
            return false;
        setText8(*s, col, row, text8(8, b.u8(7)), biff2Xf());
        break;
    case record::BoolErr2:
        if (biff2) {
            b.require(0, 9);
            boolErr(b.u8(7), b.u8(8), biff2Xf());
        }
        break;
    case record::Formula:
    case record::Formula3:
    case record::Formula4:
        onFormula();
        break;
    case record::Rk2:
    case record::Rk:
        b.require(0, 10);
        s->setFloat(col, row, decodeRk(b.u32(6)), b.u16(4));
        break;
    case record::MulRk:
        onMulRk();
        break;
    case record::MulBlank:
        onMulBlank();
        break;
    case record::Label:
    case record::RString:
        onLabel();
        break;
    case record::LabelSst:
        b.require(0, 10);
        s->setStringIndex(col, row, b.i32(6), b.u16(4));
        break;
    case record::Blank:
        b.require(0, 6);
        s->setBlank(col, row, b.u16(4));
        break;
    case record::Number:
        b.require(0, 14);
        s->setFloat(col, row, b.f64(6), b.u16(4));
        break;
    case record::BoolErr:
        b.require(0, 8);
        boolErr(b.u8(6), b.u8(7), b.u16(4));
        break;
    case record::Row: {
        RowRecord entry{b.u16(0), b.u16(2), b.u16(4), b.u16(6), b.u16(12), b.u16(14), b.u32(8)};
        if (book_.onRow && entry.height != 0x00FF)
            book_.onRow(entry.row, entry.height, entry.xf);
        s->addRowRecord(entry);
        break;
    }
    case record::Dimensions2:
        if (version_ >= ExcelVersion::Excel50)
            return false; // not a record of these versions: kept as it is
        onDimensions();
        break;
    case record::Dimensions:
        onDimensions();
        break;
    default:
        return false;
    }
    return true;
}

void XlsReader::onLabel() {
    Sheet& s = *sheet();
    int row = body_.u16(0);
    int col = body_.u16(2);
    int32_t xf = body_.u16(4);
    size_t count = body_.u16(6);
    if (!biff8()) {
        std::string text = text8(8, count);
        if (header_.id == record::RString)
            if (std::string runs = wideRuns(tail(8 + count)); !runs.empty())
                return setRichText8(s, col, row, text, runs, xf);
        return setText8(s, col, row, text, xf);
    }
    if (count == 0)
        return s.setCompressedString(col, row, {}, xf);
    if (body_.u8(8) & 0x01)
        return s.setWideString(col, row, wideChars(body_.bytes(9, 2 * count)), xf);
    s.setCompressedString(col, row, body_.bytes(9, count), xf);
}

void XlsReader::setText8(Sheet& s, int col, int row, std::string_view bytes, int32_t xf) {
    if (std::optional<std::u16string> text = decoded(bytes))
        return s.setWideString(col, row, *text, xf);
    s.setString(col, row, bytes, xf);
}

void XlsReader::setRichText8(Sheet& s, int col, int row, std::string_view bytes,
                             std::string_view runs, int32_t xf) {
    if (std::optional<std::u16string> text = decoded(bytes))
        return s.setRichWideString(col, row, *text, runs, xf);
    s.setRichString(col, row, bytes, runs, xf);
}

// The runs of a BIFF5 RSTRING (a count byte, then a character and a font byte each) in the
// shared strings' form of 16 bits each. In a double-byte code page the text's count is of
// characters, not bytes: the runs are where a count byte says exactly what follows it.
std::string XlsReader::wideRuns(std::string_view after) {
    RecordCursor in(after);
    size_t at = 0;
    while (at < in.size() && in.size() - at - 1 != 2 * size_t{in.u8(at)})
        ++at;
    if (at >= in.size())
        return {};
    std::string runs;
    for (size_t i = 0; i < in.u8(at); ++i) {
        std::string_view run = in.bytes(at + 1 + 2 * i, 2);
        runs += {run[0], '\0', run[1], '\0'};
    }
    return runs;
}

void XlsReader::onMulRk() {
    Sheet& s = *sheet();
    int row = body_.u16(0);
    int first = body_.u16(2);
    size_t count = body_.size() >= 6 ? (body_.size() - 6) / 6 : 0;
    for (size_t i = 0; i < count; ++i)
        s.setFloat(first + static_cast<int>(i), row, decodeRk(body_.u32(6 + 6 * i)),
                   body_.u16(4 + 6 * i));
}

void XlsReader::onMulBlank() {
    Sheet& s = *sheet();
    int row = body_.u16(0);
    int first = body_.u16(2);
    size_t count = body_.size() >= 6 ? body_.size() / 2 - 3 : 0;
    for (size_t i = 0; i < count; ++i)
        s.setBlank(first + static_cast<int>(i), row, body_.u16(4 + 2 * i));
}

void XlsReader::onDimensions() {
    Sheet& s = *sheet();
    s.keptRecords().countMade(record::Dimensions);
    uint32_t firstRow, rowAfter;
    size_t colsAt;
    if (biff8() && header_.id == record::Dimensions) {
        firstRow = body_.u32(0);
        rowAfter = body_.u32(4);
        colsAt = 8;
    } else {
        firstRow = body_.u16(0);
        rowAfter = body_.u16(2);
        colsAt = 4;
    }
    uint32_t lastRow = rowAfter > 0 ? rowAfter - 1 : 0;
    if (firstRow > 0xFFFF || lastRow > 0xFFFF)
        throw RangeError();
    uint16_t colAfter = body_.u16(colsAt + 2);
    s.firstCol = body_.u16(colsAt);
    s.lastCol = static_cast<uint16_t>(colAfter > 0 ? colAfter - 1 : 0);
    s.firstRow = static_cast<uint16_t>(firstRow);
    s.lastRow = static_cast<uint16_t>(lastRow);
    if (colAfter > s.firstCol)
        s.cells().expectColumns(s.firstCol, s.lastCol);
}

// A BIFF2 cell's format: its XF index (63 for the one the IXFE record before it gives), or,
// in a file without XF records, a format of its own made from its attribute bytes, one for
// each different attributes.
int32_t XlsReader::biff2Xf() {
    std::string_view attributes = body_.bytes(4, 3);
    int32_t index = static_cast<uint8_t>(attributes[0]) & 0x3F;
    if (biff2XfRecords_)
        return index == 63 ? ixfe_ : index;
    CellFormats& formats = book_.formats();
    uint16_t key = static_cast<uint16_t>(static_cast<uint8_t>(attributes[1]) |
                                         (static_cast<uint8_t>(attributes[2]) << 8));
    auto [known, added] = attributeFormats_.try_emplace(key, static_cast<int32_t>(formats.count()));
    if (added)
        formats.add().readCellAttributes2(attributes);
    return known->second;
}

void XlsReader::onFormula() {
    Sheet& s = *sheet();
    int row = body_.u16(0);
    int col = body_.u16(2);
    if (header_.id == record::Formula && version_ <= ExcelVersion::Excel21) {
        std::string_view tokens = body_.bytes(17, body_.u8(16));
        return storeFormulaResult(col, row, biff2Xf(), body_.bytes(7, 8), tokens, {});
    }
    int32_t xf = body_.u16(4);
    std::string_view result = body_.bytes(6, 8);
    // The layout follows the file's version: some writers give BIFF8 formulas the BIFF4 id.
    if (version_ <= ExcelVersion::Excel40) {
        // BIFF3 and BIFF4 keep a number formula even without tokens.
        std::string_view tokens = body_.bytes(18, body_.u16(16));
        Cell cell = Cell::formula(CellType::NumberFormula, cellKey(col, row), tokens, xf);
        cell.setNumberResult(resultNumber(result));
        s.cells().set(std::move(cell));
        if (isSpecialResult(result))
            storeFormulaResult(col, row, xf, result, tokens, {});
        return;
    }
    size_t length = body_.u16(20);
    std::string tokens(body_.bytes(22, length));
    std::string_view constants = tail(22 + length);
    bool exp = !tokens.empty() && static_cast<uint8_t>(tokens[0]) == PtgExp;
    FollowingRecord next;
    if (exp && (body_.u16(14) & SharedFlag)) {
        if (nextRecord(next)) {
            if (next.header.id == record::ShrFmla || next.header.id == record::ShrFmla2)
                storeSharedFormula(next.body);
            else
                rewind(next);
        }
        if (applySharedFormula(row, col, tokens))
            constants = {};
    } else if (exp && nextRecord(next)) {
        if (next.header.id == record::Array) {
            s.setArrayFormula(col, row, tokens, next.body, xf, resultNumber(result));
            if (isSpecialResult(result) && static_cast<uint8_t>(result[0]) == StringResult)
                if (std::optional<std::string> text = followingString())
                    s.getCell(col, row)->setFlaggedResult(std::move(*text));
            return;
        }
        rewind(next);
    }
    storeFormulaResult(col, row, xf, result, tokens, constants);
}

void XlsReader::storeFormulaResult(int col, int row, int32_t xf, std::string_view result,
                                   std::string_view tokens, std::string_view constants) {
    Sheet& s = *sheet();
    int32_t key = cellKey(col, row);
    auto store = [&](CellType type) -> Cell& {
        return s.cells().set(Cell::formula(type, key, tokens, xf, constants));
    };
    if (!isSpecialResult(result)) {
        if (!tokens.empty())
            store(CellType::NumberFormula).setNumberResult(resultNumber(result));
        return;
    }
    uint8_t value = static_cast<uint8_t>(result[2]);
    switch (static_cast<uint8_t>(result[0])) {
    case BooleanResult:
        store(CellType::BooleanFormula).setByteResult(value ? 1 : 0);
        return;
    case ErrorResult:
        store(CellType::ErrorFormula).setByteResult(static_cast<uint8_t>(errorCodeToIndex(value)));
        return;
    case EmptyResult:
        store(CellType::StringFormula);
        return;
    default:
        break;
    }
    // A string result: its text is in the STRING record that follows, maybe behind the
    // formula's SHRFMLA, ARRAY or TABLE record, which then pass through the loop again.
    std::optional<std::string> text = followingString();
    if (text)
        store(CellType::StringFormula).setFlaggedResult(std::move(*text));
}

std::optional<std::string> XlsReader::followingString() {
    FollowingRecord first;
    if (!nextRecord(first))
        return std::nullopt;
    FollowingRecord next = first;
    bool between = false;
    for (int skipped = 0; skipped < 3 && isBetweenFormulaAndString(next.header.id); ++skipped) {
        between = true;
        if (!nextRecord(next)) {
            rewind(first);
            return std::nullopt;
        }
    }
    if (next.header.id != record::String && next.header.id != record::String2) {
        rewind(first);
        return std::nullopt;
    }
    std::string flagged = stringRecordText(next);
    if (between)
        rewind(first);
    return flagged;
}

// The text of a STRING record as a flagged string. A BIFF8 text too long for its record goes
// on in CONTINUE records, each beginning with its own option byte.
std::string XlsReader::stringRecordText(const FollowingRecord& stringRecord) {
    RecordCursor in(stringRecord.body);
    if (stringRecord.header.id == record::String2)
        return flaggedText8(in.bytes(1, in.u8(0)));
    size_t count = in.u16(0);
    if (!biff8())
        return flaggedText8(in.bytes(2, count));
    if (count == 0)
        return std::string(1, '\0');
    std::u16string chars;
    bool wide = false;
    std::string_view piece = stringRecord.body.substr(std::min<size_t>(2, in.size()));
    while (true) {
        RecordCursor part(piece);
        bool pieceWide = part.u8(0) & 0x01;
        wide = wide || pieceWide;
        size_t available = piece.empty() ? 0 : (piece.size() - 1) / (pieceWide ? 2 : 1);
        size_t take = std::min(count - chars.size(), available);
        for (size_t i = 0; i < take; ++i)
            chars += pieceWide ? static_cast<char16_t>(part.u16(1 + 2 * i))
                               : static_cast<char16_t>(part.u8(1 + i));
        if (chars.size() == count)
            break;
        FollowingRecord next;
        if (!nextRecord(next))
            throw XlsError("record too short");
        if (next.header.id != record::Continue) {
            rewind(next);
            throw XlsError("record too short");
        }
        piece = next.body;
    }
    std::string flagged(1, wide ? '\x01' : '\0');
    for (char16_t c : chars) {
        flagged += static_cast<char>(c & 0xFF);
        if (wide)
            flagged += static_cast<char>(c >> 8);
    }
    return flagged;
}

void XlsReader::storeSharedFormula(std::string_view body) {
    RecordCursor in(body);
    SharedFormula shared;
    shared.firstRow = in.u16(0);
    shared.lastRow = in.u16(2);
    shared.firstCol = in.u8(4);
    shared.lastCol = in.u8(5);
    shared.tokens = in.bytes(10, in.u16(8));
    sharedFormulas_.push_back(std::move(shared));
}

// Shared ranges may overlap: the cell's tExp names the first cell of its own, and only a
// formula whose tExp names no stored range falls back to the first range that holds the cell.
bool XlsReader::applySharedFormula(int row, int col, std::string& tokens) const {
    RecordCursor exp(tokens);
    const SharedFormula* chosen = nullptr;
    for (const SharedFormula& shared : sharedFormulas_) {
        if (row < shared.firstRow || row > shared.lastRow || col < shared.firstCol ||
            col > shared.lastCol)
            continue;
        if (shared.firstRow == exp.u16(1) && shared.firstCol == exp.u8(3)) {
            chosen = &shared;
            break;
        }
        if (!chosen)
            chosen = &shared;
    }
    if (!chosen)
        return false;
    std::string adjusted = chosen->tokens;
    adjustSharedFormula(biff8(), adjusted, row, col);
    tokens = std::move(adjusted);
    return true;
}

} // namespace xls
