#include "tests/printouts/PdfReadBack.h"

#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quillan::test {

namespace {

std::vector<std::string> nonEmptyLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.push_back(line);
    return out;
}

} // namespace

std::string pdfFolder(const std::string& name) {
    static int count = 0;
    std::string folder = artefactFolder() + name + "-" + std::to_string(getpid()) + "-" +
                         std::to_string(++count) + "/";
    fs::create_directories(folder);
    return folder;
}

std::vector<std::string> decodeBarcodes(const std::string& pdf, const std::string& folder) {
    runCommand("pdftoppm -r 300 -gray -png '" + pdf + "' '" + folder + "page'");
    std::vector<std::string> codes;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".png")
            continue;
        for (const std::string& code : nonEmptyLines(runCommand(
                 "zbarimg --quiet --raw -Sdisable -Si25.enable '" + entry.path().string() + "'")))
            codes.push_back(code);
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

} // namespace quillan::test
