#include "xls/MsoDrawingReader.h"

#include "platform/text/AnsiCodePage.h"

namespace xls {

namespace {

constexpr uint16_t PictureIndexProperty = 260;
constexpr uint16_t PictureNameProperty = 261;
constexpr uint16_t BlipIdFlag = 0x4000;
constexpr uint16_t ComplexFlag = 0x8000;
constexpr size_t AnchorSize = 18;

} // namespace

void MsoDrawingReader::onRecord(const MsoHeader& header, RecordCursor body) {
    switch (header.type) {
    case Sp:
        shapeType_ = header.instance;
        lastShapeHanded_ = false;
        pictureIndex_ = -1;
        pictureName_.clear();
        break;
    case Opt:
        readOptions(header, body);
        break;
    case ClientAnchor: {
        if (body.size() < AnchorSize)
            return;
        AnchorObject anchor;
        int32_t* fields[] = {&anchor.col1, &anchor.col1Offset, &anchor.row1, &anchor.row1Offset,
                             &anchor.col2, &anchor.col2Offset, &anchor.row2, &anchor.row2Offset};
        for (size_t i = 0; i < 8; ++i)
            *fields[i] = body.u16(2 + 2 * i);
        anchor.anchorSet = true;
        lastAnchor_ = anchor;
        Shape shape{anchor, pictureIndex_, pictureName_, false};
        if (pictureIndex_ < 0 && shapeType_ != ChartShape)
            return;
        shape.chart = pictureIndex_ < 0;
        if (onShape) {
            lastShapeHanded_ = true;
            onShape(shape);
        }
        break;
    }
    default:
        break;
    }
}

bool MsoDrawingReader::claimLastShape() {
    bool handed = lastShapeHanded_;
    lastShapeHanded_ = false;
    return handed;
}

// The property table (six bytes each) and, behind it, the data of complex properties in
// table order. The picture's name is bounded by that data.
void MsoDrawingReader::readOptions(const MsoHeader& header, RecordCursor body) {
    size_t count = header.instance;
    if (count * 6 > body.size())
        return;
    size_t complexAt = count * 6;
    for (size_t i = 0; i < count; ++i) {
        uint16_t id = body.u16(6 * i);
        uint32_t value = body.u32(6 * i + 2);
        uint16_t property = id & 0x3FFF;
        if (property == PictureIndexProperty && (id & BlipIdFlag) && value <= 0x7FFFFFFF)
            pictureIndex_ = static_cast<int>(value);
        if (property == PictureNameProperty && (id & ComplexFlag) && complexAt <= body.size()) {
            size_t bytes = std::min<size_t>(value, body.size() - complexAt) & ~size_t{1};
            std::u16string name;
            for (size_t at = complexAt; at < complexAt + bytes; at += 2) {
                char16_t c = static_cast<char16_t>(body.u16(at));
                if (c == 0)
                    break;
                name += c;
            }
            pictureName_ = platform::AnsiCodePage::fromUtf16(name);
        }
        if ((id & ComplexFlag) && value <= body.size() - std::min(body.size(), complexAt))
            complexAt += value;
    }
}

} // namespace xls
