#pragma once

#include <cstdint>
#include <string>

namespace mdbengine {

// A column of an index and its direction.
class IndexField {
public:
    static constexpr std::int32_t descendingAttribute = 0x1;

    IndexField(std::string name, bool descending)
        : name_(std::move(name)), descending_(descending) {}

    const std::string& name() const { return name_; }
    std::int32_t attributes() const { return descending_ ? descendingAttribute : 0; }
    bool descending() const { return descending_; }

private:
    std::string name_;
    bool descending_;
};

} // namespace mdbengine
