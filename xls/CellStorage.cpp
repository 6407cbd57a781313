#include "xls/CellStorage.h"

#include "xls/XlsError.h"

#include <algorithm>
#include <limits>

namespace xls {

CellStorage::CellStorage() = default;
CellStorage::~CellStorage() = default;

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
    RowCells* row = group->rows[static_cast<size_t>((key >> 8) & 0xFF)].get();
    if (!row)
        return nullptr;
    Leaf* leaf = row->leaves[static_cast<size_t>((key >> 4) & 0x0F)].get();
    if (!leaf)
        return nullptr;
    if (!(leaf->used & (1u << (key & 0x0F))))
        return nullptr;
    cache_ = leaf->at(static_cast<unsigned>(key & 0x0F));
    return cache_;
}

// Room for one more cell at the column's place; the cells behind it move up one.
Cell& CellStorage::Leaf::insert(unsigned column) {
    size_t count = countBits(used);
    size_t position = countBits(used & ((1u << column) - 1));
    if (count == capacity) {
        uint8_t grown = static_cast<uint8_t>(capacity == 0 ? 4 : std::min(16, capacity * 2));
        auto larger = std::make_unique<Cell[]>(grown);
        for (size_t i = 0; i < count; ++i)
            larger[i] = std::move(cells[i]);
        cells = std::move(larger);
        capacity = grown;
    }
    for (size_t i = count; i > position; --i)
        cells[i] = std::move(cells[i - 1]);
    used = static_cast<uint16_t>(used | (1u << column));
    return cells[position];
}

Cell& CellStorage::set(Cell cell) {
    int32_t key = cell.key();
    checkKey(key);
    auto& group = groups_[static_cast<size_t>(key >> 16)];
    if (!group)
        group = std::make_unique<RowGroup>();
    auto& row = group->rows[static_cast<size_t>((key >> 8) & 0xFF)];
    if (!row)
        row = std::make_unique<RowCells>();
    auto& leaf = row->leaves[static_cast<size_t>((key >> 4) & 0x0F)];
    if (!leaf)
        leaf = std::make_unique<Leaf>();
    unsigned column = static_cast<unsigned>(key & 0x0F);
    if (leaf->used & (1u << column)) {
        Cell& slot = *leaf->at(column);
        if (cell.xf() <= 0)
            cell.setXf(slot.xf());
        slot = std::move(cell);
        cache_ = &slot;
        return slot;
    }
    // Cells of this block may move: no pointer into it may stay at hand.
    cache_ = nullptr;
    if (cursorLeaf_ == leaf.get())
        cursorLeaf_ = nullptr;
    Cell& slot = leaf->insert(column);
    slot = std::move(cell);
    cache_ = &slot;
    return slot;
}

void CellStorage::clear() {
    for (auto& group : groups_)
        group.reset();
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
            Cell* cell = cursorLeaf_->at(static_cast<unsigned>(cursor_ & 0x0F));
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
        RowCells* row = group->rows[static_cast<size_t>((cursor_ >> 8) & 0xFF)].get();
        if (!row) {
            cursor_ = ((cursor_ >> 8) + 1) << 8;
            continue;
        }
        Leaf* leaf = row->leaves[static_cast<size_t>((cursor_ >> 4) & 0x0F)].get();
        unsigned rest = leaf ? static_cast<unsigned>(leaf->used >> (cursor_ & 0x0F)) : 0;
        if (!rest) {
            cursor_ = ((cursor_ >> 4) + 1) << 4;
            continue;
        }
        cursor_ += __builtin_ctz(rest);
        Cell* cell = leaf->at(static_cast<unsigned>(cursor_ & 0x0F));
        ++cursor_;
        cursorLeaf_ = leaf;
        return cell;
    }
    return nullptr;
}

CellStorage::Dimensions CellStorage::calcDimensions() const {
    constexpr int32_t Largest = std::numeric_limits<int32_t>::max();
    Dimensions d{Largest, 0, Largest, 0};
    bool any = false;
    for (size_t g = 0; g < groups_.size(); ++g) {
        if (!groups_[g])
            continue;
        for (size_t r = 0; r < 256; ++r) {
            const RowCells* row = groups_[g]->rows[r].get();
            if (!row)
                continue;
            int32_t rowIndex = static_cast<int32_t>(g * 256 + r);
            for (size_t l = 0; l < 16; ++l) {
                const Leaf* leaf = row->leaves[l].get();
                if (!leaf || !leaf->used)
                    continue;
                int32_t base = static_cast<int32_t>(l * 16);
                d.firstCol = std::min(d.firstCol, base + __builtin_ctz(leaf->used));
                d.lastCol = std::max(d.lastCol, base + 31 - __builtin_clz(leaf->used));
                d.firstRow = std::min(d.firstRow, rowIndex);
                d.lastRow = std::max(d.lastRow, rowIndex);
                any = true;
            }
        }
    }
    return any ? d : Dimensions{};
}

} // namespace xls
