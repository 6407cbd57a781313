#include "XlsTestSupport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace xls::test {

bool corpusAvailable() {
    return fs::is_directory(QUILLAN_XLS_CORPUS);
}

std::string corpusPath(const std::string& relative) {
    return std::string(QUILLAN_XLS_CORPUS) + "/" + relative;
}

std::vector<std::string> corpusFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(corpusPath(folder), error))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string runTool(const std::string& script, const std::vector<std::string>& arguments) {
    std::string command = std::string(QUILLAN_PYTHON) + " " + QUILLAN_XLS_TOOLS + "/" + script;
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    command += " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), n);
    pclose(pipe);
    return output;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    folder_ = fs::temp_directory_path() /
              ("xls-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    fs::remove_all(folder_, error);
}

size_t ScratchFolder::entryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
}

std::string word(uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string dword(uint32_t value) {
    return word(static_cast<uint16_t>(value & 0xFFFF)) + word(static_cast<uint16_t>(value >> 16));
}

std::string record(uint16_t id, std::string_view body) {
    return word(id) + word(static_cast<uint16_t>(body.size())) + std::string(body);
}

std::string biff8Workbook(size_t size) {
    auto bof = [](uint16_t type) {
        return record(0x0809, word(0x0600) + word(type) + word(0x0DBB) + word(0x07CC) + dword(0) +
                                  dword(0x06));
    };
    std::string sheet =
        bof(0x0010) +
        record(0x0203, word(0) + word(0) + word(0) + std::string("\0\0\0\0\0\0\xF8\x3F", 8)) +
        record(0x000A, "");
    auto boundsheet = [](uint32_t offset) {
        return record(0x0085, dword(offset) + word(0) + std::string("\x01\x00S", 3));
    };
    // One cell format, so that xlrd can tell the number cell's type.
    std::string xf = record(0x00E0, word(0) + word(0) + word(1) + std::string(14, '\0'));
    size_t fixed = bof(0x0005).size() + xf.size() + boundsheet(0).size() + 4 + sheet.size();
    if (size < fixed + 4)
        throw std::invalid_argument("workbook too small");
    std::string padding;
    size_t left = size - fixed;
    while (left > 0) {
        size_t body = std::min<size_t>(left - 4, 8224);
        if (left - (body + 4) > 0 && left - (body + 4) < 4)
            body -= 4; // leave room for one more whole header
        padding += record(0x00E1, std::string(body, '\x55'));
        left -= body + 4;
    }
    std::string globals = bof(0x0005) + xf + padding;
    uint32_t sheetOffset = static_cast<uint32_t>(globals.size() + boundsheet(0).size() + 4);
    return globals + boundsheet(sheetOffset) + record(0x000A, "") + sheet;
}

} // namespace xls::test
