#pragma once

#include "accessdb/engine/TBapiListItem.h"

#include <cstdint>
#include <span>
#include <vector>

namespace accessdb {

class TBaseTable;
class TFilterListItem;

// A caller's record test: non-zero lets the record through.
using FilterCallback = std::int32_t (*)(std::uintptr_t clientData, const Byte* record,
                                        std::int16_t reserved);

// What GetFilterInfo tells about one filter (24 bytes packed when copied out).
struct FilterInfo {
    static constexpr std::size_t Size = 24;
    std::uint16_t position = 0;
    TFilterListItem* filter = nullptr;
    std::uintptr_t clientData = 0;
    std::uint16_t priority = 0;
    bool canAbort = false;
    FilterCallback callback = nullptr;
    const Byte* expression = nullptr;
    bool active = false;
};

// One record filter of a cursor: a callback, an expression blob, or both. A record is
// visible only when it passes every active filter of its cursor.
class TFilterListItem : public TBapiListItem {
public:
    // Lists itself in the cursor's filters. The expression is copied, as many bytes as its
    // own size word says (at most the bytes given).
    TFilterListItem(TBaseTable* cursor, std::uintptr_t clientData, std::uint16_t priority,
                    bool canAbort, std::span<const Byte> expression, FilterCallback callback);

    TBaseTable* cursor() const;
    bool active() const { return active_; }
    void setActive(bool active) { active_ = active; }
    std::uint16_t priority() const { return priority_; }
    const std::vector<Byte>& expression() const { return expression_; }

    // Whether the record passes; an expression that cannot be evaluated fails it.
    bool evaluate(Byte* record);
    void getInfo(std::uint16_t position, FilterInfo& info) const;

private:
    std::uintptr_t clientData_;
    std::uint16_t priority_;
    bool canAbort_;
    std::vector<Byte> expression_;
    FilterCallback callback_;
    bool active_ = false;
};

} // namespace accessdb
