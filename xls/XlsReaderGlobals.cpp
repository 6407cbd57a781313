// The reader's workbook records: the sheet directory, fonts, number formats, cell formats,
// palette, styles, settings, the shared strings and the name and link tables.

#include "platform/text/WindowsCodePage.h"
#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsReader.h"
#include "xls/XlsUtils.h"

#include <algorithm>

namespace xls {

namespace {

constexpr size_t DefaultFontsBeforePlaceholder = 4;
constexpr size_t PaletteEntries = 56;
constexpr size_t PaletteOffset = 8;

// Blanks and control characters off both ends.
std::string trimmedText(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && static_cast<uint8_t>(text[start]) <= ' ')
        ++start;
    size_t end = text.size();
    while (end > start && static_cast<uint8_t>(text[end - 1]) <= ' ')
        --end;
    return std::string(text.substr(start, end - start));
}

} // namespace

bool XlsReader::onGlobalRecord() {
    const RecordCursor& b = body_;
    uint16_t value = b.u16(0);
    OptionsDialog& options = book_.optionsDialog();
    switch (header_.id) {
    case record::BoundSheet:
        onBoundSheet();
        break;
    case record::Font:
    case record::Font3:
        onFont();
        break;
    case record::Format:
        onFormat();
        break;
    case record::Format2:
        if (version_ <= ExcelVersion::Excel30)
            book_.formats().addNumberFormat(text8(1, body_.u8(0)));
        break;
    case record::Xf:
    case record::Xf2:
    case record::Xf3:
    case record::Xf4:
        onXf();
        break;
    case record::Ixfe2:
        ixfe_ = value;
        break;
    case record::Palette:
        onPalette();
        break;
    case record::Style:
        if (value & 0x8000)
            book_.styles().addStyle(b.data());
        break;
    case record::CodePage:
        book_.setCodepage(value);
        if (!biff8())
            codePage_ = std::make_unique<platform::WindowsCodePage>(value);
        break;
    case record::DateMode:
        book_.date1904 = value == 1;
        break;
    case record::Backup:
        book_.backup = value != 0;
        break;
    case record::Window1: {
        WorkbookData& window = book_.window();
        window.left = b.u16(0);
        window.top = b.u16(2);
        window.width = b.u16(4);
        window.height = b.u16(6);
        window.options = static_cast<uint8_t>(b.u16(8) & WorkbookData::NamedOptions);
        window.otherOptions = static_cast<uint16_t>(b.u16(8) & ~WorkbookData::NamedOptions);
        if (b.size() < 18)
            break; // the short form of older files ends with the options
        window.selectedTab = b.u16(10);
        window.firstVisibleTab = b.u16(12);
        window.selectedTabCount = b.u16(14);
        window.tabRatio = b.u16(16);
        break;
    }
    case record::WriteAccess:
        onWriteAccess();
        break;
    case record::WindowProtect:
        book_.bookProtected = (value & 0xFF) != 0;
        break;
    case record::Prot4Rev:
        book_.prot4Rev = value != 0;
        break;
    case record::RefreshAll:
        book_.refreshAll = (value & 0xFF) != 0;
        break;
    case record::SaveRecalc:
        book_.saveRecalc = value != 0;
        break;
    case record::BookBool:
        options.saveExtLinkVal = (value & 0x0001) != 0;
        options.bookBoolBits = static_cast<uint16_t>(value & ~0x0001);
        break;
    case record::CalcMode:
        options.unnamedCalcMode = {};
        if (value == 0)
            options.calcMode = CalcMode::Manual;
        else if (value == 1)
            options.calcMode = CalcMode::Automatic;
        else if (value == 0xFFFF)
            options.calcMode = CalcMode::AutoExTables;
        else
            options.unnamedCalcMode.keep(value, options.calcMode);
        break;
    case record::Precision: // the record says "full precision"
        options.precisionAsDisplayed = (value & 0xFF) == 0;
        break;
    case record::HideObj:
        options.unnamedShowObjects = {};
        if (value <= 2)
            options.showObjects = static_cast<ShowObjects>(value);
        else
            options.unnamedShowObjects.keep(value, options.showObjects);
        break;
    case record::Country:
        book_.countryDefault = value;
        book_.countryWinIni = b.u16(2);
        break;
    case record::Sst:
        onSst();
        break;
    case record::MsoDrawingGroup:
        if (biff8())
            onDrawingGroup();
        break;
    case record::ExternCount:
    case record::ExternSheet:
    case record::Name:
    case record::Name3:
    case record::ExternName:
    case record::ExternName3:
    case record::SupBook:
        onNameRecord();
        break;
    case record::CodeName:
        onCodeName();
        break;
    case record::FilePass:
        throw XlsError("File is password protected");
    default:
        return false;
    }
    return true;
}

