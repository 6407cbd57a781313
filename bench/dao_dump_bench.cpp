// Reading a 100,000-record Access table whole, process against process: our dump tool and
// mdbtools' mdb-export run in turn on the fill tool's table of a generated mailing list,
// each pair timed from outside (wall, user and system time of the finished child); the
// medians and the median of the pair ratios are printed. The two dumps are checked to hold
// the same lines first. The target: the dump tool takes at most half mdb-export's CPU time
// (user and system).

#include "bench/ChildProcess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using quillan::bench::ChildUsage;
using quillan::bench::runChild;

namespace {

constexpr int records = 100000;
constexpr int pairs = 15;
constexpr double targetRatio = 2.0;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::vector<std::string> sortedLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> exportCommand(const std::string& table) {
    return {"mdb-export", "-D",    "%Y-%m-%d %H:%M:%S", "-T", "%Y-%m-%d %H:%M:%S", "-b", "strip",
            table,        "Table1"};
}

} // namespace

int main() {
    fs::path work = fs::temp_directory_path() / ("quillan-dao-dump-" + std::to_string(getpid()));
    fs::create_directories(work);
    std::string list = (work / "list.txt").string();
    std::string table = (work / "list.mdb").string();
    runChild({"/usr/bin/python3", std::string(QUILLAN_SOURCE_DIR) + "/tools/make_mailing_lists.py",
              "--kind", "tab", "--records", std::to_string(records), "--seed", "17", "--out",
              list});
    if (!runChild({QUILLAN_MDBFILL, list, table}).succeeded) {
        std::fprintf(stderr, "the table could not be made\n");
        return 1;
    }
    // The same lines, both in UTF-8.
    std::string ours = (work / "ours.csv").string();
    std::string theirs = (work / "theirs.csv").string();
    std::string exported;
    for (const std::string& part : exportCommand(table))
        exported += "'" + part + "' ";
    std::system((std::string("'") + QUILLAN_MDBDUMP + "' '" + table + "' Table1 > '" + ours +
                 "'; " + exported + "> '" + theirs + "'")
                    .c_str());
    bool same = sortedLines(ours) == sortedLines(theirs);

    std::vector<double> ourWall, theirWall, ourUser, theirUser, ourSystem, theirSystem, wallRatio,
        cpuRatio;
    for (int i = 0; i < pairs; ++i) {
        ChildUsage a = runChild({QUILLAN_MDBDUMP, table, "Table1"});
        ChildUsage b = runChild(exportCommand(table));
        ourWall.push_back(a.wallSeconds);
        theirWall.push_back(b.wallSeconds);
        ourUser.push_back(a.userSeconds);
        theirUser.push_back(b.userSeconds);
        ourSystem.push_back(a.systemSeconds);
        theirSystem.push_back(b.systemSeconds);
        wallRatio.push_back(b.wallSeconds / a.wallSeconds);
        cpuRatio.push_back(b.cpuSeconds / a.cpuSeconds);
    }
    std::printf("Dumping a table of %d generated records (%s lines as mdb-export's), median of "
                "%d pairs:\n",
                records, same ? "the same" : "NOT the same", pairs);
    std::printf("  mdbdump    %.3f s wall, %.3f s user, %.3f s system\n", median(ourWall),
                median(ourUser), median(ourSystem));
    std::printf("  mdb-export %.3f s wall, %.3f s user, %.3f s system\n", median(theirWall),
                median(theirUser), median(theirSystem));
    const bool within = median(cpuRatio) >= targetRatio;
    std::printf("  mdbdump is %.1fx as fast (wall), %.1fx (user and system; target %.0fx)%s\n",
                median(wallRatio), median(cpuRatio), targetRatio, within ? "" : ": OUTSIDE TARGET");
    fs::remove_all(work);
    return same && within ? 0 : 1;
}
