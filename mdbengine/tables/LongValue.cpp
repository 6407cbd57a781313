#include "mdbengine/tables/LongValue.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"

#include <set>

namespace mdbengine::file {

namespace {

std::span<const std::uint8_t> longValueRow(PageStore& pages, std::uint32_t rowId) {
    DataPage page(pages.page(DataPage::pageOf(rowId)), pages.format());
    return page.row(DataPage::slotOf(rowId));
}

} // namespace

std::string readLongValue(PageStore& pages, std::span<const std::uint8_t> reference) {
    if (reference.size() < longValueReferenceSize)
        throw FormatError("a memo reference is too short");
    std::uint32_t word = get32(reference.data());
    std::uint32_t length = word & longValueLengthMask;
    std::uint32_t pointer = get32(reference.data() + 4);

    if (word & longValueInRow) {
        if (reference.size() - longValueReferenceSize < length)
            throw FormatError("a memo is longer than its row");
        auto bytes = reference.subspan(longValueReferenceSize, length);
        return std::string(bytes.begin(), bytes.end());
    }
    if (word & longValueSingleRow) {
        auto row = longValueRow(pages, pointer);
        if (row.size() < length)
            throw FormatError("a memo is longer than its page row");
        return std::string(row.begin(), row.begin() + length);
    }
    std::string value;
    std::set<std::uint32_t> seen;
    while (value.size() < length) {
        if (pointer == 0 || !seen.insert(pointer).second)
            throw FormatError("a memo's chain of pages ends early or loops");
        auto row = longValueRow(pages, pointer);
        if (row.size() < 4)
            throw FormatError("a memo's page row is too short");
        std::size_t take = std::min<std::size_t>(row.size() - 4, length - value.size());
        value.append(row.begin() + 4, row.begin() + 4 + static_cast<std::ptrdiff_t>(take));
        pointer = get32(row.data());
    }
    return value;
}

} // namespace mdbengine::file
