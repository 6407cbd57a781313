#pragma once

// Where the database file of a linked table is. The link holds the path Access was given,
// often a Windows one ("C:\data\list.mdb", "\\server\share\list.mdb"): an absolute path of
// this machine is taken as it is; a relative one is taken from the folder of the linking
// file; a Windows path is looked for beside the linking file, its last folders with the
// file name first, down to the file name alone, so that a front end copied together with
// its data files finds them again. Windows does not tell letter cases apart in names, so
// neither does the search for a Windows path ("db\LINKEE1.MDB" finds "db/linkee1.mdb").

#include <optional>
#include <string>
#include <vector>

namespace mdbengine {

struct LinkedDatabaseSearch {
    std::optional<std::string> found;
    std::vector<std::string> lookedAt; // in the order tried
};

LinkedDatabaseSearch findLinkedDatabase(const std::string& linkingFile, const std::string& link);

} // namespace mdbengine
