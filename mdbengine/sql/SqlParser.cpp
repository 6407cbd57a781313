#include "mdbengine/sql/SqlParser.h"

#include "mdbengine/sql/SqlError.h"
#include "mdbengine/sql/SqlLexer.h"
#include "mdbengine/tables/Names.h"

namespace mdbengine::sql {

namespace {

using Kind = SqlExpression::Kind;
using Expression = std::unique_ptr<SqlExpression>;

const char* const reservedWords[] = {
    "SELECT", "FROM",  "WHERE",    "ORDER",      "BY",          "AND",       "OR",     "NOT",
    "LIKE",   "IS",    "IN",       "BETWEEN",    "NULL",        "TRUE",      "FALSE",  "AS",
    "ASC",    "DESC",  "DISTINCT", "INSERT",     "INTO",        "VALUES",    "UPDATE", "SET",
    "DELETE", "GROUP", "HAVING",   "JOIN",       "INNER",       "LEFT",      "RIGHT",  "ON",
    "UNION",  "TOP",   "ALL",      "PARAMETERS", "DISTINCTROW", "TRANSFORM", "PIVOT"};

bool reserved(const SqlToken& token) {
    if (token.kind != SqlToken::Kind::Word)
        return false;
    for (const char* word : reservedWords)
        if (file::sameName(token.text, word))
            return true;
    return false;
}

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text), tokens_(tokenize(text)) {}

    SqlStatement statement() {
        if (peek().isWord("PARAMETERS"))
            skipParameters();
        SqlStatement result;
        if (peek().isWord("SELECT")) {
            result.kind = SqlStatement::Kind::Select;
            result.select = select();
        } else if (peek().isWord("INSERT")) {
            insert(result);
        } else if (peek().isWord("UPDATE")) {
            update(result);
        } else if (peek().isWord("DELETE")) {
            remove(result);
        } else if (peek().isWord("TRANSFORM") || peek().isWord("CREATE") || peek().isWord("DROP") ||
                   peek().isWord("ALTER")) {
            beyond("Only SELECT, INSERT, UPDATE and DELETE statements are run here.");
        } else {
            fail("A statement begins with SELECT, INSERT, UPDATE or DELETE.");
        }
        if (peek().isSymbol(";"))
            take();
        if (peek().kind != SqlToken::Kind::End)
            unexpected();
        return result;
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw SqlError(ErrorNumber::SyntaxError, text_, why);
    }
    [[noreturn]] void beyond(const std::string& why) const {
        throw SqlError(ErrorNumber::NotSupported, {}, why);
    }
    [[noreturn]] void unexpected() const {
        const SqlToken& token = peek();
        if (token.kind == SqlToken::Kind::End)
            fail("The statement ends too soon.");
        if (token.isWord("GROUP") || token.isWord("HAVING"))
            beyond("Grouping (GROUP BY, HAVING) is not run here.");
        if (token.isWord("JOIN") || token.isWord("INNER") || token.isWord("LEFT") ||
            token.isWord("RIGHT"))
            beyond("Joins of tables are not run here.");
        if (token.isWord("UNION"))
            beyond("Union queries are not run here.");
        fail("'" + text_.substr(token.at, 20) + "' is not expected here.");
    }

    const SqlToken& peek(std::size_t ahead = 0) const {
        std::size_t at = std::min(position_ + ahead, tokens_.size() - 1);
        return tokens_[at];
    }
    const SqlToken& take() {
        const SqlToken& token = tokens_[position_];
        if (position_ + 1 < tokens_.size())
            ++position_;
        return token;
    }
    bool acceptWord(const char* word) {
        if (!peek().isWord(word))
            return false;
        take();
        return true;
    }
    bool acceptSymbol(const char* symbol) {
        if (!peek().isSymbol(symbol))
            return false;
        take();
        return true;
    }
    void expectWord(const char* word) {
        if (!acceptWord(word))
            unexpected();
    }
    void expectSymbol(const char* symbol) {
        if (!acceptSymbol(symbol))
            unexpected();
    }
    std::string name() {
        if (!peek().isName() || reserved(peek()))
            unexpected();
        return take().text;
    }
    // A name with the table before it ("Table1.col1"): the last part.
    std::string columnName() {
        std::string first = name();
        if (!acceptSymbol("."))
            return first;
        return name();
    }

    // The declaration only names what the statement uses; the names are found in it.
    void skipParameters() {
        while (peek().kind != SqlToken::Kind::End && !peek().isSymbol(";"))
            take();
        expectSymbol(";");
    }

