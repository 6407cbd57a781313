#include "xls/FormulaEncoder.h"

#include "xls/ExcelFunctions.h"
#include "xls/XlsError.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

namespace xls {

namespace {

enum class Kind {
    End,
    Plus,
    Minus,
    Times,
    Divide,
    Power,
    Concat,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Open,
    Close,
    Function,
    Identifier,
    Number,
    ErrorLiteral,
    String,
    CellRef,
    AreaRef,
    Ref3d,
    Dde,
    OpenBrace,
    Other,
};

struct Token {
    Kind kind = Kind::End;
    size_t start = 0;
    size_t end = 0;    // one past the token
    std::string text;  // identifier, number, error, string contents, or reference
    std::string sheet; // the sheet part of a 3-D reference
};

const std::pair<const char*, uint8_t> ErrorLiterals[] = {
    {"#NULL!", 0x00}, {"#DIV/0!", 0x07}, {"#VALUE!", 0x0F}, {"#REF!", 0x17},
    {"#NAME?", 0x1D}, {"#NUM!", 0x24},   {"#N/A", 0x2A}};

bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == ':' ||
           c == ' ' || c == '.';
}

bool isIdentifierStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::string trimmed(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return {};
    size_t end = text.find_last_not_of(' ');
    return std::string(text.substr(start, end - start + 1));
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

[[noreturn]] void fail(const std::string& message) {
    throw XlsError(message);
}

class Parser {
public:
    Parser(const FormulaEncoder& encoder, std::string_view formula, size_t capacity)
        : e_(encoder), formula_(formula), end_(formula.size()), capacity_(capacity) {}

    EncodedFormula run() {
        expression();
        expectEnd();
        EncodedFormula result;
        result.tokenLength = out_.size();
        result.bytes = std::move(out_) + data_;
        return result;
    }

private:
    bool biff8() const { return e_.version >= ExcelVersion::Excel97; }

    // --- output -------------------------------------------------------------------------
    void token(uint8_t ptg, const std::string& data = {}) {
        if (out_.size() + data_.size() + data.size() + 1 > capacity_)
            fail("Formula buffer owerflow");
        out_ += static_cast<char>(ptg);
        out_ += data;
    }

    static std::string word(int value) {
        return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
    }

    static std::string zeros(size_t n) { return std::string(n, '\0'); }

    // A reference's row and column in the version's layout; relative parts carry flags.
    std::string cell(int col, int row, bool colAbsolute, bool rowAbsolute) const {
        int flags = (rowAbsolute ? 0 : 0x8000) | (colAbsolute ? 0 : 0x4000);
        if (biff8())
            return word(row) + word(col | flags);
        return word(row | flags) + std::string(1, static_cast<char>(col));
    }

    std::string area(const AreaReference& r) const {
        int flags1 = (r.row1Absolute ? 0 : 0x8000) | (r.col1Absolute ? 0 : 0x4000);
        int flags2 = (r.row2Absolute ? 0 : 0x8000) | (r.col2Absolute ? 0 : 0x4000);
        if (biff8())
            return word(r.row1) + word(r.row2) + word(r.col1 | flags1) + word(r.col2 | flags2);
        return word(r.row1 | flags1) + word(r.row2 | flags2) +
               std::string(1, static_cast<char>(r.col1)) +
               std::string(1, static_cast<char>(r.col2));
    }

    // --- lexer --------------------------------------------------------------------------
    void skipBlanks() {
        while (pos_ < end_ && formula_[pos_] == ' ')
            ++pos_;
    }

    char at(size_t i) const { return i < end_ ? formula_[i] : '\0'; }

    Token peek() {
        size_t saved = pos_;
        Token t = lex();
        pos_ = saved;
        return t;
    }

    Token take() { return lex(); }

    Token lex() {
        skipBlanks();
        Token t;
        t.start = pos_;
        if (pos_ >= end_)
            return t;
        char c = formula_[pos_];
        auto simple = [&](Kind kind, size_t length) {
            t.kind = kind;
            pos_ += length;
            t.end = pos_;
            return t;
        };
        switch (c) {
        case '+':
            return simple(Kind::Plus, 1);
        case '-':
            return simple(Kind::Minus, 1);
        case '*':
            return simple(Kind::Times, 1);
        case '/':
            return simple(Kind::Divide, 1);
        case '^':
            return simple(Kind::Power, 1);
        case '&':
            return simple(Kind::Concat, 1);
        case '=':
            return simple(Kind::Equal, 1);
        case '(':
            return simple(Kind::Open, 1);
        case ')':
            return simple(Kind::Close, 1);
        case '<':
            if (at(pos_ + 1) == '>')
                return simple(Kind::NotEqual, 2);
            if (at(pos_ + 1) == '=')
                return simple(Kind::LessEqual, 2);
            return simple(Kind::Less, 1);
        case '>':
            if (at(pos_ + 1) == '=')
                return simple(Kind::GreaterEqual, 2);
            return simple(Kind::Greater, 1);
        case '"':
            return string();
        case '#':
            return errorLiteral();
        case '\'':
            return quotedSheet();
        case '{':
            return simple(Kind::OpenBrace, 1);
        default:
            break;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == e_.decimalSeparator && std::isdigit(static_cast<unsigned char>(at(pos_ + 1)))))
            return number();
        if (isIdentifierStart(c))
            return identifier();
        return simple(Kind::Other, 1);
    }

    Token string() {
        Token t;
        t.start = pos_;
        t.kind = Kind::String;
        size_t i = pos_ + 1;
        for (;;) {
            if (i >= end_)
                fail("Missing right quote");
            if (formula_[i] == '"') {
                if (at(i + 1) == '"') { // "" stands for one quote
                    t.text += '"';
                    i += 2;
                    continue;
                }
                break;
            }
            t.text += formula_[i++];
        }
        pos_ = i + 1;
        t.end = pos_;
        return t;
    }

    Token errorLiteral() {
        Token t;
        t.start = pos_;
        t.kind = Kind::ErrorLiteral;
        for (const auto& [text, code] : ErrorLiterals) {
            size_t n = std::strlen(text);
            if (upper(formula_.substr(pos_, std::min(n, end_ - pos_))) == text) {
                t.text = text;
                pos_ += n;
                t.end = pos_;
                return t;
            }
        }
        size_t i = pos_ + 1;
        while (i < end_ && (std::isalnum(static_cast<unsigned char>(formula_[i])) ||
                            formula_[i] == '/' || formula_[i] == '!' || formula_[i] == '?'))
            ++i;
        t.text = std::string(formula_.substr(pos_, i - pos_));
        pos_ = i;
        t.end = pos_;
        return t;
    }

    Token number() {
        Token t;
        t.start = pos_;
        t.kind = Kind::Number;
        size_t i = pos_;
        auto digits = [&] {
            while (i < end_ && std::isdigit(static_cast<unsigned char>(formula_[i])))
                ++i;
        };
        digits();
        if (at(i) == e_.decimalSeparator) {
            ++i;
            digits();
        }
        if ((at(i) == 'E' || at(i) == 'e') &&
            (std::isdigit(static_cast<unsigned char>(at(i + 1))) ||
             ((at(i + 1) == '+' || at(i + 1) == '-') &&
              std::isdigit(static_cast<unsigned char>(at(i + 2)))))) {
            i += 2;
            digits();
        }
        t.text = std::string(formula_.substr(pos_, i - pos_));
        pos_ = i;
        t.end = pos_;
        return t;
    }

    // The reference behind a sheet name and "!".
    std::string referenceText() {
        size_t start = pos_;
        while (pos_ < end_ && isIdentifierChar(formula_[pos_]))
            ++pos_;
        return trimmed(formula_.substr(start, pos_ - start));
    }

    Token ref3d(Token t, std::string sheet) {
        ++pos_; // the "!"
        t.kind = Kind::Ref3d;
        t.sheet = std::move(sheet);
        t.text = referenceText();
        AreaReference ref;
        if (!FormulaEncoder::parseAreaRef(t.text, ref))
            fail("Invalid reference: " + quoted(formula_));
        t.end = pos_;
        return t;
    }

    Token quotedSheet() {
        Token t;
        t.start = pos_;
        size_t close = formula_.find('\'', pos_ + 1);
        if (close == std::string_view::npos || close >= end_)
            fail("Bad Sheet Reference " + quoted(formula_.substr(pos_, end_ - pos_)) +
                 " in formula " + quoted(formula_));
        std::string sheet(formula_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
        if (at(pos_) != '!')
            fail("Bad Sheet Reference " + quoted(sheet) + " in formula " + quoted(formula_));
        return ref3d(t, sheet);
    }

    Token identifier() {
        Token t;
        t.start = pos_;
        size_t i = pos_;
        while (i < end_ && isIdentifierChar(formula_[i]))
            ++i;
        t.text = trimmed(formula_.substr(pos_, i - pos_));
        pos_ = i;
        t.end = pos_;
        char next = at(pos_);
        if (next == '(') {
            t.kind = Kind::Function;
            return t;
        }
        if (next == '!')
            return ref3d(t, t.text);
        if (next == '|') {
            t.kind = Kind::Dde;
            return t;
        }
        AreaReference ref;
        if (FormulaEncoder::parseAreaRef(t.text, ref)) {
            t.kind = ref.area ? Kind::AreaRef : Kind::CellRef;
            return t;
        }
        if (pos_ < end_ && std::strchr("+-*/^&=<>)%;}", next) == nullptr &&
            next != e_.argumentSeparator)
            fail("Invalid symbol " + quoted(std::string(1, next)) + " in formula " +
                 quoted(formula_));
        t.kind = Kind::Identifier;
        return t;
    }

    // --- grammar ------------------------------------------------------------------------
    void expectEnd() {
        skipBlanks();
        if (pos_ < end_)
            fail("Invalid symbol " + quoted(formula_.substr(pos_, end_ - pos_)) + " in formula " +
                 quoted(formula_));
    }

    void expression() { comparison(); }

    template <typename Next>
    void binaryLevel(Next next, std::initializer_list<std::pair<Kind, uint8_t>> operators) {
        next();
        for (;;) {
            Token t = peek();
            uint8_t ptg = 0;
            for (auto [kind, code] : operators)
                if (t.kind == kind)
                    ptg = code;
            if (!ptg)
                return;
            take();
            next();
            token(ptg);
        }
    }

    void comparison() {
        binaryLevel([this] { additive(); }, {{Kind::Equal, 0x0B},
                                             {Kind::NotEqual, 0x0E},
                                             {Kind::Less, 0x09},
                                             {Kind::Greater, 0x0D},
                                             {Kind::LessEqual, 0x0A},
                                             {Kind::GreaterEqual, 0x0C}});
    }

    void additive() {
        binaryLevel([this] { multiplicative(); },
                    {{Kind::Plus, 0x03}, {Kind::Minus, 0x04}, {Kind::Concat, 0x08}});
    }

    void multiplicative() {
        binaryLevel([this] { power(); }, {{Kind::Times, 0x05}, {Kind::Divide, 0x06}});
    }

    void power() {
        binaryLevel([this] { factor(); }, {{Kind::Power, 0x07}});
    }

    void factor() {
        Token t = take();
        switch (t.kind) {
        case Kind::Minus:
            factor();
            return token(0x13);
        case Kind::Plus:
            return factor();
        case Kind::Open: {
            expression();
            if (take().kind != Kind::Close)
                fail("Right paranthese is missing " + quoted(formula_));
            return token(0x15);
        }
        case Kind::Function:
            return functionCall(t);
        case Kind::Identifier:
            return identifier(t);
        case Kind::Number:
            return numberToken(t);
        case Kind::ErrorLiteral:
            return errorToken(t);
        case Kind::String:
            return stringToken(t);
        case Kind::CellRef:
        case Kind::AreaRef:
            return reference(t);
        case Kind::Ref3d:
            return reference3d(t);
        case Kind::Dde:
            return dde(t);
        case Kind::OpenBrace:
            return arrayConstant();
        default:
            return; // a token the factor does not handle emits nothing
        }
    }

    void identifier(const Token& t) {
        if (upper(t.text) == upper(e_.trueText))
            return token(0x1D, std::string(1, '\x01'));
        if (upper(t.text) == upper(e_.falseText))
            return token(0x1D, std::string(1, '\x00'));
        int index = e_.nameLookup ? e_.nameLookup(t.text) : -1;
        if (index < 0)
            fail("Unknown Name " + quoted(t.text) + " in function " + quoted(formula_));
        token(0x43, word(index + 1) + zeros(biff8() ? 2 : 12));
    }

    double parsedNumber(const Token& t) const {
        std::string text = t.text;
        for (char& c : text)
            if (c == e_.decimalSeparator)
                c = '.';
        double value = 0;
        auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
            !std::isfinite(value))
            fail("Invalid number " + quoted(t.text) + " in function " + quoted(formula_));
        return value;
    }

    void numberToken(const Token& t) {
        double value = parsedNumber(t);
        if (value == std::floor(value) && value >= -32768 && value <= 32767 && value >= 0)
            return token(0x1E, word(static_cast<int>(value)));
        std::string bytes(8, '\0');
        std::memcpy(bytes.data(), &value, 8);
        token(0x1F, bytes);
    }

    void errorToken(const Token& t) {
        for (const auto& [text, code] : ErrorLiterals)
            if (t.text == text)
                return token(0x1C, std::string(1, static_cast<char>(code)));
        fail("Unknown error value " + quoted(t.text) + " in formula " + quoted(formula_));
    }

    void stringToken(const Token& t) {
        if (t.text.size() > 255)
            throw RangeError();
        std::string data(1, static_cast<char>(t.text.size()));
        if (biff8())
            data += '\0';
        token(0x17, data + t.text);
    }

    void reference(const Token& t) {
        AreaReference r;
        FormulaEncoder::parseAreaRef(t.text, r);
        if (!r.area)
            return token(0x44, cell(r.col1, r.row1, r.col1Absolute, r.row1Absolute));
        token(0x25, area(r));
    }

    void reference3d(const Token& t) {
        std::optional<SheetReference> sheet =
            e_.sheetLookup ? e_.sheetLookup(t.sheet) : std::nullopt;
        if (!sheet)
            fail("Unknown Sheet " + quoted(t.sheet) + " in formula " + quoted(formula_));
        AreaReference r;
        if (!FormulaEncoder::parseAreaRef(t.text, r))
            fail("Invalid Reference " + quoted(t.text) + " in formula " + quoted(formula_));
        std::string body = r.area ? area(r) : cell(r.col1, r.row1, r.col1Absolute, r.row1Absolute);
        uint8_t ptg = r.area ? 0x3B : 0x3A;
        if (biff8())
            return token(ptg, word(sheet->externIndex) + body);
        // BIFF5: the negated 1-based EXTERNSHEET index of an own sheet, 8 reserved bytes, the
        // first and last sheet, then the reference.
        token(ptg, word(-(sheet->externIndex + 1)) + zeros(8) + word(sheet->firstSheet) +
                       word(sheet->lastSheet) + body);
    }

    void dde(const Token& t) {
        // application|topic!'item'
        size_t bang = formula_.find('!', t.end);
        size_t open = bang == std::string_view::npos ? bang : bang + 1;
        if (bang == std::string_view::npos || at(open) != '\'')
            fail("Invalid DDE reference informula");
        size_t close = formula_.find('\'', open + 1);
        if (close == std::string_view::npos || close >= end_)
            fail("Invalid DDE reference informula");
        std::string topic(formula_.substr(t.end + 1, bang - t.end - 1));
        std::string applicationTopic = t.text + '\x03' + topic;
        std::string item(formula_.substr(open + 1, close - open - 1));
        pos_ = close + 1;
        std::optional<DdeReference> found =
            e_.ddeLookup ? e_.ddeLookup(applicationTopic, item) : std::nullopt;
        if (!found)
            fail("Invalid DDE reference informula");
        if (biff8())
            return token(0x59, word(found->externIndex) + word(found->nameIndex) + zeros(2));
        token(0x59, word(found->externIndex) + zeros(8) + word(found->nameIndex) + zeros(12));
    }

    // One value of an array constant: a number (with its sign), a string, a boolean or an
    // error, as the array's data holds it.
    std::string arrayValue() {
        Token t = take();
        bool negative = t.kind == Kind::Minus;
        if (negative)
            t = take();
        auto eight = [](uint8_t kind, uint8_t value) {
            return std::string(1, static_cast<char>(kind)) +
                   std::string(1, static_cast<char>(value)) + zeros(7);
        };
        switch (t.kind) {
        case Kind::Number: {
            double value = parsedNumber(t) * (negative ? -1 : 1);
            std::string bytes(8, '\0');
            std::memcpy(bytes.data(), &value, 8);
            return std::string(1, '\x01') + bytes;
        }
        case Kind::String:
            if (t.text.size() > (biff8() ? 0xFFFF : 0xFF))
                throw RangeError();
            return std::string(1, '\x02') +
                   (biff8() ? word(static_cast<int>(t.text.size())) + std::string(1, '\0')
                            : std::string(1, static_cast<char>(t.text.size()))) +
                   t.text;
        case Kind::Identifier:
            if (upper(t.text) == upper(e_.trueText))
                return eight(0x04, 1);
            if (upper(t.text) == upper(e_.falseText))
                return eight(0x04, 0);
            break;
        case Kind::ErrorLiteral:
            for (const auto& [text, code] : ErrorLiterals)
                if (t.text == text)
                    return eight(0x10, code);
            break;
        default:
            break;
        }
        fail("Invalid symbol " + quoted(formula_.substr(t.start, t.end - t.start)) +
             " in formula " + quoted(formula_));
    }

    // "{" values, "," between the columns and ";" between the rows, "}".
    void arrayConstant() {
        std::string values;
        size_t rows = 1, cols = 0, colsInRow = 0;
        for (;;) {
            values += arrayValue();
            ++colsInRow;
            skipBlanks();
            char next = at(pos_);
            if (next == e_.argumentSeparator) {
                ++pos_;
                continue;
            }
            if (rows == 1)
                cols = colsInRow;
            if (colsInRow != cols)
                fail("Invalid symbol " + quoted("{") + " in formula " + quoted(formula_));
            colsInRow = 0;
            ++pos_;
            if (next == ';') {
                ++rows;
                continue;
            }
            if (next == '}')
                break;
            fail("Invalid symbol " + quoted(std::string(1, next)) + " in formula " +
                 quoted(formula_));
        }
        if (cols > 256 || rows > 0xFFFF)
            throw RangeError();
        token(0x60, zeros(7));
        std::string block =
            std::string(1, static_cast<char>(cols - 1)) + word(static_cast<int>(rows - 1)) + values;
        if (out_.size() + data_.size() + block.size() > capacity_)
            fail("Formula buffer owerflow");
        data_ += block;
    }

    // The text between the "(" after a function name and its matching ")".
    size_t closingParenthesis(size_t open) const {
        int depth = 0;
        bool inString = false;
        for (size_t i = open; i < end_; ++i) {
            char c = formula_[i];
            if (c == '"')
                inString = !inString;
            else if (!inString && c == '(')
                ++depth;
            else if (!inString && c == ')' && --depth == 0)
                return i;
        }
        fail("Right paranthese is missing " + quoted(formula_));
    }

    std::vector<std::pair<size_t, size_t>> splitArguments(size_t start, size_t stop) const {
        std::vector<std::pair<size_t, size_t>> arguments;
        if (trimmed(formula_.substr(start, stop - start)).empty())
            return arguments;
        int depth = 0;
        bool inString = false;
        size_t from = start;
        for (size_t i = start; i < stop; ++i) {
            char c = formula_[i];
            if (c == '"')
                inString = !inString;
            else if (inString)
                continue;
            else if (c == '(' || c == '{')
                ++depth;
            else if (c == ')' || c == '}')
                --depth;
            else if (c == e_.argumentSeparator && depth == 0) {
                arguments.emplace_back(from, i);
                from = i + 1;
            }
        }
        arguments.emplace_back(from, stop);
        return arguments;
    }

    void argument(size_t start, size_t stop) {
        size_t savedPos = pos_, savedEnd = end_;
        pos_ = start;
        end_ = stop;
        skipBlanks();
        if (pos_ >= end_)
            token(0x16); // an empty argument
        else {
            expression();
            expectEnd();
        }
        pos_ = savedPos;
        end_ = savedEnd;
    }

    void functionCall(const Token& t) {
        size_t open = pos_;
        size_t close = closingParenthesis(open);
        std::string name = upper(t.text);
        int number = findExcelFunction(name);
        int addIn = -1;
        if (number < 0) {
            if (e_.version >= ExcelVersion::Excel40 && e_.functionLookup)
                addIn = e_.functionLookup(t.text);
            if (addIn < 0)
                fail("Unknown function in formula: " + quoted(t.text));
            if (biff8())
                token(0x39, word(1) + word(addIn) + zeros(2));
            else
                token(0x39, word(1) + zeros(8) + word(addIn) + zeros(12));
        }
        auto arguments = splitArguments(open + 1, close);
        if (arguments.size() > 255)
            fail("To many arguments to function:  " + quoted(name));
        if (number >= 0) {
            const ExcelFunction& f = excelFunction(number);
            if (arguments.size() < f.minArgs)
                fail("To few arguments to function:  " + quoted(name));
            if (arguments.size() > f.maxArgs)
                fail("To many arguments to function:  " + quoted(name));
        }
        for (auto [from, to] : arguments)
            argument(from, to);
        pos_ = close + 1;
        if (number < 0)
            return token(0x42, std::string(1, static_cast<char>(arguments.size() + 1)) +
                                   word(AddInFunction));
        const ExcelFunction& f = excelFunction(number);
        if (f.minArgs == f.maxArgs)
            return token(0x41, word(number));
        token(0x42, std::string(1, static_cast<char>(arguments.size())) + word(number));
    }

    const FormulaEncoder& e_;
    std::string_view formula_;
    size_t pos_ = 0;
    size_t end_;
    size_t capacity_;
    std::string out_;
    std::string data_; // array constants' values, kept behind the tokens
};

} // namespace

