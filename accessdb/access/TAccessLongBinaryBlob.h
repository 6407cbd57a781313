#pragma once

#include "accessdb/access/TAccessBlob.h"

namespace accessdb {

// A long-binary (OLE) value: reads fetch the asked-for chunk; writes go into a stream that
// the post appends to the field in pieces.
class TAccessLongBinaryBlob : public TAccessBlob {
public:
    using TAccessBlob::TAccessBlob;

    const std::string& contents() const override { return stream_; }

protected:
    void copyOut(std::uint32_t offset, std::uint32_t count, Byte* dest) override;
    void store(std::uint32_t offset, std::uint32_t count, const Byte* source) override;

private:
    std::string stream_;
};

} // namespace accessdb
