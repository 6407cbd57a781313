#include "mdbengine/pages/DataPage.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/FormatError.h"

#include <algorithm>

namespace mdbengine::file {

DataPage::DataPage(std::span<const std::uint8_t> page, const JetFormat& format)
    : page_(page), format_(format) {
    if (page_[0] != static_cast<std::uint8_t>(PageType::Data))
        throw FormatError("a data page was expected");
    rowCount_ = get16(page_.data() + format.dataRowCountOffset);
    // A page holds at most 256 rows: a row id keeps one byte for the slot.
    if (rowCount_ > 256 || format.slotTableOffset() + 2u * rowCount_ > page_.size())
        throw FormatError("a data page claims more rows than it can hold");
    sortedOffsets_.reserve(rowCount_);
    for (std::uint16_t i = 0; i < rowCount_; ++i)
        sortedOffsets_.push_back(slot(i) & JetFormat::slotOffsetMask);
    std::sort(sortedOffsets_.begin(), sortedOffsets_.end());
}

std::uint32_t DataPage::owner() const {
    return get32(page_.data() + format_.dataTableOffset);
}

std::uint16_t DataPage::freeSpace() const {
    return get16(page_.data() + format_.dataFreeSpaceOffset);
}

std::uint16_t DataPage::slot(std::uint16_t row) const {
    return get16(page_.data() + format_.slotTableOffset() + 2u * row);
}

std::span<const std::uint8_t> DataPage::row(std::uint16_t row) const {
    if (row >= rowCount_)
        throw FormatError("a row pointer names a slot the page does not have");
    std::uint16_t start = slot(row) & JetFormat::slotOffsetMask;
    auto next = std::upper_bound(sortedOffsets_.begin(), sortedOffsets_.end(), start);
    std::size_t end = next == sortedOffsets_.end() ? page_.size() : *next;
    if (start < format_.slotTableOffset() + 2u * rowCount_ || start > end || end > page_.size())
        throw FormatError("a row lies outside its page");
    return page_.subspan(start, end - start);
}

} // namespace mdbengine::file
