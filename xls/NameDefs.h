#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

class AreaNames;

// A NAME record as read or made. Behind its formula's tokens a record holds the data of the
// formula's array constants and the name's menu, description, help and status texts; as
// read they go back byte for byte, and a formula set anew brings its own array data.
struct WorkbookName {
    uint16_t options = 0;
    uint16_t value6 = 0;     // the record's 16-bit value at offset 6, carried unchanged
    uint16_t sheetIndex = 0; // 0 global, else sheet number + 1
    std::string name;        // a built-in name is one character: 7 for the print titles
    std::string tokens;
    std::string flaggedName{}; // the name as read, characters the code page lacks included
    std::string trailing{};    // what follows the tokens
    uint8_t shortcut = 0;      // the keyboard shortcut
    std::string textLengths{std::string(4, '\0')};

    // A formula set anew: its tokens and the array data behind them; the texts go.
    void setFormula(std::string_view tokenBytes, std::string_view arrayData);
};

struct ExternName {
    uint16_t options = 0;
    std::string name;
    std::string tokens;
    // As read: the sheet of the other workbook whose name it is (1-based, 0 for a name of the
    // whole workbook), the word behind it, and the name as a flagged string.
    uint16_t sheet = 0;
    uint16_t reserved = 0;
    std::string flaggedName;
};

struct ExternSheet {
    uint16_t supBook = 0;
    uint16_t firstSheet = 0;
    uint16_t lastSheet = 0;
};

struct SupBook {
    std::string fileName; // "\x01\x04" the own workbook, "\x01\x3A" add-in functions
    std::vector<std::string> sheetNames;
    std::vector<ExternName> externNames;
    // The file and sheet names as read, flagged strings: they keep the characters the ANSI
    // code page lacks.
    std::string fileNameAsRead;
    std::vector<std::string> sheetNamesAsRead;
    // The own workbook's or the add-in functions' sheet count as read (other writers do not
    // always count the tabs).
    uint16_t sheetCountAsRead = 0;
};

// The name and link tables of a BIFF8 workbook (NAME, EXTERNSHEET, SUPBOOK, EXTERNNAME), kept
// as read so that the tokens pointing into them can be shown as text and written back.
class NameDefs {
public:
    static constexpr std::string_view OwnWorkbook{"\x01\x04", 2};
    static constexpr uint16_t PrintTitlesOptions = 0x0020;
    static constexpr char PrintTitlesName = '\x07';

    int addName(uint16_t options, uint16_t value6, std::string_view tokens, std::string_view name,
                uint16_t sheetIndex);
    int addExternSheet(int supBook, int firstSheet, int lastSheet);
    // A SUPBOOK without sheet names and with an equal file name is reused.
    int addSupBook(std::string_view fileName, const std::vector<std::string>* sheetNames);
    // Into the last SUPBOOK; raises "No SUPBOOK for EXTERNNAME" when there is none.
    int addExternName(uint16_t options, std::string_view name, std::string_view tokens);
    // Into the given SUPBOOK; raises RangeError for one that does not exist.
    int addExternNameTo(size_t supBook, uint16_t options, std::string_view name,
                        std::string_view tokens);
    void clear();

    const WorkbookName& name(size_t i) const { return names_.at(i); }
    WorkbookName& name(size_t i) { return names_.at(i); }
    size_t nameCount() const { return names_.size(); }
    const ExternSheet& externSheet(size_t i) const { return externSheets_.at(i); }
    size_t externSheetCount() const { return externSheets_.size(); }
    const SupBook& supBook(size_t i) const { return supBooks_.at(i); }
    size_t supBookCount() const { return supBooks_.size(); }
    uint16_t externCount = 0;

    // The first name equal to the text without regard to case, or -1.
    int findName(std::string_view text) const;
    // The text of kind 0 (a workbook name, nameIndex 1-based) or kind 2 (an extern-sheet
    // entry, or with nameIndex 1 or more an extern name of its SUPBOOK); "#NAME!" for an
    // index that does not exist.
    std::string externSheetText(int kind, int index, int nameIndex) const;
    // A SUPBOOK file name in the published encoding as a path.
    static std::string encodedFileName(std::string_view text, bool ddeForm);

    // The built-in print-titles name of a sheet: rows and columns to repeat, -1 for none.
    // An existing one is replaced in place, so that later names keep their indexes.
    void setPrintTitles(int sheet, int firstCol, int lastCol, int firstRow, int lastRow);

    // The BIFF8 record bodies. A NAME whose text is already an area name is still added to
    // the names (its index is what tokens count), but not to the area names again.
    void readExternCount(std::string_view body);
    void readSupBook(std::string_view body);
    void readExternSheet(std::string_view body);
    void readExternName(std::string_view body);
    void readName(std::string_view body, AreaNames& areaNames);

private:
    std::vector<WorkbookName> names_;
    std::vector<ExternSheet> externSheets_;
    std::vector<SupBook> supBooks_;
};

} // namespace xls
