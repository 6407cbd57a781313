#include "accessdb/access/TAccessLongBinaryBlob.h"

#include "accessdb/access/EAccessEngineError.h"

#include <cstring>

namespace accessdb {

void TAccessLongBinaryBlob::copyOut(std::uint32_t offset, std::uint32_t count, Byte* dest) {
    std::string chunk =
        field().getChunk(static_cast<std::int32_t>(offset), static_cast<std::int32_t>(count));
    checkAccess(field().lastResult());
    std::memcpy(dest, chunk.data(), std::min<std::size_t>(count, chunk.size()));
}

void TAccessLongBinaryBlob::store(std::uint32_t offset, std::uint32_t count, const Byte* source) {
    // Writing nothing at an offset ends the value there (at 0, it empties it).
    if (count == 0) {
        stream_.resize(std::min<std::size_t>(offset, stream_.size()));
        return;
    }
    if (stream_.size() < std::size_t{offset} + count)
        stream_.resize(std::size_t{offset} + count, '\0');
    std::memcpy(stream_.data() + offset, source, count);
}

} // namespace accessdb
