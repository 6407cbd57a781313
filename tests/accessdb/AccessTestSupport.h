#pragma once

// What the Access driver's tests share: the .mdb corpus (tests skip when it is absent),
// scratch copies of its files, the mdbtools oracles, and an engine object over the driver.

#include "accessdb/access/TAccessSession.h"
#include "accessdb/engine/EnginePlatform.h"
#include "accessdb/engine/TVirtEng.h"
#include "tests/accessdb/ScriptedRegistry.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace accessdb::testing {

namespace fs = std::filesystem;

inline bool corpusPresent() {
    return fs::is_directory(QUILLAN_MDB_CORPUS);
}

inline std::string corpusFile(const std::string& relative) {
    return (fs::path(QUILLAN_MDB_CORPUS) / relative).string();
}

inline std::string runCommand(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// The table as mdb-export writes it (dates as ISO text), header line first.
inline std::vector<std::string> exported(const std::string& file, const std::string& table) {
    return lines(runCommand("mdb-export -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' '" + file +
                            "' '" + table + "' 2>/dev/null"));
}

inline long exportedCount(const std::string& file, const std::string& table) {
    return std::strtol(runCommand("mdb-count '" + file + "' '" + table + "' 2>/dev/null").c_str(),
                       nullptr, 10);
}

// A folder of its own for files a test changes; removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "quillan-access-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()))
            path_ = buffer.data();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return (fs::path(path_) / name).string(); }
    // A writable copy of a corpus file.
    std::string copy(const std::string& relative) const {
        std::string target = file(fs::path(relative).filename().string());
        fs::copy_file(corpusFile(relative), target, fs::copy_options::overwrite_existing);
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        return target;
    }

private:
    std::string path_;
};

// Fails the test when there is no corpus: the repository carries it (tests/corpora).
#define REQUIRE_MDB_CORPUS()                                                                       \
    do {                                                                                           \
        if (!::accessdb::testing::corpusPresent())                                                 \
            GTEST_FAIL() << "no .mdb corpus at " << QUILLAN_MDB_CORPUS;                            \
    } while (false)

} // namespace accessdb::testing
