#pragma once

#include <string>

namespace platform {

// Where the program keeps its files. The program folder is the executable's folder unless
// QUILLAN_PROGRAM_DIR (or the --program-dir option) names another; the data folder is its
// "tables/" when that is writable, else a per-user copy seeded from the shipped tables.
// Folders end with "/".
struct ProgramPaths {
    std::string programFolder; // where the shipped tables/ and help/ are
    std::string baseFolder;    // holds tables/, the sort-result file and QLSort1.txt
    std::string dataFolder;    // baseFolder + "tables/"
    std::string helpFolder;
    std::string printoutsFolder;
};

std::string homeFolder();
std::string executableFolder();

// Resolves the folders, seeding the per-user data folder on first use. An empty
// programFolder means the executable's folder or QUILLAN_PROGRAM_DIR.
ProgramPaths resolveProgramPaths(std::string programFolder = {});

std::string withTrailingSlash(std::string folder);

} // namespace platform
