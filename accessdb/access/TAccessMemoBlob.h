#pragma once

#include "accessdb/access/TAccessBlob.h"

#include <optional>

namespace accessdb {

// A memo: its whole text is fetched once; a write replaces it with the bytes written.
class TAccessMemoBlob : public TAccessBlob {
public:
    using TAccessBlob::TAccessBlob;

    std::uint32_t size() override;
    const std::string& contents() const override;

protected:
    void copyOut(std::uint32_t offset, std::uint32_t count, Byte* dest) override;
    void store(std::uint32_t offset, std::uint32_t count, const Byte* source) override;

private:
    const std::string& text();

    std::optional<std::string> text_;
};

} // namespace accessdb
