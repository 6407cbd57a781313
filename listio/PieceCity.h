#pragma once

#include "listio/ListState.h"

#include <string>
#include <vector>

namespace quillan {

struct CityAndState {
    std::string city;
    std::string state;
};

// The city and state of a record from its city, state or city/state field, upper-cased and
// without trailing blanks. A long city/state field also loses its trailing blanks in the
// field list itself.
CityAndState cityAndStateOf(const ListState& roles, std::vector<std::string>& fields);

// The pieceCities entry: the city cut to 18 characters, one blank, the state cut to 2; an
// empty part is written as two blanks. Control characters become blanks, since the entry is
// written on a line of the sort-result file.
std::string pieceCityEntry(const std::string& city, const std::string& state);

// ASCII control characters (and DEL) replaced by blanks.
std::string blankControlCharacters(std::string text);

} // namespace quillan
