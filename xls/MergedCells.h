#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xls {

struct MergedCell {
    int32_t col1 = 0;
    int32_t row1 = 0;
    int32_t col2 = 0;
    int32_t row2 = 0;
};

// A sheet's merged cell ranges.
class MergedCells {
public:
    MergedCell& add() { return cells_.emplace_back(); }
    MergedCell& item(size_t index) { return cells_.at(index); }
    const MergedCell& item(size_t index) const { return cells_.at(index); }
    size_t count() const { return cells_.size(); }
    void clear() {
        cells_.clear();
        recordSizes.clear();
    }
    // How many ranges each MERGEDCELLS record read held, so that a write of the ranges as read
    // groups them as the file did.
    std::vector<uint16_t> recordSizes;

    // A range is valid when its corners are in order and it shares no cell (bounds
    // inclusive) with any other range of the list.
    bool valid(size_t index) const;

private:
    std::vector<MergedCell> cells_;
};

} // namespace xls
