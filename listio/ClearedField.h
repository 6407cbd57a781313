#pragma once

#include "listio/ListState.h"

#include <string>
#include <vector>

namespace quillan {

// An output field of an Access table that a unique index covers. Written record by record,
// the new numbers of a sorted list meet numbers that later records still hold (a re-sort
// gives the records a new order of the same numbers), so such a field is cleared in every
// record before any record gets its values: set to Null where the field and its indexes
// take one, else to a stand-in value that no record holds or will hold.
struct ClearedField {
    int column = -1; // the field's place among the table's fields
    bool takesNull = false;
    // What stand-ins a field that takes no Null can have: whole numbers from `smallest` to
    // `largest`, or a text of at most `width` characters.
    bool text = false;
    long long smallest = 0;
    long long largest = 0;
    int width = 0;
};

// The output fields (sort, tray or sack, package, endorsement) of the list's table that
// some unique index covers, as the definition of the table in the database at `path` says;
// none when the table cannot be read there (the write that follows then says why).
std::vector<ClearedField> clearedFieldsOf(const std::string& path, const std::string& table,
                                          const ListState& state);

} // namespace quillan
