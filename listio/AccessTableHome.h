#pragma once

#include <map>
#include <string>

namespace quillan {

// Where the records of a list's table live: in the list, or, for a linked table, in the
// table at the end of its links (the file each link names, beside the linking file when the
// link's path is not there), which is the one file written: the files the links pass
// through hold only links and stay as they are. The list names its table as the
// data-access components show it, in Windows-1252.
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
