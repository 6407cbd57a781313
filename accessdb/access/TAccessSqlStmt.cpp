#include "accessdb/access/TAccessSqlStmt.h"

#include "accessdb/access/TAccessDatabase.h"
#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EngineDates.h"
#include "accessdb/engine/PackedBytes.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace accessdb {
namespace {

std::string timeText(long long milliseconds) {
    long long seconds = milliseconds / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600 % 24, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

std::string quoted(const char* text) {
    std::string literal = "\"";
    for (const char* c = text; *c; ++c)
        literal += *c == '"' ? std::string("\"\"") : std::string(1, *c);
    return literal + "\"";
}

std::string floatText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// The literal of a value of the logical type; none for types not written as literals.
std::optional<std::string> literal(std::uint16_t type, const Byte* value, std::size_t length) {
    switch (type) {
    case fldtype::ZSTRING: {
        std::string text(reinterpret_cast<const char*>(value),
                         ::strnlen(reinterpret_cast<const char*>(value), length));
        return quoted(text.c_str());
    }
    case fldtype::DATE:
        return "#" +
               dateText(load<std::int32_t>(value) - static_cast<long long>(TimestampEpochDays)) +
               "#";
    case fldtype::BOOL:
        return load<std::int16_t>(value) != 0 ? "TRUE" : "FALSE";
    case fldtype::INT16:
        return std::to_string(load<std::int16_t>(value));
    case fldtype::INT32:
        return std::to_string(load<std::int32_t>(value));
    case fldtype::FLOAT:
        return floatText(load<double>(value));
    case fldtype::TIME:
        return "#" + timeText(load<std::int32_t>(value)) + "#";
    case fldtype::TIMESTAMP: {
        double ms = load<double>(value);
        double days = std::floor(ms / MsPerDay);
        long long rest = std::llround(ms - days * MsPerDay);
        return "#" + dateText(static_cast<long long>(days - TimestampEpochDays)) + " " +
               timeText(rest) + "#";
    }
    default:
        return std::nullopt;
    }
}

} // namespace

TAccessSqlStmt::TAccessSqlStmt(TAccessDatabase* database, TTorvaneCollection* collection,
                               int language)
    : TSqlStmt(database, collection, "", language) {}

TAccessDatabase& TAccessSqlStmt::accessDatabase() const {
    return *static_cast<TAccessDatabase*>(checkHandle(database()));
}

void TAccessSqlStmt::setSQL(const std::string& text) {
    std::string sent = text;
    for (std::size_t at = sent.find("%'"); at != std::string::npos; at = sent.find("%'", at + 1))
        sent[at] = '*';
    TSqlStmt::setSQL(sent);
}

std::string TAccessSqlStmt::withParameters(const std::string& text, const EngineParams& params,
                                           const Byte* record) {
    std::string result = text;
    std::size_t searchFrom = 0;
    for (const FieldDesc& desc : params.descs) {
        if (!desc.name.empty() || !record)
            continue;
        std::size_t mark = result.find('?', searchFrom);
        if (mark == std::string::npos)
            break;
        std::optional<std::string> value = literal(desc.type, record + desc.offset, desc.length);
        if (!value) {
            searchFrom = mark + 1;
            continue;
        }
        result.replace(mark, 1, *value);
        searchFrom = mark + value->size();
    }
    return result;
}

void TAccessSqlStmt::setParams(const EngineParams& params, const Byte* record) {
    TSqlStmt::setSQL(withParameters(sqlText(), params, record));
}

TBaseTable* TAccessSqlStmt::execute(bool wantCursor) {
    if (wantCursor)
        return accessDatabase().openResultCursor(nullptr, sqlText());
    accessDatabase().executeSQL(2, sqlText(), false);
    return nullptr;
}

} // namespace accessdb
