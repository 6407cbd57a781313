#include "xls/CellStorage.h"

#include "xls/XlsError.h"

#include <algorithm>
#include <limits>
#include <new>

namespace xls {

namespace {

constexpr size_t RowsPerChunk = 256;

} // namespace

CellStorage::CellPool::~CellPool() {
    release();
}

uint32_t CellStorage::CellPool::take(uint8_t capacity) {
    std::vector<uint32_t>& free = free_[capacity - 1u];
    if (!free.empty()) {
        uint32_t slot = free.back();
        free.pop_back();
        return slot;
    }
    // A run never crosses into the next chunk: the rest of a chunk too short for it is
    // left unused.
    if ((next_ & ChunkMask) + capacity > ChunkMask + 1)
        next_ = (next_ | ChunkMask) + 1;
    if ((next_ >> ChunkBits) == chunks_.size()) {
        if (chunks_.size() >= (std::numeric_limits<uint32_t>::max() >> ChunkBits))
            throw std::bad_alloc();
        chunks_.push_back(std::allocator<Cell>().allocate(ChunkMask + 1));
    }
    uint32_t slot = next_;
    next_ += capacity;
    return slot;
}

void CellStorage::CellPool::giveBack(uint32_t slot, uint8_t capacity) {
    free_[capacity - 1u].push_back(slot);
}

void CellStorage::CellPool::release() {
    for (Cell* chunk : chunks_)
        std::allocator<Cell>().deallocate(chunk, ChunkMask + 1);
    chunks_.clear();
    next_ = 0;
    for (auto& free : free_)
        free.clear();
}

CellStorage::CellStorage() = default;

CellStorage::~CellStorage() {
    destroyCells();
}

void CellStorage::checkKey(int32_t key) {
    if (key < 0 || (key >> 16) > 255)
        throw RangeError();
}

CellStorage::Leaf* CellStorage::findLeaf(int32_t key) const {
    RowGroup* group = groups_[static_cast<size_t>(key >> 16)].get();
    if (!group)
        return nullptr;
    const size_t row = static_cast<size_t>((key >> 8) & 0xFF);
    const size_t block = static_cast<size_t>((key >> 4) & 0x0F);
    if (block == 0)
        return &group->first[row];
    RowCells* rest = group->rest[row];
    return rest ? &rest->leaves[block - 1] : nullptr;
}

Cell* CellStorage::get(int32_t key) {
    if (cache_ && cache_->key() == key)
        return cache_;
    checkKey(key);
    if (sink_)
        return nullptr;
    const Leaf* leaf = findLeaf(key);
    if (!leaf || !(leaf->used & (1u << (key & 0x0F))))
        return nullptr;
    cache_ = cellOf(*leaf, static_cast<unsigned>(key & 0x0F));
    return cache_;
}

CellStorage::Leaf& CellStorage::leafFor(int32_t key) {
    auto& group = groups_[static_cast<size_t>(key >> 16)];
    if (!group)
        group = std::make_unique<RowGroup>();
    const size_t row = static_cast<size_t>((key >> 8) & 0xFF);
    const size_t block = static_cast<size_t>((key >> 4) & 0x0F);
    if (block == 0)
        return group->first[row];
    RowCells*& rest = group->rest[row];
    if (!rest) {
        if (rowChunks_.empty() || rowsInLastChunk_ == RowsPerChunk) {
            rowChunks_.push_back(std::make_unique<RowCells[]>(RowsPerChunk));
            rowsInLastChunk_ = 0;
        }
        rest = &rowChunks_.back()[rowsInLastChunk_++];
    }
    return rest->leaves[block - 1];
}

// Room for the expected columns of the key's block when the key is one of them; else for a
// few cells.
uint8_t CellStorage::firstCapacity(int32_t key) const {
    constexpr uint8_t Few = 4;
    const int column = keyColumn(key);
    if (column < expectedFirst_ || column > expectedLast_)
        return Few;
    const int blockFirst = column & ~0x0F;
    const int from = std::max(blockFirst, expectedFirst_);
    const int to = std::min(blockFirst + 15, expectedLast_);
    return static_cast<uint8_t>(to - from + 1);
}

Cell* CellStorage::insert(Leaf& leaf, unsigned column, uint8_t capacity, Cell&& cell) {
    const size_t count = countBits(leaf.used);
    const size_t position = countBits(leaf.used & ((1u << column) - 1));
    if (count == leaf.capacity) {
        const uint32_t larger = pool_.take(capacity);
        for (size_t i = 0; i < count; ++i) {
            Cell* from = pool_.at(leaf.at + static_cast<uint32_t>(i));
            Cell* to = pool_.at(larger + static_cast<uint32_t>(i + (i >= position)));
            new (to) Cell(std::move(*from));
            from->~Cell();
        }
        if (leaf.capacity)
            pool_.giveBack(leaf.at, leaf.capacity);
        leaf.at = larger;
        leaf.capacity = capacity;
    } else {
        for (size_t i = count; i > position; --i) {
            Cell* from = pool_.at(leaf.at + static_cast<uint32_t>(i - 1));
            new (pool_.at(leaf.at + static_cast<uint32_t>(i))) Cell(std::move(*from));
            from->~Cell();
        }
    }
    leaf.used = static_cast<uint16_t>(leaf.used | (1u << column));
    return new (pool_.at(leaf.at + static_cast<uint32_t>(position))) Cell(std::move(cell));
}

void CellStorage::widen(int32_t key) {
    const int32_t col = keyColumn(key), row = keyRow(key);
    if (empty_) {
        dimensions_ = {col, col, row, row};
        empty_ = false;
        return;
    }
    dimensions_.firstCol = std::min(dimensions_.firstCol, col);
    dimensions_.lastCol = std::max(dimensions_.lastCol, col);
    dimensions_.firstRow = std::min(dimensions_.firstRow, row);
    dimensions_.lastRow = std::max(dimensions_.lastRow, row);
}

Cell& CellStorage::set(Cell cell) {
    int32_t key = cell.key();
    checkKey(key);
    if (sink_) {
        flush();
        widen(key);
        pending_ = std::move(cell);
        cache_ = &pending_;
        return pending_;
    }
    anyFormula_ = anyFormula_ || cell.isFormula();
    Leaf& leaf = leafFor(key);
    unsigned column = static_cast<unsigned>(key & 0x0F);
    if (leaf.used & (1u << column)) {
        Cell& slot = *cellOf(leaf, column);
        if (cell.xf() <= 0)
            cell.setXf(slot.xf());
        slot = std::move(cell);
        cache_ = &slot;
        return slot;
    }
    // Cells of this block may move: no pointer into it may stay at hand.
    cache_ = nullptr;
    if (cursorLeaf_ == &leaf)
        cursorLeaf_ = nullptr;
    widen(key);
    uint8_t capacity = leaf.capacity;
    if (countBits(leaf.used) == capacity)
        capacity = capacity == 0 ? firstCapacity(key)
                                 : static_cast<uint8_t>(std::min(16, std::max(4, capacity * 2)));
    cache_ = insert(leaf, column, capacity, std::move(cell));
    return *cache_;
}

void CellStorage::flush() {
    if (!sink_ || pending_.empty())
        return;
    sink_->cell(pending_);
    pending_ = Cell();
    cache_ = nullptr;
}

void CellStorage::destroyCells() {
    if (anyFormula_) {
        beginIterate();
        while (Cell* cell = nextCell())
            cell->~Cell();
    }
    // Without a formula no cell owns anything: the chunks go as they are.
    pool_.release();
}

void CellStorage::clear() {
    destroyCells();
    for (auto& group : groups_)
        group.reset();
    rowChunks_.clear();
    rowsInLastChunk_ = 0;
    anyFormula_ = false;
    expectedFirst_ = 0;
    expectedLast_ = -1;
    dimensions_ = {};
    empty_ = true;
    pending_ = Cell();
    cache_ = nullptr;
    cursor_ = 0;
    cursorLeaf_ = nullptr;
}

void CellStorage::expectColumns(int first, int last) {
    expectedFirst_ = std::max(first, 0);
    expectedLast_ = std::min(last, MaxColumn);
}

void CellStorage::beginIterate() {
    cursor_ = 0;
    cursorLeaf_ = nullptr;
}

Cell* CellStorage::nextCell() {
    constexpr int32_t End = 256 * 256 * 256;
    // Within the block of the last cell walked, the next cell is the next bit of its mask.
    if (cursorLeaf_ && (cursor_ & 0x0F) != 0) {
        unsigned rest = cursorLeaf_->used >> (cursor_ & 0x0F);
        if (rest) {
            cursor_ += __builtin_ctz(rest);
            Cell* cell = cellOf(*cursorLeaf_, static_cast<unsigned>(cursor_ & 0x0F));
            ++cursor_;
            return cell;
        }
        cursor_ = ((cursor_ >> 4) + 1) << 4;
    }
    cursorLeaf_ = nullptr;
    while (cursor_ < End) {
        RowGroup* group = groups_[static_cast<size_t>(cursor_ >> 16)].get();
        if (!group) {
            cursor_ = ((cursor_ >> 16) + 1) << 16;
            continue;
        }
        const size_t row = static_cast<size_t>((cursor_ >> 8) & 0xFF);
        const size_t block = static_cast<size_t>((cursor_ >> 4) & 0x0F);
        RowCells* restOfRow = group->rest[row];
        if (block > 0 && !restOfRow) {
            cursor_ = ((cursor_ >> 8) + 1) << 8;
            continue;
        }
        Leaf& leaf = block == 0 ? group->first[row] : restOfRow->leaves[block - 1];
        unsigned rest = static_cast<unsigned>(leaf.used >> (cursor_ & 0x0F));
        if (!rest) {
            cursor_ = ((cursor_ >> 4) + 1) << 4;
            continue;
        }
        cursor_ += __builtin_ctz(rest);
        Cell* cell = cellOf(leaf, static_cast<unsigned>(cursor_ & 0x0F));
        ++cursor_;
        cursorLeaf_ = &leaf;
        return cell;
    }
    return nullptr;
}

CellStorage::Dimensions CellStorage::calcDimensions() const {
    return empty_ ? Dimensions{} : dimensions_;
}

} // namespace xls
