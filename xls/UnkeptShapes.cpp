#include "xls/UnkeptShapes.h"

#include <numeric>
#include <vector>

namespace xls {

namespace {

struct KindName {
    const char* one;
    const char* many;
};

constexpr KindName KindNames[UnkeptShapes::KindCount] = {
    {"text box", "text boxes"},
    {"line", "lines"},
    {"form control", "form controls"},
    {"shape", "shapes"},
    {"group of shapes", "groups of shapes"},
    {"picture", "pictures"},
    {"embedded object", "embedded objects"},
    {"chart", "charts"},
    {"note", "notes"},
};

} // namespace

ShapeKind UnkeptShapes::kindOfObject(uint16_t objectType) {
    switch (objectType) {
    case 0x00:
        return ShapeKind::Group;
    case 0x01:
        return ShapeKind::Line;
    case 0x05:
        return ShapeKind::Chart;
    case 0x06:
        return ShapeKind::TextBox;
    case 0x07: // button
        return ShapeKind::FormControl;
    case 0x08:
        return ShapeKind::Picture;
    case 0x19:
        return ShapeKind::Note;
    default:
        // Check boxes, option buttons, edit boxes, labels, dialog frames, spinners, scroll
        // bars, list boxes, group boxes and drop-down lists.
        if (objectType >= 0x0B && objectType <= 0x14)
            return ShapeKind::FormControl;
        return ShapeKind::Shape;
    }
}

size_t UnkeptShapes::total() const {
    return std::accumulate(counts_.begin(), counts_.end(), size_t{0});
}

std::string UnkeptShapes::describe() const {
    std::vector<std::string> parts;
    for (size_t kind = 0; kind < KindCount; ++kind) {
        size_t n = counts_[kind];
        if (n > 0)
            parts.push_back(std::to_string(n) + " " +
                            (n == 1 ? KindNames[kind].one : KindNames[kind].many));
    }
    return joinAsList(parts);
}

std::string joinAsList(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

} // namespace xls
