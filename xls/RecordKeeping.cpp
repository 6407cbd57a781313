#include "xls/RecordKeeping.h"

#include "xls/RecordCursor.h"
#include "xls/RecordId.h"

#include <algorithm>
#include <array>

namespace xls {

namespace {

using Ids = std::initializer_list<uint16_t>;

bool among(uint16_t id, Ids ids) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// What the writer makes in every version it writes: the end of a substream, the number
// formats, and the settings of calculation, page layout and window of a sheet.
constexpr Ids SheetSettings = {record::CalcMode,
                               record::CalcCount,
                               record::RefMode,
                               record::Iteration,
                               record::Delta,
                               record::SaveRecalc,
                               record::PrintHeaders,
                               record::PrintGridlines,
                               record::GridSet,
                               record::Guts,
                               record::DefaultRowHeight,
                               record::WsBool,
                               record::Header,
                               record::Footer,
                               record::HCenter,
                               record::VCenter,
                               record::LeftMargin,
                               record::RightMargin,
                               record::TopMargin,
                               record::BottomMargin,
                               record::Setup,
                               record::DefColWidth,
                               record::Dimensions,
                               record::Row,
                               record::Window2,
                               record::ColInfo,
                               record::HorizontalPageBreaks,
                               record::VerticalPageBreaks};

// The globals of BIFF5 and BIFF8 (BIFF8 adds its name tables and shared strings).
constexpr Ids Globals5 = {record::WriteAccess,   record::CodePage,  record::CodeName,
                          record::WindowProtect, record::Window1,   record::Backup,
                          record::HideObj,       record::DateMode,  record::Precision,
                          record::RefreshAll,    record::BookBool,  record::Font,
                          record::Format,        record::Xf,        record::Style,
                          record::Palette,       record::BoundSheet};
constexpr Ids Globals8 = {record::Prot4Rev,   record::Country,     record::SupBook,
                          record::ExternName, record::ExternCount, record::ExternSheet,
                          record::Name,       record::Sst,         record::ExtSst};

// A worksheet of BIFF5 and BIFF8: the settings, then its protection flag, its zoom and its
// code name; BIFF5 its NOTE records, BIFF8 its hyperlinks, merged ranges and validations.
// (A BIFF5 sheet's own WINDOW1 is its own: kept as read. Validations came with Excel 97: a
// writer that puts them into a BIFF5 sheet has them kept as it wrote them.)
constexpr Ids Sheet5and8 = {record::Protect, record::Scl, record::CodeName};
constexpr Ids Sheet5 = {record::Note};
constexpr Ids Sheet8 = {record::HLink, record::MergedCells, record::DVal, record::Dv};

// A BIFF4 file is one substream holding what a workbook and its one sheet have.
constexpr Ids Biff4 = {record::WriteAccess,   record::CodePage, record::Precision, record::DateMode,
                       record::HideObj,       record::Font3,    record::Backup,    record::Format,
                       record::WindowProtect, record::Xf4,      record::Style,     record::Note,
                       record::Window1};

// BIFF8 drawings: the drawing group, each sheet's drawing, its objects, their texts and the
// NOTE records that tie notes to cells.
constexpr Ids Drawings8 = {
    record::MsoDrawingGroup,    record::MsoDrawing, record::Obj, record::Txo, record::Note,
    record::MsoDrawingSelection};

constexpr uint16_t ObjProtect = 0x0063;
constexpr uint16_t ScenProtect = 0x00DD;
constexpr uint16_t Index = 0x020B;
constexpr uint16_t DbCell = 0x00D7;
constexpr Ids Dropped = {Index,         DbCell,          record::String,  record::String2,
                         record::Array, record::ShrFmla, record::ShrFmla2};

bool made(uint16_t id, ExcelVersion version, bool globals) {
    if (version <= ExcelVersion::Excel40)
        return among(id, Biff4) || among(id, SheetSettings);
    bool biff8 = version >= ExcelVersion::Excel97;
    if (globals)
        return among(id, Globals5) || (biff8 && among(id, Globals8));
    return among(id, SheetSettings) || among(id, Sheet5and8) ||
           (biff8 ? among(id, Sheet8) : among(id, Sheet5));
}

} // namespace

Keeping keepingOf(uint16_t id, ExcelVersion version, bool globals) {
    if (among(id, Dropped))
        return Keeping::Dropped;
    if (version >= ExcelVersion::Excel97 && among(id, Drawings8))
        return Keeping::Drawing;
    return made(id, version, globals) ? Keeping::Made : Keeping::Kept;
}

bool madeOnlyWhereHeld(uint16_t id) {
    return among(id, {record::WriteAccess,   record::CodePage,     record::CodeName,
                      record::WindowProtect, record::Prot4Rev,     record::Window1,
                      record::Backup,        record::HideObj,      record::DateMode,
                      record::Precision,     record::RefreshAll,   record::BookBool,
                      record::Country,       record::CalcMode,     record::CalcCount,
                      record::RefMode,       record::Iteration,    record::Delta,
                      record::SaveRecalc,    record::PrintHeaders, record::PrintGridlines,
                      record::GridSet,       record::Guts,         record::DefaultRowHeight,
                      record::WsBool,        record::Header,       record::Footer,
                      record::HCenter,       record::VCenter,      record::Setup,
                      record::DefColWidth,   record::Window2,      record::Dimensions});
}

bool sameInBiff5And8(uint16_t id) {
    return among(
        id, {record::Protect, record::Password, record::WindowProtect, ObjProtect, ScenProtect});
}

std::string contentOfRecord(uint16_t id, std::string_view body) {
    RecordCursor in(body);
    switch (id) {
    case 0x01B0: // CONDFMT, CF and their Excel 2007 forms
    case 0x01B1:
    case 0x0879:
    case 0x087A:
    case 0x087B:
        return "conditional formats";
    case 0x009B: // FILTERMODE, AUTOFILTERINFO, AUTOFILTER
    case 0x009D:
    case 0x009E:
    case 0x087E:
        return "autofilters";
    case 0x00B0: // the pivot table views and their caches' references
    case 0x00B1:
    case 0x00B2:
    case 0x00B4:
    case 0x00B5:
    case 0x00B6:
    case 0x00C5:
    case 0x00D5:
    case 0x00E3:
    case 0x00F1:
    case 0x0051:
    case 0x0052:
    case 0x0864:
        return "pivot tables";
    case 0x0236:
        return "data tables";
    case 0x01A9: // USERBVIEW, USERSVIEWBEGIN
    case 0x01AA:
        return "custom views";
    case 0x00AE: // SCENMAN, SCENARIO
    case 0x00AF:
        return "scenarios";
    case ScenProtect:
        return "scenario protection";
    case ObjProtect:
        return "object protection";
    case record::Protect:
        return in.u16(0) != 0 ? "workbook protection" : "";
    case record::Password:
    case record::Prot4RevPass:
        return in.u16(0) != 0 ? "protection passwords" : "";
    case 0x005B:
        return "a password to modify";
    case 0x015F:
        return "label ranges";
    case record::Name:
    case record::Name3:
        return "defined names";
    case record::ExternCount:
    case record::ExternSheet:
    case record::ExternName:
    case record::ExternName3:
        return "references to other sheets";
    case record::MergedCells:
        return "merged cells";
    case record::HLink:
    case 0x0800:
        return "hyperlinks";
    case record::Obj:
    case 0x007F: // IMDATA
        return "drawn objects";
    case record::Bof:
        return in.u16(2) == 0x0020 ? "charts" : "";
    default:
        return {};
    }
}

} // namespace xls
