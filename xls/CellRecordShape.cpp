#include "xls/CellRecordShape.h"

#include "xls/RecordId.h"

namespace xls {

namespace {

constexpr int LastColumn = 255;
constexpr int LastRowBeforeExcel97 = 16383;
constexpr size_t MulHeadSize = 6; // row, first column, and the last column at the end

// The one size of a record whose layout is fixed; 0 for the others.
size_t fixedSize(uint16_t id, ExcelVersion version) {
    switch (id) {
    case record::Blank:
        return 6;
    case record::BoolErr:
        return 8;
    case record::Rk:
        return 10;
    case record::LabelSst:
        return version >= ExcelVersion::Excel97 ? 10 : 0;
    case record::Number:
        return 14;
    case record::Row:
        return 16;
    default:
        return 0;
    }
}

bool isCell(uint16_t id) {
    switch (id) {
    case record::Blank:
    case record::BoolErr:
    case record::Rk:
    case record::LabelSst:
    case record::Number:
    case record::Label:
    case record::RString:
    case record::Formula:
    case record::Formula3:
    case record::Formula4:
    case record::MulRk:
    case record::MulBlank:
        return true;
    default:
        return false;
    }
}

// The sizes of the records whose layout does not vary, in Excel 5 and in Excel 97; the second
// size of a few is one that writers are known to use (COLINFO without its last byte, a chart
// sheet's short WINDOW2, the older versions' short WINDOW1 in a substream written the old way,
// a DIMENSIONS or PROTECT with padding).
struct FixedLayout {
    uint16_t id;
    uint16_t excel5[2];
    uint16_t excel97[2];
};

constexpr uint16_t NoSecond = 0xFFFF; // no length has it
constexpr FixedLayout FixedLayouts[] = {
    {record::Eof, {0, NoSecond}, {0, NoSecond}},
    {record::CalcCount, {2, NoSecond}, {2, NoSecond}},
    {record::CalcMode, {2, NoSecond}, {2, NoSecond}},
    {record::Precision, {2, NoSecond}, {2, NoSecond}},
    {record::ExternCount, {2, NoSecond}, {2, NoSecond}},
    {record::RefMode, {2, NoSecond}, {2, NoSecond}},
    {record::Delta, {8, NoSecond}, {8, NoSecond}},
    {record::Iteration, {2, NoSecond}, {2, NoSecond}},
    {record::Protect, {2, 4}, {2, 4}},
    {record::Password, {2, NoSecond}, {2, NoSecond}},
    {record::WindowProtect, {2, NoSecond}, {2, NoSecond}},
    {record::DateMode, {2, NoSecond}, {2, NoSecond}},
    {record::LeftMargin, {8, NoSecond}, {8, NoSecond}},
    {record::RightMargin, {8, NoSecond}, {8, NoSecond}},
    {record::TopMargin, {8, NoSecond}, {8, NoSecond}},
    {record::BottomMargin, {8, NoSecond}, {8, NoSecond}},
    {record::PrintHeaders, {2, NoSecond}, {2, NoSecond}},
    {record::PrintGridlines, {2, NoSecond}, {2, NoSecond}},
    {record::Window1, {18, 10}, {18, 10}},
    {record::Backup, {2, NoSecond}, {2, NoSecond}},
    {record::CodePage, {2, NoSecond}, {2, NoSecond}},
    {record::DefColWidth, {2, NoSecond}, {2, NoSecond}},
    {record::SaveRecalc, {2, NoSecond}, {2, NoSecond}},
    {record::ColInfo, {12, 11}, {12, 11}},
    {record::Guts, {8, NoSecond}, {8, NoSecond}},
    {record::WsBool, {2, NoSecond}, {2, NoSecond}},
    {record::GridSet, {2, NoSecond}, {2, NoSecond}},
    {record::HCenter, {2, NoSecond}, {2, NoSecond}},
    {record::VCenter, {2, NoSecond}, {2, NoSecond}},
    {record::Country, {4, NoSecond}, {4, NoSecond}},
    {record::HideObj, {2, NoSecond}, {2, NoSecond}},
    {record::FnGroupCount, {2, NoSecond}, {2, NoSecond}},
    {record::Setup, {34, NoSecond}, {34, NoSecond}},
    {record::BookBool, {2, NoSecond}, {2, NoSecond}},
    {record::Mms, {2, NoSecond}, {2, NoSecond}},
    {record::Xf, {16, NoSecond}, {20, NoSecond}},
    {record::UsesElfs, {2, NoSecond}, {2, NoSecond}},
    {record::Dsf, {2, NoSecond}, {2, NoSecond}},
    {record::Prot4Rev, {2, NoSecond}, {2, NoSecond}},
    {record::RefreshAll, {2, NoSecond}, {2, NoSecond}},
    {record::Prot4RevPass, {2, NoSecond}, {2, NoSecond}},
    {record::Dimensions, {10, NoSecond}, {14, 16}},
    {record::DefaultRowHeight, {4, NoSecond}, {4, NoSecond}},
    {record::Window2, {10, NoSecond}, {18, 10}},
};

std::string sizeFault(size_t size, const std::string& expected) {
    return "it is " + std::to_string(size) + " bytes long where its layout has " + expected;
}

// MULRK and MULBLANK: a run of entries of one size between the head and the last column,
// which must be the column of the last entry.
std::optional<std::string> runFault(uint16_t id, const RecordCursor& body) {
    size_t entrySize = id == record::MulRk ? 6 : 2;
    size_t size = body.size();
    if (size < MulHeadSize || (size - MulHeadSize) % entrySize != 0)
        return sizeFault(size, "6 bytes and entries of " + std::to_string(entrySize));
    size_t entries = (size - MulHeadSize) / entrySize;
    if (entries == 0)
        return std::nullopt;
    size_t lastCol = body.u16(size - 2);
    if (lastCol != body.u16(2) + entries - 1)
        return "its last column " + std::to_string(lastCol) + " is not that of its " +
               std::to_string(entries) + " cells";
    return std::nullopt;
}

int lastColumnOf(uint16_t id, const RecordCursor& body) {
    if (id == record::MulRk || id == record::MulBlank)
        return body.size() >= MulHeadSize + 2 ? body.u16(body.size() - 2) : body.u16(2);
    return body.u16(2);
}

} // namespace

std::optional<std::string> cellRecordFault(uint16_t id, const RecordCursor& body,
                                           ExcelVersion version) {
    // BIFF2 has cell records of other ids; these ids are no cells there.
    if (version <= ExcelVersion::Excel21)
        return std::nullopt;
    if (size_t size = fixedSize(id, version); size != 0 && body.size() != size)
        return sizeFault(body.size(), std::to_string(size));
    if (id == record::MulRk || id == record::MulBlank)
        if (std::optional<std::string> fault = runFault(id, body))
            return fault;
    if (!isCell(id))
        return std::nullopt;
    if (int col = lastColumnOf(id, body); col > LastColumn)
        return "its cell is in column " + std::to_string(col + 1) + ", past the last column, " +
               std::to_string(LastColumn + 1);
    int row = body.u16(0);
    if (version < ExcelVersion::Excel97 && row > LastRowBeforeExcel97)
        return "its cell is in row " + std::to_string(row + 1) +
               ", past the last row of its version, " + std::to_string(LastRowBeforeExcel97 + 1);
    return std::nullopt;
}

std::optional<std::string> fixedRecordFault(uint16_t id, size_t size, ExcelVersion version) {
    if (version < ExcelVersion::Excel50)
        return std::nullopt;
    for (const FixedLayout& layout : FixedLayouts) {
        if (layout.id != id)
            continue;
        const uint16_t* sizes = version >= ExcelVersion::Excel97 ? layout.excel97 : layout.excel5;
        if (size == sizes[0] || size == sizes[1])
            return std::nullopt;
        return sizeFault(size, std::to_string(sizes[0]));
    }
    return std::nullopt;
}

} // namespace xls
