#include "app/BarcodingProgram.h"

#include <filesystem>

namespace quillan {

namespace {

// The program folder with its trailing "/" dropped, then cut back to the "/" before it.
std::string parentFolder(const std::string& programFolder) {
    std::string folder = programFolder;
    if (!folder.empty())
        folder.pop_back();
    while (!folder.empty() && folder.back() != '/')
        folder.pop_back();
    return folder;
}

std::string findInstalled(const std::string& programFolder) {
    for (const std::string& candidate : barcodingProgramCandidates(programFolder)) {
        std::error_code ec;
        if (std::filesystem::exists(candidate, ec))
            return candidate;
    }
    return {};
}

std::string askWhereItIs(AppContext& ctx) {
    platform::FileDialogOptions options;
    options.title = "Find Tarnwick. (It is named \"twk\" or \"twk.exe\".)";
    options.filters = {{"Tarnwick (twk, twk.exe)", {"twk", "twk.exe"}}, {"All files", {"*"}}};
    return ctx.platform.ui.openFileDialog(options).value_or("");
}

} // namespace

std::vector<std::string> barcodingProgramCandidates(const std::string& programFolder) {
    std::string search = parentFolder(programFolder);
    if (search.empty())
        return {};
    return {search + "Brakkel/twk", search + "Tarnwick/twk"};
}

void RunBarcodingProgram(AppContext& ctx, const std::string& listPath) {
    std::string program = findInstalled(ctx.paths.programFolder);
    if (program.empty())
        program = askWhereItIs(ctx);
    if (program.empty())
        return;
    // Whether it started is not ours to report: the program runs on its own.
    ctx.platform.shell.start(program, {listPath});
}

} // namespace quillan
