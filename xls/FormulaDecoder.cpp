#include "xls/FormulaDecoder.h"

#include "platform/text/AnsiCodePage.h"
#include "xls/ExcelFunctions.h"
#include "xls/NumberText.h"
#include "xls/RecordCursor.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

#include <cstdio>
#include <vector>

namespace xls {

namespace {

const char* const BinaryOperators[] = {"+", "-",  "*", "/",  "^", "&",
                                       "<", "<=", "=", ">=", ">", "<>"};

std::string hexTag(const char* pattern, uint8_t ptg) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, ptg);
    return text;
}

// The token class forms (value 0x40, array 0x60) share the reference form's meaning.
uint8_t baseToken(uint8_t ptg) {
    return ptg < 0x20 ? ptg : static_cast<uint8_t>((ptg & 0x1F) | 0x20);
}

int signExtend(int value, int bits) {
    int sign = 1 << (bits - 1);
    return (value ^ sign) - sign;
}

// The byte size of a token whose size does not depend on its kind alone is worked out from
// its fields; 0 means a token this library does not know.
size_t tokenSize(ExcelVersion version, const RecordCursor& in, size_t at) {
    bool biff8 = version >= ExcelVersion::Excel97;
    bool biff5 = version == ExcelVersion::Excel50;
    bool early = version <= ExcelVersion::Excel30; // BIFF2 and BIFF3
    uint8_t ptg = in.u8(at);
    uint8_t base = baseToken(ptg);
    if (ptg >= 0x80)
        return 0;
    switch (base) {
    case 0x01:
        return version <= ExcelVersion::Excel21 ? 4 : 5; // ptgExp: row and column of the master
    case 0x02:
        return 5; // ptgTbl
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x07:
    case 0x08:
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x0E:
    case 0x0F:
    case 0x10:
    case 0x11:
    case 0x12:
    case 0x13:
    case 0x14:
    case 0x15:
    case 0x16:
        return 1;
    case 0x17: {
        size_t count = in.u8(at + 1);
        if (!biff8)
            return 2 + count;
        return 3 + (in.u8(at + 2) & 0x01 ? 2 * count : count);
    }
    case 0x19:
        if (version <= ExcelVersion::Excel21)
            return 3;
        if (in.u8(at + 1) & 0x04) // choose: a jump table of count + 1 offsets
            return 6 + 2 * static_cast<size_t>(in.u16(at + 2));
        return 4;
    case 0x1A:
        return 11;
    case 0x1B:
        return 5;
    case 0x1C:
    case 0x1D:
        return 2;
    case 0x1E:
        return 3;
    case 0x1F:
        return 9;
    case 0x20:
        return 8;
    case 0x21:
        return early ? 2 : 3;
    case 0x22:
        return early ? 3 : 4;
    case 0x23:
        return biff8 ? 5 : biff5 ? 15 : 11;
    case 0x24:
    case 0x2A:
    case 0x2C:
        return biff8 ? 5 : 4;
    case 0x25:
    case 0x2B:
    case 0x2D:
        return biff8 ? 9 : 7;
    case 0x26:
    case 0x27:
    case 0x28:
        return 7; // ptgMem*: the sub-expression follows
    case 0x29:
    case 0x2E:
    case 0x2F:
        return 3;
    case 0x39:
        return biff8 ? 7 : 25;
    case 0x3A:
    case 0x3C:
        return biff8 ? 7 : 18;
    case 0x3B:
    case 0x3D:
        return biff8 ? 11 : 21;
    default:
        return 0;
    }
}

class Decoder {
public:
    Decoder(ExcelVersion version, std::string_view buffer, size_t tokenLength,
            const NameTextCallback& names, const FormulaSyntax& syntax, int baseRow, int baseCol)
        : version_(version), tokens_(buffer.substr(0, std::min(tokenLength, buffer.size()))),
          data_(buffer.substr(std::min(tokenLength, buffer.size()))), names_(names),
          syntax_(syntax), baseRow_(baseRow), baseCol_(baseCol),
          cutShort_(tokenLength > buffer.size()) {}

