#include "xls/Cell.h"

#include "xls/XlsError.h"

#include <cstring>

namespace xls {

namespace {
const std::string NoText;
}

static_assert(sizeof(Cell) == 16, "a sheet holds millions of cells: keep them small");

int32_t cellKey(int col, int row) {
    if (col < 0 || col > MaxColumn || row < 0 || row > MaxRow)
        throw RangeError();
    return row * 256 + col;
}

Cell::Cell(CellType type, int32_t key, int32_t xf) : xf_(xf) {
    if (key < 0 || static_cast<uint32_t>(key) > KeyMask)
        throw RangeError();
    keyAndType_ = static_cast<uint32_t>(key) | static_cast<uint32_t>(type) << KeyBits;
}

Cell::Cell(Cell&& other) noexcept
    : keyAndType_(other.keyAndType_), xf_(other.xf_), value_(other.value_) {
    if (other.isFormula())
        other.value_.formula = nullptr;
}

Cell& Cell::operator=(Cell&& other) noexcept {
    if (this != &other) {
        if (isFormula())
            delete value_.formula;
        keyAndType_ = other.keyAndType_;
        xf_ = other.xf_;
        value_ = other.value_;
        if (other.isFormula())
            other.value_.formula = nullptr;
    }
    return *this;
}

Cell::~Cell() {
    if (isFormula())
        delete value_.formula;
}

Cell::FormulaParts& Cell::parts() {
    if (!value_.formula)
        value_.formula = new FormulaParts;
    return *value_.formula;
}

uint8_t Cell::byteValue() const {
    if (!isFormula())
        return value_.byte;
    return value_.formula ? value_.formula->byte : 0;
}

void Cell::setByteResult(uint8_t value) {
    if (isFormula())
        parts().byte = value;
    else
        value_.byte = value;
}

Cell Cell::blank(int32_t key, int32_t xf) {
    return Cell(CellType::Blank, key, xf);
}

Cell Cell::integer(int32_t key, int32_t value, int32_t xf) {
    Cell cell(CellType::Integer, key, xf);
    cell.value_.integer = value;
    return cell;
}

Cell Cell::number(int32_t key, double value, int32_t xf) {
    Cell cell(CellType::Float, key, xf);
    cell.value_.number = value;
    return cell;
}

Cell Cell::string(int32_t key, int32_t sstIndex, int32_t xf) {
    Cell cell(CellType::String, key, xf);
    cell.value_.integer = sstIndex;
    return cell;
}

Cell Cell::boolean(int32_t key, bool value, int32_t xf) {
    Cell cell(CellType::Boolean, key, xf);
    cell.value_.byte = value ? 1 : 0;
    return cell;
}

Cell Cell::error(int32_t key, uint8_t ordinal, int32_t xf) {
    Cell cell(CellType::Error, key, xf);
    cell.value_.byte = ordinal;
    return cell;
}

Cell Cell::formula(CellType type, int32_t key, std::string_view tokens, int32_t xf,
                   std::string_view constants) {
    if (type < CellType::NumberFormula || type > CellType::ErrorFormula)
        throw XlsError("Invalid Formula cell type");
    Cell cell(type, key, xf);
    cell.parts().tokens.assign(tokens);
    cell.parts().constants.assign(constants);
    return cell;
}

Cell Cell::arrayFormula(int32_t key, std::string_view tokens, std::string_view arrayData,
                        double result, int32_t xf) {
    Cell cell(CellType::ArrayFormula, key, xf);
    cell.parts().tokens.assign(tokens);
    cell.parts().arrayData.assign(arrayData);
    cell.parts().number = result;
    return cell;
}

Cell Cell::makeCopy() const {
    Cell copy(type(), key(), xf_);
    if (!isFormula()) {
        copy.value_ = value_;
        return copy;
    }
    FormulaParts& parts = copy.parts();
    parts.tokens = tokens();
    parts.constants = constants();
    parts.arrayData = arrayData();
    return copy;
}

const std::string& Cell::tokens() const {
    return isFormula() && value_.formula ? value_.formula->tokens : NoText;
}

const std::string& Cell::constants() const {
    return isFormula() && value_.formula ? value_.formula->constants : NoText;
}

const std::string& Cell::arrayData() const {
    return isFormula() && value_.formula ? value_.formula->arrayData : NoText;
}

const std::string& Cell::flaggedResult() const {
    return isFormula() && value_.formula ? value_.formula->stringResult : NoText;
}

void Cell::setFlaggedResult(std::string flagged) {
    if (!isFormula())
        throw XlsError("Invalid Formula cell type");
    parts().stringResult = std::move(flagged);
}

void Cell::setNumberResult(double value) {
    if (isFormula())
        parts().number = value;
    else
        value_.number = value;
}

namespace {

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

Cell::ResultKind Cell::arrayResultKind() const {
    uint64_t bits = bitsOf(number());
    uint8_t kind = static_cast<uint8_t>(bits & 0xFF);
    if ((bits >> 48) != 0xFFFF || kind > static_cast<uint8_t>(ResultKind::Empty))
        return ResultKind::Number;
    return static_cast<ResultKind>(kind);
}

uint8_t Cell::arrayResultValue() const {
    return static_cast<uint8_t>((bitsOf(number()) >> 16) & 0xFF);
}

} // namespace xls
