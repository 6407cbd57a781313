#pragma once

#include <map>
#include <string>

namespace quillan {

// Where the records of a list's table live: in the list, or, for a linked table, in the
// table of the file the link names (beside the list when the link's path is not there). The
// list names its table as the data-access components show it, in Windows-1252.
struct TableHome {
    std::string path;
    std::string table;
};

TableHome homeOf(const std::string& list, const std::string& table);

// The table's fields that a relationship Access enforces ties to another table (as the
// referring field or the one referred to), each with the relationship named as a person
// reads it: "Table2Table1" between the tables "Table2" and "Table1". Names in
// Windows-1252; none when the relationships cannot be read.
std::map<std::string, std::string> fieldsTiedByRelationships(const TableHome& home);

} // namespace quillan