    std::string run() {
        try {
            while (at_ < tokens_.size() && step()) {
            }
        } catch (const XlsError&) {
            cutShort_ = true;
        }
        std::string top = stack_.empty() ? std::string() : stack_.back();
        if (cutShort_)
            return top + "[ERROR]";
        return stack_.empty() ? "[ERROR]" : top;
    }

private:
    bool biff8() const { return version_ >= ExcelVersion::Excel97; }
    bool biff5() const { return version_ == ExcelVersion::Excel50; }

    std::string pop() {
        if (stack_.empty())
            return "<Val missing>";
        std::string top = std::move(stack_.back());
        stack_.pop_back();
        return top;
    }

    // The last n operands in source order; those the stack lacks read "<Val missing>".
    std::vector<std::string> popArguments(size_t n) {
        std::vector<std::string> arguments(n, "<Val missing>");
        size_t available = std::min(n, stack_.size());
        for (size_t i = 0; i < available; ++i)
            arguments[n - available + i] = std::move(stack_[stack_.size() - available + i]);
        stack_.resize(stack_.size() - available);
        return arguments;
    }

    void binary(const std::string& op) {
        if (stack_.size() < 2) {
            stack_.clear();
            stack_.push_back("<Val missing>");
            return;
        }
        std::string right = pop();
        std::string left = pop();
        stack_.push_back(left + op + right);
    }

    std::string joined(const std::vector<std::string>& parts) const {
        std::string text;
        for (size_t i = 0; i < parts.size(); ++i) {
            if (i)
                text += syntax_.argumentSeparator;
            text += parts[i];
        }
        return text;
    }

    std::string name(int kind, int index, int second) const {
        return names_ ? names_(kind, index, second) : "#NAME?";
    }

    std::string cellText(int col, int row, bool colRelative, bool rowRelative) const {
        return colRowToRefText(col, row, !colRelative, !rowRelative);
    }

    // One row and column of a reference; relative tokens (ptgRefN, ptgAreaN) add the base.
    std::string ref(size_t rowAt, size_t colAt, bool shared) const {
        RecordCursor in(tokens_);
        int row, col;
        bool rowRelative, colRelative;
        if (biff8()) {
            row = in.u16(rowAt);
            int field = in.u16(colAt);
            rowRelative = field & 0x8000;
            colRelative = field & 0x4000;
            col = field & 0x3FFF;
            if (shared && rowRelative)
                row = (baseRow_ + static_cast<int16_t>(row)) & 0xFFFF;
            if (shared && colRelative)
                col = (baseCol_ + static_cast<int8_t>(field & 0xFF)) & 0xFF;
        } else {
            int field = in.u16(rowAt);
            rowRelative = field & 0x8000;
            colRelative = field & 0x4000;
            row = field & 0x3FFF;
            col = in.u8(colAt);
            if (shared && rowRelative)
                row = (baseRow_ + signExtend(row, 14)) & 0xFFFF;
            if (shared && colRelative)
                col = (baseCol_ + static_cast<int8_t>(col)) & 0xFF;
        }
        return cellText(col, row, colRelative, rowRelative);
    }

    // A cell (ptgRef) or an area (ptgArea) whose fields start at `at`.
    std::string refText(size_t at, bool shared) const { return ref(at, at + 2, shared); }

    std::string areaText(size_t at, bool shared) const {
        if (biff8())
            return ref(at, at + 4, shared) + ":" + ref(at + 2, at + 6, shared);
        return ref(at, at + 4, shared) + ":" + ref(at + 2, at + 5, shared);
    }

    // The sheet part of a BIFF5 3-D reference, "!" included.
    std::string biff5Sheets(size_t at) const {
        RecordCursor in(tokens_);
        std::string text = in.i16(at) < 0 ? "" : "[EXTERN ???]:";
        int first = in.i16(at + 10);
        int last = in.i16(at + 12);
        if (first == -1 || last == -1)
            text += "[DELETED]";
        else if (first == last)
            text += name(3, first, 0);
        else
            text += name(3, first, 0) + ":" + name(3, last, 0);
        return text + "!";
    }

