#include "xls/NameDefs.h"

#include "xls/AreaNames.h"
#include "xls/RecordCursor.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

#include <cctype>

namespace xls {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string word(int value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

// A flagged BIFF8 string of count characters at the cursor's position; the cursor moves
// past it.
std::string takeFlaggedString(RecordCursor& in, size_t count) {
    uint8_t flag = in.takeU8();
    size_t bytes = (flag & 0x01) ? 2 * count : count;
    std::string flagged(1, static_cast<char>(flag & 0x01));
    flagged.append(in.take(bytes));
    return flagged;
}

std::string area3d(int externIndex, int row1, int row2, int col1, int col2) {
    return std::string(1, '\x3B') + word(externIndex) + word(row1) + word(row2) +
           word(col1 | 0xC000) + word(col2 | 0xC000);
}

} // namespace

void WorkbookName::setFormula(std::string_view tokenBytes, std::string_view arrayData) {
    tokens = tokenBytes;
    trailing = arrayData;
    textLengths.assign(4, '\0');
}

int NameDefs::addName(uint16_t options, uint16_t value6, std::string_view tokens,
                      std::string_view name, uint16_t sheetIndex) {
    names_.push_back({options, value6, sheetIndex, std::string(name), std::string(tokens)});
    return static_cast<int>(names_.size()) - 1;
}

int NameDefs::addExternSheet(int supBook, int firstSheet, int lastSheet) {
    externSheets_.push_back({static_cast<uint16_t>(supBook), static_cast<uint16_t>(firstSheet),
                             static_cast<uint16_t>(lastSheet)});
    return static_cast<int>(externSheets_.size()) - 1;
}

int NameDefs::addSupBook(std::string_view fileName, const std::vector<std::string>* sheetNames) {
    for (size_t i = 0; i < supBooks_.size(); ++i)
        if (supBooks_[i].sheetNames.empty() && supBooks_[i].fileName == fileName)
            return static_cast<int>(i);
    SupBook book;
    book.fileName = fileName;
    if (sheetNames)
        book.sheetNames = *sheetNames;
    supBooks_.push_back(std::move(book));
    return static_cast<int>(supBooks_.size()) - 1;
}

int NameDefs::addExternName(uint16_t options, std::string_view name, std::string_view tokens) {
    if (supBooks_.empty())
        throw XlsError("No SUPBOOK for EXTERNNAME");
    return addExternNameTo(supBooks_.size() - 1, options, name, tokens);
}

int NameDefs::addExternNameTo(size_t supBook, uint16_t options, std::string_view name,
                              std::string_view tokens) {
    if (supBook >= supBooks_.size())
        throw RangeError();
    std::vector<ExternName>& names = supBooks_[supBook].externNames;
    ExternName& added = names.emplace_back();
    added.options = options;
    added.name = name;
    added.tokens = tokens;
    return static_cast<int>(names.size()) - 1;
}

void NameDefs::clear() {
    names_.clear();
    externSheets_.clear();
    supBooks_.clear();
    externCount = 0;
}

int NameDefs::findName(std::string_view text) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (equalIgnoringCase(names_[i].name, text))
            return static_cast<int>(i);
    return -1;
}

std::string NameDefs::externSheetText(int kind, int index, int nameIndex) const {
    const std::string none = "#NAME!";
    if (kind == 0) {
        if (nameIndex < 1 || static_cast<size_t>(nameIndex) > names_.size())
            return none;
        return names_[static_cast<size_t>(nameIndex - 1)].name;
    }
    if (kind != 2 || index < 0 || static_cast<size_t>(index) >= externSheets_.size())
        return none;
    const ExternSheet& sheet = externSheets_[static_cast<size_t>(index)];
    if (sheet.supBook >= supBooks_.size())
        return none;
    const SupBook& book = supBooks_[sheet.supBook];
    if (nameIndex < 1) {
        if (sheet.firstSheet > 255 || sheet.firstSheet >= book.sheetNames.size())
            return none;
        return "[" + encodedFileName(book.fileName, false) + "]" +
               book.sheetNames[sheet.firstSheet] + "!";
    }
    if (static_cast<size_t>(nameIndex) > book.externNames.size())
        return none;
    const ExternName& name = book.externNames[static_cast<size_t>(nameIndex - 1)];
    if (name.options <= 1)
        return name.name;
    if (name.options & 0x10)
        return "[OLE]";
    return encodedFileName(book.fileName, true) + "!'" + name.name + "'";
}

std::string NameDefs::encodedFileName(std::string_view text, bool ddeForm) {
    if (!text.empty() && text[0] == '\x01')
        text.remove_prefix(1);
    std::string path;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (c) {
        case '\x01':
            if (i + 1 < text.size() && std::isalpha(static_cast<unsigned char>(text[i + 1]))) {
                path += text[++i];
                path += ":\\";
            }
            break;
        case '\x02':
            path += '\\';
            break;
        case '\x03':
            path += ddeForm ? '|' : '\\';
            break;
        case '\x04':
            path += "..\\";
            break;
        case '\x05':
        case '\x06':
        case '\x07':
        case '\x08':
            break;
        default:
            path += c;
        }
    }
    return path;
}

