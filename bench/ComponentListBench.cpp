// Excel and Access lists against text lists of the same mailing, each through the whole
// Sort One List command ("NOSTOP", sort information into a separate file, no pauses) in a
// process of its own (bench_sort):
//   - the 60,000-record list as a tab list and as an Excel 97 workbook (xlwt's), and the
//     workbook's read and write-back here against xlrd's read and xlwt's write of it;
//   - the fill tool's 100,000-record Access table against its mdb-export text.
// The lists are generated (tools/make_mailing_lists.py, which needs the public data).

#include "bench/BenchSupport.h"
#include "xls/Workbook.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <string>

using namespace quillan;

namespace {

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return out;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

bool run(const std::string& command) {
    if (std::system(command.c_str()) == 0)
        return true;
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    return false;
}

// Sorts one list in bench_sort; its CPU seconds (and its line printed), or -1.
double sortCpu(const bench::ScratchProgramFolder& folder, const std::string& list) {
    std::string line =
        output(quoted(QUILLAN_BENCH_SORT) + " " + quoted(folder.path()) + " " + quoted(list));
    std::printf("  %s", line.c_str());
    std::smatch cpu;
    if (!std::regex_search(line, cpu, std::regex("cpu ([0-9.]+) s")))
        return -1;
    return std::stod(cpu[1]);
}

std::string maker() {
    return "/usr/bin/python3 " +
           quoted(std::string(QUILLAN_SOURCE_DIR) + "/tools/make_mailing_lists.py");
}

// A tab list of the generator, its text in Windows-1252 as Windows programs write lists.
bool tabList(const std::string& path, int records) {
    return run(maker() + " --kind tab --records " + std::to_string(records) + " --seed 17 --out " +
               quoted(path + ".utf8")) &&
           run("/usr/bin/python3 -c \"import sys; d = open(sys.argv[1], encoding='utf-8', "
               "newline='').read(); "
               "open(sys.argv[2], 'wb').write(d.encode('cp1252', 'replace'))\" " +
               quoted(path + ".utf8") + " " + quoted(path));
}

void readAndWrite(const std::string& workbook, const std::string& copy) {
    double cpu = bench::cpuSeconds();
    xls::Workbook book;
    book.setFilename(workbook);
    book.read();
    book.setFilename(copy);
    book.write();
    double ours = bench::cpuSeconds() - cpu;
    std::string theirs = output("/usr/bin/python3 -c \"import sys, time, xlrd, xlwt\n"
                                "start = time.process_time()\n"
                                "sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                "book = xlwt.Workbook()\n"
                                "out = book.add_sheet(sheet.name)\n"
                                "for r in range(sheet.nrows):\n"
                                "    for c, value in enumerate(sheet.row_values(r)):\n"
                                "        out.write(r, c, value)\n"
                                "book.save(sys.argv[2])\n"
                                "print(time.process_time() - start)\" " +
                                quoted(workbook) + " " + quoted(copy));
    double python = theirs.empty() ? -1 : std::stod(theirs);
    std::printf("  workbook read + write: ours %.3f s CPU, xlrd + xlwt %.3f s (%.1fx)\n", ours,
                python, python / ours);
}

} // namespace

int main() {
    bench::ScratchProgramFolder folder("quillan-bench-lists");
    bench::separateFileWithoutReports(folder);
    const std::string tab = folder.file("list-60000.txt");
    const std::string xls = folder.file("list-60000.xls");
    if (!tabList(tab, 60000) ||
        !run(maker() + " --kind xls --from-tab " + quoted(tab) + " --out " + quoted(xls)))
        return 2;
    std::printf("Excel: the 60,000-record list\n");
    double text = sortCpu(folder, tab);
    double excel = sortCpu(folder, xls);
    std::printf("  the Excel path adds %.3f s of CPU\n", excel - text);
    readAndWrite(xls, folder.file("copy.xls"));

    const std::string list = folder.file("list-100000.txt");
    const std::string mdb = folder.file("list-100000.mdb");
    const std::string exported = folder.file("exported-100000.txt");
    if (!tabList(list, 100000) ||
        !run(maker() + " --kind mdb --from-tab " + quoted(list) + " --mdbfill " +
             quoted(QUILLAN_MDBFILL) + " --out " + quoted(mdb)) ||
        !run("mdb-export -H -Q -d '\t' " + quoted(mdb) + " Table1 | sed 's/$/\\r/' > " +
             quoted(exported)))
        return 2;
    std::printf("Access: the fill tool's 100,000-record table\n");
    double exportedText = sortCpu(folder, exported);
    double access = sortCpu(folder, mdb);
    std::printf("  the Access path adds %.3f s of CPU\n", access - exportedText);
    return 0;
}
