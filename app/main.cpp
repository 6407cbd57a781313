// Quillan: presorts a bulk mailing for the US Postal Service.

#include "app/AppContext.h"
#include "app/Program.h"
#include "app/RunMode.h"
#include "platform/Interruption.h"
#include "platform/qt/QtPlatform.h"

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // "--program-dir DIR" points the program at another program folder (a portable copy
    // or a test's scratch folder); everything else is the program's own command line.
    // A file-size limit must fail a write the way a full disk does (the write says so, the
    // temporary file goes, the list stays), not kill the program in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string programFolder;
    std::vector<std::string> parameters;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--program-dir") == 0 && i + 1 < argc) {
            programFolder = argv[++i];
            continue;
        }
        parameters.emplace_back(argv[i]);
    }
    // The program that started an unattended sort may stop it: the sort then ends at a safe
    // point and says so in its exit status. (A partner run catches them once its sort starts.)
    if (quillan::runModeOf(parameters) == quillan::RunMode::Unattended)
        platform::catchInterruptions();
    platform::ProgramPaths paths = platform::resolveProgramPaths(programFolder);
    int qtArgc = 1;
    platform::QtPlatform qt(qtArgc, argv, paths);
    quillan::AppContext ctx(qt.platform(), paths, parameters);
    quillan::Program program(ctx);
    return program.run();
}
