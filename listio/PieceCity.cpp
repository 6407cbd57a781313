#include "listio/PieceCity.h"

#include "core/Convert.h"
#include "listio/Utf8.h"

namespace quillan {

namespace {

const std::string& field(const std::vector<std::string>& fields, int column) {
    static const std::string empty;
    return column >= 0 && column < static_cast<int>(fields.size()) ? fields[column] : empty;
}

std::string trimTrailingBlanks(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

CityAndState splitCityState(std::string& t) {
    CityAndState cs;
    if (t.size() < 6) {
        cs.city = cs.state = trimTrailingBlanks(upperAscii(t));
        return cs;
    }
    while (t.size() > 6 && t.back() == ' ')
        t.pop_back();
    cs.state = upperAscii(t.substr(t.size() - 2));
    std::string city = upperAscii(t.substr(0, t.size() - 3));
    while (!city.empty() &&
           (city.back() == ' ' || city.back() == ',' || (city.back() == ';' && city.size() > 3)))
        city.pop_back();
    cs.city = city;
    return cs;
}

} // namespace

std::string blankControlCharacters(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return text;
}

CityAndState cityAndStateOf(const ListState& roles, std::vector<std::string>& fields) {
    CityAndState cs;
    if (roles.cityStateColumn >= 0 && roles.cityStateColumn < static_cast<int>(fields.size())) {
        std::string& t = fields[roles.cityStateColumn];
        t = blankControlCharacters(std::move(t));
        cs = splitCityState(t);
    } else {
        cs.city = upperAscii(blankControlCharacters(field(fields, roles.cityColumn)));
        cs.state = upperAscii(blankControlCharacters(field(fields, roles.stateColumn)));
    }
    cs.city = trimTrailingBlanks(std::move(cs.city));
    cs.state = trimTrailingBlanks(std::move(cs.state));
    return cs;
}

std::string pieceCityEntry(const std::string& city, const std::string& state) {
    std::string c = cutText(blankControlCharacters(city), 18);
    std::string s = cutText(blankControlCharacters(state), 2);
    return (c.empty() ? "  " : c) + " " + (s.empty() ? "  " : s);
}

} // namespace quillan
