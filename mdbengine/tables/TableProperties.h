#pragma once

// The properties Access keeps for a table and its columns in the LvProp value of the table's
// row of MSysObjects: a mark ("KKD\0" in Jet3, "MR2\0" in Jet4), then blocks, each its
// length and kind: one list of the property names, then one block of values for the table
// and one for each column (the column's name, then entries of a type, a name from the list
// and a value). Of them the engine keeps the Required property of each column.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mdbengine::file {

// The names of the columns whose Required property is True. A damaged value gives what could
// be read before the damage.
std::vector<std::string> requiredColumns(std::span<const std::uint8_t> properties, bool jet4);

} // namespace mdbengine::file
