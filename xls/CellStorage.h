#pragma once

#include "xls/Cell.h"

#include <array>
#include <cstdint>
#include <memory>

namespace xls {

// The cells of one sheet in a sparse four-level table addressed by the cell key: the row's
// high byte, its low byte, the column's high nibble and its low nibble. Blocks exist only
// where cells do, so a whole 65,536 × 256 sheet fits while a list of a few thousand rows
// costs little. The cell last stored or found is kept at hand, since callers read a row's
// cells one after the other.
class CellStorage {
public:
    struct Dimensions {
        int32_t firstCol = 0;
        int32_t lastCol = 0;
        int32_t firstRow = 0;
        int32_t lastRow = 0;
    };

    CellStorage();
    ~CellStorage();
    CellStorage(const CellStorage&) = delete;
    CellStorage& operator=(const CellStorage&) = delete;

    // The cell under the key, or null. A negative key or a row above 65535 raises RangeError.
    Cell* get(int32_t key);
    // Stores the cell under its own key, replacing any cell there. A cell whose XF index is
    // 0 or less takes the XF index of the cell it replaces, so a value written over a
    // formatted cell keeps the format.
    Cell& set(Cell cell);
    void clear();

    // Walks all cells in ascending key order: row by row, columns ascending in a row.
    void beginIterate();
    Cell* nextCell();

    // First and last column and row over all cells; all 0 when there is none.
    Dimensions calcDimensions() const;

private:
    // The cells of up to 16 columns, packed: bit n of `used` says that column n has a cell,
    // which stands at the position of the number of lower bits set. A list of a few columns
    // thus costs room for those few cells only.
    struct Leaf {
        std::unique_ptr<Cell[]> cells;
        uint16_t used = 0;
        uint8_t capacity = 0;
        Cell* at(unsigned column) { return &cells[countBits(used & ((1u << column) - 1))]; }
        Cell& insert(unsigned column);
    };
    struct RowCells {
        std::array<std::unique_ptr<Leaf>, 16> leaves;
    };
    struct RowGroup {
        std::array<std::unique_ptr<RowCells>, 256> rows;
    };

    static void checkKey(int32_t key);
    // The bits set in a 16-bit mask, without a library call.
    static size_t countBits(unsigned mask) {
        mask = mask - ((mask >> 1) & 0x5555);
        mask = (mask & 0x3333) + ((mask >> 2) & 0x3333);
        mask = (mask + (mask >> 4)) & 0x0F0F;
        return (mask + (mask >> 8)) & 0x1F;
    }

    std::array<std::unique_ptr<RowGroup>, 256> groups_;
    Cell* cache_ = nullptr;
    int32_t cursor_ = 0;         // the key the next walk step starts from
    Leaf* cursorLeaf_ = nullptr; // the block of cursor_ when the walk stands inside one
};

} // namespace xls
