#include "tests/xls/XlsTestSupport.h"

#include "platform/storage/CompoundWriter.h"
#include "tests/support/FileNames.h"
#include "xls/XlsStream.h"

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

std::vector<std::string> corpusWorkbooks() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(corpusPath(""), error))
        if (entry.is_regular_file() && quillan::test::hasExtension(entry.path(), ".xls"))
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

std::string bof8(uint16_t type) {
    return record(0x0809,
                  word(0x0600) + word(type) + word(0x0DBB) + word(0x07CC) + dword(0) + dword(0x06));
}

namespace {

std::string bof(uint16_t type) {
    return bof8(type);
}

std::string boundsheet(uint32_t offset) {
    return record(0x0085, dword(offset) + word(0) + std::string("\x01\x00S", 3));
}

// One cell format, so that xlrd can tell the number cell's type.
std::string cellFormat() {
    return record(0x00E0, word(0) + word(0) + word(1) + std::string(14, '\0'));
}

} // namespace

std::string biff8Book(const std::string& globals, const std::string& cells) {
    std::string head = bof(0x0005) + cellFormat() + globals;
    uint32_t sheetOffset = static_cast<uint32_t>(head.size() + boundsheet(0).size() + 4);
    return head + boundsheet(sheetOffset) + record(0x000A, "") + bof(0x0010) + cells +
           record(0x000A, "");
}

namespace {

// A workbook stream of BIFF8 or BIFF5: globals, the BOUNDSHEET records with their offsets,
// then each substream.
std::string workbookOfSheets(bool biff8, const std::string& globals,
                             const std::vector<SheetSpec>& sheets) {
    auto bofOf = [biff8](uint16_t type) {
        return biff8 ? bof8(type)
                     : record(0x0809, word(0x0500) + word(type) + word(0x0DBB) + word(0x07CC));
    };
    std::string head = bofOf(0x0005) + (biff8 ? cellFormat() : "") + globals;
    auto boundsheetOf = [biff8](const SheetSpec& sheet, uint32_t offset) {
        std::string options = std::string(1, static_cast<char>(sheet.visibility)) +
                              std::string(1, sheet.type == 0x0020 ? '\x02' : '\0');
        return record(0x0085, dword(offset) + options +
                                  std::string(1, static_cast<char>(sheet.name.size())) +
                                  (biff8 ? std::string(1, '\0') : std::string()) + sheet.name);
    };
    size_t directory = 0;
    for (const SheetSpec& sheet : sheets)
        directory += boundsheetOf(sheet, 0).size();
    uint32_t offset = static_cast<uint32_t>(head.size() + directory + 4);
    std::string body;
    for (const SheetSpec& sheet : sheets) {
        head += boundsheetOf(sheet, offset + static_cast<uint32_t>(body.size()));
        body += bofOf(sheet.type) + sheet.records + record(0x000A, "");
    }
    return head + record(0x000A, "") + body;
}

} // namespace

std::string biff8Sheets(const std::string& globals, const std::vector<SheetSpec>& sheets) {
    return workbookOfSheets(true, globals, sheets);
}

std::string biff5Sheets(const std::string& globals, const std::vector<SheetSpec>& sheets) {
    return workbookOfSheets(false, globals, sheets);
}

std::string compoundFile(const std::string& stream, const std::string& name) {
    platform::CompoundWriter writer;
    writer.addStream(name, stream);
    return writer.finish();
}

std::string biff8Workbook(size_t size) {
    std::string cell =
        record(0x0203, word(0) + word(0) + word(0) + std::string("\0\0\0\0\0\0\xF8\x3F", 8));
    size_t fixed = biff8Book("", cell).size();
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
    return biff8Book(padding, cell);
}

std::vector<RawRecord> recordsOf(const std::string& stream) {
    std::vector<RawRecord> records;
    size_t at = 0;
    while (at + 4 <= stream.size()) {
        uint16_t id = static_cast<uint16_t>(static_cast<uint8_t>(stream[at]) |
                                            (static_cast<uint8_t>(stream[at + 1]) << 8));
        size_t length =
            static_cast<uint8_t>(stream[at + 2]) | (static_cast<uint8_t>(stream[at + 3]) << 8);
        records.push_back({id, stream.substr(at + 4, length), at});
        at += 4 + length;
    }
    return records;
}

std::string workbookStream(const std::string& file) {
    XlsStream stream;
    stream.openReadBytes(file);
    std::string bytes(stream.size(), '\0');
    stream.read(bytes.data(), bytes.size());
    return bytes;
}

std::vector<std::vector<RawRecord>> substreamsOf(const std::string& file) {
    std::vector<std::vector<RawRecord>> substreams;
    int depth = 0;
    for (const RawRecord& r : recordsOf(workbookStream(file))) {
        bool bof = r.id == 0x0009 || r.id == 0x0209 || r.id == 0x0409 || r.id == 0x0809;
        if (bof && depth++ == 0)
            substreams.emplace_back();
        if (depth == 0)
            continue;
        substreams.back().push_back(r);
        if (r.id == 0x000A)
            --depth;
    }
    return substreams;
}

std::vector<std::string> bodiesOf(const std::vector<RawRecord>& records, uint16_t id) {
    std::vector<std::string> bodies;
    for (const RawRecord& r : records)
        if (r.id == id)
            bodies.push_back(r.body);
    return bodies;
}

std::string utf16Hex(std::u16string_view text) {
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (char16_t c : text)
        for (int byte : {c & 0xFF, c >> 8}) {
            hex += digits[byte >> 4];
            hex += digits[byte & 0x0F];
        }
    return hex;
}

} // namespace xls::test

// libgsf leaks a directory entry or two on some damaged compound files; that leak is its
// own and must not fail the tests of damaged input.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libgsf-1.so\nleak:libglib-2.0.so\n";
}
