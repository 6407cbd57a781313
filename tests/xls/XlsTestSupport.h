#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace xls::test {

// The public test workbooks of the repository (tests/corpora/xls); tests that need them fail
// when they are absent.
bool corpusAvailable();
std::string corpusPath(const std::string& relative);
std::vector<std::string> corpusFiles(const std::string& folder);
// Every workbook of the corpus, in all its folders.
std::vector<std::string> corpusWorkbooks();

#define REQUIRE_XLS_CORPUS()                                                                       \
    if (!::xls::test::corpusAvailable())                                                           \
    GTEST_FAIL() << "the spreadsheet corpus (tests/corpora/xls) is not there"


// Runs one of the reference scripts of tools/ with Debian's python and returns its output.
std::string runTool(const std::string& script, const std::vector<std::string>& arguments);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);

// A folder of its own for one test, removed with it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string file(const std::string& name) const { return (folder_ / name).string(); }
    size_t entryCount() const;

private:
    std::filesystem::path folder_;
};

// Little-endian building blocks for hand-made records.
std::string word(uint16_t value);
std::string dword(uint32_t value);
std::string record(uint16_t id, std::string_view body);

// A small BIFF8 workbook stream xlrd accepts: one sheet "S" whose cell A1 holds 1.5, padded
// with an ignored record to exactly `size` bytes (at least 111).
std::string biff8Workbook(size_t size);
// The same frame around records of one's own: globals go after the one cell format, cells
// into the sheet "S".
std::string biff8Book(const std::string& globals, const std::string& cells);

// A BOF record of a BIFF8 substream of the type (0x0005 globals, 0x0010 worksheet, 0x0020
// chart).
std::string bof8(uint16_t type);

// One substream of a hand-made workbook: its BOUNDSHEET name, its records (without BOF and
// EOF), its type and its visibility (0 visible, 1 hidden, 2 very hidden).
struct SheetSpec {
    std::string name;
    std::string records;
    uint16_t type = 0x0010;
    uint8_t visibility = 0;
};
// A BIFF8 workbook stream: globals (after one cell format), the BOUNDSHEET records with
// their offsets, then each substream. The same of BIFF5 (8-bit names, no cell format).
std::string biff8Sheets(const std::string& globals, const std::vector<SheetSpec>& sheets);
std::string biff5Sheets(const std::string& globals, const std::vector<SheetSpec>& sheets);
// A compound file holding the stream under the name.
std::string compoundFile(const std::string& stream, const std::string& name = "Workbook");

// The records of a workbook stream, in order, up to its end.
struct RawRecord {
    uint16_t id;
    std::string body;
    uint64_t position; // of the header
};
std::vector<RawRecord> recordsOf(const std::string& stream);
// The workbook stream of a file (a compound file's, or a plain file's bytes).
std::string workbookStream(const std::string& file);
// The records of each top-level substream of a file, an embedded chart's in its sheet's.
std::vector<std::vector<RawRecord>> substreamsOf(const std::string& file);
std::vector<std::string> bodiesOf(const std::vector<RawRecord>& records, uint16_t id);

// The hex text of UTF-16LE bytes, as the reference scripts print them.
std::string utf16Hex(std::u16string_view text);

} // namespace xls::test
