#include "listio/AsciiFields.h"

#include "listio/ListKinds.h"

#include <functional>

namespace quillan {

namespace {

// Where a field's text goes: the entry to fill, or nothing when the field is only counted.
using FieldTarget = std::function<std::string*(size_t)>;

void stripStraightQuotes(std::string& field) {
    if (field.empty() || field.front() != '"' || field.back() != '"')
        return;
    field = field.size() == 1 ? std::string() : field.substr(1, field.size() - 2);
}

size_t scanSeparated(std::string_view line, const FieldTarget& target) {
    size_t count = 0;
    size_t start = 0;
    for (;;) {
        size_t stop = line.find_first_of("\t|", start);
        std::string_view piece = line.substr(
            start, stop == std::string_view::npos ? std::string_view::npos : stop - start);
        if (std::string* out = target(count)) {
            out->assign(piece);
            stripStraightQuotes(*out);
        }
        ++count;
        if (stop == std::string_view::npos)
            return count;
        start = stop + 1;
    }
}

size_t findQuote(std::string_view line, size_t from) {
    for (size_t p = from; p < line.size(); ++p)
        if (isQuoteByte(line[p]))
            return p;
    return std::string_view::npos;
}

size_t scanCommas(std::string_view line, const FieldTarget& target) {
    size_t count = 0;
    size_t p = 0;
    for (;;) {
        std::string* out = target(count);
        if (out)
            out->clear();
        if (p < line.size() && isQuoteByte(line[p])) {
            size_t close = findQuote(line, p + 1);
            size_t textEnd = close == std::string_view::npos ? line.size() : close;
            if (out)
                out->append(line.substr(p + 1, textEnd - p - 1));
            p = close == std::string_view::npos ? line.size() : close + 1;
        }
        size_t comma = line.find(',', p);
        size_t stop = comma == std::string_view::npos ? line.size() : comma;
        if (out)
            out->append(line.substr(p, stop - p));
        ++count;
        if (comma == std::string_view::npos)
            return count;
        p = comma + 1;
    }
}

size_t scan(std::string_view kind, std::string_view line, const FieldTarget& target) {
    if (isTabOrBarKind(kind))
        return scanSeparated(line, target);
    if (isCommaKind(kind))
        return scanCommas(line, target);
    return 0;
}

} // namespace

int fieldCount(std::string_view kind, std::string_view line) {
    size_t count = scan(kind, line, [](size_t) { return nullptr; });
    if (kind == KindBar && count > 0)
        --count;
    return static_cast<int>(count);
}

void SplitAsciiRecord(std::string_view kind, int n, std::string_view line,
                      std::vector<std::string>& fields) {
    size_t wanted = n > 0 ? static_cast<size_t>(n) : 0;
    if (fields.size() < wanted)
        fields.resize(wanted);
    for (auto& field : fields)
        field.clear();
    scan(kind, line, [&](size_t i) { return i < wanted ? &fields[i] : nullptr; });
}

} // namespace quillan
