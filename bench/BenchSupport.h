#pragma once

// What every benchmark program needs: CPU time and peak memory, a scratch program folder
// with a copy of the shipped tables, and the scripted platform (no window, so no pauses).

#include "platform/Platform.h"
#include "platform/testing/RecordingHelp.h"
#include "platform/testing/RecordingPrinter.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedUi.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace quillan::bench {

inline double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

inline double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A program folder of its own with tables/ copied from the shipped tables; removed with it.
struct ScratchProgramFolder {
    explicit ScratchProgramFolder(const std::string& name) {
        namespace fs = std::filesystem;
        folder = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
        fs::create_directories(folder / "tables");
        for (const auto& entry : fs::directory_iterator(QUILLAN_SHIPPED_TABLES))
            if (entry.path().extension() == ".dat")
                fs::copy_file(entry.path(), folder / "tables" / entry.path().filename(),
                              fs::copy_options::overwrite_existing);
    }
    ~ScratchProgramFolder() { std::filesystem::remove_all(folder); }
    std::string file(const std::string& name) const { return (folder / name).string(); }
    std::string path() const { return folder.string() + "/"; }

    std::filesystem::path folder;
};

// The sort information goes into a separate file, the same output for every kind, and no
// report is printed: the figures are those of reading, sorting and writing.
inline void separateFileWithoutReports(const ScratchProgramFolder& folder) {
    std::string path = folder.file("tables/prefs.dat");
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto set = [&bytes](int line, const std::string& value) {
        size_t at = 0;
        for (int i = 0; i < line; ++i)
            at = bytes.find('\n', at) + 1;
        bytes.replace(at, bytes.find('\r', at) - at, value);
    };
    set(2, "1");
    for (int line = 6; line <= 9; ++line)
        set(line, "f");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct HeadlessPlatform {
    platform::ScriptedUi ui;
    platform::RecordingPrinter printer;
    platform::RecordingHelp help;
    platform::RecordingShell shell;
    platform::ConfigStore config;

    platform::Platform platform() { return platform::Platform{ui, printer, help, shell, config}; }
};

} // namespace quillan::bench
