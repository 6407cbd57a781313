// What the reports add to an unattended sort: the whole program run as another program starts
// it ("quillan LIST NOSTOP"), once with the four reports of the after-sort print run ticked
// (postage statement, mail preparation instructions, qualification report, tags; printed to
// PDF) and once with none, turn about, each run a process of its own, on generated lists of
// 10,000 and 100,000 records: a regional mailing of Standard automation letters (the
// mailing of bench_sort) and a national mailing of Standard nonautomation flats, whose
// instructions run to hundreds of pages. Prints the median CPU time (user and system) of each
// side, the median ratio and difference of the pairs of runs, and the size of each report's
// file.
//
// Targets: at 100,000 records the run with the reports at most 1.5 times the run without;
// at 10,000 records at most 0.2 s added; the postage statement under 200 KB.

#include "bench/BenchSupport.h"
#include "bench/ChildProcess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quillan;
using bench::ScratchProgramFolder;

namespace {

struct Mailing {
    const char* name;
    const char* category; // mailtype.dat line 1
    const char* size;     // line 3: "0" letters, "1" flats
    const char* zips;     // the generator's --zips, or empty for the whole country
};

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

bool generate(const Mailing& m, int records, const std::string& path) {
    std::string command = "/usr/bin/python3 " +
                          quoted(std::string(QUILLAN_SOURCE_DIR) + "/tools/make_mailing_lists.py") +
                          " --kind tab --seed 17 --zip4-share 1 --records " +
                          std::to_string(records) + " --out " + quoted(path);
    if (*m.zips)
        command += std::string(" --zips ") + m.zips;
    return std::system(command.c_str()) == 0;
}

// Sets a line of a settings file, lines numbered from 0.
void setLine(const std::string& path, size_t line, const std::string& value) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::vector<std::string> lines;
    for (size_t at = 0; at <= bytes.size();) {
        size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end == std::string::npos ? end : end - at));
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    if (lines.size() <= line)
        lines.resize(line + 1);
    lines[line] = value;
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i)
        out += lines[i] + (i + 1 < lines.size() ? "\r\n" : "");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << out;
}

// A program folder with the shipped tables, the statement forms, the mailing's class and the
// reports ticked or not, and a copy of the list of its own.
struct Side {
    ScratchProgramFolder folder;
    std::string list;

    Side(const std::string& name, const Mailing& m, bool reports, const std::string& source)
        : folder(name) {
        fs::copy(QUILLAN_FORM_BITMAPS, folder.file("bitmaps"), fs::copy_options::recursive);
        fs::copy_file(std::string(QUILLAN_SHIPPED_TABLES) + "/stampbw.bmp",
                      folder.file("tables/stampbw.bmp"));
        std::string tables = folder.file("tables/");
        setLine(tables + "mailtype.dat", 1, m.category);
        setLine(tables + "mailtype.dat", 3, m.size);
        setLine(tables + "mailtype.dat", 4, "1");
        setLine(tables + "mailtype.dat", 5, "3.5");
        for (size_t line = 6; line <= 9; ++line)
            setLine(tables + "prefs.dat", line, reports ? "t" : "f");
        list = folder.file("list.txt");
        fs::copy_file(source, list);
    }

    // One unattended sort; its CPU seconds (user and system), or -1 when it failed.
    double sort() const {
        bench::ChildUsage usage =
            bench::runChild({QUILLAN_PROGRAM, list, "NOSTOP", "--program-dir", folder.path()});
        return usage.succeeded ? usage.cpuSeconds : -1;
    }

    std::vector<std::pair<std::string, uintmax_t>> printouts() const {
        std::vector<std::pair<std::string, uintmax_t>> files;
        std::string folderName = folder.file("Printouts");
        if (!fs::exists(folderName))
            return files;
        for (const auto& entry : fs::directory_iterator(folderName)) {
            std::string name = entry.path().filename().string();
            name = name.substr(std::string("Quillan ").size());
            name = name.substr(0, name.find(" 20"));
            if (std::none_of(files.begin(), files.end(),
                             [&](const auto& f) { return f.first == name; }))
                files.emplace_back(name, entry.file_size());
        }
        std::sort(files.begin(), files.end());
        return files;
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const Mailing mailings[] = {
        {"regional automation letters", "3", "0", "750,751,752,754,760,761"},
        {"national nonautomation flats", "2", "1", ""},
    };
    bool within = true;
    std::printf("%-29s %8s %12s %12s %6s %8s  %s\n", "mailing", "records", "reports s",
                "no reports s", "ratio", "added s", "files (bytes)");
    for (const Mailing& m : mailings) {
        for (int records : {10000, 100000}) {
            ScratchProgramFolder lists("quillan-printouts-bench-list");
            std::string list = lists.file("list.txt");
            if (!generate(m, records, list))
                return 2;
            Side with("quillan-printouts-bench-with", m, true, list);
            Side without("quillan-printouts-bench-without", m, false, list);
            with.sort(); // each side once before counting: the list takes its sort fields
            without.sort();
            // Turn about, so that a machine busy with other work weighs on both sides alike;
            // the ratio and the difference are the medians of those of each pair.
            std::vector<double> a, b, ratios, added;
            bool failed = false;
            for (int run = 0; run < 15; ++run) {
                a.push_back(with.sort());
                b.push_back(without.sort());
                failed = failed || a.back() < 0 || b.back() < 0;
                ratios.push_back(a.back() / b.back());
                added.push_back(a.back() - b.back());
            }
            if (failed) {
                std::printf("%-29s %8d  a sort failed\n", m.name, records);
                within = false;
                continue;
            }
            double ratio = median(ratios), more = median(added);
            std::printf("%-29s %8d %12.3f %12.3f %6.2f %8.3f ", m.name, records, median(a),
                        median(b), ratio, more);
            for (const auto& [name, bytes] : with.printouts()) {
                std::printf(" %s (%ju)", name.c_str(), bytes);
                if (name == "Postage Statement")
                    within = within && bytes < 200 * 1024;
            }
            std::printf("\n");
            within = within && (records == 100000 ? ratio <= 1.5 : more <= 0.2);
        }
    }
    std::printf(within ? "within target: at most 1.5 times at 100,000, 0.2 s added at 10,000, "
                         "statement under 200 KB\n"
                       : "OUTSIDE TARGET\n");
    return within ? 0 : 1;
}
