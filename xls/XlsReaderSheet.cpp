// The reader's sheet records: calculation and window settings, page setup, column formats,
// page breaks, merged ranges, hyperlinks and data validations.

#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsReader.h"
#include "xls/XlsUtils.h"

#include "platform/text/AnsiCodePage.h"

#include <cmath>

namespace xls {

namespace {

// What a hyperlink's record holds, by its flags.
constexpr uint32_t HasMoniker = 0x01;
constexpr uint32_t HasLocation = 0x08;
constexpr uint32_t HasDisplayName = 0x10;
constexpr uint32_t HasFrameName = 0x80;
constexpr uint32_t MonikerSavedAsString = 0x100;
constexpr std::string_view UrlMoniker{
    "\xE0\xC9\xEA\x79\xF9\xBA\xCE\x11\x8C\x82\x00\xAA\x00\x4B\xA9\x0B", 16};
constexpr std::string_view FileMoniker{
    "\x03\x03\x00\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16};

std::string utf16Text(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                        (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    return platform::AnsiCodePage::fromUtf16(text);
}

} // namespace

bool XlsReader::onSheetRecord() {
    Sheet* s = sheet();
    if (!s)
        return false;
    const RecordCursor& b = body_;
    uint16_t value = b.u16(0);
    PrintSettings& print = s->printSettings();
    auto printOption = [&](PrintSettings::Option option, bool on) {
        print.options =
            static_cast<uint16_t>(on ? print.options | option : print.options & ~option);
    };
    switch (header_.id) {
    case record::CalcCount:
        s->calcCount = value;
        break;
    case record::Delta:
        s->delta = b.f64(0);
        break;
    case record::Iteration:
        s->setOption(Sheet::Iteration, (value & 0xFF) != 0);
        break;
    case record::RefMode:
        s->setOption(Sheet::R1C1Mode, (value & 0xFF) == 0);
        break;
    case record::DefColWidth:
        s->defaultColWidth = value;
        break;
    case record::Protect:
        s->setOption(Sheet::Protected, value != 0);
        break;
    case record::DefaultRowHeight:
        s->defaultRowOptions = value;
        s->defaultRowHeight = b.u16(2);
        break;
    case record::ColInfo:
        onColInfo();
        break;
    case record::Window2:
        onWindow2();
        break;
    case record::Scl: {
        uint16_t denominator = b.u16(2);
        double zoom = denominator == 0 ? 100 : std::nearbyint(b.u16(0) * 100.0 / denominator);
        if (zoom > 0xFFFF)
            throw RangeError();
        s->zoom = static_cast<uint16_t>(zoom);
        s->window.sclNumerator = b.u16(0);
        s->window.sclDenominator = denominator;
        break;
    }
    case record::Pane:
        // Values above 255 are the position of a split in twips, not frozen panes.
        if (value <= 255) {
            s->fixedCols = static_cast<uint8_t>(value);
            s->fixedRows = b.u16(2);
        }
        break;
    case record::WsBool:
        s->setWsBoolWord(value);
        break;
    case record::GridSet:
        s->gridSet = value;
        break;
    case record::Guts:
        for (size_t i = 0; i < 4; ++i)
            s->guts[i] = b.u16(2 * i);
        break;
    case record::MergedCells:
        onMergedCells();
        break;
    case record::Header:
    case record::Footer:
        onHeaderFooter(header_.id == record::Header);
        break;
    case record::LeftMargin:
        print.marginLeft = b.f64(0);
        break;
    case record::RightMargin:
        print.marginRight = b.f64(0);
        break;
    case record::TopMargin:
        print.marginTop = b.f64(0);
        break;
    case record::BottomMargin:
        print.marginBottom = b.f64(0);
        break;
    case record::PrintHeaders:
        printOption(PrintSettings::RowColHeading, (value & 0xFF) != 0);
        break;
    case record::PrintGridlines:
        printOption(PrintSettings::Gridlines, (value & 0xFF) != 0);
        break;
    case record::HCenter:
        if (value)
            printOption(PrintSettings::HorizCenter, true);
        break;
    case record::VCenter:
        printOption(PrintSettings::VertCenter, (value & 0xFF) != 0);
        break;
    case record::Setup:
        onSetup();
        break;
    case record::HorizontalPageBreaks:
    case record::VerticalPageBreaks:
        onPageBreaks(header_.id == record::HorizontalPageBreaks);
        break;
    case record::HLink:
        if (biff8())
            onHyperlink();
        break;
    case record::DVal:
        if (biff8())
            onDataValidations();
        break;
    case record::MsoDrawing:
        onDrawing();
        break;
    case record::Continue:
        if (afterDrawing_)
            onDrawing(); // a drawing carried on
        break;
    case record::Obj:
        onObject();
        break;
    case record::Note:
        onNote();
        break;
    default:
        return false;
    }
    return true;
}

void XlsReader::onColInfo() {
    ColumnFormat& format = sheet()->columnFormats().add();
    format.setCol1(body_.u16(0));
    format.setCol2(body_.u16(2));
    format.setWidth(body_.u16(4));
    format.setFormatIndex(body_.u16(6));
    format.setOptionWord(body_.u16(8));
    format.reserved = body_.u16(10);
}

void XlsReader::onWindow2() {
    Sheet& s = *sheet();
    s.setWindowOptionWord(body_.u16(0));
    SheetWindow& window = s.window;
    window.read = true;
    window.topRow = body_.u16(2);
    window.leftCol = body_.u16(4);
    if (!biff8()) {
        window.gridColor = body_.u32(6);
        return;
    }
    window.gridColor = body_.u16(6);
    window.reserved = body_.u16(8);
    // The short form of chart sheets carries no zoom.
    if (body_.size() >= 14) {
        window.normalZoom = body_.u16(12);
        window.trailing = body_.u32(14);
        s.zoom = body_.u16(12);
        s.zoomPreview = body_.u16(10);
    }
}

void XlsReader::onSetup() {
    PrintSettings& print = sheet()->printSettings();
    print.paperSize = static_cast<PaperSize>(body_.u16(0));
    print.scalingFactor = body_.u16(2);
    print.startingPage = body_.u16(4);
    print.fitWidth = body_.u16(6);
    print.fitHeight = body_.u16(8);
    print.setSetupOptionWord(body_.u16(10));
    // The short form of older files ends with the options.
    if (body_.size() < 34)
        return;
    print.resolution = body_.u16(12);
    print.verticalResolution = body_.u16(14);
    print.headerMargin = body_.f64(16);
    print.footerMargin = body_.f64(24);
    print.copies = body_.u16(32);
}

void XlsReader::onPageBreaks(bool horizontal) {
    PrintSettings& print = sheet()->printSettings();
    size_t count = body_.u16(0);
    size_t entry = biff8() ? 6 : 2;
    body_.require(2, count * entry);
    for (size_t i = 0; i < count; ++i) {
        size_t at = 2 + i * entry;
        int first = body_.u16(at) - 1;
        if (horizontal) {
            HorizPagebreak& item = print.horizPagebreaks.emplace_back();
            item.row = first;
            if (biff8()) {
                item.col1 = body_.u16(at + 2) - 1;
                item.col2 = body_.u16(at + 4) - 1;
            }
        } else {
            VertPagebreak& item = print.vertPagebreaks.emplace_back();
            item.col = first;
            if (biff8()) {
                item.row1 = body_.u16(at + 2) - 1;
                item.row2 = body_.u16(at + 4) - 1;
            }
        }
    }
}

void XlsReader::onHeaderFooter(bool header) {
    if (body_.size() == 0)
        return;
    PrintSettings& print = sheet()->printSettings();
    if (biff8()) {
        readXlsString(version_, tail(2), body_.u16(0)); // a body too short for its text raises
        std::string flagged = flaggedFromBody(tail(2), body_.u16(0));
        return header ? print.setHeaderAsRead(flagged) : print.setFooterAsRead(flagged);
    }
    std::string text = text8(1, body_.u8(0));
    return header ? print.setHeader(text) : print.setFooter(text);
}

void XlsReader::onMergedCells() {
    MergedCells& merged = sheet()->mergedCells();
    size_t count = body_.u16(0);
    body_.require(2, count * 8);
    merged.recordSizes.push_back(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
        size_t at = 2 + 8 * i;
        MergedCell& cell = merged.add();
        cell.row1 = body_.u16(at);
        cell.row2 = body_.u16(at + 2);
        cell.col1 = body_.u16(at + 4);
        cell.col2 = body_.u16(at + 6);
    }
}

// Any HLINK is kept with its record. Its text is the link's display name and its target: a
// URL, a file's path, or a place in the workbook ("#Sheet2!A1") after either or alone; a
// link without a display name shows its target. A link whose record cannot be followed has
// no text, and goes back as it was.
void XlsReader::onHyperlink() {
    std::string text;
    try {
        text = hyperlinkText();
    } catch (const XlsError&) {
    }
    sheet()->hyperlinks().push_back(
        {text, cellKey(body_.u16(4), body_.u16(0)), std::string(body_.data()), text});
}

std::string XlsReader::hyperlinkText() const {
    uint32_t flags = body_.u32(28);
    RecordCursor in(body_.data());
    in.seek(32);
    auto hyperlinkString = [&in]() {
        size_t chars = in.takeU32();
        return chars == 0 ? std::string() : utf16Text(in.take(2 * chars)).substr(0, chars - 1);
    };
    std::string description, target;
    if (flags & HasDisplayName)
        description = hyperlinkString();
    if (flags & HasFrameName)
        hyperlinkString();
    if ((flags & HasMoniker) && (flags & MonikerSavedAsString))
        target = hyperlinkString();
    else if (flags & HasMoniker)
        target = monikerTarget(in);
    if ((flags & HasLocation) && (!target.empty() || !(flags & HasMoniker)))
        target += "#" + hyperlinkString();
    if (target.empty())
        return {};
    return (description.empty() ? target : description) + '\t' + target;
}

// The target of a URL or file moniker; empty for other monikers, whose length the record
// does not tell, so that nothing behind them can be read.
std::string XlsReader::monikerTarget(RecordCursor& in) const {
    std::string_view moniker = in.take(16);
    if (moniker == UrlMoniker) {
        size_t bytes = in.takeU32();
        std::string url = utf16Text(in.take(bytes));
        return url.substr(0, url.find('\0'));
    }
    if (moniker != FileMoniker)
        return {};
    std::string path;
    for (size_t up = in.takeU16(); up > 0; --up)
        path += "..\\";
    std::string_view ansi = in.take(in.takeU32());
    in.skip(2 + 2 + 20); // end server, version, reserved
    size_t unicodeSize = in.takeU32();
    if (unicodeSize >= 6) {
        size_t bytes = in.takeU32();
        in.skip(2);
        return path + utf16Text(in.take(bytes));
    }
    return path + std::string(ansi.substr(0, ansi.find('\0')));
}

// DVAL and the DV records behind it: only records that are DV are taken, so a count larger
// than what follows never swallows the sheet's EOF.
void XlsReader::onDataValidations() {
    uint32_t count = body_.u32(14);
    DataValidations& validations = sheet()->validations();
    validations.window = {body_.u16(0), body_.u32(2), body_.u32(6), body_.u32(10)};
    for (uint32_t i = 0; i < count; ++i) {
        FollowingRecord next;
        if (!nextRecord(next))
            return;
        if (next.header.id != record::Dv)
            return rewind(next);
        validations.add().readRecord(next.body);
    }
}

} // namespace xls