    void tableReference(SqlSelect& select) {
        if (peek().isSymbol("("))
            beyond("Subqueries are not run here.");
        select.table = name();
        if (acceptWord("AS"))
            select.alias = name();
        else if (peek().isName() && !reserved(peek()))
            select.alias = take().text;
        if (peek().isSymbol(","))
            beyond("A statement here reads one table; '" + select.table +
                   "' is joined with another.");
    }

    SqlSelect select() {
        expectWord("SELECT");
        SqlSelect result;
        if (peek().isWord("TOP"))
            beyond("SELECT TOP is not run here.");
        if (acceptWord("DISTINCT") || acceptWord("DISTINCTROW"))
            result.distinct = true;
        else
            acceptWord("ALL");
        do
            result.items.push_back(selectItem());
        while (acceptSymbol(","));
        expectWord("FROM");
        tableReference(result);
        if (acceptWord("WHERE"))
            result.where = expression();
        if (acceptWord("ORDER")) {
            expectWord("BY");
            do {
                OrderItem item;
                item.expression = expression();
                if (acceptWord("DESC"))
                    item.descending = true;
                else
                    acceptWord("ASC");
                result.orderBy.push_back(std::move(item));
            } while (acceptSymbol(","));
        }
        return result;
    }

    SelectItem selectItem() {
        SelectItem item;
        if (acceptSymbol("*"))
            return item;
        if (peek().isName() && peek(1).isSymbol(".") && peek(2).isSymbol("*")) {
            item.starTable = take().text; // checked when the statement is bound
            take();
            take();
            return item;
        }
        item.expression = expression();
        if (acceptWord("AS"))
            item.alias = name();
        return item;
    }

    void insert(SqlStatement& result) {
        expectWord("INSERT");
        expectWord("INTO");
        result.kind = SqlStatement::Kind::Insert;
        result.target = name();
        if (acceptSymbol("(")) {
            do
                result.columns.push_back(columnName());
            while (acceptSymbol(","));
            expectSymbol(")");
        }
        if (acceptWord("VALUES")) {
            expectSymbol("(");
            do
                result.values.push_back(expression());
            while (acceptSymbol(","));
            expectSymbol(")");
            return;
        }
        if (!peek().isWord("SELECT"))
            unexpected();
        result.fromSelect = true;
        result.select = select();
    }

    void update(SqlStatement& result) {
        expectWord("UPDATE");
        result.kind = SqlStatement::Kind::Update;
        tableReference(result.select);
        expectWord("SET");
        do {
            Assignment assignment;
            assignment.column = columnName();
            expectSymbol("=");
            assignment.value = expression();
            result.assignments.push_back(std::move(assignment));
        } while (acceptSymbol(","));
        if (acceptWord("WHERE"))
            result.select.where = expression();
    }

    // DELETE [*|table.*|columns] FROM table: what stands before FROM changes nothing, a
    // whole record is deleted.
    void remove(SqlStatement& result) {
        expectWord("DELETE");
        result.kind = SqlStatement::Kind::Delete;
        while (!peek().isWord("FROM")) {
            if (peek().kind == SqlToken::Kind::End)
                unexpected();
            take();
        }
        expectWord("FROM");
        tableReference(result.select);
        if (acceptWord("WHERE"))
            result.select.where = expression();
    }

    Expression binary(Kind kind, std::string op, Expression left, Expression right) {
        std::vector<Expression> operands;
        operands.push_back(std::move(left));
        operands.push_back(std::move(right));
        return SqlExpression::make(kind, std::move(op), std::move(operands));
    }

    Expression expression() {
        Expression left = conjunction();
        while (acceptWord("OR"))
            left = binary(Kind::Or, "OR", std::move(left), conjunction());
        return left;
    }

    Expression conjunction() {
        Expression left = negation();
        while (acceptWord("AND"))
            left = binary(Kind::And, "AND", std::move(left), negation());
        return left;
    }

    Expression negation() {
        if (!acceptWord("NOT"))
            return comparison();
        std::vector<Expression> operand;
        operand.push_back(negation());
        return SqlExpression::make(Kind::Not, "NOT", std::move(operand));
    }