    std::string arrayValue(RecordCursor& data) {
        uint8_t kind = data.takeU8();
        switch (kind) {
        case 0x00:
            data.skip(8);
            return "";
        case 0x01:
            return numberText(data.takeF64(), syntax_.decimalSeparator);
        case 0x02: {
            size_t count = biff8() ? data.takeU16() : data.takeU8();
            bool wide = biff8() && (data.takeU8() & 0x01);
            std::string_view chars = data.take(wide ? 2 * count : count);
            return "\"" +
                   quotedText(biff8() ? readXlsString(version_,
                                                      std::string(1, wide ? '\x01' : '\0') +
                                                          std::string(chars),
                                                      count)
                                      : std::string(chars)) +
                   "\"";
        }
        case 0x04: {
            uint8_t value = data.takeU8();
            data.skip(7);
            return value ? syntax_.trueText : syntax_.falseText;
        }
        case 0x10: {
            uint8_t code = data.takeU8();
            data.skip(7);
            return errorCodeToText(code);
        }
        default:
            throw BadElement{kind};
        }
    }

    struct BadElement {
        uint8_t kind;
    };

    static std::string quotedText(const std::string& text) {
        std::string result;
        for (char c : text) {
            result += c;
            if (c == '"')
                result += '"';
        }
        return result;
    }

    // Array constants take their values from the data behind the tokens, row by row.
    std::string arrayConstant() {
        RecordCursor data(data_);
        data.seek(dataAt_);
        size_t cols = static_cast<size_t>(data.takeU8()) + 1;
        size_t rows = static_cast<size_t>(biff8() || biff5() ? data.takeU16() : data.takeU8()) + 1;
        std::string text = "{";
        try {
            for (size_t r = 0; r < rows; ++r) {
                if (r)
                    text += ';';
                for (size_t c = 0; c < cols; ++c) {
                    if (c)
                        text += syntax_.argumentSeparator;
                    text += arrayValue(data);
                }
            }
        } catch (const BadElement& bad) {
            dataAt_ = data_.size(); // the values cannot be stepped over
            return text + "Bad element ID#" + std::to_string(bad.kind) + " in array}";
        }
        dataAt_ = data.position();
        return text + "}";
    }

    // The cached areas of a ptgMemArea stand in the data behind the tokens.
    void skipMemAreas() {
        RecordCursor data(data_);
        data.seek(dataAt_);
        size_t count = data.takeU16();
        data.skip(count * (biff8() ? 8 : 6));
        dataAt_ = data.position();
    }

    std::string functionName(int number) const { return excelFunction(number).name; }

    void callFunction(const std::string& name, size_t count) {
        std::vector<std::string> arguments = popArguments(count);
        std::string function = name;
        if (!name.empty() && name[0] >= '0' && name[0] <= '9') {
            // An add-in call: the first argument names the function.
            function = arguments.empty() ? "<Val missing>" : arguments.front();
            if (!arguments.empty())
                arguments.erase(arguments.begin());
        }
        stack_.push_back(function + "(" + joined(arguments) + ")");
    }

