#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// An Office Drawing record being written: an atom with its body, or a container with its
// children. A container can announce more content than it holds (extra), for the pieces
// that follow in later BIFF records.
class MsoRecord {
public:
    static MsoRecord atom(uint16_t type, uint16_t version, uint16_t instance, std::string body);
    static MsoRecord container(uint16_t type, uint16_t instance = 0);

    MsoRecord& add(MsoRecord child) { return children_.emplace_back(std::move(child)); }
    void setExtra(size_t extra) { extra_ = extra; }

    // The record's bytes with their header, and their number.
    size_t size() const;
    void writeTo(std::string& out) const;
    std::string bytes() const;

private:
    uint16_t type_ = 0;
    uint16_t versionInstance_ = 0;
    bool container_ = false;
    std::string body_;
    std::vector<MsoRecord> children_;
    size_t extra_ = 0;
};

// An OPT record: properties of a shape, six bytes each, then the data of the complex ones.
class MsoOptions {
public:
    MsoOptions& set(uint16_t id, uint32_t value);
    // A text property: its UTF-16 characters and a NUL follow the table.
    MsoOptions& setText(uint16_t id, std::u16string_view text);
    MsoRecord record() const;

private:
    std::string table_;
    std::string complex_;
    uint16_t count_ = 0;
};

} // namespace xls
