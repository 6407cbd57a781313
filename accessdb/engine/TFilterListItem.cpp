#include "accessdb/engine/TFilterListItem.h"

#include "accessdb/engine/FilterExpression.h"
#include "accessdb/engine/TBaseTable.h"

#include <algorithm>

namespace accessdb {

TFilterListItem::TFilterListItem(TBaseTable* cursor, std::uintptr_t clientData,
                                 std::uint16_t priority, bool canAbort,
                                 std::span<const Byte> expression, FilterCallback callback)
    : TBapiListItem(cursor, &cursor->filters()), clientData_(clientData), priority_(priority),
      canAbort_(canAbort), callback_(callback) {
    if (expression.size() >= 4) {
        std::size_t size = std::min<std::size_t>(getU16(expression.data(), 2), expression.size());
        expression_.assign(expression.begin(), expression.begin() + size);
    }
}

TBaseTable* TFilterListItem::cursor() const {
    return static_cast<TBaseTable*>(owner());
}

bool TFilterListItem::evaluate(Byte* record) {
    if (!active_)
        return false;
    bool result = true;
    if (callback_)
        result = callback_(clientData_, record, 0) != 0;
    if (result && !expression_.empty())
        result = FilterExpression(expression_, *cursor(), record).evaluate();
    return result;
}

void TFilterListItem::getInfo(std::uint16_t position, FilterInfo& info) const {
    info.position = position;
    info.filter = const_cast<TFilterListItem*>(this);
    info.clientData = clientData_;
    info.priority = priority_;
    info.canAbort = canAbort_;
    info.callback = callback_;
    info.expression = expression_.empty() ? nullptr : expression_.data();
    info.active = active_;
}

} // namespace accessdb