EncodedFormula FormulaEncoder::encode(std::string_view formula, size_t capacity) const {
    return Parser(*this, formula, capacity).run();
}

bool FormulaEncoder::parseCellRef(std::string_view text, int& col, int& row, bool& rowAbsolute,
                                  bool& colAbsolute) {
    size_t i = 0;
    colAbsolute = i < text.size() && text[i] == '$';
    if (colAbsolute)
        ++i;
    auto letter = [&](size_t at) {
        return at < text.size()
                   ? static_cast<char>(std::toupper(static_cast<unsigned char>(text[at])))
                   : '\0';
    };
    char first = letter(i);
    if (first < 'A' || first > 'Z')
        return false;
    char second = letter(i + 1);
    if (second >= 'A' && second <= 'Z') {
        if (first > 'G')
            return false;
        col = (first - 'A' + 1) * 26 + (second - 'A');
        i += 2;
    } else {
        col = first - 'A';
        i += 1;
    }
    rowAbsolute = i < text.size() && text[i] == '$';
    if (rowAbsolute)
        ++i;
    if (i >= text.size())
        return false;
    long value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        value = value * 10 + (text[i] - '0');
        if (value > 65536)
            return false;
    }
    if (value < 1)
        return false;
    row = static_cast<int>(value - 1);
    return true;
}

bool FormulaEncoder::parseAreaRef(std::string_view text, AreaReference& ref) {
    size_t colon = text.find(':');
    ref.area = colon != std::string_view::npos;
    if (!ref.area)
        return parseCellRef(text, ref.col1, ref.row1, ref.row1Absolute, ref.col1Absolute) &&
               ((ref.col2 = ref.col1), (ref.row2 = ref.row1), true);
    return parseCellRef(text.substr(colon + 1), ref.col2, ref.row2, ref.row2Absolute,
                        ref.col2Absolute) &&
           parseCellRef(text.substr(0, colon), ref.col1, ref.row1, ref.row1Absolute,
                        ref.col1Absolute);
}

} // namespace xls
