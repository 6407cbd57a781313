#include "platform/fs/ProgramPaths.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

std::string withTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = getpwuid(getuid()))
        return pw->pw_dir;
    return "/tmp";
}

std::string executableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return withTrailingSlash(fs::current_path(ec).string());
    return withTrailingSlash(exe.parent_path().string());
}

static bool writableFolder(const std::string& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) && access(folder.c_str(), W_OK | X_OK) == 0;
}

static std::string userBaseFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string base = xdg && *xdg ? xdg : homeFolder() + "/.local/share";
    return withTrailingSlash(base + "/quillan");
}

// Copies the shipped tables that the user's folder lacks; files the user has are kept. The
// copies are the user's to change, whatever mode a read-only installation gave the tables.
static void seedTables(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::create_directories(to, ec);
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        if (!entry.is_regular_file())
            continue;
        fs::path target = fs::path(to) / entry.path().filename();
        if (fs::exists(target, ec) || !fs::copy_file(entry.path(), target, ec))
            continue;
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, ec);
    }
}

ProgramPaths resolveProgramPaths(std::string programFolder) {
    if (programFolder.empty()) {
        const char* env = std::getenv("QUILLAN_PROGRAM_DIR");
        programFolder = env && *env ? env : executableFolder();
    }
    ProgramPaths paths;
    paths.programFolder = withTrailingSlash(programFolder);
    paths.helpFolder = paths.programFolder + "help/";
    std::string shipped = paths.programFolder + "tables/";
    if (writableFolder(shipped)) {
        paths.baseFolder = paths.programFolder;
    } else {
        paths.baseFolder = userBaseFolder();
        seedTables(shipped, paths.baseFolder + "tables/");
    }
    paths.dataFolder = paths.baseFolder + "tables/";
    paths.printoutsFolder = paths.baseFolder + "Printouts/";
    return paths;
}

} // namespace platform
