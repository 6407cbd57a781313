#include "mdbengine/dao/ExportText.h"

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/Recordset.h"

#include <cmath>
#include <cstdio>

namespace mdbengine {

namespace {

void appendQuoted(std::string_view text, std::string& out) {
    out += '"';
    for (std::size_t quote = text.find('"'); quote != std::string_view::npos;
         quote = text.find('"')) {
        out.append(text.substr(0, quote + 1));
        out += '"';
        text.remove_prefix(quote + 1);
    }
    out.append(text);
    out += '"';
}

std::string printed(const char* format, int precision, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, precision, value);
    return buffer;
}

std::string currencyText(std::int64_t tenThousandths) {
    bool negative = tenThousandths < 0;
    // The magnitude of the most negative value does not fit the signed type.
    auto magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                              : static_cast<std::uint64_t>(tenThousandths);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%llu.%04llu", negative ? "-" : "",
                  static_cast<unsigned long long>(magnitude / 10000),
                  static_cast<unsigned long long>(magnitude % 10000));
    return buffer;
}

// Days since 1 March of year 0 of the proleptic Gregorian calendar, to a civil date.
void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
    std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    std::int64_t dayOfEra = days - era * 146097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// mdbtools converts dates from 30 December 1899 (day 0) to 30 December 9999 and leaves the
// others as an all-zero date; a time that rounds up to the next midnight stays on its day
// as 24:00:00.
std::string dateText(double days) {
    constexpr double lastDay = 2958465;      // 31 December 9999, the first day left out
    constexpr std::int64_t dayZero = 693899; // 30 December 1899, counted from 1 March 0
    int year = 1900, month = 1, day = 0;
    long seconds = 0;
    if (days >= 0 && days < lastDay) {
        double whole = std::floor(days);
        seconds = static_cast<long>(std::floor((days - whole) * 86400 + 0.5));
        civilFromDays(static_cast<std::int64_t>(whole) + dayZero, year, month, day);
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02ld:%02ld:%02ld", year, month, day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

} // namespace

std::string exportText(const Variant& value) {
    std::string text;
    appendExportText(value, text);
    return text;
}

void appendExportText(const Variant& value, std::string& out) {
    switch (value.type()) {
    case Variant::Type::Boolean:
        out += value.booleanValue() ? '1' : '0';
        return;
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        out += std::to_string(value.integerValue());
        return;
    case Variant::Type::Currency:
        out += currencyText(value.integerValue());
        return;
    case Variant::Type::Single:
        out += printed("%.*g", 8, value.realValue());
        return;
    case Variant::Type::Double:
        out += printed("%.*g", 16, value.realValue());
        return;
    case Variant::Type::Date:
        appendQuoted(dateText(value.realValue()), out);
        return;
    case Variant::Type::Text:
        if (!value.stringValue().empty())
            appendQuoted(value.stringValue(), out);
        return;
    case Variant::Type::Decimal:
        out += value.stringValue();
        return;
    case Variant::Type::Bytes:
    case Variant::Type::Guid:
        out += "\"\"";
        return;
    default:
        return;
    }
}

Status exportTable(const Database& database, const std::string& table, std::string& out) {
    std::shared_ptr<Recordset> recordset;
    if (Status status = database.openRecordset(table, Recordset::readOnly, recordset);
        failed(status))
        return status;
    return exportRecords(*recordset, [&out](std::string_view piece) {
        out.append(piece);
        return true;
    });
}

Status exportRecords(Recordset& recordset, const ExportSink& sink) {
    constexpr std::size_t pieceSize = 64 * 1024;
    std::shared_ptr<Collection<Field>> fieldList;
    if (Status status = recordset.fields(fieldList); failed(status))
        return status;
    std::string out;
    out.reserve(pieceSize + 4096);
    std::vector<std::shared_ptr<Field>> fields(fieldList->count());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fieldList->item(i, fields[i]);
        out += (i ? "," : "") + fields[i]->name();
    }
    out += '\n';
    bool atEnd = false;
    Variant value;
    for (recordset.eof(atEnd); !atEnd; recordset.eof(atEnd)) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (Status status = fields[i]->value(value); failed(status))
                return status;
            if (i)
                out += ',';
            appendExportText(value, out);
        }
        out += '\n';
        if (out.size() >= pieceSize) {
            if (!sink(out))
                return statusOk;
            out.clear();
        }
        if (Status status = recordset.moveNext(); failed(status))
            return status;
    }
    sink(out);
    return statusOk;
}

} // namespace mdbengine
