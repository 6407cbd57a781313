#include "mdbengine/sql/SavedQuery.h"

#include "mdbengine/sql/SqlError.h"

namespace mdbengine::sql {

namespace {

// Attributes of the rows.
constexpr std::int16_t kindRow = 1;
constexpr std::int16_t optionsRow = 3;
constexpr std::int16_t tableRow = 5;
constexpr std::int16_t columnRow = 6;
constexpr std::int16_t joinRow = 7;
constexpr std::int16_t whereRow = 8;
constexpr std::int16_t groupRow = 9;
constexpr std::int16_t havingRow = 10;
constexpr std::int16_t orderRow = 11;

// Kinds, the flag of the kind row.
constexpr std::int32_t selectKind = 1;
constexpr std::int32_t appendKind = 3;
constexpr std::int32_t updateKind = 4;
constexpr std::int32_t deleteKind = 5;

// Options, the flag of the options row.
constexpr std::int32_t allColumnsOption = 0x1;
constexpr std::int32_t distinctOption = 0x2;

const char* kindName(std::int32_t kind) {
    switch (kind) {
    case 2:
        return "a make-table query";
    case 6:
        return "a crosstab query";
    case 7:
        return "a data-definition query";
    case 8:
        return "a pass-through query";
    case 9:
        return "a union query";
    default:
        return "a query of a kind this engine does not know";
    }
}

const file::QueryRow* first(const std::vector<file::QueryRow>& rows, std::int16_t attribute) {
    for (const file::QueryRow& row : rows)
        if (row.attribute == attribute)
            return &row;
    return nullptr;
}

std::vector<const file::QueryRow*> all(const std::vector<file::QueryRow>& rows,
                                       std::int16_t attribute) {
    std::vector<const file::QueryRow*> found;
    for (const file::QueryRow& row : rows)
        if (row.attribute == attribute)
            found.push_back(&row);
    return found;
}

std::int32_t kindOf(const std::vector<file::QueryRow>& rows) {
    const file::QueryRow* kind = first(rows, kindRow);
    return kind ? kind->flag : selectKind;
}

std::string bracketed(const std::string& name) {
    return "[" + name + "]";
}

// A column name as stored: already in brackets or qualified, or plain.
std::string columnReference(const std::string& name) {
    if (name.find('[') != std::string::npos || name.find('.') != std::string::npos)
        return name;
    return bracketed(name);
}

class Builder {
public:
    Builder(const std::string& name, const std::vector<file::QueryRow>& rows)
        : name_(name), rows_(rows) {}

    std::string sql() {
        std::int32_t kind = kindOf(rows_);
        if (kind != selectKind && kind != appendKind && kind != updateKind && kind != deleteKind)
            refuse(std::string(kindName(kind)) +
                   "; select, append, update and delete queries run here.");
        if (!all(rows_, joinRow).empty() || all(rows_, tableRow).size() > 1)
            refuse("a query over several tables; queries over one table run here.");
        if (first(rows_, groupRow) || first(rows_, havingRow))
            refuse("a query that groups its records; queries without grouping run here.");
        switch (kind) {
        case appendKind:
            return append();
        case updateKind:
            return update();
        case deleteKind:
            return "DELETE FROM " + from() + where();
        default:
            return select();
        }
    }

private:
    [[noreturn]] void refuse(const std::string& what) const {
        throw SqlError(ErrorNumber::NotSupported, {}, "'" + name_ + "' is " + what);
    }

    std::string from() const {
        const file::QueryRow* table = first(rows_, tableRow);
        if (!table)
            refuse("a query without a table; queries over one table run here.");
        std::string text = bracketed(table->name1);
        if (!table->name2.empty())
            text += " AS " + bracketed(table->name2);
        return text;
    }

    std::string where() const {
        const file::QueryRow* condition = first(rows_, whereRow);
        return condition ? " WHERE " + condition->expression : std::string();
    }

    std::string orderBy() const {
        std::string text;
        for (const file::QueryRow* row : all(rows_, orderRow))
            text += (text.empty() ? " ORDER BY " : ", ") + row->expression +
                    (row->name1 == "D" ? " DESC" : "");
        return text;
    }

    std::string columns(bool withNames) const {
        std::string text;
        for (const file::QueryRow* row : all(rows_, columnRow)) {
            text += (text.empty() ? "" : ", ") + row->expression;
            if (withNames && !row->name1.empty())
                text += " AS " + bracketed(row->name1);
        }
        return text;
    }

    std::string select() const {
        const file::QueryRow* options = first(rows_, optionsRow);
        std::int32_t flags = options ? options->flag : 0;
        std::string items = columns(true);
        if ((flags & allColumnsOption) != 0 || items.empty())
            items = items.empty() ? "*" : "*, " + items;
        return std::string("SELECT ") + ((flags & distinctOption) != 0 ? "DISTINCT " : "") + items +
               " FROM " + from() + where() + orderBy();
    }

    std::string update() const {
        std::string assignments;
        for (const file::QueryRow* row : all(rows_, columnRow))
            assignments += (assignments.empty() ? "" : ", ") + columnReference(row->name2) + " = " +
                           row->expression;
        return "UPDATE " + from() + " SET " + assignments + where();
    }

    std::string append() const {
        const file::QueryRow* kind = first(rows_, kindRow);
        std::string targets;
        for (const file::QueryRow* row : all(rows_, columnRow))
            targets += (targets.empty() ? "" : ", ") + columnReference(row->name2);
        std::string text = "INSERT INTO " + bracketed(kind->name1) + " (" + targets + ") ";
        if (!first(rows_, tableRow))
            return text + "VALUES (" + columns(false) + ")";
        return text + "SELECT " + columns(false) + " FROM " + from() + where() + orderBy();
    }

    const std::string& name_;
    const std::vector<file::QueryRow>& rows_;
};

} // namespace

std::string savedQuerySql(const std::string& name, const std::vector<file::QueryRow>& rows) {
    return Builder(name, rows).sql();
}

bool savedQueryIsSelect(const std::vector<file::QueryRow>& rows) {
    return kindOf(rows) == selectKind;
}

} // namespace mdbengine::sql
