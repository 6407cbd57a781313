#pragma once

#include <cstdint>

namespace xls {

// Where a drawing object sits on its sheet: the cell of its top-left corner and of its
// bottom-right corner, each with an offset into the cell (1/1024 of the column's width,
// 1/256 of the row's height). A set anchor came from a file or from the user and is not
// computed again.
struct AnchorObject {
    int32_t col1 = 0;
    int32_t col1Offset = 0;
    int32_t row1 = 0;
    int32_t row1Offset = 0;
    int32_t col2 = 0;
    int32_t col2Offset = 0;
    int32_t row2 = 0;
    int32_t row2Offset = 0;
    bool anchorSet = false;

    void assignAnchor(const AnchorObject& other) { *this = other; }
    void clearAnchor() { *this = AnchorObject{}; }
};

} // namespace xls
