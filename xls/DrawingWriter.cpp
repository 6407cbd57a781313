#include "xls/DrawingWriter.h"

#include "platform/text/AnsiCodePage.h"
#include "xls/Notes.h"
#include "xls/RecordBody.h"
#include "xls/RecordId.h"
#include "xls/SheetPictures.h"
#include "xls/XlsCharts.h"
#include "xls/XlsError.h"
#include "xls/XlsPictures.h"
#include "xls/XlsStream.h"

namespace xls {

namespace {

constexpr uint16_t DggContainer = 0xF000;
constexpr uint16_t BStoreContainer = 0xF001;
constexpr uint16_t DgContainer = 0xF002;
constexpr uint16_t SpgrContainer = 0xF003;
constexpr uint16_t SpContainer = 0xF004;
constexpr uint16_t Dgg = 0xF006;
constexpr uint16_t Bse = 0xF007;
constexpr uint16_t Dg = 0xF008;
constexpr uint16_t Spgr = 0xF009;
constexpr uint16_t Sp = 0xF00A;
constexpr uint16_t ClientTextbox = 0xF00D;
constexpr uint16_t ClientAnchor = 0xF010;
constexpr uint16_t ClientData = 0xF011;
constexpr uint16_t FirstBlip = 0xF018;
constexpr uint16_t SplitMenuColors = 0xF11E;
constexpr uint32_t ChildShape = 0x0A00; // has an anchor, has a shape type
constexpr size_t TextboxPieceSize = 8;

MsoRecord shape(uint16_t type, uint32_t id, uint32_t flags) {
    RecordBody body;
    body.u32(id).u32(flags);
    return MsoRecord::atom(Sp, 2, type, body.str());
}

MsoRecord anchorRecord(uint16_t flags, const AnchorObject& anchor) {
    RecordBody body;
    body.u16(flags);
    for (int32_t value : {anchor.col1, anchor.col1Offset, anchor.row1, anchor.row1Offset,
                          anchor.col2, anchor.col2Offset, anchor.row2, anchor.row2Offset})
        body.u16(value);
    return MsoRecord::atom(ClientAnchor, 0, 0, body.str());
}

MsoRecord notePiece(uint32_t id, size_t index, const Note& note) {
    MsoRecord container = MsoRecord::container(SpContainer);
    container.setExtra(TextboxPieceSize); // the text box, in the piece after the OBJ
    container.add(shape(202, id, ChildShape));
    MsoOptions options;
    options.set(0x0080, static_cast<uint32_t>(index + 1))
        .set(0x00BF, 0x00080008)
        .set(0x0158, 0)
        .set(0x0181, 0x08000050)
        .set(0x0183, 0x08000050)
        .set(0x01BF, 0x00110010)
        .set(0x0201, 0)
        .set(0x023F, 0x00030003)
        .set(0x03BF, 0x000A0002);
    container.add(options.record());
    container.add(anchorRecord(3, note));
    container.add(MsoRecord::atom(ClientData, 0, 0, {}));
    return container;
}

MsoRecord picturePiece(uint32_t id, const SheetPicture& placement) {
    const XlsPicture* picture = placement.picture();
    if (!picture || picture->blipIndex < 0)
        throw XlsError("The sheet picture \"" + placement.name +
                       "\" shows no picture of the workbook");
    MsoRecord container = MsoRecord::container(SpContainer);
    container.add(shape(75, id, ChildShape));
    MsoOptions options;
    options.set(0x4104, static_cast<uint32_t>(picture->blipIndex))
        .setText(0x0105, platform::AnsiCodePage::toUtf16(placement.name))
        .set(0x01BF, 0x00010000)
        .set(0x03BF, 0x00080008);
    container.add(options.record());
    container.add(anchorRecord(2, placement));
    container.add(MsoRecord::atom(ClientData, 0, 0, {}));
    return container;
}

MsoRecord chartPiece(uint32_t id, const AnchorObject& anchor) {
    MsoRecord container = MsoRecord::container(SpContainer);
    container.add(shape(201, id, ChildShape));
    MsoOptions options;
    options.set(0x007F, 0x01040104)
        .set(0x00BF, 0x00080008)
        .set(0x0181, 0x0800004E)
        .set(0x0183, 0x0800004D)
        .set(0x01BF, 0x00100010)
        .set(0x01C0, 0x0800004D)
        .set(0x01FF, 0x00080008)
        .set(0x023F, 0x00020000)
        .set(0x03BF, 0x00080000);
    container.add(options.record());
    container.add(anchorRecord(0, anchor));
    container.add(MsoRecord::atom(ClientData, 0, 0, {}));
    return container;
}

// The blip of a picture: its identifier, then a tag byte before a bitmap's data or the
// metafile header before a metafile's.
std::string blipRecord(const XlsPicture& picture) {
    uint16_t instance;
    bool metafile = false;
    switch (picture.type) {
    case PictureType::Emf:
        instance = 0x3D4;
        metafile = true;
        break;
    case PictureType::Wmf:
        instance = 0x216;
        metafile = true;
        break;
    case PictureType::Pict:
        instance = 0x542;
        metafile = true;
        break;
    case PictureType::Jpeg:
        instance = 0x46A;
        break;
    case PictureType::Png:
        instance = 0x6E0;
        break;
    case PictureType::Dib:
        instance = 0x7A8;
        break;
    default:
        throw XlsError("Write of unhandled picture in MSO");
    }
    std::string identifier = picture.identifier;
    identifier.resize(16, '\0');
    std::string body = identifier;
    if (metafile) {
        std::string header = picture.metafileHeader;
        header.resize(34, '\0');
        body += header;
    } else {
        body += '\xFF';
    }
    body += picture.data();
    return MsoRecord::atom(static_cast<uint16_t>(FirstBlip + static_cast<int>(picture.type)), 0,
                           instance, std::move(body))
        .bytes();
}

MsoRecord storeEntry(const XlsPicture* picture) {
    std::string entry(36, '\0');
    entry[18] = '\xFF';
    if (!picture)
        return MsoRecord::atom(Bse, 2, 5, entry);
    std::string blip = blipRecord(*picture);
    RecordBody fields;
    uint8_t type = static_cast<uint8_t>(picture->type);
    std::string identifier = picture->identifier;
    identifier.resize(16, '\0');
    fields.u8(type).u8(type).bytes(identifier).u16(0x00FF).u32(static_cast<int64_t>(blip.size()));
    fields.u32(std::max(picture->refCount, 0)).u32(0).u8(0).u8(0).u8(0xE2).u8(0x02);
    return MsoRecord::atom(Bse, 2, type, fields.str() + blip);
}

} // namespace

DrawingWriter::DrawingWriter(const SheetDrawing& drawing, uint32_t drawingId,
                             uint32_t firstShapeId) {
    uint32_t id = firstShapeId;
    for (size_t i = 0; i < drawing.notes.size(); ++i) {
        pieces_.push_back(notePiece(++id, i, *drawing.notes[i]));
        pieces_.push_back(MsoRecord::atom(ClientTextbox, 0, 0, {}));
    }
    for (SheetPicture* picture : drawing.pictures)
        pieces_.push_back(picturePiece(++id, *picture));
    for (InFileChart* chart : drawing.inFileCharts)
        pieces_.push_back(chartPiece(++id, *chart));
    for (XlsChart* chart : drawing.charts)
        pieces_.push_back(chartPiece(++id, *chart));
    shapeCount_ = static_cast<uint32_t>(drawing.objectCount() + 1);

    size_t announced = 0;
    for (const MsoRecord& piece : pieces_)
        announced += piece.size();
    fixedPart_ = MsoRecord::container(DgContainer);
    fixedPart_.setExtra(announced);
    RecordBody dg;
    dg.u32(shapeCount_).u32(id);
    fixedPart_.add(MsoRecord::atom(Dg, 0, static_cast<uint16_t>(drawingId), dg.str()));
    MsoRecord group = MsoRecord::container(SpgrContainer);
    group.setExtra(announced);
    MsoRecord patriarch = MsoRecord::container(SpContainer);
    patriarch.add(MsoRecord::atom(Spgr, 1, 0, std::string(16, '\0')));
    patriarch.add(shape(0, firstShapeId, 0x0005));
    group.add(std::move(patriarch));
    fixedPart_.add(std::move(group));
}

void DrawingWriter::write(size_t index, XlsStream& stream) const {
    std::string body = index == 0 ? fixedPart_.bytes() : std::string();
    body += pieces_.at(index).bytes();
    if (body.size() > 0xFFFF)
        throw RangeError();
    stream.writeRecord(record::MsoDrawing, body);
}

void DrawingWriter::writeGroup(const XlsPictures& pictures, const std::vector<Cluster>& clusters,
                               uint32_t maxShapeId, uint32_t shapesSaved, uint32_t drawingsSaved,
                               XlsStream& stream, int maxRecordSize) {
    MsoRecord root = MsoRecord::container(DggContainer);
    RecordBody dgg;
    dgg.u32(maxShapeId).u32(static_cast<int64_t>(clusters.size() + 1)).u32(shapesSaved);
    dgg.u32(drawingsSaved);
    for (const Cluster& cluster : clusters)
        dgg.u32(cluster.drawingId).u32(cluster.used);
    root.add(MsoRecord::atom(Dgg, 0, 0, dgg.str()));
    if (pictures.count() > 0) {
        std::vector<MsoRecord> entries;
        int32_t next = 1;
        for (size_t i = 0; i < pictures.count(); ++i) {
            const XlsPicture& picture = pictures.item(i);
            for (; next < picture.blipIndex; ++next)
                entries.push_back(storeEntry(nullptr));
            entries.push_back(storeEntry(&picture));
            next = std::max(next, picture.blipIndex + 1);
        }
        MsoRecord store =
            MsoRecord::container(BStoreContainer, static_cast<uint16_t>(entries.size()));
        for (MsoRecord& entry : entries)
            store.add(std::move(entry));
        root.add(std::move(store));
    }
    MsoOptions options;
    options.set(0x00BF, 0x00080008).set(0x0181, 0x08000009).set(0x01C0, 0x08000040);
    root.add(options.record());
    RecordBody colors;
    colors.u32(0x0800000D).u32(0x0800000C).u32(0x08000017).u32(0x100000F7);
    root.add(MsoRecord::atom(SplitMenuColors, 0, 4, colors.str()));
    // The lengths of the record and its CONTINUE records are set as they are split.
    stream.beginSplit(maxRecordSize);
    stream.writeHeader(record::MsoDrawingGroup, 0);
    stream.writeData(root.bytes());
    stream.endSplit();
}

} // namespace xls
