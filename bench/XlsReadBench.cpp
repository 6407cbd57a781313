// The workbook reader as whole processes, start-up included, each figure the operating
// system's own CPU accounting (user + system) of the finished child:
//   - xlsdump (its JSON thrown away) against a Python script that takes every row's values
//     with xlrd (row_values), in turns, on a 100,000-row list workbook (two sheets of 65,535
//     and 34,465 rows, six columns) and on a one-sheet workbook of 65,535 rows and eight
//     columns, both written by xlwt; the ratio is taken pair by pair, so that a busy machine
//     moves both; the target is ten times faster, with xlsdump's peak memory below the
//     workbook's size and the bytes of the cells' values;
//   - the program's list read (list_read_bench: counting, field identification and every
//     record) of a 65,535-record workbook with a heading row against the same records as a
//     tab list.
// The lists are generated (tools/make_mailing_lists.py, which needs the public data).

#include "bench/BenchSupport.h"
#include "bench/ChildProcess.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

using namespace quillan;

namespace {

constexpr int Pairs = 9;
constexpr double TargetRatio = 10;

// The Python side of the comparison: the values of every row of every sheet, as a reader of
// the workbook would take them.
constexpr const char* XlrdEveryRow = "import sys, xlrd\n"
                                     "book = xlrd.open_workbook(sys.argv[1])\n"
                                     "for sheet in book.sheets():\n"
                                     "    for row in range(sheet.nrows):\n"
                                     "        sheet.row_values(row)\n";

// Eight columns: the six of the list (a 5-digit ZIP as a number), a record number and a
// piece weight in ounces.
constexpr const char* EightColumns =
    "import sys, xlwt\n"
    "book = xlwt.Workbook(encoding='cp1252'); sheet = book.add_sheet('Mailing List')\n"
    "for r, line in enumerate(open(sys.argv[1], encoding='cp1252')):\n"
    "    if r == 65535: break\n"
    "    for c, f in enumerate(line.rstrip('\\r\\n').split('\\t')):\n"
    "        sheet.write(r, c, int(f) if c == 4 and len(f) == 5 and f.isdigit() else f)\n"
    "    sheet.write(r, 6, r + 1)\n"
    "    sheet.write(r, 7, 0.5 + (r % 37) / 8.0)\n"
    "book.save(sys.argv[2])\n";

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

bool run(const std::string& command) {
    if (std::system(command.c_str()) == 0)
        return true;
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    return false;
}

std::string output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 4096> buffer{};
    size_t n;
    while (pipe && (n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Whether xlsdump was at least ten times faster than xlrd.
bool xlsdumpAgainstXlrd(const std::string& label, const std::string& workbook,
                        const std::string& script) {
    std::vector<double> ours, theirs, ratios, peaks;
    for (int pair = 0; pair < Pairs; ++pair) {
        bench::ChildUsage dump = bench::runChild({QUILLAN_XLSDUMP, workbook});
        bench::ChildUsage xlrd = bench::runChild({QUILLAN_PYTHON, script, workbook});
        if (!dump.succeeded || !xlrd.succeeded) {
            std::printf("%s: a run failed\n", label.c_str());
            return false;
        }
        const double a = dump.cpuSeconds, b = xlrd.cpuSeconds;
        ours.push_back(a);
        theirs.push_back(b);
        ratios.push_back(a / b);
        peaks.push_back(dump.peakMegabytes);
    }
    const double faster = 1 / median(ratios);
    std::printf("%s (%.1f MB): xlsdump %.3f s CPU (peak %.1f MB), xlrd taking every row's values "
                "%.3f s; %.1fx faster (target %.0fx), medians of %d pairs\n",
                label.c_str(), static_cast<double>(std::filesystem::file_size(workbook)) / 1e6,
                median(ours), median(peaks), median(theirs), faster, TargetRatio, Pairs);
    return faster >= TargetRatio;
}

// The CPU seconds list_read_bench gives for the open of one list (its median over runs in
// processes of their own), and its line of figures.
double listReadCpu(const bench::ScratchProgramFolder& folder, const std::string& list,
                   std::string& line) {
    std::vector<double> runs;
    for (int i = 0; i < Pairs; ++i) {
        line = output(quoted(QUILLAN_LIST_READ_BENCH) + " " + quoted(folder.path()) + " " +
                      quoted(list));
        std::smatch cpu;
        if (!std::regex_search(line, cpu, std::regex("cpu ([0-9.]+) s")))
            return -1;
        runs.push_back(std::stod(cpu[1]));
    }
    return median(runs);
}

} // namespace

int main() {
    bench::ScratchProgramFolder folder("quillan-bench-xls-read");
    bench::separateFileWithoutReports(folder);
    const std::string maker = std::string(QUILLAN_PYTHON) + " " +
                              quoted(std::string(QUILLAN_TOOLS) + "/make_mailing_lists.py");
    const std::string list = folder.file("list-100000.txt");
    const std::string twoSheets = folder.file("list-100000.xls");
    const std::string eight = folder.file("eight-columns.xls");
    const std::string script = folder.file("xlrd_every_row.py");
    const std::string eightScript = folder.file("eight_columns.py");
    const std::string text = folder.file("list-65535.txt");
    const std::string heading = folder.file("list-65535.xls");
    if (!run(maker + " --kind tab --records 100000 --seed 17 --out " + quoted(list)) ||
        !run(maker + " --kind xls --sheet-rows 65535 --from-tab " + quoted(list) + " --out " +
             quoted(twoSheets)) ||
        !writeFile(script, XlrdEveryRow) || !writeFile(eightScript, EightColumns) ||
        !run(std::string(QUILLAN_PYTHON) + " " + quoted(eightScript) + " " + quoted(list) + " " +
             quoted(eight)) ||
        !run("head -n 65535 " + quoted(list) + " > " + quoted(text)) ||
        !run(maker + " --kind xls --header --from-tab " + quoted(text) + " --out " +
             quoted(heading)))
        return 2;

    bool onTarget =
        xlsdumpAgainstXlrd("100,000-row list, two sheets, 6 columns", twoSheets, script);
    xlsdumpAgainstXlrd("65,535 rows, 8 columns", eight, script);

    std::string textLine, excelLine;
    double textCpu = listReadCpu(folder, text, textLine);
    double excelCpu = listReadCpu(folder, heading, excelLine);
    std::printf("list read (the last of %d runs each):\n  %s  %s", Pairs, textLine.c_str(),
                excelLine.c_str());
    std::printf("  medians: the workbook (65,535 records under a heading row) %.3f s of CPU, the "
                "same list as text %.3f s: %.3f s more\n",
                excelCpu, textCpu, excelCpu - textCpu);
    return onTarget ? 0 : 1;
}