void XlsReader::onBoundSheet() {
    BoundSheetEntry entry;
    entry.offset = body_.u32(0);
    entry.visibility = body_.u8(4);
    entry.kind = body_.u8(5);
    size_t count = body_.u8(6);
    if (biff8()) {
        bool wide = body_.u8(7) & 0x01;
        std::string flagged(body_.bytes(7, (wide ? 2 * count : count) + 1));
        flagged[0] = wide ? 1 : 0;
        entry.name = std::move(flagged);
    } else {
        std::string name = text8(7, count);
        std::optional<std::u16string> wide = decoded(name);
        entry.name = wide ? wideXlsString(*wide) : name;
    }
    sheetNames_.push_back(std::move(entry));
}

void XlsReader::onFont() {
    XFont font;
    uint16_t options = body_.u16(2);
    auto oldStyle = [&font, options]() {
        font.style = static_cast<uint8_t>(((options & 0x01) ? XFont::Bold : 0) |
                                          ((options & 0x02) ? XFont::Italic : 0) |
                                          ((options & 0x08) ? XFont::StrikeOut : 0));
        font.underline = (options & 0x04) ? Underline::Single : Underline::None;
    };
    if (version_ <= ExcelVersion::Excel21) {
        font.size = body_.u16(0) / 20;
        oldStyle();
        font.name = text8(5, body_.u8(4));
    } else if (version_ <= ExcelVersion::Excel40) {
        font.setRecordValues(body_.u16(0), body_.u16(4), 0, 0, 0);
        oldStyle();
        font.optionBits = static_cast<uint16_t>(options & ~0x000F);
        font.name = text8(7, body_.u8(6));
    } else {
        font.setRecordValues(body_.u16(0), body_.u16(4), body_.u16(6), body_.u16(8), body_.u8(10));
        font.style = static_cast<uint8_t>(font.style | ((options & 0x02) ? XFont::Italic : 0) |
                                          ((options & 0x08) ? XFont::StrikeOut : 0));
        font.family = body_.u8(11);
        font.charset = body_.u8(12);
        font.reserved = body_.u8(13);
        font.name = readXlsString(version_, tail(15), body_.u8(14));
        font.optionBits = static_cast<uint16_t>(options & ~0x000A);
        if (biff8())
            font.flaggedName = flaggedFromBody(tail(15), body_.u8(14));
    }
    XFonts& fonts = book_.fonts();
    fonts.add() = font;
    // The files have no font 4: a placeholder keeps the fifth FONT record at index 5.
    if (fonts.count() == DefaultFontsBeforePlaceholder)
        fonts.add();
}

void XlsReader::onFormat() {
    CellFormats& formats = book_.formats();
    // Some writers count one character more than they store: the text is what is there.
    if (biff8()) {
        std::string_view text = tail(4);
        bool wide = body_.u8(4) & 0x01;
        size_t available = text.empty() ? 0 : (text.size() - 1) / (wide ? 2 : 1);
        size_t count = std::min<size_t>(body_.u16(2), available);
        formats.setNumberFormatAt(body_.u16(0), readXlsString(version_, text, count),
                                  flaggedFromBody(text, count));
        formats.markReadFromRecord(body_.u16(0));
        return;
    }
    std::string text(tail(3).substr(0, body_.u8(2)));
    if (version_ >= ExcelVersion::Excel50) {
        formats.setNumberFormatAt(body_.u16(0), text);
        formats.markReadFromRecord(body_.u16(0));
    } else
        formats.addNumberFormat(text);
}

void XlsReader::onXf() {
    uint16_t id = header_.id;
    if (biff8() && id == record::Xf)
        return book_.formats().add().readXF8(body_.bytes(0, 20));
    if (version_ == ExcelVersion::Excel50 && id == record::Xf)
        return book_.formats().add().readXF5(body_.bytes(0, 16));
    if (version_ == ExcelVersion::Excel40 && id == record::Xf4)
        return book_.formats().add().readXF4(body_.bytes(0, 12));
    if (version_ == ExcelVersion::Excel30 && id == record::Xf3)
        return book_.formats().add().readXF3(body_.bytes(0, 12));
    if (version_ == ExcelVersion::Excel21 && id == record::Xf2) {
        biff2XfRecords_ = true;
        return book_.formats().add().readXF2(body_.bytes(0, 4));
    }
}

