#include "mdbengine/sql/SqlLexer.h"

#include "mdbengine/sql/SqlError.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/values/DecimalNumber.h"
#include "mdbengine/values/JetDate.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace mdbengine::sql {

bool SqlToken::isWord(const char* word) const {
    return kind == Kind::Word && file::sameName(text, word);
}

namespace {

// "1.50" as "1.5" and "2." as "2": the number a person typed, shown as a number is shown.
std::string withoutTrailingZeros(std::string number) {
    if (number.find('.') == std::string::npos)
        return number;
    while (number.back() == '0')
        number.pop_back();
    if (number.back() == '.')
        number.pop_back();
    return number;
}

bool wordStart(char c) {
    auto u = static_cast<unsigned char>(c);
    return std::isalpha(u) || c == '_' || u >= 0x80;
}

bool wordPart(char c) {
    return wordStart(c) || std::isdigit(static_cast<unsigned char>(c));
}

class Lexer {
public:
    explicit Lexer(const std::string& text) : text_(text) {}

    std::vector<SqlToken> run() {
        std::vector<SqlToken> tokens;
        while (true) {
            skipBlanks();
            if (at_ >= text_.size())
                break;
            tokens.push_back(next());
        }
        SqlToken end;
        end.at = text_.size();
        tokens.push_back(end);
        return tokens;
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw SqlError(ErrorNumber::SyntaxError, text_, why);
    }

    void skipBlanks() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
    }

    SqlToken next() {
        SqlToken token;
        token.at = at_;
        char c = text_[at_];
        if (wordStart(c)) {
            std::size_t start = at_;
            while (at_ < text_.size() && wordPart(text_[at_]))
                ++at_;
            token.kind = SqlToken::Kind::Word;
            token.text = text_.substr(start, at_ - start);
        } else if (c == '[') {
            std::size_t close = text_.find(']', at_ + 1);
            if (close == std::string::npos)
                fail("A name in brackets is not closed.");
            token.kind = SqlToken::Kind::BracketName;
            token.text = text_.substr(at_ + 1, close - at_ - 1);
            at_ = close + 1;
        } else if (c == '\'' || c == '"') {
            token.kind = SqlToken::Kind::Literal;
            token.value = Variant::text(quoted(c));
        } else if (c == '#') {
            token.kind = SqlToken::Kind::Literal;
            token.value = date();
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && at_ + 1 < text_.size() &&
                    std::isdigit(static_cast<unsigned char>(text_[at_ + 1])))) {
            token.kind = SqlToken::Kind::Literal;
            token.value = number();
        } else if (c == '?') {
            token.kind = SqlToken::Kind::Parameter;
            token.text = "?";
            ++at_;
        } else {
            token.kind = SqlToken::Kind::Symbol;
            token.text = symbol();
        }
        return token;
    }

    std::string quoted(char quote) {
        std::string value;
        ++at_;
        while (true) {
            if (at_ >= text_.size())
                fail("A text in quotes is not closed.");
            char c = text_[at_++];
            if (c != quote) {
                value += c;
                continue;
            }
            if (at_ < text_.size() && text_[at_] == quote) {
                value += quote;
                ++at_;
                continue;
            }
            return value;
        }
    }

    Variant date() {
        std::size_t close = text_.find('#', at_ + 1);
        if (close == std::string::npos)
            fail("A date between # signs is not closed.");
        std::string inside = text_.substr(at_ + 1, close - at_ - 1);
        std::optional<double> days = parseJetDate(inside);
        if (!days)
            fail("#" + inside + "# is not a date.");
        at_ = close + 1;
        return Variant::date(*days);
    }

    Variant number() {
        std::size_t start = at_;
        bool whole = true;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
            ++at_;
        if (at_ < text_.size() && text_[at_] == '.') {
            whole = false;
            ++at_;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
                ++at_;
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            std::size_t mark = at_ + 1;
            if (mark < text_.size() && (text_[mark] == '+' || text_[mark] == '-'))
                ++mark;
            if (mark < text_.size() && std::isdigit(static_cast<unsigned char>(text_[mark]))) {
                whole = false;
                at_ = mark;
                while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
                    ++at_;
            }
        }
        if (at_ < text_.size() && wordStart(text_[at_]))
            fail("'" + text_.substr(start, at_ - start + 1) + "' is not a number.");
        std::string digits = text_.substr(start, at_ - start);
        double value = std::strtod(digits.c_str(), nullptr);
        if (whole && value <= std::numeric_limits<std::int32_t>::max())
            return Variant::longInteger(static_cast<std::int32_t>(std::atol(digits.c_str())));
        // Written without an exponent, a number keeps its digits: a Decimal or Currency
        // field takes it as typed, not as the nearest double.
        if (std::optional<DecimalNumber> exact = DecimalNumber::parse(digits))
            return Variant::decimal(withoutTrailingZeros(exact->text()));
        return Variant::real(value);
    }

    std::string symbol() {
        static const char* const pairs[] = {"<>", "<=", ">="};
        for (const char* pair : pairs)
            if (text_.compare(at_, 2, pair) == 0) {
                at_ += 2;
                return pair;
            }
        char c = text_[at_];
        static const std::string singles = "=<>(),.*+-/&;";
        if (singles.find(c) == std::string::npos)
            fail(std::string("The character '") + c + "' has no place here.");
        ++at_;
        return std::string(1, c);
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

} // namespace

std::vector<SqlToken> tokenize(const std::string& statement) {
    return Lexer(statement).run();
}

} // namespace mdbengine::sql
