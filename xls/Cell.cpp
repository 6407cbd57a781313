#include "xls/Cell.h"

#include "xls/XlsError.h"

#include <cstring>

namespace xls {

namespace {
const std::string NoText;
}

int32_t cellKey(int col, int row) {
    if (col < 0 || col > MaxColumn || row < 0 || row > MaxRow)
        throw RangeError();
    return row * 256 + col;
}

Cell::Cell(CellType type, int32_t key, int32_t xf) : type_(type), xf_(xf), key_(key) {
    if (key < 0)
        throw RangeError();
}

Cell::~Cell() = default;

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
    cell.byte_ = value ? 1 : 0;
    return cell;
}

Cell Cell::error(int32_t key, uint8_t ordinal, int32_t xf) {
    Cell cell(CellType::Error, key, xf);
    cell.byte_ = ordinal;
    return cell;
}

Cell Cell::formula(CellType type, int32_t key, std::string_view tokens, int32_t xf,
                   std::string_view constants) {
    if (type < CellType::NumberFormula || type > CellType::ErrorFormula)
        throw XlsError("Invalid Formula cell type");
    Cell cell(type, key, xf);
    cell.formula_ = std::make_unique<FormulaParts>();
    cell.formula_->tokens.assign(tokens);
    cell.formula_->constants.assign(constants);
    return cell;
}

Cell Cell::arrayFormula(int32_t key, std::string_view tokens, std::string_view arrayData,
                        double result, int32_t xf) {
    Cell cell(CellType::ArrayFormula, key, xf);
    cell.formula_ = std::make_unique<FormulaParts>();
    cell.formula_->tokens.assign(tokens);
    cell.formula_->arrayData.assign(arrayData);
    cell.value_.number = result;
    return cell;
}

Cell Cell::makeCopy() const {
    Cell copy(type_, key_, xf_);
    if (!isFormula()) {
        copy.byte_ = byte_;
        copy.value_ = value_;
        return copy;
    }
    copy.formula_ = std::make_unique<FormulaParts>();
    copy.formula_->tokens = formula_->tokens;
    copy.formula_->constants = formula_->constants;
    copy.formula_->arrayData = formula_->arrayData;
    return copy;
}

const std::string& Cell::tokens() const {
    return formula_ ? formula_->tokens : NoText;
}

const std::string& Cell::constants() const {
    return formula_ ? formula_->constants : NoText;
}

const std::string& Cell::arrayData() const {
    return formula_ ? formula_->arrayData : NoText;
}

const std::string& Cell::flaggedResult() const {
    return formula_ ? formula_->stringResult : NoText;
}

void Cell::setFlaggedResult(std::string flagged) {
    if (!isFormula())
        throw XlsError("Invalid Formula cell type");
    if (!formula_)
        formula_ = std::make_unique<FormulaParts>();
    formula_->stringResult = std::move(flagged);
}

namespace {

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

Cell::ResultKind Cell::arrayResultKind() const {
    uint64_t bits = bitsOf(value_.number);
    uint8_t kind = static_cast<uint8_t>(bits & 0xFF);
    if ((bits >> 48) != 0xFFFF || kind > static_cast<uint8_t>(ResultKind::Empty))
        return ResultKind::Number;
    return static_cast<ResultKind>(kind);
}

uint8_t Cell::arrayResultValue() const {
    return static_cast<uint8_t>((bitsOf(value_.number) >> 16) & 0xFF);
}

} // namespace xls
