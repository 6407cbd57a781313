#pragma once

#include "xls/AnchorObject.h"
#include "xls/MsoReader.h"

#include <functional>
#include <string>

namespace xls {

// The drawing of a sheet (MSODRAWING): each shape's anchor, with the picture it shows or
// the mark of a chart. Comment shapes give no object here; their OBJ record makes the note.
// Shapes inside groups, and shapes of other kinds, are not handed over; the OBJ record behind
// each shape tells the reader what it was.
class MsoDrawingReader : public MsoReader {
public:
    struct Shape {
        AnchorObject anchor;
        int pictureIndex = -1; // its place in the picture store, from 1; -1 for none
        std::string pictureName;
        bool chart = false;
    };

    static constexpr uint16_t PictureShape = 75;
    static constexpr uint16_t ChartShape = 201;
    static constexpr uint16_t CommentShape = 202;

    std::function<void(const Shape& shape)> onShape;
    // The anchor of the last shape read, whatever its kind.
    const AnchorObject& lastAnchor() const { return lastAnchor_; }
    // Whether the last shape read was handed to onShape and not yet claimed: its OBJ record
    // claims it, so that an OBJ without a shape of its own does not take an earlier one's.
    bool claimLastShape();

protected:
    void onRecord(const MsoHeader& header, RecordCursor body) override;

private:
    void readOptions(const MsoHeader& header, RecordCursor body);

    uint16_t shapeType_ = 0;
    int pictureIndex_ = -1;
    std::string pictureName_;
    AnchorObject lastAnchor_;
    bool lastShapeHanded_ = false;
};

} // namespace xls
