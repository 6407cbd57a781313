#include "xls/ExcelMask.h"

#include "xls/XlsError.h"

#include <algorithm>

namespace xls {

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string upperText(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upper);
    return result;
}

uint8_t colorOf(std::string_view name) {
    static const std::pair<const char*, uint8_t> Colors[] = {
        {"BLACK", 8}, {"WHITE", 9},   {"RED", 10},     {"GREEN", 11},
        {"BLUE", 12}, {"YELLOW", 13}, {"MAGENTA", 14}, {"CYAN", 15}};
    for (const auto& [text, index] : Colors)
        if (name == text)
            return index;
    return 0;
}

bool isDigitPlaceholder(uint8_t kind) {
    return kind == ExcelMask::Hash || kind == ExcelMask::Question || kind == ExcelMask::Zero;
}

// Splits at ";" outside double quotes; the fourth section takes the rest whole.
std::vector<std::string_view> splitSections(std::string_view mask) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i < mask.size() && parts.size() < 3; ++i) {
        if (mask[i] == '"')
            quoted = !quoted;
        else if (mask[i] == ';' && !quoted) {
            parts.push_back(mask.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(mask.substr(start));
    return parts;
}

class SectionReader {
public:
    SectionReader(std::string_view text, bool third) : text_(text) {
        section_.flags = third ? ExcelMask::ThirdSection : 0;
    }

    ExcelMask::Section read() {
        while (at_ < text_.size())
            step();
        finish();
        return std::move(section_);
    }

private:
    void add(uint8_t kind, std::string text = {}) {
        section_.tokens.push_back({kind, std::move(text)});
    }

    size_t runLength(char letter) const {
        size_t n = 0;
        while (at_ + n < text_.size() && lower(text_[at_ + n]) == letter)
            ++n;
        return n;
    }

    bool startsWith(std::string_view marker) const {
        return text_.substr(at_, marker.size()) == marker;
    }

    void step() {
        char c = text_[at_];
        char l = lower(c);
        if (c == '"')
            return quoted();
        if (c == '[')
            return bracket();
        if (c == '#' || c == '0' || c == '?')
            return digit(c);
        if (l == 'd' || l == 'h' || l == 'm' || l == 's' || l == 'y')
            return dateRun(l);
        for (auto [marker, kind] :
             {std::pair<std::string_view, uint8_t>{"AM/PM", ExcelMask::AmPmUpper},
              {"am/pm", ExcelMask::AmPmLower},
              {"a/p", ExcelMask::AmPmShort}})
            if (startsWith(marker))
                return amPm(marker.size(), kind);
        ++at_;
        switch (c) {
        case '@':
            section_.flags |= ExcelMask::TextPlaceholder;
            return add(ExcelMask::Marker, "@");
        case ',':
            section_.flags |= ExcelMask::Thousands;
            ++section_.trailingThousands;
            return;
        case '.':
            section_.flags |= ExcelMask::HasDecimalPoint;
            section_.decimalPosition = static_cast<int>(section_.tokens.size());
            return add(ExcelMask::DecimalPoint);
        case '%':
            section_.flags |= ExcelMask::HasPercent;
            return add(ExcelMask::Percent);
        case '*':
            return;
        case '\\':
            if (at_ < text_.size())
                add(ExcelMask::Literal, std::string(1, text_[at_++]));
            return;
        case '_':
            add(ExcelMask::Literal, " ");
            if (at_ < text_.size())
                ++at_;
            return;
        case 'E':
        case 'e':
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) {
                section_.flags |= ExcelMask::Exponent;
                add(ExcelMask::Marker, std::string(1, c) + text_[at_++]);
                return;
            }
            return add(ExcelMask::Literal, std::string(1, c));
        default:
            return add(ExcelMask::Literal, std::string(1, c));
        }
    }

    void quoted() {
        size_t end = text_.find('"', at_ + 1);
        if (end == std::string_view::npos) {
            at_ = text_.size(); // an unterminated quote adds nothing
            return;
        }
        add(ExcelMask::Quoted, std::string(text_.substr(at_ + 1, end - at_ - 1)));
        at_ = end + 1;
    }

    void bracket() {
        size_t end = text_.find(']', at_ + 1);
        if (end == std::string_view::npos) {
            at_ = text_.size();
            return;
        }
        std::string inside = upperText(text_.substr(at_ + 1, end - at_ - 1));
        at_ = end + 1;
        uint8_t kind = (inside == "H" || inside == "HH")   ? ExcelMask::ElapsedHours
                       : (inside == "M" || inside == "MM") ? ExcelMask::ElapsedMinutes
                       : (inside == "S" || inside == "SS") ? ExcelMask::ElapsedSeconds
                                                           : 0;
        if (kind) {
            section_.flags |= ExcelMask::DateTime;
            // "[h]:mm": minutes follow elapsed hours as they follow an hour run.
            lastDateKind_ =
                kind == ExcelMask::ElapsedHours ? static_cast<uint8_t>(ExcelMask::Hour) : kind;
            lastDateIndex_ = static_cast<int>(section_.tokens.size());
            return add(kind);
        }
        if (uint8_t color = colorOf(inside))
            section_.color = color;
    }

    void digit(char c) {
        ++at_;
        if (c != '?' && section_.decimalPosition >= 0)
            ++section_.decimals;
        section_.trailingThousands = 0;
        add(c == '#' ? ExcelMask::Hash : c == '0' ? ExcelMask::Zero : ExcelMask::Question);
    }

    void dateRun(char letter) {
        size_t n = runLength(letter);
        at_ += n;
        section_.flags |= ExcelMask::DateTime;
        uint8_t kind = 0;
        switch (letter) {
        case 'y':
            kind = n <= 2 ? ExcelMask::YearShort : ExcelMask::YearLong;
            break;
        case 'd':
            kind = static_cast<uint8_t>(ExcelMask::Day + std::min<size_t>(n, 4) - 1);
            break;
        case 'h':
            kind = n == 1 ? ExcelMask::Hour : ExcelMask::Hour + 1;
            break;
        case 'm':
            if (lastDateKind_ == ExcelMask::Hour || lastDateKind_ == ExcelMask::Hour + 1)
                kind = n == 1 ? ExcelMask::Minute : ExcelMask::Minute + 1;
            else
                kind = static_cast<uint8_t>(ExcelMask::Month + std::min<size_t>(n, 5) - 1);
            break;
        case 's':
            // "mm:ss": the month run before the seconds was minutes after all.
            if (lastDateIndex_ >= 0 &&
                (lastDateKind_ == ExcelMask::Month || lastDateKind_ == ExcelMask::Month + 1))
                section_.tokens[static_cast<size_t>(lastDateIndex_)].kind =
                    lastDateKind_ == ExcelMask::Month ? ExcelMask::Minute : ExcelMask::Minute + 1;
            kind = n == 1 ? ExcelMask::Second : ExcelMask::Second + 1;
            break;
        }
        lastDateKind_ = kind;
        lastDateIndex_ = static_cast<int>(section_.tokens.size());
        add(kind);
    }

    void amPm(size_t length, uint8_t kind) {
        at_ += length;
        for (auto token = section_.tokens.rbegin(); token != section_.tokens.rend(); ++token)
            if (token->kind == ExcelMask::Hour || token->kind == ExcelMask::Hour + 1) {
                token->kind = static_cast<uint8_t>(token->kind + 2);
                break;
            }
        add(kind);
    }

    void finish() {
        auto& tokens = section_.tokens;
        auto first = std::find_if(tokens.begin(), tokens.end(), [](const ExcelMask::Token& t) {
            return isDigitPlaceholder(t.kind) || t.kind == ExcelMask::DecimalPoint;
        });
        if (first != tokens.end()) {
            int position = static_cast<int>(first - tokens.begin());
            if (isDigitPlaceholder(first->kind))
                section_.flags &= static_cast<uint8_t>(~ExcelMask::DateTime);
            tokens.insert(first, {ExcelMask::NumberStart, {}});
            if (section_.decimalPosition >= position)
                ++section_.decimalPosition;
        }
        section_.trailingThousands = std::min(section_.trailingThousands, 4);
    }

    std::string_view text_;
    size_t at_ = 0;
    ExcelMask::Section section_;
    uint8_t lastDateKind_ = 0;
    int lastDateIndex_ = -1;
};

} // namespace

void ExcelMask::analyse(std::string_view mask) {
    if (mask.size() > MaxLength)
        throw XlsError("Format string more than 255 characthers");
    clear();
    mask_ = mask;
    std::vector<std::string_view> parts = splitSections(mask_);
    slots_ = parts.size();
    for (size_t i = 0; i < parts.size(); ++i)
        if (!parts[i].empty())
            sections_[i] = SectionReader(parts[i], i == 2).read();
}

void ExcelMask::clear() {
    for (auto& section : sections_)
        section.reset();
    mask_.clear();
    slots_ = 0;
}

size_t ExcelMask::sectionCount() const {
    return slots_;
}

} // namespace xls
