// The workbook writer: the order of the records of each version, and the workbook globals.

#include "xls/XlsWriter.h"

#include "xls/RecordId.h"
#include "xls/RecordKeeping.h"
#include "xls/Workbook.h"
#include "xls/WriteLosses.h"
#include "xls/XlsUtils.h"

#include <algorithm>

namespace xls {

namespace {

constexpr uint16_t GlobalsType = 0x0005;
constexpr uint16_t WorksheetType = 0x0010;
constexpr size_t WriteAccessSize = 112;
constexpr size_t PaletteColours = 56;
constexpr size_t PaletteOffset = 8;
constexpr std::string_view ThisWorkbook = "ThisWorkbook";
constexpr uint16_t MaxRowBefore8 = 16383;

// The built-in cell formats of a new workbook, by version: 15 style formats and the default
// cell format, then (BIFF4 and BIFF8) five more styles with number formats.
std::string builtInXf(ExcelVersion version, int entry) {
    uint8_t font = entry == 1 || entry == 2 ? 1 : entry == 3 || entry == 4 ? 2 : 0;
    bool style = entry != 15;
    bool used = entry >= 1 && entry <= 14;
    if (version <= ExcelVersion::Excel40) {
        static const uint8_t Formats[] = {8, 6, 12, 10, 13};
        std::string xf("\x00\x00\xF5\xFF\x20\x00\x00\xCE\x00\x00\x00\x00", 12);
        xf[0] = static_cast<char>(font);
        if (!style)
            xf.replace(2, 2, std::string("\x01\x00", 2));
        if (used)
            xf[5] = '\xF4';
        if (entry >= 16) {
            xf[1] = static_cast<char>(Formats[entry - 16]);
            xf[5] = '\xF8';
        }
        return xf;
    }
    if (version == ExcelVersion::Excel50) {
        std::string xf("\x00\x00\x00\x00\xF5\xFF\x20\x00\xC0\x20\x00\x00\x00\x00\x00\x00", 16);
        xf[0] = static_cast<char>(font);
        if (!style)
            xf.replace(4, 2, std::string("\x01\x00", 2));
        if (used)
            xf[7] = '\xF4';
        return xf;
    }
    static const uint8_t Formats[] = {0x2A, 0x2B, 0x2C, 0x2D, 0x09};
    std::string xf(
        "\x00\x00\x00\x00\xF5\xFF\x20\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xC0\x20", 20);
    xf[0] = static_cast<char>(font);
    if (!style)
        xf.replace(4, 2, std::string("\x01\x00", 2));
    if (used)
        xf[9] = '\xF4';
    if (entry >= 16)
        xf[2] = static_cast<char>(Formats[entry - 16]);
    return xf;
}

// Normal, comma, comma [0], currency, currency [0] and percent, on XF 0 and 16 to 20.
constexpr std::string_view BuiltInStyles[] = {{"\x10\x80\x03\xFF", 4}, {"\x11\x80\x06\xFF", 4},
                                              {"\x12\x80\x04\xFF", 4}, {"\x13\x80\x07\xFF", 4},
                                              {"\x00\x80\x00\xFF", 4}, {"\x14\x80\x05\xFF", 4}};

} // namespace

XlsWriter::XlsWriter(Workbook& book)
    : book_(book), version_(book.version()), codePage_(book.codepage()) {
    stream_.setCopyStorages(book.preserveMacros);
    stream_.setKeptStorages(&book.keptStorages());
    stream_.setKeptStreams(&book.keptStreams());
    unicode_ = book.writeUnicodeStrings && biff8();
    stream_.setUnicodeStrings(unicode_);
    carryThrough_ = book.carriesThrough();
    drawingsAsRead_ = carryThrough_ && book.drawingsAsRead();
    converting_ = !book.isDefaultWorkbook && !carryThrough_ &&
                  book.readVersion >= ExcelVersion::Excel50 && version_ >= ExcelVersion::Excel50;
    stream_.setRecordHook(
        [this](uint16_t id, std::string_view body) { carried_.beforeRecord(stream_, id, body); });
}

XlsWriter::~XlsWriter() = default;

int XlsWriter::builtInXfCount(ExcelVersion version) {
    return version == ExcelVersion::Excel50 ? 16 : 21;
}

// A BIFF4 file read with its own FORMAT records keeps them behind the built-in texts; any
// other workbook writes the built-in texts as its first formats.
int XlsWriter::biff4FormatBase() const {
    bool readFormats =
        !book_.isDefaultWorkbook && book_.formats().numberFormatCount() > CellFormats::BuiltInCount;
    return readFormats ? CellFormats::BuiltInCount : 0;
}

int XlsWriter::xfOffset() const {
    return book_.isDefaultWorkbook ? builtInXfCount(version_) : 0;
}

bool XlsWriter::vbaKept() const {
    for (const platform::StorageTree& storage : book_.keptStorages())
        if (storage.name == "_VBA_PROJECT_CUR" || storage.name == "_VBA_PROJECT")
            return true;
    return false;
}

void XlsWriter::open(std::string* target) {
    if (target)
        stream_.openWriteToMemory(*target, version_);
    else
        stream_.openWrite(book_.filename(), version_);
}

void XlsWriter::finish() {
    if (!book_.keptStorages().empty() || !book_.keptStreams().empty())
        stream_.writeExtraObjects();
    stream_.close();
}

void XlsWriter::writeBiff58(std::string* target) {
    try {
        open(target);
        for (size_t i = 0; i < book_.sheets().count(); ++i)
            prepareSheet(book_.sheets().item(i));
        arrangeTabs();
        if (biff8() && !drawingsAsRead_)
            prepareDrawings();
        writeGlobals();
        for (const Tab& tab : tabs_)
            if (tab.chart)
                writeChartSheet(tab);
            else
                writeSheet(tab);
        finish();
    } catch (...) {
        stream_.abandon();
        throw;
    }
}

// A plain file of records holding the first sheet.
void XlsWriter::writeBiff4(std::string* target) {
    try {
        open(target);
        Sheet& sheet = book_.sheets().item(0);
        prepareSheet(sheet);
        beginSubstream(WorksheetType, &sheet.keptRecords(), false);
        writeWriteAccess();
        // Without its code page other readers take 8-bit text for ASCII.
        writeWord(record::CodePage, book_.codepage() == 1200 ? 1252 : book_.codepage());
        writeCalculation(sheet);
        writeWord(record::Precision, book_.optionsDialog().precisionAsDisplayed ? 0 : 1);
        writeWord(record::DateMode, book_.date1904 ? 1 : 0);
        writeSheetLayout(sheet);
        writeHideObj();
        writeWsBool(sheet);
        writePageBreaks(sheet);
        writeFonts();
        writePrintRecords(sheet);
        writeWord(record::Backup, book_.backup ? 1 : 0);
        writeFormats();
        writeWord(record::WindowProtect, book_.bookProtected ? 1 : 0);
        writeCellFormats();
        writeStyles();
        if (sheet.defaultColWidth != 0)
            writeWord(record::DefColWidth, sheet.defaultColWidth);
        writeColumnFormats(sheet);
        writeDimensions(sheet);
        writeRows(sheet);
        sheet.writeCells(version_, stream_, xfOffset(), false, codePage_);
        for (size_t i = 0; i < sheet.legacyNotes().count(); ++i)
            writeRecord(sheet.legacyNotes().item(i).id,
                        std::string_view(sheet.legacyNotes().item(i).body));
        writeWindow1();
        writeWindow2(sheet, true);
        writeSelection();
        writeEof();
        finish();
    } catch (...) {
        stream_.abandon();
        throw;
    }
}

// Excel 4.0 and 5.0 files hold 16,384 rows; other readers refuse files with more.
void XlsWriter::prepareSheet(Sheet& sheet) {
    sheet.calcDimensions();
    if (!biff8() && sheet.lastRow > MaxRowBefore8)
        throw XlsError("Sheet \"" + sheet.name() + "\" has more rows than an Excel " +
                       (version_ == ExcelVersion::Excel50 ? "5.0" : "4.0") + " file holds");
}

void XlsWriter::writeRecord(uint16_t id, const RecordBody& body) {
    writeRecord(id, std::string_view(body.str()));
}

// A body longer than the version allows goes on in CONTINUE records.
void XlsWriter::writeRecord(uint16_t id, std::string_view body) {
    if (!makesOwn(id))
        return;
    if (carrying_ && depth_ == 1)
        body = kept_->madeOrAsRead(id, countWritten(id), body);
    if (body.size() <= static_cast<size_t>(book_.maxRecordSize())) {
        stream_.writeRecord(id, body);
        return;
    }
    stream_.announceRecord(id, body);
    stream_.beginSplit(book_.maxRecordSize());
    stream_.writeHeader(id, 0);
    stream_.writeData(body);
    stream_.endSplit();
}

void XlsWriter::writeWord(uint16_t id, int64_t value) {
    RecordBody body;
    body.u16(value);
    writeRecord(id, body);
}

uint32_t XlsWriter::countWritten(uint16_t id) {
    for (auto& [known, count] : written_)
        if (known == id)
            return count++;
    written_.emplace_back(id, 1);
    return 0;
}

// A BOF inside a substream (an embedded chart's) keeps the substream's kept records out of
// the chart until its EOF. A substream carried through begins with its own BOF as read.
void XlsWriter::writeBof(uint16_t type, std::string_view asRead) {
    RecordBody body;
    if (!asRead.empty())
        body.bytes(asRead);
    else if (version_ <= ExcelVersion::Excel40)
        body.u16(0).u16(WorksheetType).u16(6319);
    else if (version_ == ExcelVersion::Excel50)
        body.u16(0x0500).u16(type).u16(3515).u16(1998);
    else
        body.u16(0x0600).u16(type).u16(6319).u16(1997).u32(book_.isMac ? 0x10 : 0).u32(0x0106);
    stream_.writeRecord(version_ <= ExcelVersion::Excel40 ? record::Bof4 : record::Bof, body.str());
    if (depth_++ > 0)
        carried_.pause(true);
}

void XlsWriter::writeEof() {
    if (--depth_ == 0) {
        carried_.finish(stream_);
        kept_ = nullptr;
        carrying_ = false;
    }
    stream_.writeRecord(record::Eof, {});
    if (depth_ > 0)
        carried_.pause(false);
}

void XlsWriter::beginSubstream(uint16_t type, const KeptRecords* kept, bool globals,
                               const std::string& bofAsRead) {
    bool carrying = carryThrough_ && kept && kept->read;
    writeBof(type, carrying ? std::string_view(kept->bof) : std::string_view(bofAsRead));
    kept_ = kept;
    globals_ = globals;
    carrying_ = carrying;
    written_.clear();
    bool converted = converting_ && kept && kept->read;
    carried_.begin(carrying_ || converted ? kept : nullptr, drawingsAsRead_, converted);
}

bool XlsWriter::holds(uint16_t id) const {
    return carrying_ && kept_->held(id) > 0;
}

// Carried through, a substream gets the writer's settings only where the file had them, and
// none of the records the writer would make of its own accord (a selection, an empty
// password) where the file's own are kept; frozen panes the file did not have are added.
// Written into the other of BIFF5 and BIFF8, the file's own protection records take the
// place of the writer's.
bool XlsWriter::makesOwn(uint16_t id) const {
    if (!carrying_)
        return !(converting_ && kept_ && kept_->read && sameInBiff5And8(id) &&
                 keepingOf(id, book_.readVersion, globals_) == Keeping::Kept &&
                 kept_->held(id) > 0);
    switch (keepingOf(id, version_, globals_)) {
    case Keeping::Made:
        return !madeOnlyWhereHeld(id) || holds(id);
    case Keeping::Kept:
        return id == record::Pane && !holds(id);
    case Keeping::Drawing:
        return !drawingsAsRead_;
    case Keeping::Dropped:
        break;
    }
    return true;
}

void XlsWriter::writeGlobals() {
    beginSubstream(GlobalsType, &book_.keptGlobals(), true);
    writeWriteAccess();
    // BIFF8 text is UTF-16 whatever an older file said; older files keep their code page.
    uint16_t codePage = book_.codepage();
    if (biff8() && !carryThrough_)
        codePage = 1200;
    else if (!biff8() && codePage == 1200)
        codePage = 1252;
    writeWord(record::CodePage, codePage);
    if (biff8()) {
        writeWord(record::Dsf, 0);
        RecordBody tabs;
        for (size_t i = 0; i < tabs_.size(); ++i)
            tabs.u16(i + 1);
        writeRecord(record::TabId, tabs);
    }
    writeCodeNames();
    writeWord(record::WindowProtect, book_.bookProtected ? 1 : 0);
    for (size_t i = 0; i < book_.sheets().count(); ++i)
        if (book_.sheets().item(i).has(Sheet::Protected)) {
            writeWord(record::Protect, 1);
            break;
        }
    writeWord(record::Password, 0);
    if (biff8()) {
        writeWord(record::Prot4Rev, book_.prot4Rev ? 1 : 0);
        writeWord(record::Prot4RevPass, 0);
    }
    writeWindow1();
    writeWorkbookFlags();
    writeFonts();
    writeFormats();
    writeCellFormats();
    writeStyles();
    writePalette();
    if (biff8())
        writeWord(record::UsesElfs, 0);
    writeBoundSheets();
    if (biff8()) {
        writeCountry();
        writeNames();
        writeDrawingGroup();
        writeSharedStrings();
    }
    writeEof();
}

// The user name in a field of 112 bytes filled with blanks.
void XlsWriter::writeWriteAccess() {
    // Other writers fill the record in ways of their own; in the version read it goes back as
    // read while the user name is the one read from it.
    if (carryThrough_ && !book_.writeAccessAsRead.empty() &&
        book_.userName == book_.userNameAsRead) {
        writeRecord(record::WriteAccess, std::string_view(book_.writeAccessAsRead));
        return;
    }
    std::string field(WriteAccessSize, ' ');
    std::string name = book_.userName;
    if (biff8()) {
        std::string flagged;
        do {
            flagged = toXlsString(name, unicode_);
            if (flagged.size() + 2 > WriteAccessSize)
                name.pop_back();
        } while (flagged.size() + 2 > WriteAccessSize);
        RecordBody text;
        text.u16(xlsStringCount(flagged)).bytes(flagged);
        field.replace(0, text.size(), text.str());
    } else {
        name = name.substr(0, WriteAccessSize - 1);
        field[0] = static_cast<char>(name.size());
        field.replace(1, name.size(), name);
    }
    writeRecord(record::WriteAccess, std::string_view(field));
}

// The macro project's records, only where its storage was kept; code names read from the
// file go back as they were.
void XlsWriter::writeCodeNames() {
    bool vba = vbaKept();
    if (vba)
        writeRecord(record::ObProj, std::string_view());
    std::string name = !book_.codeName.empty() ? book_.codeName
                       : vba                   ? std::string(ThisWorkbook)
                                               : std::string();
    if (!name.empty() || holds(record::CodeName))
        writeCodeName(name, book_.codeNameAsRead);
    if (vba)
        writeWord(record::FnGroupCount, 14);
}

// A BIFF8 code name is a flagged string, as read while it is the same name.
void XlsWriter::writeCodeName(const std::string& name, const std::string& asRead) {
    RecordBody body;
    if (biff8()) {
        std::string flagged = flaggedAsRead(asRead, name, unicode_);
        body.u16(xlsStringCount(flagged)).bytes(flagged);
    } else {
        body.u16(name.size()).u8(0).bytes(name);
    }
    writeRecord(record::CodeName, body);
}

void XlsWriter::writeWindow1() {
    const WorkbookData& window = book_.window();
    RecordBody body;
    body.u16(window.left).u16(window.top).u16(window.width).u16(window.height);
    body.u16((window.options & WorkbookData::NamedOptions) | window.otherOptions);
    // Excel 4.0 has one sheet and no tabs.
    if (version_ > ExcelVersion::Excel40)
        body.u16(window.selectedTab)
            .u16(window.firstVisibleTab)
            .u16(window.selectedTabCount)
            .u16(window.tabRatio);
    writeRecord(record::Window1, body);
}

void XlsWriter::writeWorkbookFlags() {
    const OptionsDialog& options = book_.optionsDialog();
    writeWord(record::Backup, book_.backup ? 1 : 0);
    writeHideObj();
    writeWord(record::DateMode, book_.date1904 ? 1 : 0);
    writeWord(record::Precision, options.precisionAsDisplayed ? 0 : 1);
    writeWord(record::RefreshAll, book_.refreshAll ? 1 : 0);
    writeWord(record::BookBool, (options.saveExtLinkVal ? 1 : 0) | options.bookBoolBits);
}

void XlsWriter::writeHideObj() {
    const OptionsDialog& options = book_.optionsDialog();
    const auto shown = static_cast<uint16_t>(options.showObjects);
    writeWord(record::HideObj, options.unnamedShowObjects.wordFor(options.showObjects, shown));
}

// Font 4 has no record: the files number their fonts without it.
void XlsWriter::writeFonts() {
    XFonts& fonts = book_.fonts();
    for (size_t i = 0; i < fonts.count(); ++i) {
        if (i == 4)
            continue;
        const XFont& font = fonts.item(i);
        RecordBody body;
        body.u16(font.recordHeight());
        uint16_t options =
            static_cast<uint16_t>(font.optionBits | (font.has(XFont::Italic) ? 0x0002 : 0) |
                                  (font.has(XFont::StrikeOut) ? 0x0008 : 0));
        if (version_ <= ExcelVersion::Excel40) {
            options = static_cast<uint16_t>(options | (font.has(XFont::Bold) ? 0x0001 : 0) |
                                            (font.underline != Underline::None ? 0x0004 : 0));
            body.u16(options).u16(font.recordColor()).u8(font.name.size()).bytes(font.name);
            writeRecord(record::Font3, body);
            continue;
        }
        body.u16(options).u16(font.recordColor()).u16(font.recordWeight());
        body.u16(font.recordEscapement()).u8(font.recordUnderline());
        body.u8(font.family).u8(font.charset).u8(font.reserved);
        if (biff8()) {
            std::string flagged = flaggedAsRead(font.flaggedName, font.name, unicode_);
            body.u8(xlsStringCount(flagged)).bytes(flagged);
        } else {
            body.u8(font.name.size()).bytes(font.name);
        }
        writeRecord(record::Font, body);
    }
}

// BIFF5 and BIFF8 carry the index of each format and leave out the built-in ones that kept
// their text. BIFF4 numbers its formats by their order, so every one from the first the
// cell formats count from is written.
void XlsWriter::writeFormats() {
    CellFormats& formats = book_.formats();
    if (version_ <= ExcelVersion::Excel40) {
        // A file without FORMAT records numbers its formats as the built-in list does.
        if (carrying_ && !holds(record::Format))
            return;
        int base = biff4FormatBase();
        for (size_t i = static_cast<size_t>(base); i < formats.numberFormatCount(); ++i) {
            std::string text = formats.numberFormatText(static_cast<int>(i));
            if (text.empty())
                text = "General";
            RecordBody body;
            body.u16(0).u8(text.size()).bytes(text);
            writeRecord(record::Format, body);
        }
        return;
    }
    // Those read go back in the order read, the others behind them.
    for (int i : formats.readOrder())
        if (static_cast<size_t>(i) < formats.numberFormatCount())
            writeFormat(i);
    for (size_t i = 0; i < formats.numberFormatCount(); ++i) {
        std::string text = formats.numberFormatText(static_cast<int>(i));
        if (formats.readFromRecord(static_cast<int>(i)) || text.empty())
            continue;
        if (i < CellFormats::BuiltInCount && text == CellFormats::builtInText(static_cast<int>(i)))
            continue;
        writeFormat(static_cast<int>(i));
    }
}

// An empty BIFF8 text needs no option byte; a record read with more behind its count goes
// back as read.
void XlsWriter::writeFormat(int index) {
    CellFormats& formats = book_.formats();
    std::string text = formats.numberFormatText(index);
    RecordBody body;
    body.u16(index);
    if (biff8()) {
        std::string flagged = flaggedAsRead(formats.numberFormatAsRead(index), text, unicode_);
        body.u16(xlsStringCount(flagged));
        if (xlsStringCount(flagged) > 0)
            body.bytes(flagged);
    } else {
        body.u8(text.size()).bytes(text);
    }
    writeRecord(record::Format, body);
}

void XlsWriter::writeCellFormats() {
    uint16_t id = version_ <= ExcelVersion::Excel40 ? record::Xf4 : record::Xf;
    if (book_.isDefaultWorkbook)
        for (int entry = 0; entry < builtInXfCount(version_); ++entry)
            writeRecord(id, std::string_view(builtInXf(version_, entry)));
    int formatBase = biff4FormatBase();
    CellFormats& formats = book_.formats();
    for (size_t i = 0; i < formats.count(); ++i) {
        const CellFormat& format = formats.item(i);
        std::string body = version_ <= ExcelVersion::Excel40   ? format.writeXF4(formatBase)
                           : version_ == ExcelVersion::Excel50 ? format.writeXF5()
                                                               : format.writeXF8();
        writeRecord(id, std::string_view(body));
    }
}

// The built-in styles of a new workbook point at XF 0 and 16 to 20; BIFF5 has no XF 16 to
// 20, so only the styles whose format is there are written.
void XlsWriter::writeStyles() {
    if (!book_.isDefaultWorkbook) {
        for (size_t i = 0; i < book_.styles().count(); ++i) {
            const Styles::Body& style = book_.styles().item(i);
            writeRecord(record::Style, std::string_view(reinterpret_cast<const char*>(style.data()),
                                                        style.size()));
        }
        return;
    }
    int xfs = builtInXfCount(version_);
    for (std::string_view style : BuiltInStyles) {
        int xf = (static_cast<uint8_t>(style[0]) | (static_cast<uint8_t>(style[1]) << 8)) & 0x0FFF;
        if (xf < xfs)
            writeRecord(record::Style, style);
    }
}

// BIFF5 always carries its palette; BIFF8 when it differs from the default one.
void XlsWriter::writePalette() {
    const Palette& palette = book_.palette();
    bool own = std::equal(palette.begin(), palette.end(), defaultPalette().begin());
    if (own && (carrying_ ? !holds(record::Palette) : biff8()))
        return;
    // A palette read with fewer colours than it may hold goes back so while the colours
    // behind them are the default ones.
    size_t count = PaletteColours;
    if (book_.paletteColoursRead > 0 && book_.paletteColoursRead < PaletteColours &&
        std::equal(palette.begin() + PaletteOffset + book_.paletteColoursRead,
                   palette.begin() + PaletteOffset + PaletteColours,
                   defaultPalette().begin() + PaletteOffset + book_.paletteColoursRead))
        count = book_.paletteColoursRead;
    RecordBody body;
    body.u16(count);
    for (size_t i = 0; i < count; ++i) {
        const platform::Color& colour = palette[PaletteOffset + i];
        body.u8(colour.r).u8(colour.g).u8(colour.b).u8(0);
    }
    writeRecord(record::Palette, body);
}

// The tabs in the order read: chart sheets keep their places among the worksheets, so that
// the sheet numbers formulas and names use still mean the same sheets.
void XlsWriter::arrangeTabs() {
    tabs_.clear();
    InFileCharts& charts = book_.inFileCharts();
    size_t total = book_.sheets().count() + charts.count();
    size_t sheet = 0;
    std::vector<bool> placed(charts.count(), false);
    for (size_t position = 0; position < total; ++position) {
        bool chartHere = false;
        for (size_t c = 0; c < charts.count(); ++c)
            if (!placed[c] && charts.item(c).tabPosition == static_cast<int>(position)) {
                tabs_.push_back({true, c, 0});
                placed[c] = chartHere = true;
                break;
            }
        if (!chartHere && sheet < book_.sheets().count())
            tabs_.push_back({false, sheet++, 0});
    }
    for (size_t c = 0; c < charts.count(); ++c)
        if (!placed[c])
            tabs_.push_back({true, c, 0});
}

// Each BOUNDSHEET's position field is written 0 and patched when its substream begins.
void XlsWriter::writeBoundSheets() {
    for (Tab& tab : tabs_) {
        std::string flagged = tab.chart ? book_.inFileCharts().item(tab.index).flaggedName
                                        : book_.sheets().item(tab.index).flaggedName();
        if (flagged.empty())
            flagged = std::string(1, '\0');
        uint8_t visibility = tab.chart ? book_.inFileCharts().item(tab.index).visibility
                                       : book_.sheets().item(tab.index).visibility;
        uint8_t kind = tab.chart ? 2 : carryThrough_ ? book_.sheets().item(tab.index).sheetKind : 0;
        RecordBody body;
        body.u32(0).u8(visibility).u8(kind);
        if (biff8()) {
            body.u8(xlsStringCount(flagged)).bytes(flagged);
        } else {
            std::optional<std::string> name = codePage_.fromUtf16(wideFromXlsString(flagged));
            if (!name || name->size() > 0xFF)
                throw XlsError("The name of sheet \"" + fromXlsString(flagged) + "\" cannot be " +
                               "written into " + versionFileName(version_) + " in code page " +
                               std::to_string(codePage_.number()) + ".");
            body.u8(name->size()).bytes(*name);
        }
        writeRecord(record::BoundSheet, body);
        // Kept records may have gone in ahead of it: the field is found from its end.
        tab.field = stream_.position() - body.size();
    }
}

void XlsWriter::patchOffset(uint64_t fieldPosition) {
    uint64_t position = stream_.position();
    stream_.seek(static_cast<int64_t>(fieldPosition), SeekOrigin::Begin);
    RecordBody offset;
    offset.u32(static_cast<int64_t>(position));
    stream_.writeRaw(offset.str());
    stream_.seek(0, SeekOrigin::End);
}

// A workbook built in memory takes the country of the user's locale for the second value;
// the first is the country the application speaks, United States.
void XlsWriter::writeCountry() {
    RecordBody body;
    if (book_.isDefaultWorkbook)
        body.u16(1).u16(book_.localeCountry());
    else
        body.u16(book_.countryDefault).u16(book_.countryWinIni);
    writeRecord(record::Country, body);
}

void XlsWriter::writeNames() {
    NameDefs& names = book_.nameDefs();
    AreaNames& areas = book_.areaNames();
    // A file carried through keeps its link tables as they were.
    if (areas.count() > 0 && !carrying_) {
        int own = names.addSupBook(NameDefs::OwnWorkbook, nullptr);
        bool present = false;
        for (size_t i = 0; i < names.externSheetCount(); ++i)
            present = present ||
                      (names.externSheet(i).supBook == own &&
                       names.externSheet(i).firstSheet == 0 && names.externSheet(i).lastSheet == 0);
        if (!present)
            names.addExternSheet(own, 0, 0);
    }
    for (size_t b = 0; b < names.supBookCount(); ++b) {
        const SupBook& book = names.supBook(b);
        RecordBody body;
        if (book.fileName.size() == 2 && static_cast<uint8_t>(book.fileName[0]) < 3) {
            // The add-in functions' SUPBOOK counts one sheet, the own workbook's its sheets;
            // as read while the tabs are those read.
            bool addIn = book.fileName == std::string_view("\x01\x3A", 2);
            bool asRead = book.sheetCountAsRead > 0 && tabs_.size() == book_.tabsRead;
            body.u16(asRead ? book.sheetCountAsRead : addIn ? 1 : tabs_.size());
            body.bytes(book.fileName);
        } else {
            std::string file = flaggedAsRead(book.fileNameAsRead, book.fileName, unicode_);
            body.u16(book.sheetNames.size()).u16(xlsStringCount(file)).bytes(file);
            for (size_t i = 0; i < book.sheetNames.size(); ++i) {
                std::string flagged = flaggedAsRead(
                    i < book.sheetNamesAsRead.size() ? book.sheetNamesAsRead[i] : std::string(),
                    book.sheetNames[i], unicode_);
                body.u16(xlsStringCount(flagged)).bytes(flagged);
            }
        }
        writeRecord(record::SupBook, body);
        for (const ExternName& name : book.externNames) {
            std::string flagged = flaggedAsRead(name.flaggedName, name.name, unicode_);
            RecordBody externName;
            externName.u16(name.options).u16(name.sheet).u16(name.reserved);
            externName.u8(xlsStringCount(flagged)).bytes(flagged);
            // Names of add-ins and other workbooks always give their formula's size.
            if (name.options < 2)
                externName.u16(name.tokens.size());
            externName.bytes(name.tokens);
            writeRecord(record::ExternName, externName);
        }
    }
    if (names.externCount > 0)
        writeWord(record::ExternCount, names.externCount);
    if (names.externSheetCount() > 0 || holds(record::ExternSheet)) {
        RecordBody body;
        body.u16(names.externSheetCount());
        for (size_t i = 0; i < names.externSheetCount(); ++i) {
            const ExternSheet& entry = names.externSheet(i);
            body.u16(entry.supBook).u16(entry.firstSheet).u16(entry.lastSheet);
        }
        writeRecord(record::ExternSheet, body);
    }
    auto writeName = [&](const WorkbookName& name, const std::string& flagged) {
        RecordBody body;
        body.u16(name.options).u8(name.shortcut).u8(xlsStringCount(flagged));
        body.u16(name.tokens.size()).u16(name.value6).u16(name.sheetIndex).bytes(name.textLengths);
        body.bytes(flagged).bytes(name.tokens).bytes(name.trailing);
        writeRecord(record::Name, body);
    };
    for (size_t i = 0; i < names.nameCount(); ++i) {
        const WorkbookName& name = names.name(i);
        writeName(name, flaggedAsRead(name.flaggedName, name.name, unicode_));
    }
    for (size_t i = 0; i < areas.count(); ++i) {
        const AreaName& area = areas.item(i);
        if (area.linkedName >= 0)
            continue;
        WorkbookName name;
        name.options = area.options;
        name.sheetIndex = area.tabIndex;
        name.setFormula(area.tokens().substr(0, area.tokenLength()),
                        area.tokens().substr(area.tokenLength()));
        writeName(name, toXlsString(area.areaName(), unicode_));
    }
}

// SST and EXTSST: the stream position of every eighth string (or more, so that there are
// at most 128 buckets) lets a reader find a string without reading the table.
void XlsWriter::writeSharedStrings() {
    SharedStringTable& strings = book_.sheets().strings();
    stream_.announceRecord(record::Sst, {});
    uint64_t start = stream_.position();
    std::vector<SharedStringTable::Place> places;
    strings.write(stream_, &places);
    size_t perBucket = std::max<size_t>(8, (strings.count() + 127) / 128);
    RecordBody body;
    body.u16(perBucket);
    for (size_t i = 0; i < places.size(); i += perBucket)
        body.u32(static_cast<int64_t>(start + places[i].offset)).u16(places[i].inRecord).u16(0);
    writeRecord(record::ExtSst, body);
}

} // namespace xls