    // Decodes one token; false when decoding ends.
    bool step() {
        RecordCursor in(tokens_);
        uint8_t ptg = in.u8(at_);
        size_t size = tokenSize(version_, in, at_);
        if (size == 0 || ptg == 0x00) {
            if (ptg != 0x00)
                stack_.push_back(hexTag("Unknown ptg[%.2X]", ptg));
            return false;
        }
        in.require(at_, size);
        size_t at = at_;
        at_ += size;
        uint8_t base = baseToken(ptg);
        bool early = version_ <= ExcelVersion::Excel30;
        switch (base) {
        case 0x01:
        case 0x02:
            break; // an unresolved array or table formula: no text of its own
        case 0x03:
        case 0x04:
        case 0x05:
        case 0x06:
        case 0x07:
        case 0x08:
        case 0x09:
        case 0x0A:
        case 0x0B:
        case 0x0C:
        case 0x0D:
        case 0x0E:
            binary(BinaryOperators[base - 0x03]);
            break;
        case 0x0F:
            binary(" ");
            break;
        case 0x10:
            binary(",");
            break;
        case 0x11:
            binary(":");
            break;
        case 0x12:
            if (stack_.empty())
                stack_.push_back("<Val missing>");
            break;
        case 0x13:
            stack_.push_back("-" + pop());
            break;
        case 0x14:
            stack_.push_back(pop() + "%");
            break;
        case 0x15:
            stack_.push_back("(" + pop() + ")");
            break;
        case 0x16:
            stack_.push_back("");
            break;
        case 0x17: {
            size_t count = in.u8(at + 1);
            std::string text = biff8() ? readXlsString(version_, in.bytes(at + 2, size - 2), count)
                                       : std::string(in.bytes(at + 2, count));
            stack_.push_back("\"" + quotedText(text) + "\"");
            break;
        }
        case 0x19:
            if (in.u8(at + 1) & 0x10)
                stack_.push_back("SUM(" + pop() + ")");
            break;
        case 0x1A:
            inExternSheet_ = true;
            break;
        case 0x1B:
            inExternSheet_ = false;
            break;
        case 0x1C:
            stack_.push_back(errorCodeToText(in.u8(at + 1)));
            break;
        case 0x1D:
            stack_.push_back(in.u8(at + 1) ? syntax_.trueText : syntax_.falseText);
            break;
        case 0x1E:
            stack_.push_back(std::to_string(in.u16(at + 1)));
            break;
        case 0x1F:
            stack_.push_back(numberText(in.f64(at + 1), syntax_.decimalSeparator));
            break;
        case 0x20:
            stack_.push_back(arrayConstant());
            break;
        case 0x21: {
            int number = early ? in.u8(at + 1) : in.u16(at + 1) & 0x7FFF;
            if (number >= ExcelFunctionCount) {
                stack_.push_back("?<" + std::to_string(number) + ">?(" + pop() + ")");
                break;
            }
            callFunction(functionName(number), excelFunction(number).minArgs);
            break;
        }
        case 0x22: {
            size_t count = in.u8(at + 1) & 0x7F;
            int number = early ? in.u8(at + 2) : in.u16(at + 2) & 0x7FFF;
            std::string function;
            if (biff8() || biff5())
                function = number < ExcelFunctionCount ? functionName(number) : "1";
            else
                function = functionName(number & 0xFF);
            callFunction(function, count);
            break;
        }
        case 0x23:
            if (biff8() || biff5())
                stack_.push_back(name(0, in.u16(at + 1), 0));
            else
                stack_.push_back(inExternSheet_ ? "[EXTERNNAME]" : "[NAME]");
            break;
        case 0x24:
            stack_.push_back(refText(at + 1, false));
            break;
        case 0x25:
            stack_.push_back(areaText(at + 1, false));
            break;
        case 0x26:
            skipMemAreas();
            break;
        case 0x27:
        case 0x28:
        case 0x29:
        case 0x2E:
        case 0x2F:
            break; // the sub-expression that follows gives the text
        case 0x2A:
        case 0x2B:
            stack_.push_back("#REF!");
            break;
        case 0x2C:
            stack_.push_back(refText(at + 1, true));
            break;
        case 0x2D:
            stack_.push_back(areaText(at + 1, true));
            break;
        case 0x39:
            if (biff8())
                stack_.push_back(name(2, in.u16(at + 1), in.u16(at + 3)));
            else
                stack_.push_back(name(1, in.i16(at + 1), in.u16(at + 11)));
            break;
        case 0x3A:
        case 0x3B:
        case 0x3C:
        case 0x3D: {
            bool isArea = base == 0x3B || base == 0x3D;
            bool isError = base >= 0x3C;
            if (biff8()) {
                std::string sheet = name(2, in.u16(at + 1), 0);
                stack_.push_back(sheet + (isError  ? "#REF!"
                                          : isArea ? areaText(at + 3, false)
                                                   : refText(at + 3, false)));
            } else {
                std::string sheet = biff5Sheets(at + 1);
                stack_.push_back(sheet + (isError  ? "#REF!"
                                          : isArea ? areaText(at + 15, false)
                                                   : refText(at + 15, false)));
            }
            break;
        }
        default:
            stack_.push_back(hexTag("Unknown ptg[%.2X]", ptg));
            return false;
        }
        return true;
    }

