#include "listio/ZipParser.h"

namespace quillan {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(const std::string& s, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (!isDigit(s[i]))
            return false;
    return true;
}

void trimBlanks(std::string& s) {
    size_t lead = 0;
    while (lead + 1 < s.size() && s[lead] == ' ')
        ++lead;
    s.erase(0, lead);
    while (s.size() > 1 && s.back() == ' ')
        s.pop_back();
}

bool wellFormed(const std::string& s) {
    switch (s.size()) {
    case 5:
    case 9:
        return allDigits(s, 0, s.size());
    case 6:
        return allDigits(s, 0, 5) && s[5] == '-';
    case 10:
        return allDigits(s, 0, 5) && s[5] == '-' && allDigits(s, 6, 10);
    default:
        return false;
    }
}

int32_t fiveDigits(const std::string& s) {
    int32_t z = 0;
    for (size_t i = 0; i < s.size() && i < 5; ++i)
        if (isDigit(s[i]))
            z = z * 10 + (s[i] - '0');
    return z;
}

} // namespace

ZipParser::ZipParser(const SettingsLists& settings, MailingCounters& counters)
    : counters_(counters), chart_(settings.threeDigitChart),
      requireZip4_(settings.prefsList.rejectsMissingZip4() && settings.mailTypeList.isAutomation()),
      coSacked_(settings.mailTypeList.isCoSacked()) {}

Piece ZipParser::parse(std::string& text) {
    trimBlanks(text);
    Piece piece{.zip = fiveDigits(text)};
    if (text.size() <= 8 && requireZip4_)
        piece.rejection = ZipRejection::Zip4Missing;
    else if (!wellFormed(text))
        piece.rejection = ZipRejection::Form;
    if (piece.zip < 100 || piece.rejection == ZipRejection::Form)
        piece.rejection = ZipRejection::Form;
    else if (chart_.value(piece.zip / 100) == 0)
        piece.rejection = ZipRejection::NotServed;
    if (piece.rejected()) {
        ++counters_.rejectedCount;
        return piece;
    }
    if (coSacked_ && (text.size() == 5 || text.size() == 6)) {
        ++counters_.missingZip4Count;
        piece.withoutZip4 = true;
    }
    return piece;
}

} // namespace quillan
