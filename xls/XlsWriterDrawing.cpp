// The workbook writer's drawings (BIFF8): the drawing group with the picture store, and each
// sheet's notes, pictures and charts as drawing pieces between their BIFF records.

#include "platform/text/FontMetrics.h"
#include "xls/RecordCursor.h"
#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsUtils.h"
#include "xls/XlsWriter.h"

#include <cmath>

namespace xls {

namespace {

constexpr uint32_t ShapesPerCluster = 1024;
constexpr uint16_t CommonObjectData = 0x0015;
constexpr uint16_t ObjectEnd = 0x0000;
constexpr uint16_t NoteObject = 0x0019;
constexpr uint16_t PictureObject = 0x0008;
constexpr uint16_t ChartObject = 0x0005;
constexpr uint16_t ChartType = 0x0020;

} // namespace

// Which objects each sheet's drawing holds, the anchors of pictures placed without one, and
// the shape ids: every drawing takes whole clusters of 1024 ids, the first for its group
// shape, so that no two shapes of the workbook share an id.
void XlsWriter::prepareDrawings() {
    drawings_.assign(book_.sheets().count(), SheetDrawing{});
    drawingIds_.assign(book_.sheets().count(), 0);
    firstShapeIds_.assign(book_.sheets().count(), 0);
    clusters_.clear();
    maxShapeId_ = 0;
    shapesSaved_ = 0;
    drawingsSaved_ = 0;
    uint32_t drawingId = 0;
    for (size_t i = 0; i < book_.sheets().count(); ++i) {
        Sheet& sheet = book_.sheets().item(i);
        SheetDrawing& drawing = drawings_[i];
        for (size_t n = 0; n < sheet.notes().count(); ++n)
            drawing.notes.push_back(&sheet.notes().item(n));
        for (size_t p = 0; p < sheet.sheetPictures().count(); ++p) {
            SheetPicture& placement = sheet.sheetPictures().item(p);
            if (!placement.anchorSet)
                calcPictureAnchor(sheet, placement);
            drawing.pictures.push_back(&placement);
        }
        for (size_t c = 0; c < sheet.inFileCharts().count(); ++c)
            if (sheet.inFileCharts().item(c).records.count() > 0)
                drawing.inFileCharts.push_back(&sheet.inFileCharts().item(c));
        for (size_t c = 0; c < sheet.charts().count(); ++c)
            drawing.charts.push_back(&sheet.charts().item(c));
        if (drawing.objectCount() == 0)
            continue;
        firstShapeIds_[i] =
            allocateShapes(static_cast<uint32_t>(drawing.objectCount() + 1), drawingId);
        drawingIds_[i] = drawingId;
    }
    // Charts read from the file may hold drawings of their own; their shapes get ids of the
    // workbook's numbering too.
    for (size_t i = 0; i < book_.sheets().count(); ++i)
        for (InFileChart* chart : drawings_[i].inFileCharts)
            renumberChartDrawing(*chart, drawingId);
    for (size_t i = 0; i < book_.inFileCharts().count(); ++i)
        renumberChartDrawing(book_.inFileCharts().item(i), drawingId);
}

// The next drawing's id and whole clusters of shape ids for it; returns its first id.
uint32_t XlsWriter::allocateShapes(uint32_t shapes, uint32_t& drawingId) {
    ++drawingId;
    uint32_t first = static_cast<uint32_t>(clusters_.size() + 1) * ShapesPerCluster;
    for (uint32_t left = shapes; left > 0;) {
        uint32_t used = std::min(left, ShapesPerCluster);
        left -= used;
        clusters_.push_back({drawingId, left == 0 ? used + 1 : used});
    }
    maxShapeId_ = first + shapes;
    shapesSaved_ += shapes;
    ++drawingsSaved_;
    if (maxShapeId_ > 0xFFFFFF)
        throw RangeError();
    return first;
}

// The drawing records of a chart kept as read get the drawing id and shape ids given here:
// its DG and every shape's id are rewritten in place.
void XlsWriter::renumberChartDrawing(InFileChart& chart, uint32_t& drawingId) {
    auto walk = [&chart](auto visit) {
        for (size_t r = 0; r < chart.records.count(); ++r) {
            RecordStorage::Record& record = chart.records.item(r);
            if (record.id != record::MsoDrawing)
                continue;
            std::string& body = record.body;
            for (size_t at = 0; at + 8 <= body.size();) {
                RecordCursor in(body);
                uint16_t head = in.u16(at);
                uint16_t type = in.u16(at + 2);
                uint32_t length = in.u32(at + 4);
                at += 8;
                if ((head & 0x0F) == 0x0F)
                    continue;
                if (length > body.size() - at)
                    break;
                visit(body, at - 8, type, length);
                at += length;
            }
        }
    };
    uint32_t shapes = 0;
    walk([&](std::string&, size_t, uint16_t type, uint32_t length) {
        if (type == 0xF00A && length >= 8)
            ++shapes;
    });
    if (shapes == 0)
        return;
    uint32_t first = allocateShapes(shapes, drawingId);
    uint32_t next = first;
    auto put32 = [](std::string& body, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            body[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    walk([&](std::string& body, size_t header, uint16_t type, uint32_t length) {
        if (type == 0xF00A && length >= 8) {
            put32(body, header + 8, next++);
        } else if (type == 0xF008 && length >= 8) {
            uint16_t head = static_cast<uint16_t>((body[header] & 0x0F) | (drawingId << 4));
            body[header] = static_cast<char>(head & 0xFF);
            body[header + 1] = static_cast<char>(head >> 8);
            put32(body, header + 8, shapes);
            put32(body, header + 12, first + shapes - 1);
        }
    });
}

void XlsWriter::writeDrawingGroup() {
    if (drawingsSaved_ == 0)
        return;
    DrawingWriter::writeGroup(book_.pictures(), clusters_, maxShapeId_, shapesSaved_,
                              drawingsSaved_, stream_, book_.maxRecordSize());
}

void XlsWriter::writeObj(uint16_t type, uint16_t id, std::string_view rest) {
    RecordBody body;
    body.u16(CommonObjectData).u16(18).u16(type).u16(id).u16(0x0011).zeros(12);
    body.bytes(rest).u16(ObjectEnd).u16(0);
    writeRecord(record::Obj, body);
}

void XlsWriter::writeDrawingObjects(size_t sheetIndex) {
    if (sheetIndex >= drawings_.size() || drawings_[sheetIndex].objectCount() == 0)
        return;
    const SheetDrawing& objects = drawings_[sheetIndex];
    DrawingWriter drawing(objects, drawingIds_[sheetIndex], firstShapeIds_[sheetIndex]);
    size_t piece = 0;
    uint16_t objectId = 1;
    writeNoteObjects(drawing, piece, objectId, objects);
    for (size_t i = 0; i < objects.pictures.size(); ++i) {
        drawing.write(piece++, stream_);
        RecordBody rest;
        rest.u16(0x0007).u16(2).u16(0x0002); // clipboard format: a bitmap
        rest.u16(0x0008).u16(2).u16(0x0001); // picture options: linked to its blip
        writeObj(PictureObject, objectId++, rest.str());
    }
    for (InFileChart* chart : objects.inFileCharts) {
        drawing.write(piece++, stream_);
        writeObj(ChartObject, objectId++, {});
        writeBof(ChartType);
        chart->records.writeAll(stream_);
        writeEof();
    }
    for (XlsChart* chart : objects.charts) {
        drawing.write(piece++, stream_);
        writeObj(ChartObject, objectId++, {});
        writeBof(ChartType);
        chart->writeChart(stream_, unicode_);
        writeEof();
    }
    writeNoteRecords(book_.sheets().item(sheetIndex));
}

// Each note: its shape, an OBJ with the note structure, its text box, a TXO and the text
// with its two formatting runs in CONTINUE records.
void XlsWriter::writeNoteObjects(const DrawingWriter& drawing, size_t& piece, uint16_t& objectId,
                                 const SheetDrawing& objects) {
    for (const Note* note : objects.notes) {
        drawing.write(piece++, stream_);
        RecordBody structure;
        structure.u16(0x000D).u16(22).zeros(22);
        writeObj(NoteObject, objectId++, structure.str());
        drawing.write(piece++, stream_);
        std::string flagged = note->storedFlaggedText(unicode_);
        size_t count = xlsStringCount(flagged);
        RecordBody txo;
        txo.u16(0x0012).u16(0).zeros(6).u16(count).u16(count > 0 ? 16 : 0).zeros(4);
        writeRecord(record::Txo, txo);
        if (count == 0)
            continue;
        writeRecord(record::Continue, std::string_view(flagged));
        RecordBody runs;
        runs.u16(0).u16(0).zeros(4).u16(count).u16(0).zeros(4);
        writeRecord(record::Continue, runs);
    }
}

// NOTE ties each note to its cell; its object id is the note's place among the sheet's
// objects, counted from 1.
void XlsWriter::writeNoteRecords(Sheet& sheet) {
    for (size_t i = 0; i < sheet.notes().count(); ++i) {
        const Note& note = sheet.notes().item(i);
        if (!note.noteRecord)
            continue;
        std::string author = note.author.empty() ? book_.userName : note.author;
        if (author.empty())
            author = " ";
        std::string flagged = toXlsString(author, unicode_);
        size_t count = isWideXlsString(flagged) ? (flagged.size() - 1) / 2 : author.size();
        RecordBody body;
        body.u16(note.cellRow()).u16(note.cellCol()).u16(0).u16(i + 1);
        body.u16(count).bytes(flagged).u8(0);
        writeRecord(record::Note, body);
    }
}

// The cells a picture covers from its top-left cell, at its size in pixels and its zoom:
// column widths from the width of "8" in the cells' fonts, row heights from the default
// font. A picture larger than the sheet ends at its last cell.
void XlsWriter::calcPictureAnchor(Sheet& sheet, SheetPicture& placement) {
    platform::FontMetrics& metrics = book_.fontMetrics();
    XFont defaultFont;
    if (book_.fonts().count() > 0)
        defaultFont = book_.fonts().item(0);
    platform::FontDescription font = defaultFont.toFontDescription(book_.palette());
    int digit = metrics.textWidth(font, "8");
    int fontHeight = metrics.fontHeight(font);
    int defaultColumn = sheet.defaultColWidth * digit + 4;
    int rowHeight = sheet.defaultRowHeight != 0 && fontHeight > 0
                        ? static_cast<int>(std::nearbyint(sheet.defaultRowHeight / 20.0 *
                                                          defaultFont.size / fontHeight)) +
                              4
                        : 4 + fontHeight;
    const XlsPicture* picture = placement.picture();
    std::optional<platform::PixelSize> size = picture ? picture->pixelSize() : std::nullopt;
    if (!size)
        size = platform::PixelSize{0, 0};
    double width = std::nearbyint(static_cast<double>(size->width) * placement.zoom() / 100.0);
    double height = std::nearbyint(static_cast<double>(size->height) * placement.zoom() / 100.0);
    for (int col = placement.col1; col <= MaxColumn; ++col) {
        // A cell in a font of its own measures its column in that font.
        int columnDigit = digit;
        if (Cell* cell = sheet.getCell(col, placement.row1);
            cell && cell->xf() >= 0 && static_cast<size_t>(cell->xf()) < book_.formats().count()) {
            size_t fontIndex = static_cast<size_t>(
                book_.formats().item(static_cast<size_t>(cell->xf())).fontIndex);
            if (fontIndex < book_.fonts().count())
                columnDigit = metrics.textWidth(
                    book_.fonts().item(fontIndex).toFontDescription(book_.palette()), "8");
        }
        int own = sheet.columnFormats().widthOfCol(col);
        int columnWidth =
            own >= 0 ? static_cast<int>(std::nearbyint(columnDigit / 256.0 * own)) : defaultColumn;
        if (width - columnWidth < 0 || col == MaxColumn) {
            placement.col2 = col;
            placement.col2Offset =
                columnWidth > 0
                    ? static_cast<int>(std::min(1023.0, std::nearbyint(width / columnWidth * 1024)))
                    : 0;
            break;
        }
        width -= columnWidth;
    }
    for (int row = placement.row1; row <= MaxRow; ++row) {
        if (height - rowHeight < 0 || row == MaxRow) {
            placement.row2 = row;
            placement.row2Offset =
                rowHeight > 0
                    ? static_cast<int>(std::min(255.0, std::nearbyint(height / rowHeight * 256)))
                    : 0;
            break;
        }
        height -= rowHeight;
    }
}

} // namespace xls
