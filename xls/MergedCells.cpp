#include "xls/MergedCells.h"

namespace xls {

bool MergedCells::valid(size_t index) const {
    const MergedCell& m = cells_.at(index);
    if (m.col2 < m.col1 || m.row2 < m.row1)
        return false;
    for (size_t i = 0; i < cells_.size(); ++i) {
        if (i == index)
            continue;
        const MergedCell& o = cells_[i];
        bool overlap = m.col1 <= o.col2 && o.col1 <= m.col2 && m.row1 <= o.row2 && o.row1 <= m.row2;
        if (overlap)
            return false;
    }
    return true;
}

} // namespace xls
