#include "listio/FieldGuess.h"

#include <initializer_list>

namespace quillan {

namespace {

struct Keywords {
    std::initializer_list<const char*> names;
    int FieldRoles::*column;
};

int findName(const std::vector<std::string>& names, const char* keyword) {
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == keyword)
            return static_cast<int>(i);
    return -1;
}

void applyKeywords(FieldRoles& roles, const std::vector<std::string>& names,
                   std::initializer_list<const char*> keywords, int FieldRoles::*column) {
    for (const char* keyword : keywords) {
        int found = findName(names, keyword);
        if (found >= 0)
            roles.*column = found;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool digitsAt(const std::string& s, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (!isDigit(s[i]))
            return false;
    return true;
}
bool lettersOrBlanks(const std::string& s, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (!isLetter(s[i]) && s[i] != ' ')
            return false;
    return true;
}

std::string trimTrailingBlanks(std::string s) {
    while (s.size() > 1 && s.back() == ' ')
        s.pop_back();
    return s;
}

// The seven guesses of one record.
struct Guess {
    int zip = -1, zip5 = -1, zip4 = -1, state = -1, cityState = -1, endorsement = -1, city = -1;
};

void guessLength(Guess& g, int c, const std::string& f) {
    size_t n = f.size();
    if (n == 2 && g.state == -1 && g.cityState == -1)
        g.state = c;
    else if (n == 4 && g.zip4 == -1 && digitsAt(f, 0, 4))
        g.zip4 = c;
    else if (n == 5 && g.zip5 == -1 && digitsAt(f, 0, 5))
        g.zip5 = c;
    else if (n == 9 && g.zip == -1 && digitsAt(f, 0, 9))
        g.zip = c;
    else if (n == 10 && g.zip == -1 && digitsAt(f, 0, 5) && digitsAt(f, 6, 10) &&
             static_cast<unsigned char>(f[5]) >= 0x2D)
        g.zip = c;
}

void guessCityState(Guess& g, int c, const std::string& f, int county) {
    size_t n = f.size();
    if (c == g.zip || c == g.zip5 || c == g.zip4 || c == g.endorsement || c == county)
        return;
    if (g.state != -1 || g.cityState != -1 || n <= 6)
        return;
    if (f[n - 4] == ',' && f[n - 3] == ' ' && lettersOrBlanks(f, 0, n - 4))
        g.cityState = c;
}

void guessEndorsement(Guess& g, int c, const std::string& f, int county) {
    if (c == g.zip || c == g.zip5 || c == g.zip4 || c == g.state || c == g.cityState || c == county)
        return;
    if (g.endorsement == -1 && f.size() > 3 && f.find("**") != std::string::npos)
        g.endorsement = c;
}

bool cityLike(const std::string& f) {
    return f.size() > 2 && lettersOrBlanks(f, 0, f.size());
}

void guessCity(Guess& g, const std::vector<std::string>& fields, int county) {
    if (g.state > 0 && g.cityState == -1) {
        int c = g.state - 1;
        if (c != g.zip && c != g.endorsement && c != county && cityLike(fields[c]))
            g.city = c;
    }
    if (g.city != -1 || g.cityState != -1)
        return;
    for (int c = 0; c < static_cast<int>(fields.size()); ++c) {
        if (c == g.zip || c == g.state || c == g.endorsement || c == county)
            continue;
        if (cityLike(fields[c])) {
            g.city = c;
            return;
        }
    }
}

// A field named for the sort, tray, package or endorsement holds what an earlier sort wrote
// there: its numbers and labels are no ZIP, state or city, whatever they look like, so the
// guess sees it empty, as in a list never sorted.
bool namedForOutput(const FieldRoles& named, int c) {
    return c == named.sortColumn || c == named.trayColumn || c == named.packageColumn ||
           c == named.endorsementColumn;
}

Guess guessRecord(const std::vector<std::string>& raw, int fieldCount, const FieldRoles& named) {
    std::vector<std::string> fields(static_cast<size_t>(fieldCount));
    for (int c = 0; c < fieldCount && c < static_cast<int>(raw.size()); ++c)
        if (!namedForOutput(named, c))
            fields[c] = trimTrailingBlanks(raw[c]);
    const int county = named.countyColumn;
    Guess g;
    for (int c = 0; c < fieldCount; ++c) {
        guessLength(g, c, fields[c]);
        guessCityState(g, c, fields[c], county);
        guessEndorsement(g, c, fields[c], county);
    }
    guessCity(g, fields, county);
    return g;
}

} // namespace

void applyFieldKeywords(FieldRoles& r, const std::vector<std::string>& names) {
    applyKeywords(r, names, {"ZIP4"}, &FieldRoles::zip4Column);
    applyKeywords(r, names, {"ZIP+4", "OWNERZIP", "TAXPAYERZIP"}, &FieldRoles::zipColumn);
    applyKeywords(r, names, {"ZIP", "ZIPCODE", "ZIP CODE", "ZIP_CODE"},
                  r.zip4Column != -1 ? &FieldRoles::zip5Column : &FieldRoles::zipColumn);
    applyKeywords(r, names,
                  {"CITYSTATE", "CITY,STATE", "CITY,ST", "CITY, ST", "CITY, STATE", "CITY_STATE",
                   "OWNERADDR4", "TAXPAYERADDR4"},
                  &FieldRoles::cityStateColumn);
    applyKeywords(r, names, {"CITY"}, &FieldRoles::cityColumn);
    applyKeywords(r, names, {"STATE"}, &FieldRoles::stateColumn);
    applyKeywords(
        r, names,
        {"SORT", "SORT ORDER", "SORT_ORDER", "SEQUENCE", "ORDER", "MAILSORT", "MAIL SORT", "USER6"},
        &FieldRoles::sortColumn);
    applyKeywords(
        r, names,
        {"PACKAGE", "PKG", "PACKAGE NUMBER", "PKG NUMBER", "PACKAGE_NUMBER", "PKG_NUMBER", "USER8"},
        &FieldRoles::packageColumn);
    applyKeywords(r, names,
                  {"TRAY", "SACK", "TRAY NUMBER", "SACK NUMBER", "TRAY_NUMBER", "SACK_NUMBER",
                   "TRAY/SACK", "USER7"},
                  &FieldRoles::trayColumn);
    applyKeywords(r, names, {"OEL", "ENDORSEMENT", "USER9"}, &FieldRoles::endorsementColumn);
    applyKeywords(r, names, {"COUNTY"}, &FieldRoles::countyColumn);
}

int VoteOfThree(int a, int b, int c) {
    if (a == b || a == c)
        return a;
    if (b == c)
        return b;
    return -1;
}

void guessFieldsFromContent(FieldRoles& roles, const std::vector<std::vector<std::string>>& records,
                            int fieldCount) {
    Guess g[3];
    for (size_t r = 0; r < 3 && r < records.size(); ++r)
        g[r] = guessRecord(records[r], fieldCount, roles);
    auto vote = [&](int Guess::*member) {
        return VoteOfThree(g[0].*member, g[1].*member, g[2].*member);
    };
    // A field named for a role is the user's own word: the guess only fills what the names
    // left open. A whole ZIP would push aside named ZIP parts, and a city/state field named
    // city and state fields, so those are guessed only when no part was named.
    const FieldRoles named = roles;
    auto fill = [](int& role, int guess) {
        if (role == -1)
            role = guess;
    };
    if (named.zip5Column == -1 && named.zip4Column == -1)
        fill(roles.zipColumn, vote(&Guess::zip));
    fill(roles.zip5Column, vote(&Guess::zip5));
    fill(roles.zip4Column, vote(&Guess::zip4));
    if (named.cityStateColumn == -1) {
        fill(roles.stateColumn, vote(&Guess::state));
        fill(roles.cityColumn, vote(&Guess::city));
    }
    if (named.cityColumn == -1 && named.stateColumn == -1)
        fill(roles.cityStateColumn, vote(&Guess::cityState));
    fill(roles.endorsementColumn, vote(&Guess::endorsement));
}

void adjustZipRoles(FieldRoles& roles) {
    if (roles.zipColumn == -1 && roles.zip4Column == -1 && roles.zip5Column != -1)
        roles.zipColumn = roles.zip5Column;
    if (roles.zipColumn != -1) {
        roles.zip4Column = -1;
        roles.zip5Column = -1;
    }
}

} // namespace quillan
