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
    std::vector<uint32_t>& free = free_[sizeClass(capacity)];
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
    free_[sizeClass(capacity)].push_back(slot);
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

Cell* CellStorage::get(int32_t key) {
    if (cache_ && cache_->key() == key)
        return cache_;
    checkKey(key);
    RowGroup* group = groups_[static_cast<size_t>(key >> 16)].get();
    if (!group)
        return nullptr;
    RowCells* row = group->rows[static_cast<size_t>((key >> 8) & 0xFF)];
    if (!row)
        return nullptr;
    const Leaf& leaf = row->leaves[static_cast<size_t>((key >> 4) & 0x0F)];
    if (!(leaf.used & (1u << (key & 0x0F))))
        return nullptr;
    cache_ = cellOf(leaf, static_cast<unsigned>(key & 0x0F));
    return cache_;
}

CellStorage::RowCells* CellStorage::newRow() {
    if (rowChunks_.empty() || rowsInLastChunk_ == RowsPerChunk) {
        rowChunks_.push_back(std::make_unique<RowCells[]>(RowsPerChunk));
        rowsInLastChunk_ = 0;
    }
    return &rowChunks_.back()[rowsInLastChunk_++];
}

CellStorage::RowCells& CellStorage::rowOf(int32_t key) {
    auto& group = groups_[static_cast<size_t>(key >> 16)];
    if (!group)
        group = std::make_unique<RowGroup>();
    RowCells*& row = group->rows[static_cast<size_t>((key >> 8) & 0xFF)];
    if (!row)
        row = newRow();
    return *row;
}

Cell* CellStorage::insert(Leaf& leaf, unsigned column, Cell&& cell) {
    const size_t count = countBits(leaf.used);
    const size_t position = countBits(leaf.used & ((1u << column) - 1));
    if (count == leaf.capacity) {
        const uint8_t grown = static_cast<uint8_t>(leaf.capacity == 0 ? 4 : leaf.capacity * 2);
        const uint32_t larger = pool_.take(grown);
        for (size_t i = 0; i < count; ++i) {
            Cell* from = pool_.at(leaf.at + static_cast<uint32_t>(i));
            Cell* to = pool_.at(larger + static_cast<uint32_t>(i + (i >= position)));
            new (to) Cell(std::move(*from));
            from->~Cell();
        }
        if (leaf.capacity)
            pool_.giveBack(leaf.at, leaf.capacity);
        leaf.at = larger;
        leaf.capacity = grown;
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
    anyFormula_ = anyFormula_ || cell.isFormula();
    Leaf& leaf = rowOf(key).leaves[static_cast<size_t>((key >> 4) & 0x0F)];
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
    cache_ = insert(leaf, column, std::move(cell));
    return *cache_;
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
    dimensions_ = {};
    empty_ = true;
    cache_ = nullptr;
    cursor_ = 0;
    cursorLeaf_ = nullptr;
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
        RowCells* row = group->rows[static_cast<size_t>((cursor_ >> 8) & 0xFF)];
        if (!row) {
            cursor_ = ((cursor_ >> 8) + 1) << 8;
            continue;
        }
        Leaf& leaf = row->leaves[static_cast<size_t>((cursor_ >> 4) & 0x0F)];
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
