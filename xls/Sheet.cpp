#include "xls/Sheet.h"

#include "platform/text/AnsiCodePage.h"
#include "xls/FormulaDecoder.h"
#include "xls/NumberText.h"
#include "xls/OptionBits.h"
#include "xls/Sheets.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

#include <cmath>
#include <limits>

namespace xls {

namespace {

std::string littleEndianWords(std::initializer_list<uint16_t> words) {
    std::string bytes;
    for (uint16_t w : words) {
        bytes += static_cast<char>(w & 0xFF);
        bytes += static_cast<char>(w >> 8);
    }
    return bytes;
}

} // namespace

Sheet::Sheet(Sheets& owner, int id)
    : owner_(owner), name_(toXlsString("Sheet " + std::to_string(id + 1))),
      sheetPictures_(&owner.owner().pictures()), charts_(owner.owner().chartContext()) {
    printSettings_.onMessage = [this](const std::string& message) {
        owner_.owner().showMessage(message);
    };
    printSettings_.onPrintTitles = [this](int firstCol, int lastCol, int firstRow, int lastRow) {
        owner_.owner().nameDefs().setPrintTitles(index(), firstCol, lastCol, firstRow, lastRow);
    };
    validations_.nameText = [this](int kind, int index, int second) {
        return owner_.owner().nameText(kind, index, second);
    };
}

Sheet::~Sheet() = default;

int Sheet::index() const {
    return owner_.indexOf(*this);
}

std::string Sheet::name() const {
    return fromXlsString(name_);
}

std::u16string Sheet::wideName() const {
    if (!isWideXlsString(name_))
        return platform::AnsiCodePage::toUtf16(name());
    std::u16string text((name_.size() - 1) / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(name_[1 + 2 * i]) |
                                        (static_cast<uint8_t>(name_[2 + 2 * i]) << 8));
    return text;
}

void Sheet::setName(std::string_view text) {
    std::string flagged = !text.empty() && static_cast<uint8_t>(text[0]) < 2
                              ? std::string(text)
                              : toXlsString(text, false);
    if (text.empty())
        flagged.clear();
    std::string old = std::move(name_);
    name_ = std::move(flagged);
    std::u16string wanted = wideName();
    // Setting a sheet's own name again is no clash: only the other sheets count.
    for (size_t i = 0; i < owner_.count(); ++i) {
        const Sheet& other = owner_.item(i);
        if (&other != this && other.wideName() == wanted) {
            owner_.owner().showMessage("Sheet name \"" + name() + "\" allready exists");
            name_ = std::move(old);
            return;
        }
    }
}

SharedStringTable& Sheet::strings() const {
    return owner_.strings();
}

Cell* Sheet::getCell(int col, int row) {
    return cells_.get(cellKey(col, row));
}

CellType Sheet::getCellType(int col, int row) {
    const Cell* cell = getCell(col, row);
    return cell ? cell->type() : CellType::None;
}

int32_t Sheet::getAsInteger(int col, int row) {
    const Cell* cell = getCell(col, row);
    if (cell && cell->type() == CellType::Integer)
        return cell->integer();
    if (!cell || cell->type() != CellType::Float)
        throw XlsError("Cell is missing/is of wrong type");
    // The default rounding mode rounds halves to the even neighbour.
    double rounded = std::nearbyint(cell->number());
    if (!(rounded >= std::numeric_limits<int32_t>::min() &&
          rounded <= std::numeric_limits<int32_t>::max()))
        throw RangeError();
    return static_cast<int32_t>(rounded);
}

std::string Sheet::getAsString(int col, int row) {
    std::string text;
    getAsString(col, row, text);
    return text;
}

void Sheet::getAsString(int col, int row, std::string& text) {
    const Cell* cell = getCell(col, row);
    if (cell && cell->type() == CellType::String)
        return strings().getString(cell->sstIndex(), text);
    text = valueText(cell);
}

std::string Sheet::valueText(const Cell* cell) const {
    if (!cell)
        return {};
    const Workbook& book = owner_.owner();
    auto booleanText = [&](bool value) { return value ? book.strTrue : book.strFalse; };
    auto number = [&](double value) { return numberText(value, book.decimalSeparator()); };
    if (cell->isFormula() && book.showFormulas)
        return formulaText(*cell);
    if (cell->type() == CellType::ArrayFormula) {
        switch (cell->arrayResultKind()) {
        case Cell::ResultKind::Text:
            return fromXlsString(cell->flaggedResult());
        case Cell::ResultKind::Boolean:
            return booleanText(cell->arrayResultValue() != 0);
        case Cell::ResultKind::Error:
            return errorIndexToText(errorCodeToIndex(cell->arrayResultValue()));
        case Cell::ResultKind::Empty:
            return {};
        case Cell::ResultKind::Number:
            return number(cell->number());
        }
    }
    switch (cell->type()) {
    case CellType::Integer:
        return std::to_string(cell->integer());
    case CellType::Float:
    case CellType::NumberFormula:
        return number(cell->number());
    case CellType::String:
        return strings().getString(cell->sstIndex());
    case CellType::Boolean:
    case CellType::BooleanFormula:
        return booleanText(cell->boolean());
    case CellType::Error:
    case CellType::ErrorFormula:
        return errorIndexToText(cell->errorOrdinal());
    case CellType::StringFormula:
        return fromXlsString(cell->flaggedResult());
    default:
        return {};
    }
}

void Sheet::setAsString(int col, int row, std::string_view text) {
    setString(col, row, text, -1);
}

void Sheet::setBlank(int col, int row, int32_t xf) {
    cells_.set(Cell::blank(cellKey(col, row), xf));
}

void Sheet::setBoolean(int col, int row, bool value, int32_t xf) {
    cells_.set(Cell::boolean(cellKey(col, row), value, xf));
}

void Sheet::setError(int col, int row, uint8_t ordinal, int32_t xf) {
    cells_.set(Cell::error(cellKey(col, row), ordinal, xf));
}

void Sheet::setInteger(int col, int row, int32_t value, int32_t xf) {
    cells_.set(Cell::integer(cellKey(col, row), value, xf));
}

void Sheet::setFloat(int col, int row, double value, int32_t xf) {
    cells_.set(Cell::number(cellKey(col, row), value, xf));
}

void Sheet::setString(int col, int row, std::string_view text, int32_t xf) {
    int32_t key = cellKey(col, row);
    cells_.set(Cell::string(key, strings().addString(text), xf));
}

void Sheet::setWideString(int col, int row, std::u16string_view text, int32_t xf) {
    int32_t key = cellKey(col, row);
    cells_.set(Cell::string(key, strings().addWideString(text), xf));
}

void Sheet::setRichString(int col, int row, std::string_view text, std::string_view runs,
                          int32_t xf) {
    int32_t key = cellKey(col, row);
    cells_.set(Cell::string(key, strings().addRichString(text, runs), xf));
}

void Sheet::setRichWideString(int col, int row, std::u16string_view text, std::string_view runs,
                              int32_t xf) {
    int32_t key = cellKey(col, row);
    cells_.set(Cell::string(key, strings().addRichWideString(text, runs), xf));
}

void Sheet::setCompressedString(int col, int row, std::string_view chars, int32_t xf) {
    int32_t key = cellKey(col, row);
    cells_.set(Cell::string(key, strings().addCompressed(chars), xf));
}

void Sheet::setStringIndex(int col, int row, int32_t sstIndex, int32_t xf) {
    int32_t key = cellKey(col, row);
    // A cell handed on is not kept: it holds no use of the string.
    int32_t index = cells_.passing() ? strings().validIndex(sstIndex) : strings().addRef(sstIndex);
    cells_.set(Cell::string(key, index, xf));
}

void Sheet::storeFormula(CellType type, int col, int row, std::string_view tokens, int32_t xf) {
    cells_.set(Cell::formula(type, cellKey(col, row), tokens, xf));
}

void Sheet::setNumberFormula(int col, int row, std::string_view tokens, int32_t xf, double result) {
    storeFormula(CellType::NumberFormula, col, row, tokens, xf);
    cells_.get(cellKey(col, row))->setNumberResult(result);
}

void Sheet::setStringFormula(int col, int row, std::string_view tokens, int32_t xf,
                             std::string result) {
    storeFormula(CellType::StringFormula, col, row, tokens, xf);
    cells_.get(cellKey(col, row))->setFlaggedResult(toXlsString(result));
}

void Sheet::setBooleanFormula(int col, int row, std::string_view tokens, int32_t xf, bool result) {
    storeFormula(CellType::BooleanFormula, col, row, tokens, xf);
    cells_.get(cellKey(col, row))->setByteResult(result ? 1 : 0);
}

void Sheet::setErrorFormula(int col, int row, std::string_view tokens, int32_t xf,
                            uint8_t errorCode) {
    storeFormula(CellType::ErrorFormula, col, row, tokens, xf);
    cells_.get(cellKey(col, row))->setByteResult(static_cast<uint8_t>(errorCodeToIndex(errorCode)));
}

void Sheet::setArrayFormula(int col, int row, std::string_view tokens, std::string_view arrayData,
                            int32_t xf, double result) {
    cells_.set(Cell::arrayFormula(cellKey(col, row), tokens, arrayData, result, xf));
}

std::string Sheet::formulaText(const Cell& cell) const {
    const Workbook& book = owner_.owner();
    std::string buffer = cell.tokens();
    if (cell.type() != CellType::ArrayFormula)
        buffer += cell.constants();
    NameTextCallback names = [&book](int kind, int index, int second) {
        return book.nameText(kind, index, second);
    };
    return decodeFormulaTokens(book.version(), buffer, cell.tokens().size(), names,
                               book.formulaSyntax(), cell.row(), cell.column());
}

std::string Sheet::rowRecordBody(size_t index) const {
    const RowRecord& r = rowRecords_.at(index);
    return littleEndianWords({r.row, r.firstCol, r.lastColPlus1, r.height,
                              static_cast<uint16_t>(r.reserved & 0xFFFF),
                              static_cast<uint16_t>(r.reserved >> 16), r.options, r.xf});
}

namespace {

constexpr NamedBit WindowBits[] = {{Sheet::ShowFormulas, 0x0001},
                                   {Sheet::Gridlines, 0x0002},
                                   {Sheet::RowColHeadings, 0x0004},
                                   {Sheet::FrozenPanes, 0x0008},
                                   {Sheet::ShowZeros, 0x0010}};

// The workspace options and their WSBOOL bits.
constexpr NamedBit WsBoolBits[] = {
    {Sheet::ShowAutoBreaks, 0x0001}, {Sheet::ApplyStyles, 0x0020}, {Sheet::RowSumsBelow, 0x0040},
    {Sheet::ColSumsRight, 0x0080},   {Sheet::FitToPage, 0x0100},   {Sheet::OutlineSymbols, 0x0400}};

} // namespace

uint16_t Sheet::windowOptionWord() const {
    return optionWord(options, window.otherOptions, WindowBits);
}

void Sheet::setWindowOptionWord(uint16_t word) {
    options = optionsOfWord(word, options, window.otherOptions, WindowBits);
}

uint16_t Sheet::wsBoolWord() const {
    return optionWord(workspaceOptions, workspaceBits, WsBoolBits);
}

void Sheet::setWsBoolWord(uint16_t word) {
    workspaceOptions = static_cast<uint8_t>(optionsOfWord(word, 0, workspaceBits, WsBoolBits));
}

void Sheet::calcDimensions() {
    CellStorage::Dimensions d = cells_.calcDimensions();
    for (int32_t value : {d.firstCol, d.lastCol, d.firstRow, d.lastRow})
        if (value < 0 || value > 0xFFFF)
            throw RangeError();
    firstCol = static_cast<uint16_t>(d.firstCol);
    lastCol = static_cast<uint16_t>(d.lastCol);
    firstRow = static_cast<uint16_t>(d.firstRow);
    lastRow = static_cast<uint16_t>(d.lastRow);
}

void Sheet::setOption(Option option, bool on) {
    options = static_cast<uint16_t>(on ? options | option : options & ~option);
}

void Sheet::clear() {
    firstCol = 0xFFFF;
    lastCol = 0;
    firstRow = 0xFFFF;
    lastRow = 0;
    validations_.clear();
    notes_.clear();
    sheetPictures_.clear();
    charts_.clear();
    inFileCharts_.clear();
    legacyNotes_.clear();
    unkeptShapes_.clear();
    keptRecords_.clear();
    hyperlinks_.clear();
    mergedCells_.clear();
    printSettings_.reset();
    columnFormats_.clear();
    rowRecords_.clear();
    window = SheetWindow{};
    cells_.clear();
}

} // namespace xls