// PALETTE holds the colours 8 to 63; the first eight are fixed.
void XlsReader::onPalette() {
    size_t count = std::min<size_t>(body_.u16(0), PaletteEntries);
    body_.require(2, 4 * count);
    Palette& palette = book_.palette();
    book_.paletteColoursRead = count;
    for (size_t i = 0; i < count; ++i)
        palette[PaletteOffset + i] = {body_.u8(2 + 4 * i), body_.u8(3 + 4 * i),
                                      body_.u8(4 + 4 * i)};
}

// The user name is kept only when the record holds it in its published form; other writers
// fill the record with text of their own, which is no reason to refuse the file.
void XlsReader::onWriteAccess() {
    readUserName();
    book_.writeAccessAsRead = body_.data();
    book_.userNameAsRead = book_.userName;
}

void XlsReader::readUserName() {
    if (biff8()) {
        size_t count = body_.u16(0);
        uint8_t flag = body_.u8(2);
        size_t bytes = flag == 1 ? 2 * count : count;
        book_.userName.clear();
        if (flag <= 1 && body_.size() >= 3 && body_.size() - 3 >= bytes)
            book_.userName = trimmedText(readXlsString(version_, tail(2), count));
        return;
    }
    size_t count = std::min<size_t>(body_.u8(0), body_.size() > 0 ? body_.size() - 1 : 0);
    book_.userName = trimmedText(tail(1).substr(0, count));
}

// The stream stands behind the SST record; the table reads it and its CONTINUE records itself.
// A table that stops early (a count of 0, say) still leaves the stream behind its record.
void XlsReader::onSst() {
    uint64_t end = stream_.position();
    stream_.seek(static_cast<int64_t>(recordStart_), SeekOrigin::Begin);
    book_.sheets().strings().read(stream_);
    if (stream_.position() < end)
        stream_.seek(static_cast<int64_t>(end), SeekOrigin::Begin);
}

void XlsReader::onCodeName() {
    size_t count = body_.u16(0);
    std::string name, flagged;
    if (biff8()) {
        name = readXlsString(version_, tail(2), count);
        flagged = flaggedFromBody(tail(2), count);
    } else {
        size_t at = body_.size() == 3 + count ? 3 : 2; // with or without an option byte
        name = text8(at, count);
    }
    Sheet* s = sheet();
    (s ? s->codeName : book_.codeName) = name;
    (s ? s->codeNameAsRead : book_.codeNameAsRead) = flagged;
}

void XlsReader::onNameRecord() {
    NameDefs& names = book_.nameDefs();
    // Before BIFF8 the records themselves are kept as read; a name is read for the texts of
    // formulas.
    if (!biff8()) {
        if (version_ == ExcelVersion::Excel50 && header_.id == record::Name)
            readBiff5Name();
        return;
    }
    switch (header_.id) {
    case record::ExternCount:
        names.readExternCount(body_.data());
        break;
    case record::ExternSheet:
        names.readExternSheet(body_.data());
        break;
    case record::Name:
    case record::Name3:
        names.readName(body_.data(), book_.areaNames());
        break;
    case record::ExternName:
    case record::ExternName3:
        names.readExternName(body_.data());
        break;
    case record::SupBook:
        names.readSupBook(body_.data());
        break;
    default:
        break;
    }
}

// A BIFF5 name, for the texts of formulas.
void XlsReader::readBiff5Name() {
    uint16_t options = body_.u16(0);
    std::string name = text8(14, body_.u8(3));
    std::string_view tokens = body_.bytes(14 + name.size(), body_.u16(4));
    NameDefs& names = book_.nameDefs();
    int index = names.addName(options, body_.u16(6), tokens, name, body_.u16(8));
    AreaNames& areas = book_.areaNames();
    if (options != 0 || name.find_first_not_of(" \t") == std::string::npos ||
        areas.indexOfName(name) >= 0)
        return;
    AreaName& area = areas.add();
    area.setAreaName(name);
    area.setDefinitionTokens(tokens);
    area.linkedName = index;
    area.tabIndex = body_.u16(8);
}

} // namespace xls
