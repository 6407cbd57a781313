#include "xls/MsoRecord.h"

#include "xls/RecordBody.h"
#include "xls/XlsError.h"

namespace xls {

namespace {

constexpr size_t HeaderSize = 8;
constexpr uint16_t OptType = 0xF00B;

} // namespace

MsoRecord MsoRecord::atom(uint16_t type, uint16_t version, uint16_t instance, std::string body) {
    MsoRecord record;
    record.type_ = type;
    record.versionInstance_ = static_cast<uint16_t>((version & 0x0F) | (instance << 4));
    record.body_ = std::move(body);
    return record;
}

MsoRecord MsoRecord::container(uint16_t type, uint16_t instance) {
    MsoRecord record;
    record.type_ = type;
    record.versionInstance_ = static_cast<uint16_t>(0x0F | (instance << 4));
    record.container_ = true;
    return record;
}

size_t MsoRecord::size() const {
    if (!container_)
        return HeaderSize + body_.size();
    size_t total = HeaderSize;
    for (const MsoRecord& child : children_)
        total += child.size();
    return total;
}

void MsoRecord::writeTo(std::string& out) const {
    RecordBody header;
    header.u16(versionInstance_).u16(type_).u32(static_cast<int64_t>(size() - HeaderSize + extra_));
    out += header.str();
    if (!container_) {
        out += body_;
        return;
    }
    for (const MsoRecord& child : children_)
        child.writeTo(out);
}

std::string MsoRecord::bytes() const {
    std::string out;
    out.reserve(size());
    writeTo(out);
    return out;
}

MsoOptions& MsoOptions::set(uint16_t id, uint32_t value) {
    RecordBody entry;
    entry.u16(id).u32(value);
    table_ += entry.str();
    ++count_;
    return *this;
}

MsoOptions& MsoOptions::setText(uint16_t id, std::u16string_view text) {
    std::string data;
    for (char16_t c : text) {
        data += static_cast<char>(c & 0xFF);
        data += static_cast<char>(c >> 8);
    }
    data.append(2, '\0');
    set(static_cast<uint16_t>(id | 0x8000), static_cast<uint32_t>(data.size()));
    complex_ += data;
    return *this;
}

MsoRecord MsoOptions::record() const {
    return MsoRecord::atom(OptType, 3, count_, table_ + complex_);
}

} // namespace xls
