#pragma once

#include "xls/FormulaDecoder.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

enum class ValidationType : uint8_t { Any, Integer, Number, List, Date, Time, TextLength, Custom };
enum class ValidationStyle : uint8_t { Stop, Warning, Info };
enum class ValidationOperator : uint8_t {
    Between,
    NotBetween,
    Equal,
    NotEqual,
    Greater,
    Less,
    GreaterEqual,
    LessEqual
};

struct ValidationArea {
    uint16_t row1 = 0;
    uint16_t row2 = 0;
    uint16_t col1 = 0;
    uint16_t col2 = 0;
};

class DataValidations;

// One data validation of a sheet (a DV record): the rule, its two condition formulas (kept as
// BIFF8 tokens), the texts shown to the user and the cell areas it covers.
class DataValidation {
public:
    explicit DataValidation(const DataValidations& owner) : owner_(&owner) {}

    std::string inputTitle;
    std::string errorTitle;
    std::string inputMessage;
    std::string errorMessage;
    ValidationType type = ValidationType::Any;
    ValidationStyle style = ValidationStyle::Stop;
    ValidationOperator op = ValidationOperator::Between;
    // The option bits besides the type, style and operator: an explicit list (0x80), blanks
    // allowed (0x100), no drop-down (0x200), the input method's mode, the input message and
    // the error alert shown (0x40000, 0x80000). A new validation allows blanks and shows both.
    uint32_t otherOptions = 0x000C0100;
    std::vector<ValidationArea> areas;

    // The conditions as formula text; setting encodes the text (at most 512 bytes of tokens).
    std::string expression1() const { return decoded(tokens1_); }
    std::string expression2() const { return decoded(tokens2_); }
    void setExpression1(std::string_view text) { tokens1_ = encoded(text); }
    void setExpression2(std::string_view text) { tokens2_ = encoded(text); }
    const std::string& tokens1() const { return tokens1_; }
    const std::string& tokens2() const { return tokens2_; }
    void setTokens1(std::string_view tokens) { tokens1_ = tokens; }
    void setTokens2(std::string_view tokens) { tokens2_ = tokens; }

    // Fills the validation from a DV record body. A text whose option byte is neither 0
    // nor 1 raises "Unhandled string in DV"; a body too short for its counts raises.
    void readRecord(std::string_view body);
    // The DV record body, texts as flagged strings (UTF-16 with `unicode`).
    std::string recordBody(bool unicode) const;

private:
    std::string decoded(const std::string& tokens) const;
    static std::string encoded(std::string_view text);

    const DataValidations* owner_;
    std::string tokens1_;
    std::string tokens2_;
    // As read: the texts as flagged strings (they go back so while they say the same) and
    // the word behind each formula's size.
    std::array<std::string, 4> textsAsRead_;
    std::array<uint16_t, 2> formulaWords_{};
};

// The data validations of a sheet.
class DataValidations {
public:
    DataValidation& add() { return items_.emplace_back(*this); }
    // The DVAL record's window settings as read: its options, the position of the drop-down
    // window and the object that shows it. A new sheet's are none.
    struct Window {
        uint16_t options = 0x0004;
        uint32_t left = 0;
        uint32_t top = 0;
        uint32_t objectId = 0xFFFFFFFF;
    };
    Window window;
    DataValidation& item(size_t index) { return items_.at(index); }
    const DataValidation& item(size_t index) const { return items_.at(index); }
    size_t count() const { return items_.size(); }
    void clear() {
        items_.clear();
        window = Window{};
    }

    // The names and sheets the condition formulas refer to; set by the workbook.
    NameTextCallback nameText;

private:
    std::deque<DataValidation> items_;
};

} // namespace xls
