#pragma once

#include "accessdb/engine/ErrorEntry.h"

#include <cstdint>
#include <vector>

namespace accessdb {

class ETorvaneEngineError;

// The last errors of an engine, newest first (entry 1), at most 20.
class TErrorStack {
public:
    static constexpr std::uint16_t MaxCapacity = 20;

    explicit TErrorStack(std::uint16_t capacity);

    std::uint16_t capacity() const { return capacity_; }
    std::uint16_t count() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    void clear() { count_ = 0; }

    // Inserts the entry as entry 1; a full stack drops its oldest entry.
    void push(const ErrorEntry& entry);
    void pushException(const ETorvaneEngineError& error);
    // Entry n (1 = newest); false, and nothing copied, when there is no such entry.
    bool getEntry(std::uint16_t n, ErrorEntry& entry) const;

private:
    std::uint16_t capacity_;
    std::uint16_t count_ = 0;
    std::vector<ErrorEntry> entries_; // allocated on the first push
};

} // namespace accessdb
