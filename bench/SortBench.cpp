// The whole Sort One List command as a "NOSTOP" run does it, on the scripted platform so
// that the progress pauses cost no real time: reading the list, the presort with its
// sort-result file, the after-sort print run and writing the sort information back.
//
//   bench_sort                                    generates the lists and sorts each one
//   bench_sort <program folder> <list file>       sorts one list, one line of figures
//
// Each list is sorted in a process of its own so that its peak memory is its own. The
// lists are a regional mailing of Standard automation letters over the ZIP prefixes
// 750-761, every ZIP with enough pieces for trays of its own.

#include "app/DataFiles.h"
#include "app/Program.h"
#include "bench/BenchSupport.h"
#include "platform/testing/RecordingPrinter.h"
#include "platform/testing/ScriptedUi.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>

using namespace quillan;
using quillan::bench::cpuSeconds;
using quillan::bench::peakMegabytes;
namespace fs = std::filesystem;

namespace {

int sortOneList(const std::string& folder, const std::string& list) {
    bench::HeadlessPlatform headless;
    platform::ScriptedUi& ui = headless.ui;
    platform::ProgramPaths paths = platform::resolveProgramPaths(folder);
    AppContext ctx(headless.platform(), paths, {list, "NOSTOP"});
    Program program(ctx);
    LoadDataFiles(ctx);
    // The run's summary line counts the pieces sorted and rejected.
    std::string summary = "no summary";
    program.sortCommands().printSummary = [&summary](const std::string& line) { summary = line; };
    auto before = fs::last_write_time(list);
    auto wall = std::chrono::steady_clock::now();
    double cpu = cpuSeconds();
    program.sortOneList();
    cpu = cpuSeconds() - cpu;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    std::string outcome = ui.messages().empty() ? "sorted" : ui.messages().back().text;
    bool written = fs::last_write_time(list) != before;
    std::printf("%-10s cpu %.3f s  wall %.3f s  peak %.1f MB  list %s  %s\n  %s\n",
                fs::path(list).filename().c_str(), cpu, seconds, peakMegabytes(),
                written ? "written" : "not written", outcome.c_str(), summary.c_str());
    return ui.messages().empty() ? 0 : 1;
}

std::string shellQuoted(const std::string& text) {
    return "'" + text + "'";
}

bool generate(const std::string& kind, const std::string& path) {
    std::string command =
        "/usr/bin/python3 " +
        shellQuoted(std::string(QUILLAN_SOURCE_DIR) + "/tools/make_mailing_lists.py") + " --kind " +
        kind +
        " --records 100000 --seed 17 --zip4-share 1"
        " --zips 750,751,752,754,760,761 --out " +
        shellQuoted(path);
    return std::system(command.c_str()) == 0;
}

// Standard automation letters: mail type "3" in line 1 of mailtype.dat.
void sortAutomationLetters(const std::string& tables) {
    std::string path = tables + "mailtype.dat";
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t line1 = bytes.find('\n') + 1;
    bytes.replace(line1, bytes.find('\r', line1) - line1, "3");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

int sortGeneratedLists(const char* self) {
    std::string folder = (fs::temp_directory_path() / "quillan-bench-sort-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        return 2;
    folder += "/";
    fs::create_directories(folder + "tables");
    for (const auto& entry : fs::directory_iterator(QUILLAN_SHIPPED_TABLES))
        if (entry.path().extension() == ".dat" || entry.path().filename() == "stampbw.bmp")
            fs::copy_file(entry.path(), folder + "tables/" + entry.path().filename().string());
    // The statement of the print run is printed over the forms beside the program.
    fs::copy(QUILLAN_FORM_BITMAPS, folder + "bitmaps", fs::copy_options::recursive);
    sortAutomationLetters(folder + "tables/");
    int status = 0;
    for (const char* kind : {"merge", "dbf"}) {
        std::string list = folder + "list-" + kind + (kind == std::string("dbf") ? ".dbf" : ".txt");
        if (!generate(kind, list)) {
            status = 2;
            break;
        }
        std::string command =
            shellQuoted(self) + " " + shellQuoted(folder) + " " + shellQuoted(list);
        status |= std::system(command.c_str());
    }
    fs::remove_all(folder);
    return status == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3)
        return sortOneList(argv[1], argv[2]);
    if (argc == 1)
        return sortGeneratedLists(argv[0]);
    std::fprintf(stderr, "usage: %s [<program folder> <list file>]\n", argv[0]);
    return 2;
}
