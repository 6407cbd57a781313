#include "accessdb/access/TAccessMemoBlob.h"

#include "accessdb/access/EAccessEngineError.h"

#include <cstring>

namespace accessdb {

std::uint32_t TAccessMemoBlob::size() {
    if (text_)
        return static_cast<std::uint32_t>(text_->size());
    return TAccessBlob::size();
}

const std::string& TAccessMemoBlob::text() {
    if (!text_) {
        std::string whole = field().getChunk(0, field().fieldSize());
        checkAccess(field().lastResult());
        text_ = std::move(whole);
    }
    return *text_;
}

const std::string& TAccessMemoBlob::contents() const {
    static const std::string none;
    return text_ ? *text_ : none;
}

void TAccessMemoBlob::copyOut(std::uint32_t offset, std::uint32_t count, Byte* dest) {
    const std::string& whole = text();
    if (offset >= whole.size())
        return;
    std::memcpy(dest, whole.data() + offset, std::min<std::size_t>(count, whole.size() - offset));
}

void TAccessMemoBlob::store(std::uint32_t, std::uint32_t count, const Byte* source) {
    text_ = count == 0 ? std::string() : std::string(reinterpret_cast<const char*>(source), count);
}

} // namespace accessdb
