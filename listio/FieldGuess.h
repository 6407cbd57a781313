#pragma once

#include "listio/FieldRoles.h"

#include <string>
#include <vector>

namespace quillan {

// Finding the field roles of a list before the user confirms them: first by the field
// names, then, when no ZIP field was named, by the content of the first three records.

// Sets roles from upper-cased field names (whole-name matches, first matching field; a
// later keyword overwrites an earlier one for the same role).
void applyFieldKeywords(FieldRoles& roles, const std::vector<std::string>& upperNames);

// The value at least two of three share, else -1.
int VoteOfThree(int a, int b, int c);

// Guesses the ZIP, ZIP+4 parts, state, city/state, endorsement and city fields from the
// fields of up to three records and sets those of the seven roles that the field names left
// unset to the vote of the guesses; a role found by name is never replaced, and a field named
// for the sort information is no candidate of any guess.
void guessFieldsFromContent(FieldRoles& roles, const std::vector<std::vector<std::string>>& records,
                            int fieldCount);

// A lone 5-digit field becomes the whole ZIP; a whole ZIP drops the separate parts.
void adjustZipRoles(FieldRoles& roles);

} // namespace quillan
