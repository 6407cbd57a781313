#include "accessdb/classlib/FilterTextParser.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/classlib/Variant.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/FieldDesc.h"
#include "accessdb/engine/FilterBlobBuilder.h"

#include <cctype>
#include <cstring>

namespace accessdb {

namespace fx = filterexpr;

namespace {

enum class TokenKind { End, Name, Text, Number, Op, LParen, RParen };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
};

// An operand before it becomes a node: a field, or a constant whose type depends on the
// field on the other side.
struct Operand {
    bool isField = false;
    bool isNull = false;
    std::string text;
    bool quoted = false;
    std::optional<FilterFieldType> fieldType;
};

} // namespace

struct FilterTextParser::Impl {
    const FilterTextParser& owner;
    std::string text;
    std::size_t pos = 0;
    Token current;
    FilterBlobBuilder builder;

    [[noreturn]] void fail(const std::string& what) const {
        throw EDatabaseError("Invalid filter expression: " + what + " in \"" + text + "\"");
    }

    void advance() {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
            ++pos;
        current = Token{};
        if (pos >= text.size())
            return;
        char c = text[pos];
        if (c == '(' || c == ')') {
            current.kind = c == '(' ? TokenKind::LParen : TokenKind::RParen;
            ++pos;
            return;
        }
        if (c == '\'' || c == '"') {
            current.kind = TokenKind::Text;
            ++pos;
            for (;;) {
                if (pos >= text.size())
                    fail("unterminated text");
                if (text[pos] == c) {
                    if (pos + 1 < text.size() && text[pos + 1] == c) {
                        current.text += c;
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    return;
                }
                current.text += text[pos++];
            }
        }
        if (c == '[') {
            std::size_t close = text.find(']', pos);
            if (close == std::string::npos)
                fail("unterminated field name");
            current.kind = TokenKind::Name;
            current.text = text.substr(pos + 1, close - pos - 1);
            pos = close + 1;
            return;
        }
        if (std::strchr("=<>", c)) {
            current.kind = TokenKind::Op;
            current.text = c;
            ++pos;
            if (pos < text.size() && (text[pos] == '=' || (c == '<' && text[pos] == '>')))
                current.text += text[pos++];
            return;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.') {
            current.kind = TokenKind::Number;
            while (pos < text.size() &&
                   (std::isdigit(static_cast<unsigned char>(text[pos])) || text[pos] == '.' ||
                    text[pos] == '-' || text[pos] == 'e' || text[pos] == 'E'))
                current.text += text[pos++];
            return;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            current.kind = TokenKind::Name;
            while (pos < text.size() && (std::isalnum(static_cast<unsigned char>(text[pos])) ||
                                         text[pos] == '_' || text[pos] == '.'))
                current.text += text[pos++];
            return;
        }
        fail(std::string("unexpected character '") + c + "'");
    }

    bool keyword(const char* word) const {
        return current.kind == TokenKind::Name && equalsIgnoreCase(current.text, word);
    }

    FilterBlobBuilder::NodeId orExpr() {
        FilterBlobBuilder::NodeId left = andExpr();
        while (keyword("OR")) {
            advance();
            left = builder.binary(fx::Or, left, andExpr());
        }
        return left;
    }

    FilterBlobBuilder::NodeId andExpr() {
        FilterBlobBuilder::NodeId left = notExpr();
        while (keyword("AND")) {
            advance();
            left = builder.binary(fx::And, left, notExpr());
        }
        return left;
    }

    FilterBlobBuilder::NodeId notExpr() {
        if (keyword("NOT")) {
            advance();
            return builder.unary(fx::Not, notExpr());
        }
        return comparison();
    }

    Operand operand() {
        Operand op;
        switch (current.kind) {
        case TokenKind::Name:
            if (equalsIgnoreCase(current.text, "NULL")) {
                op.isNull = true;
            } else {
                op.fieldType = owner.fields_(current.text);
                op.isField = op.fieldType.has_value();
                // A name the dataset lacks stands for itself as text.
                op.quoted = !op.isField;
            }
            op.text = current.text;
            break;
        case TokenKind::Text:
            op.text = current.text;
            op.quoted = true;
            break;
        case TokenKind::Number:
            op.text = current.text;
            break;
        default:
            fail("operand expected");
        }
        advance();
        return op;
    }

    FilterBlobBuilder::NodeId constant(const Operand& op, std::optional<FilterFieldType> as) {
        std::uint16_t type = as ? as->type : fldtype::ZSTRING;
        Byte bytes[8] = {};
        try {
            switch (type) {
            case fldtype::INT16:
            case fldtype::UINT16:
            case fldtype::BOOL: {
                std::int64_t v = type == fldtype::BOOL ? (Variant(op.text).toBool() ? 1 : 0)
                                                       : textToInt64(op.text);
                putU16(bytes, 0, static_cast<std::uint16_t>(v));
                return builder.constant(type, {bytes, 2});
            }
            case fldtype::INT32:
            case fldtype::UINT32:
                putU32(bytes, 0, static_cast<std::uint32_t>(textToInt64(op.text)));
                return builder.constant(type, {bytes, 4});
            case fldtype::FLOAT: {
                double v = textToDouble(op.text);
                std::memcpy(bytes, &v, 8);
                return builder.constant(type, {bytes, 8});
            }
            default:
                break;
            }
        } catch (const EConvertError&) {
            fail("'" + op.text + "' does not fit its field");
        }
        return builder.text(op.text);
    }

    FilterBlobBuilder::NodeId node(const Operand& op, std::optional<FilterFieldType> partner) {
        if (op.isField)
            return builder.field(op.text);
        // A constant compared with a field takes the field's type.
        return constant(op, partner);
    }

    FilterBlobBuilder::NodeId comparison() {
        if (current.kind == TokenKind::LParen) {
            advance();
            FilterBlobBuilder::NodeId inner = orExpr();
            if (current.kind != TokenKind::RParen)
                fail("')' expected");
            advance();
            return inner;
        }
        Operand left = operand();
        if (keyword("IS")) {
            advance();
            bool negated = keyword("NOT");
            if (negated)
                advance();
            if (!keyword("NULL"))
                fail("NULL expected");
            advance();
            return builder.unary(negated ? fx::NotBlank : fx::IsBlank, node(left, std::nullopt));
        }
        if (current.kind != TokenKind::Op)
            return node(left, std::nullopt);
        std::string opText = current.text;
        advance();
        Operand right = operand();
        if (right.isNull || left.isNull) {
            const Operand& field = left.isNull ? right : left;
            bool equal = opText == "=";
            if (!equal && opText != "<>")
                fail("NULL compares only with = or <>");
            return builder.unary(equal ? fx::IsBlank : fx::NotBlank, node(field, std::nullopt));
        }
        static const struct {
            const char* text;
            std::uint32_t op;
        } ops[] = {{"=", fx::Eq}, {"<>", fx::Ne}, {">", fx::Gt},
                   {"<", fx::Lt}, {">=", fx::Ge}, {"<=", fx::Le}};
        std::uint32_t op = 0;
        for (const auto& candidate : ops)
            if (opText == candidate.text)
                op = candidate.op;
        if (op == 0)
            fail("unknown operator '" + opText + "'");
        std::uint16_t partial = 0;
        Operand& constantSide = left.isField ? right : left;
        if (constantSide.quoted && !owner.noPartialCompare_ && !constantSide.text.empty() &&
            constantSide.text.back() == '*') {
            constantSide.text.pop_back();
            partial = static_cast<std::uint16_t>(constantSide.text.size());
        }
        FilterBlobBuilder::NodeId l = node(left, right.fieldType);
        FilterBlobBuilder::NodeId r = node(right, left.fieldType);
        return builder.compare(op, owner.caseInsensitive_, partial, l, r);
    }
};

std::vector<Byte> FilterTextParser::parse(const std::string& text) {
    Impl impl{*this, text, 0, Token{}, FilterBlobBuilder{}};
    impl.advance();
    if (impl.current.kind == TokenKind::End)
        impl.fail("empty text");
    FilterBlobBuilder::NodeId root = impl.orExpr();
    if (impl.current.kind != TokenKind::End)
        impl.fail("'" + impl.current.text + "' unexpected");
    return impl.builder.build(root);
}

} // namespace accessdb
