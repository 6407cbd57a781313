#pragma once

#include "xls/Cell.h"
#include "xls/CellSink.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace xls {

// The cells of one sheet in a sparse four-level table addressed by the cell key: the row's
// high byte, its low byte, the column's high nibble and its low nibble. Blocks exist only
// where cells do, so a whole 65,536 × 256 sheet fits while a list of a few thousand rows
// costs little. The cell last stored or found is kept at hand, since callers read a row's
// cells one after the other.
//
// A workbook read fills hundreds of thousands of cells at once, so the blocks of a row and
// the cells themselves come from pools of large chunks rather than one allocation each:
// filling costs a few allocations per thousand cells, nothing is zero-filled but the row
// blocks, and clearing frees a few chunks.
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
    // Whether no cell was ever stored (or handed on) since the store was cleared.
    bool empty() const { return empty_; }

    // The columns the cells to come will stand in, as a sheet states them before its
    // cells: the first cell of a row then gets room for the row's cells at once.
    void expectColumns(int first, int last);

    // While a sink is set, cells are handed to it instead of kept: each one when the next is
    // stored (until then it can still be found and changed, as a formula's result is), the
    // last one by flush(). The dimensions still follow the cells.
    void passTo(CellSink* sink) { sink_ = sink; }
    bool passing() const { return sink_ != nullptr; }
    void flush();

private:
    // The cells of up to 16 columns, packed: bit n of `used` says that column n has a cell,
    // which stands at the position of the number of lower bits set, counted from the pool
    // slot `at`. A list of a few columns thus costs room for those few cells only.
    struct Leaf {
        uint32_t at = 0;
        uint16_t used = 0;
        uint8_t capacity = 0;
    };
    // Columns 16 to 255 of a row.
    struct RowCells {
        std::array<Leaf, 15> leaves;
    };
    // 256 rows. The first 16 columns of each row live here, so that a list of up to 16
    // fields costs no block of its own per row.
    struct RowGroup {
        std::array<Leaf, 256> first{};
        std::array<RowCells*, 256> rest{};
    };

    // Cell slots in chunks that never move: a slot number is its chunk and its place in it.
    // Room for a leaf is a run of 1 to 16 slots; a run given back when its leaf grows
    // waits in a free list for the next leaf of that size. Slots hold constructed cells
    // only where a leaf's mask says so.
    class CellPool {
    public:
        CellPool() = default;
        CellPool(const CellPool&) = delete;
        CellPool& operator=(const CellPool&) = delete;
        ~CellPool();

        Cell* at(uint32_t slot) const { return &chunks_[slot >> ChunkBits][slot & ChunkMask]; }
        uint32_t take(uint8_t capacity);
        void giveBack(uint32_t slot, uint8_t capacity);
        void release(); // every chunk; the cells in them must have been destroyed

    private:
        static constexpr uint32_t ChunkBits = 12;
        static constexpr uint32_t ChunkMask = (1u << ChunkBits) - 1;

        std::vector<Cell*> chunks_;
        uint32_t next_ = 0; // the first slot never handed out
        std::array<std::vector<uint32_t>, 16> free_;
    };

    static void checkKey(int32_t key);
    // The bits set in a 16-bit mask, without a library call.
    static size_t countBits(unsigned mask) {
        mask = mask - ((mask >> 1) & 0x5555);
        mask = (mask & 0x3333) + ((mask >> 2) & 0x3333);
        mask = (mask + (mask >> 4)) & 0x0F0F;
        return (mask + (mask >> 8)) & 0x1F;
    }

    Cell* cellOf(const Leaf& leaf, unsigned column) const {
        return pool_.at(leaf.at +
                        static_cast<uint32_t>(countBits(leaf.used & ((1u << column) - 1))));
    }
    // The leaf of the key's 16 columns, or null where its row has none.
    Leaf* findLeaf(int32_t key) const;
    Leaf& leafFor(int32_t key);
    uint8_t firstCapacity(int32_t key) const;
    // Room for one more cell at the column's place; the cells behind it move up one.
    Cell* insert(Leaf& leaf, unsigned column, uint8_t capacity, Cell&& cell);
    void destroyCells();
    void widen(int32_t key);

    std::array<std::unique_ptr<RowGroup>, 256> groups_;
    std::vector<std::unique_ptr<RowCells[]>> rowChunks_;
    size_t rowsInLastChunk_ = 0;
    CellPool pool_;
    bool anyFormula_ = false; // whether a cell may own memory of its own
    int expectedFirst_ = 0, expectedLast_ = -1;

    CellSink* sink_ = nullptr;
    Cell pending_;

    Dimensions dimensions_;
    bool empty_ = true;
    Cell* cache_ = nullptr;
    int32_t cursor_ = 0;         // the key the next walk step starts from
    Leaf* cursorLeaf_ = nullptr; // the block of cursor_ when the walk stands inside one
};

} // namespace xls
