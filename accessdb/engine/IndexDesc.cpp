#include "accessdb/engine/IndexDesc.h"

#include <cstring>

namespace accessdb {

void IndexDesc::pack(Byte* p) const {
    std::memset(p, 0, Size);
    putText(p, 0, 261, name);
    putU16(p, 261, indexId);
    putText(p, 263, 32, tagName);
    putText(p, 295, 32, format);
    const std::uint16_t words[] = {primary,          unique, descending,    maintained, subset,
                                   expressionIndex,  cost,   keyFieldCount, keyLength,  outOfDate,
                                   keyExpressionType};
    for (std::size_t i = 0; i < std::size(words); ++i)
        putU16(p, 327 + 2 * i, words[i]);
    for (std::size_t i = 0; i < MaxKeyFields; ++i)
        putU16(p, 349 + 2 * i, keyFields[i]);
    putText(p, 381, 221, keyExpression);
    putText(p, 602, 221, keyCondition);
    putU16(p, 823, caseInsensitive);
    putU16(p, 825, blockSize);
    putU16(p, 827, restrictionNumber);
    for (std::size_t i = 0; i < MaxKeyFields; ++i)
        putU16(p, 829 + 2 * i, descendingFields[i]);
}

IndexDesc IndexDesc::unpack(const Byte* p) {
    IndexDesc d;
    d.name = getText(p, 0, 261);
    d.indexId = getU16(p, 261);
    d.tagName = getText(p, 263, 32);
    d.format = getText(p, 295, 32);
    std::uint16_t* words[] = {&d.primary,    &d.unique,           &d.descending,
                              &d.maintained, &d.subset,           &d.expressionIndex,
                              &d.cost,       &d.keyFieldCount,    &d.keyLength,
                              &d.outOfDate,  &d.keyExpressionType};
    for (std::size_t i = 0; i < std::size(words); ++i)
        *words[i] = getU16(p, 327 + 2 * i);
    for (std::size_t i = 0; i < MaxKeyFields; ++i)
        d.keyFields[i] = getU16(p, 349 + 2 * i);
    d.keyExpression = getText(p, 381, 221);
    d.keyCondition = getText(p, 602, 221);
    d.caseInsensitive = getU16(p, 823);
    d.blockSize = getU16(p, 825);
    d.restrictionNumber = getU16(p, 827);
    for (std::size_t i = 0; i < MaxKeyFields; ++i)
        d.descendingFields[i] = getU16(p, 829 + 2 * i);
    return d;
}

} // namespace accessdb
