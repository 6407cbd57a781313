#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace xls {

// Type codes as callers see them; 0 means that there is no cell, 2 is used by no cell.
enum class CellType : uint8_t {
    None = 0,
    Blank = 1,
    Integer = 3,
    Float = 4,
    String = 5,
    Boolean = 6,
    Error = 7,
    NumberFormula = 8,
    StringFormula = 9,
    BooleanFormula = 10,
    ErrorFormula = 11,
    ArrayFormula = 12,
};

constexpr int MaxColumn = 255;
constexpr int MaxRow = 65535;

// Row × 256 + column: keys order cells by row, then by column. A column outside 0 to 255
// or a row outside 0 to 65535 raises RangeError.
int32_t cellKey(int col, int row);
inline int keyColumn(int32_t key) {
    return key & 0xFF;
}
inline int keyRow(int32_t key) {
    return key >> 8;
}

// One cell of a worksheet: its key, its cell-format (XF) index (-1 for none given) and its
// value. A value type of 16 bytes, since a sheet may hold millions (a full sheet is 16.7
// million): the type shares a word with the key, which needs 24 bits; a formula's tokens and
// results live apart, where its value would be; a boolean or error is a value of its own.
class Cell {
public:
    Cell() = default; // no cell (type None): an empty slot of the store
    Cell(Cell&& other) noexcept;
    Cell& operator=(Cell&& other) noexcept;
    Cell(const Cell&) = delete;
    Cell& operator=(const Cell&) = delete;
    ~Cell();

    static Cell blank(int32_t key, int32_t xf);
    static Cell integer(int32_t key, int32_t value, int32_t xf);
    static Cell number(int32_t key, double value, int32_t xf);
    static Cell string(int32_t key, int32_t sstIndex, int32_t xf);
    static Cell boolean(int32_t key, bool value, int32_t xf);
    static Cell error(int32_t key, uint8_t ordinal, int32_t xf);
    // A formula of type NumberFormula to ErrorFormula with a copy of its tokens and of the
    // data of their array constants, which records keep behind the tokens; any other type
    // raises "Invalid Formula cell type".
    static Cell formula(CellType type, int32_t key, std::string_view tokens, int32_t xf,
                        std::string_view constants = {});
    static Cell arrayFormula(int32_t key, std::string_view tokens, std::string_view arrayData,
                             double result, int32_t xf);

    // A new cell with the same key, format and value; a formula copy has the tokens (and
    // array data) but a zero or empty result.
    Cell makeCopy() const;

    CellType type() const { return static_cast<CellType>(keyAndType_ >> KeyBits); }
    bool empty() const { return type() == CellType::None; }
    bool isFormula() const { return type() >= CellType::NumberFormula; }
    int32_t key() const { return static_cast<int32_t>(keyAndType_ & KeyMask); }
    int column() const { return keyColumn(key()); }
    int row() const { return keyRow(key()); }
    int32_t xf() const { return xf_; }
    void setXf(int32_t xf) { xf_ = xf; }

    int32_t integer() const { return value_.integer; } // Integer
    // Float, and the results of NumberFormula and ArrayFormula.
    double number() const {
        return !isFormula() ? value_.number : value_.formula ? value_.formula->number : 0;
    }
    int32_t sstIndex() const { return value_.integer; }  // String
    bool boolean() const { return byteValue() != 0; }    // Boolean, BooleanFormula result
    uint8_t errorOrdinal() const { return byteValue(); } // Error, ErrorFormula result

    const std::string& tokens() const;
    const std::string& constants() const;
    const std::string& arrayData() const;
    // The text result of a string formula (or of an array formula), as a flagged string.
    const std::string& flaggedResult() const;
    void setNumberResult(double value);
    void setByteResult(uint8_t value);
    // Only a formula cell has a text result: any other raises "Invalid Formula cell type".
    void setFlaggedResult(std::string flagged);

    // An array formula keeps its cached result as the record's 8 bytes: a number, or a text,
    // boolean, error or empty result marked by 0xFFFF in the last two bytes, its kind in
    // the first byte and its value in the third.
    enum class ResultKind : uint8_t { Text = 0, Boolean = 1, Error = 2, Empty = 3, Number = 4 };
    ResultKind arrayResultKind() const;
    uint8_t arrayResultValue() const;

private:
    struct FormulaParts {
        std::string tokens;
        std::string constants;
        std::string arrayData;
        std::string stringResult;
        double number = 0;
        uint8_t byte = 0;
    };
    static constexpr int KeyBits = 24;
    static constexpr uint32_t KeyMask = (1u << KeyBits) - 1;

    Cell(CellType type, int32_t key, int32_t xf);
    // The parts of a formula cell, made when first needed.
    FormulaParts& parts();
    uint8_t byteValue() const;

    uint32_t keyAndType_ = 0; // the key in the low 24 bits, the type above them
    int32_t xf_ = -1;
    // A formula cell owns its parts; every other cell has its value here.
    union {
        FormulaParts* formula = nullptr;
        int32_t integer;
        double number;
        uint8_t byte;
    } value_;
};

} // namespace xls
