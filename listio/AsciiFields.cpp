#include "listio/AsciiFields.h"

#include "listio/ListFormat.h"
#include "listio/QuoteBytes.h"

#include <functional>

namespace quillan {

namespace {

// A field found by a scan: where it lies in the line, and where its text goes (nothing
// when the field is only counted or located).
struct ScannedField {
    size_t begin;
    size_t end;
    bool closed;
    size_t quotedEnd; // after the closing quote of a comma field; begin when unquoted
};
using FieldTarget = std::function<std::string*(size_t)>;
using FieldSeen = std::function<void(const ScannedField&)>;

void stripStraightQuotes(std::string& field) {
    if (field.empty() || field.front() != '"' || field.back() != '"')
        return;
    field = field.size() == 1 ? std::string() : field.substr(1, field.size() - 2);
}

size_t scanSeparated(std::string_view line, const FieldTarget& target, const FieldSeen& seen) {
    size_t count = 0;
    size_t start = 0;
    for (;;) {
        size_t stop = line.find_first_of("\t|", start);
        size_t end = stop == std::string_view::npos ? line.size() : stop;
        if (std::string* out = target(count)) {
            out->assign(line.substr(start, end - start));
            stripStraightQuotes(*out);
        }
        if (seen)
            seen({start, end, true, start});
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

// The quoted part of a comma field that opens at `open`: appends its text and returns the
// position after the closing quote, or the end of the line when it never closes.
size_t scanQuoted(std::string_view line, size_t open, std::string* out, bool& closed) {
    size_t p = open + 1;
    for (;;) {
        size_t quote = findQuote(line, p);
        if (quote == std::string_view::npos) {
            if (out)
                out->append(line.substr(p));
            closed = false;
            return line.size();
        }
        const bool escaped = quote + 1 < line.size() && line[quote + 1] == '"';
        if (out)
            out->append(line.substr(p, quote - p + (escaped ? 1 : 0)));
        if (!escaped) {
            closed = true;
            return quote + 1;
        }
        p = quote + 2;
    }
}

size_t scanCommas(std::string_view line, const FieldTarget& target, const FieldSeen& seen) {
    size_t count = 0;
    size_t p = 0;
    for (;;) {
        const size_t begin = p;
        bool closed = true;
        std::string* out = target(count);
        if (out)
            out->clear();
        if (p < line.size() && isQuoteByte(line[p]))
            p = scanQuoted(line, p, out, closed);
        const size_t quotedEnd = p;
        size_t comma = line.find(',', p);
        size_t stop = comma == std::string_view::npos ? line.size() : comma;
        if (out)
            out->append(line.substr(p, stop - p));
        if (seen)
            seen({begin, stop, closed, quotedEnd});
        ++count;
        if (comma == std::string_view::npos)
            return count;
        p = comma + 1;
    }
}

size_t scan(const ListFormat& format, std::string_view line, const FieldTarget& target,
            const FieldSeen& seen = {}) {
    switch (format.fieldSplit) {
    case ListFormat::FieldSplit::TabOrBar:
        return scanSeparated(line, target, seen);
    case ListFormat::FieldSplit::Comma:
        return scanCommas(line, target, seen);
    default:
        return 0;
    }
}

std::string* nowhere(size_t) {
    return nullptr;
}

} // namespace

int fieldCount(const ListFormat& format, std::string_view line) {
    size_t count = scan(format, line, nowhere);
    if (format.closingDelimiter && count > 0)
        --count;
    return static_cast<int>(count);
}

void SplitAsciiRecord(const ListFormat& format, int n, std::string_view line,
                      std::vector<std::string>& fields) {
    size_t wanted = n > 0 ? static_cast<size_t>(n) : 0;
    if (fields.size() < wanted)
        fields.resize(wanted);
    for (auto& field : fields)
        field.clear();
    scan(format, line, [&](size_t i) { return i < wanted ? &fields[i] : nullptr; });
}

std::vector<RawField> rawFields(const ListFormat& format, std::string_view line) {
    std::vector<RawField> fields;
    scan(format, line, nowhere, [&](const ScannedField& f) {
        fields.push_back({line.substr(f.begin, f.end - f.begin), f.closed});
    });
    if (format.closingDelimiter && !fields.empty() && fields.back().bytes.empty())
        fields.pop_back();
    return fields;
}

bool allFieldsStandAlone(const ListFormat& format, std::string_view line) {
    for (const RawField& f : rawFields(format, line))
        if (!f.standsAlone)
            return false;
    return true;
}

std::string separatorsOutsideQuotes(std::string_view line) {
    std::string found;
    scanCommas(line, nowhere, [&](const ScannedField& f) {
        for (size_t p = f.quotedEnd; p < f.end; ++p)
            if ((line[p] == '\t' || line[p] == '|') && found.find(line[p]) == std::string::npos)
                found += line[p];
    });
    return found;
}

// The same rules as scanCommas, walked byte by byte so that a record running over many
// lines is looked at once, line after line.
QuoteWalk walkCommaQuotes(std::string_view line, bool openAtStart) {
    QuoteWalk walk;
    bool inQuote = openAtStart, fieldStart = !openAtStart, carried = openAtStart;
    bool justClosed = false;
    for (size_t p = 0; p < line.size(); ++p) {
        const char c = line[p];
        if (inQuote) {
            if (!isQuoteByte(c))
                continue;
            if (p + 1 < line.size() && line[p + 1] == '"') {
                ++p;
                continue;
            }
            inQuote = false;
            justClosed = carried;
            continue;
        }
        if (c == ',') {
            fieldStart = true;
            carried = justClosed = false;
            continue;
        }
        if (fieldStart && isQuoteByte(c))
            inQuote = true;
        else if (justClosed)
            walk.carriedFieldEndsCleanly = false;
        fieldStart = false;
    }
    walk.openAtEnd = inQuote;
    return walk;
}

std::string quotedCommaField(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (isQuoteByte(c))
            out += '"';
    }
    return out + "\"";
}

} // namespace quillan