void NameDefs::setPrintTitles(int sheet, int firstCol, int lastCol, int firstRow, int lastRow) {
    bool cols = firstCol >= 0 && lastCol >= 0;
    bool rows = firstRow >= 0 && lastRow >= 0;
    std::string tokens;
    if (cols || rows) {
        int book = addSupBook(OwnWorkbook, nullptr);
        int externIndex = -1;
        for (size_t i = 0; i < externSheets_.size() && externIndex < 0; ++i) {
            const ExternSheet& e = externSheets_[i];
            if (e.supBook == book && e.firstSheet == sheet && e.lastSheet == sheet)
                externIndex = static_cast<int>(i);
        }
        if (externIndex < 0)
            externIndex = addExternSheet(book, sheet, sheet);
        std::string colArea = area3d(externIndex, 0, 0xFFFF, firstCol, lastCol);
        std::string rowArea = area3d(externIndex, firstRow, lastRow, 0, 255);
        if (cols && rows)
            tokens = std::string(1, '\x29') + word(23) + colArea + rowArea + std::string(1, '\x10');
        else
            tokens = cols ? colArea : rowArea;
    }
    uint16_t sheetIndex = static_cast<uint16_t>(sheet + 1);
    for (WorkbookName& name : names_)
        if (name.name.size() == 1 && name.name[0] == PrintTitlesName &&
            name.sheetIndex == sheetIndex) {
            name.setFormula(tokens, {}); // in place: later names keep their indexes
            return;
        }
    if (!tokens.empty())
        addName(PrintTitlesOptions, 0, tokens, std::string(1, PrintTitlesName), sheetIndex);
}

void NameDefs::readExternCount(std::string_view body) {
    externCount = RecordCursor(body).u16(0);
}

void NameDefs::readSupBook(std::string_view body) {
    RecordCursor in(body);
    size_t sheetCount = in.u16(0);
    // Every record is an entry of its own: EXTERNSHEET counts them. Only the two markers
    // stand for the own workbook and add-in functions; any other value is a name's length.
    uint16_t marker = in.u16(2);
    if (marker == 0x0401 || marker == 0x3A01) {
        SupBook& book = supBooks_.emplace_back();
        book.fileName = in.bytes(2, 2);
        book.sheetCountAsRead = static_cast<uint16_t>(sheetCount);
        return;
    }
    in.seek(2);
    size_t count = in.takeU16();
    SupBook book;
    book.fileNameAsRead = takeFlaggedString(in, count);
    book.fileName = fromXlsString(book.fileNameAsRead);
    for (size_t i = 0; i < sheetCount; ++i) { // each sheet name takes at least 3 bytes
        size_t length = in.takeU16();
        book.sheetNamesAsRead.push_back(takeFlaggedString(in, length));
        book.sheetNames.push_back(fromXlsString(book.sheetNamesAsRead.back()));
    }
    supBooks_.push_back(std::move(book));
}

void NameDefs::readExternSheet(std::string_view body) {
    RecordCursor in(body);
    size_t count = in.takeU16();
    in.require(2, count * 6); // the count is bounded by the record, not by a fixed table
    for (size_t i = 0; i < count; ++i) {
        int supBook = in.takeU16();
        int first = in.takeU16();
        int last = in.takeU16();
        addExternSheet(supBook, first, last);
    }
}

void NameDefs::readExternName(std::string_view body) {
    RecordCursor in(body);
    uint16_t options = in.u16(0);
    in.seek(6);
    size_t count = in.takeU8();
    std::string flagged = takeFlaggedString(in, count);
    std::string name = fromXlsString(flagged);
    std::string_view tokens;
    if (options > 1) {
        // DDE and OLE links: the rest of the record is their value cache.
        tokens = in.take(in.remaining());
    } else {
        size_t length = in.takeU16();
        tokens = in.take(length);
    }
    addExternName(options, name, tokens);
    ExternName& added = supBooks_.back().externNames.back();
    added.sheet = in.u16(2);
    added.reserved = in.u16(4);
    added.flaggedName = std::move(flagged);
}

void NameDefs::readName(std::string_view body, AreaNames& areaNames) {
    RecordCursor in(body);
    uint16_t options = in.u16(0);
    size_t nameLength = in.u8(3);
    size_t tokenLength = in.u16(4);
    uint16_t value6 = in.u16(6);
    uint16_t sheetIndex = in.u16(8);
    in.seek(14);
    std::string flagged =
        flaggedFromBody(body.substr(std::min<size_t>(14, body.size())), nameLength);
    std::string name = fromXlsString(takeFlaggedString(in, nameLength));
    std::string_view tokens = in.take(tokenLength);
    int index = addName(options, value6, tokens, name, sheetIndex);
    WorkbookName& added = names_[static_cast<size_t>(index)];
    added.flaggedName = flagged;
    added.trailing = in.take(in.remaining());
    added.shortcut = in.u8(2);
    added.textLengths = in.bytes(10, 4);
    if (options != 0 || name.find_first_not_of(" \t") == std::string::npos ||
        areaNames.indexOfName(name) >= 0)
        return;
    AreaName& area = areaNames.add();
    area.setAreaName(name);
    area.setDefinitionTokens(std::string(tokens) + added.trailing, tokens.size());
    area.linkedName = index; // after the tokens: the record keeps its own
    area.tabIndex = sheetIndex;
}

} // namespace xls
