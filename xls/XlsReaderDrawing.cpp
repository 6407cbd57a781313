// The reader's drawing records: the workbook's pictures, each sheet's picture placements,
// chart anchors and cell notes.

#include "platform/text/AnsiCodePage.h"
#include "xls/MsoGroupReader.h"
#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsReader.h"
#include "xls/XlsUtils.h"

namespace xls {

namespace {

constexpr uint16_t CommonObjectData = 0x0015;
constexpr uint16_t PictureFormula = 0x0009;
constexpr uint16_t NoteStructure = 0x000D;
// Objects the application makes for itself, such as the arrows of a sheet's filter, and
// makes again from the sheet's settings: they are no drawing of the user's.
constexpr uint16_t ApplicationObject = 0x0100;

// Some writers carry drawing records on in CONTINUE records instead of MSODRAWING.
bool holdsDrawing(std::string_view body) {
    RecordCursor in(body);
    return body.size() >= 8 && (in.u16(2) & 0xFE00) == 0xF000;
}

// What an OBJ record says of its object. BIFF8 gives the object's data as sub-records, the
// common data first; earlier versions, and some writers of BIFF8, give the type at offset 4.
struct ObjectRecord {
    uint16_t type = 0;
    uint16_t flags = 0;
    int32_t id = -1;
    bool note = false;
    bool embedded = false; // a picture that stands for an embedded or linked object
};

ObjectRecord readObjectRecord(const RecordCursor& body, bool biff8) {
    ObjectRecord object;
    if (!biff8 || body.u16(0) != CommonObjectData) {
        object.type = body.u16(4);
        return object;
    }
    object.type = body.u16(4);
    object.id = body.u16(6);
    object.flags = body.u16(8);
    for (size_t at = 0; at + 4 <= body.size();) {
        uint16_t type = body.u16(at);
        size_t size = body.u16(at + 2);
        if (type == NoteStructure && at + 4 + size < body.size())
            object.note = true;
        if (type == PictureFormula)
            object.embedded = true;
        at += 4 + size;
    }
    return object;
}

} // namespace

// The group's data goes on in CONTINUE (or more MSODRAWINGGROUP) records; they are joined
// before the walk.
void XlsReader::onDrawingGroup() {
    std::string data(body_.data());
    FollowingRecord next;
    while (nextRecord(next)) {
        if (next.header.id != record::Continue && next.header.id != record::MsoDrawingGroup) {
            rewind(next);
            break;
        }
        data.append(next.body);
    }
    MsoGroupReader group;
    group.picturesInMemory = book_.picturesInMemory;
    group.onPicture = [this](XlsPicture&& picture) { book_.pictures().adopt(std::move(picture)); };
    group.read(data);
}

void XlsReader::onDrawing() {
    if (!biff8() || !holdsDrawing(body_.data()))
        return;
    Sheet& s = *sheet();
    drawingReader_.onShape = [this, &s](const MsoDrawingReader::Shape& shape) {
        if (shape.chart) {
            s.inFileCharts().add().assignAnchor(shape.anchor);
            takenShape_ = TakenShape::Chart;
            return;
        }
        // A picture of a kind the store could not hold has nothing to show.
        XlsPicture* picture = book_.pictures().findByIndex(shape.pictureIndex);
        takenShape_ = picture ? TakenShape::Picture : TakenShape::None;
        if (!picture)
            return;
        SheetPicture& placement = s.sheetPictures().add();
        placement.assignAnchor(shape.anchor);
        placement.name = shape.pictureName;
        placement.link(picture);
    };
    drawingReader_.read(body_.data());
}

// An OBJ with a note structure is a cell note: its text is in the TXO and CONTINUE records
// behind it, its box in the drawing record before it. Every other object is kept when it is
// the picture or chart its shape was taken as; anything else is counted as what a write
// would lose. Before BIFF8 no drawn object is kept.
void XlsReader::onObject() {
    Sheet* s = sheet();
    if (!s)
        return;
    ObjectRecord object = readObjectRecord(body_, biff8());
    TakenShape taken = drawingReader_.claimLastShape() ? takenShape_ : TakenShape::None;
    if (object.note)
        return readNoteText(object.id);
    ShapeKind kind =
        object.embedded ? ShapeKind::EmbeddedObject : UnkeptShapes::kindOfObject(object.type);
    if ((taken == TakenShape::Picture && kind == ShapeKind::Picture) ||
        (taken == TakenShape::Chart && kind == ShapeKind::Chart))
        return;
    // A form control's shape looks like a chart's, an embedded object's like a picture's:
    // what was taken for them goes again.
    if (taken == TakenShape::Chart)
        s->inFileCharts().removeLast();
    if (taken == TakenShape::Picture)
        s->sheetPictures().removeLast();
    if ((object.flags & ApplicationObject) == 0)
        s->unkeptShapes().add(kind);
}

// The records behind a note's OBJ: its text box drawing, the TXO with the text's length,
// CONTINUE records with the text (each beginning with its option byte) and one with the
// formatting runs. Only records of those kinds are taken, and no more text than the TXO
// declares.
void XlsReader::readNoteText(int32_t objectId) {
    FollowingRecord next;
    if (nextRecord(next) && next.header.id != record::MsoDrawing &&
        !(next.header.id == record::Continue && holdsDrawing(next.body)))
        rewind(next);
    if (!nextRecord(next))
        return;
    if (next.header.id != record::Txo)
        return rewind(next);
    RecordCursor txo(next.body);
    size_t length = txo.u16(10);
    size_t runs = txo.u16(12);
    // The pieces as one flagged string: 8-bit while every piece is, else UTF-16.
    std::string flagged(1, '\0');
    size_t chars = 0;
    while (chars < length) {
        if (!nextRecord(next))
            break;
        if (next.header.id != record::Continue) {
            rewind(next);
            break;
        }
        if (next.body.empty())
            continue;
        bool wide = next.body[0] & 0x01;
        if (wide && flagged[0] == '\0') {
            std::string widened(1, '\x01');
            for (size_t i = 1; i < flagged.size(); ++i)
                widened += {flagged[i], '\0'};
            flagged = std::move(widened);
        }
        size_t width = wide ? 2 : 1;
        size_t take = std::min((next.body.size() - 1) / width, length - chars);
        std::string_view piece = next.body.substr(1, take * width);
        if (wide || flagged[0] == '\0') {
            flagged.append(piece);
        } else {
            for (char c : piece)
                flagged += {c, '\0'};
        }
        chars += take;
    }
    if (runs > 0 && nextRecord(next) && next.header.id != record::Continue)
        rewind(next);
    Note& added = sheet()->notes().add();
    added.assignAnchor(drawingReader_.lastAnchor());
    added.anchorSet = true;
    added.objectId = objectId;
    added.noteRecord = false;
    notesByObject_.emplace(objectId, &added);
    added.setText(fromXlsString(flagged));
    added.flaggedText = std::move(flagged);
}

// BIFF8: the cell of the note whose drawing object it names, and its author. Earlier
// versions hold the note's text itself; those records are kept for writing back.
void XlsReader::onNote() {
    Sheet& s = *sheet();
    if (!biff8())
        return onLegacyNote(s);
    auto found = notesByObject_.find(body_.u16(6));
    if (found == notesByObject_.end())
        return;
    Note* note = found->second;
    note->setCellRow(body_.u16(0));
    note->setCellCol(body_.u16(2));
    note->noteRecord = true;
    note->author = fromXlsString(flaggedFromBody(tail(10), body_.u16(8)));
}

// A note of BIFF2 to BIFF5: the cell, the text's whole length and its first piece; records
// with the row 0xFFFF carry the text on. The records are kept to be written back as read.
void XlsReader::onLegacyNote(Sheet& s) {
    s.legacyNotes().add(header_.id, body_.data());
    uint16_t row = body_.u16(0);
    std::string piece(tail(6).substr(0, body_.u16(4)));
    if (row == 0xFFFF) {
        if (s.notes().count() > 0)
            s.notes().item(s.notes().count() - 1).flaggedText += piece;
        return;
    }
    Note& note = s.notes().add();
    note.setCellRow(row);
    note.setCellCol(body_.u16(2));
    note.flaggedText = std::string(1, '\0') + piece;
    note.legacy = true;
}

} // namespace xls
