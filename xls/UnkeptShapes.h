#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace xls {

// What a drawn object of a sheet is, as far as a person would name it in a message.
enum class ShapeKind : uint8_t {
    TextBox,
    Line,
    FormControl,
    Shape, // rectangles, ovals, arcs, polygons and other drawn shapes
    Group,
    Picture,
    EmbeddedObject,
    Chart,
    Note,
};

// The drawn objects of one sheet that the writer cannot write back, counted by kind. The
// reader fills it; a workbook whose sheets hold any is not written, for a write would drop
// them from the user's file without a word.
class UnkeptShapes {
public:
    static constexpr size_t KindCount = static_cast<size_t>(ShapeKind::Note) + 1;

    // The kind of an OBJ record's object type.
    static ShapeKind kindOfObject(uint16_t objectType);

    void add(ShapeKind kind, size_t count = 1) { counts_[static_cast<size_t>(kind)] += count; }
    size_t count(ShapeKind kind) const { return counts_[static_cast<size_t>(kind)]; }
    size_t total() const;
    bool empty() const { return total() == 0; }
    void clear() { counts_.fill(0); }

    // "2 text boxes and 1 form control"; empty when there are none.
    std::string describe() const;

private:
    std::array<size_t, KindCount> counts_{};
};

// "a", "a and b", "a, b and c".
std::string joinAsList(const std::vector<std::string>& items);

} // namespace xls