    ExcelVersion version_;
    std::string_view tokens_;
    std::string_view data_;
    size_t at_ = 0;
    size_t dataAt_ = 0;
    const NameTextCallback& names_;
    const FormulaSyntax& syntax_;
    int baseRow_;
    int baseCol_;
    bool cutShort_;
    bool inExternSheet_ = false;
    std::vector<std::string> stack_;
};

void putWord(std::string& tokens, size_t at, int value) {
    tokens[at] = static_cast<char>(value & 0xFF);
    tokens[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// One row and column of a relative token made absolute for the cell. A reference past the
// sheet's edge wraps around it, as Excel resolves relative references.
void adjustCell(bool biff8, std::string& tokens, size_t rowAt, size_t colAt, int row, int col) {
    RecordCursor in(tokens);
    if (biff8) {
        int field = in.u16(colAt);
        if (field & 0x8000)
            putWord(tokens, rowAt, (row + static_cast<int16_t>(in.u16(rowAt))) & 0xFFFF);
        if (field & 0x4000)
            putWord(tokens, colAt,
                    (field & 0xC000) | ((col + static_cast<int8_t>(field & 0xFF)) & 0xFF));
        return;
    }
    int field = in.u16(rowAt);
    if (field & 0x8000)
        putWord(tokens, rowAt,
                (field & 0xC000) | ((row + signExtend(field & 0x3FFF, 14)) & 0x3FFF));
    if (field & 0x4000)
        tokens[colAt] = static_cast<char>((col + static_cast<int8_t>(in.u8(colAt))) & 0xFF);
}

} // namespace

FormulaSyntax FormulaSyntax::fromLocale(const platform::LocaleSettings& locale) {
    platform::NumberSeparators separators = locale.separators();
    FormulaSyntax syntax;
    syntax.argumentSeparator = separators.list;
    syntax.decimalSeparator = separators.decimal;
    return syntax;
}

std::string decodeFormulaTokens(ExcelVersion version, std::string_view buffer, size_t tokenLength,
                                const NameTextCallback& names, const FormulaSyntax& syntax,
                                int baseRow, int baseCol) {
    return Decoder(version, buffer, tokenLength, names, syntax, baseRow, baseCol).run();
}

void adjustSharedFormula(bool biff8, std::string& tokens, int row, int col) {
    ExcelVersion version = biff8 ? ExcelVersion::Excel97 : ExcelVersion::Excel50;
    size_t at = 0;
    while (at < tokens.size()) {
        RecordCursor in(tokens);
        uint8_t ptg = in.u8(at);
        size_t size = tokenSize(version, in, at);
        if (size == 0)
            throw XlsError(hexTag("Unknown ptg[%.2X] in Shared Formula", ptg));
        uint8_t base = baseToken(ptg);
        in.require(at, size);
        if (base == 0x2C || base == 0x2D) {
            tokens[at] = static_cast<char>(ptg - 0x08); // ptgRefN to ptgRef, ptgAreaN to ptgArea
            if (base == 0x2C) {
                adjustCell(biff8, tokens, at + 1, at + 3, row, col);
            } else if (biff8) {
                adjustCell(true, tokens, at + 1, at + 5, row, col);
                adjustCell(true, tokens, at + 3, at + 7, row, col);
            } else {
                adjustCell(false, tokens, at + 1, at + 5, row, col);
                adjustCell(false, tokens, at + 3, at + 6, row, col);
            }
        }
        at += size;
    }
}

} // namespace xls