    Expression comparison() {
        Expression left = concatenation();
        static const char* const comparisons[] = {"=", "<>", "<=", ">=", "<", ">"};
        for (const char* op : comparisons)
            if (acceptSymbol(op))
                return binary(Kind::Compare, op, std::move(left), concatenation());
        if (acceptWord("IS")) {
            bool negated = acceptWord("NOT");
            expectWord("NULL");
            std::vector<Expression> operand;
            operand.push_back(std::move(left));
            Expression result = SqlExpression::make(Kind::IsNull, "IS NULL", std::move(operand));
            result->negated = negated;
            return result;
        }
        bool negated = acceptWord("NOT");
        Expression result;
        if (acceptWord("LIKE")) {
            result = binary(Kind::Like, "LIKE", std::move(left), concatenation());
        } else if (acceptWord("IN")) {
            result = list(std::move(left));
        } else if (acceptWord("BETWEEN")) {
            std::vector<Expression> operands;
            operands.push_back(std::move(left));
            operands.push_back(concatenation());
            expectWord("AND");
            operands.push_back(concatenation());
            result = SqlExpression::make(Kind::Between, "BETWEEN", std::move(operands));
        } else if (negated) {
            unexpected();
        } else {
            return left;
        }
        result->negated = negated;
        return result;
    }

    Expression list(Expression value) {
        expectSymbol("(");
        if (peek().isWord("SELECT"))
            beyond("Subqueries are not run here.");
        std::vector<Expression> operands;
        operands.push_back(std::move(value));
        do
            operands.push_back(concatenation());
        while (acceptSymbol(","));
        expectSymbol(")");
        return SqlExpression::make(Kind::In, "IN", std::move(operands));
    }

    Expression concatenation() {
        Expression left = additive();
        while (acceptSymbol("&"))
            left = binary(Kind::Concat, "&", std::move(left), additive());
        return left;
    }

    Expression additive() {
        Expression left = multiplicative();
        while (peek().isSymbol("+") || peek().isSymbol("-")) {
            std::string op = take().text;
            left = binary(Kind::Arithmetic, op, std::move(left), multiplicative());
        }
        return left;
    }

    Expression multiplicative() {
        Expression left = unary();
        while (peek().isSymbol("*") || peek().isSymbol("/")) {
            std::string op = take().text;
            left = binary(Kind::Arithmetic, op, std::move(left), unary());
        }
        return left;
    }

    Expression unary() {
        if (acceptSymbol("+"))
            return unary();
        if (!acceptSymbol("-"))
            return primary();
        std::vector<Expression> operand;
        operand.push_back(unary());
        return SqlExpression::make(Kind::Negate, "-", std::move(operand));
    }

    Expression primary() {
        const SqlToken& token = peek();
        if (token.kind == SqlToken::Kind::Literal)
            return SqlExpression::literal(take().value);
        if (acceptSymbol("(")) {
            if (peek().isWord("SELECT"))
                beyond("Subqueries are not run here.");
            Expression inner = expression();
            expectSymbol(")");
            return inner;
        }
        if (acceptWord("NULL"))
            return SqlExpression::literal(Variant::null());
        if (acceptWord("TRUE"))
            return SqlExpression::literal(Variant::boolean(true));
        if (acceptWord("FALSE"))
            return SqlExpression::literal(Variant::boolean(false));
        if (token.kind == SqlToken::Kind::Parameter) {
            take();
            auto parameter = SqlExpression::make(Kind::Name, {}, {});
            parameter->name = "?";
            return parameter;
        }
        return reference();
    }

    Expression reference() {
        auto result = SqlExpression::make(Kind::Name, {}, {});
        result->name = name();
        if (peek().isSymbol("("))
            beyond("Functions such as " + result->name + "() are not run here.");
        if (acceptSymbol(".")) {
            result->qualifier = std::move(result->name);
            result->name = name();
        }
        return result;
    }

    const std::string& text_;
    std::vector<SqlToken> tokens_;
    std::size_t position_ = 0;
};

} // namespace

SqlStatement parseStatement(const std::string& text) {
    return Parser(text).statement();
}

bool looksLikeStatement(const std::string& text) {
    static const char* const verbs[] = {"SELECT", "TRANSFORM", "PARAMETERS", "INSERT", "UPDATE",
                                        "DELETE", "CREATE",    "DROP",       "ALTER",  "WITH"};
    std::size_t start = text.find_first_not_of(" \t\r\n(");
    if (start == std::string::npos)
        return false;
    std::size_t end = text.find_first_of(" \t\r\n[*", start);
    if (end == std::string::npos)
        return false;
    std::string word = text.substr(start, end - start);
    for (const char* verb : verbs)
        if (file::sameName(word, verb))
            return true;
    return false;
}

} // namespace mdbengine::sql
