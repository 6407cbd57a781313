#pragma once

#include "xls/MsoRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xls {

class InFileChart;
class Note;
class SheetPicture;
class XlsChart;
class XlsPictures;
class XlsStream;

// The drawing objects of one sheet, in the order they are written: notes, pictures, charts
// read from the file, charts of the library.
struct SheetDrawing {
    std::vector<Note*> notes;
    std::vector<SheetPicture*> pictures;
    std::vector<InFileChart*> inFileCharts;
    std::vector<XlsChart*> charts;

    size_t objectCount() const {
        return notes.size() + pictures.size() + inFileCharts.size() + charts.size();
    }
};

// A sheet's drawing as Office Drawing records, handed out piece by piece: each piece goes
// into an MSODRAWING record of its own between the BIFF records of its object. Piece 0
// carries the containers, whose lengths announce every piece. Shape ids run from the
// drawing's first id: the group shape, then one per object.
class DrawingWriter {
public:
    DrawingWriter(const SheetDrawing& drawing, uint32_t drawingId, uint32_t firstShapeId);

    size_t pieceCount() const { return pieces_.size(); }
    void write(size_t index, XlsStream& stream) const;

    uint32_t shapeCount() const { return shapeCount_; }

    // The workbook's drawing group (MSODRAWINGGROUP with CONTINUE records as needed): the
    // shape-id clusters of the drawings and the picture store. A gap in the store's numbers
    // keeps an empty entry, so that placements find their pictures by number.
    struct Cluster {
        uint32_t drawingId;
        uint32_t used;
    };
    static void writeGroup(const XlsPictures& pictures, const std::vector<Cluster>& clusters,
                           uint32_t maxShapeId, uint32_t shapesSaved, uint32_t drawingsSaved,
                           XlsStream& stream, int maxRecordSize);

private:
    MsoRecord fixedPart_;
    std::vector<MsoRecord> pieces_;
    uint32_t shapeCount_ = 0;
};

} // namespace xls
