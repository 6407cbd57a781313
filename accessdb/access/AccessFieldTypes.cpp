#include "accessdb/access/AccessFieldTypes.h"

#include "accessdb/classlib/Bcd.h"
#include "accessdb/engine/EngineDates.h"
#include "accessdb/engine/FieldDesc.h"

#include <algorithm>
#include <cmath>

namespace accessdb::accesstype {
namespace {

std::uint16_t clampedSize(std::int32_t size) {
    return static_cast<std::uint16_t>(std::clamp<std::int32_t>(size, 0, 0xFFFF));
}

} // namespace

FieldLayout fieldLayout(std::int16_t daoType, std::int32_t daoSize, std::int32_t precision,
                        std::int32_t scale) {
    FieldLayout layout;
    switch (daoType) {
    case Boolean:
        layout = {2, fldtype::BOOL, 0, 0};
        break;
    case Byte:
    case Integer:
        layout = {clampedSize(daoSize), fldtype::INT16, 0, 0};
        break;
    case Long:
        layout = {clampedSize(daoSize), fldtype::INT32, 0, 0};
        break;
    case Currency:
    case Single:
    case Double:
        layout = {clampedSize(daoSize), fldtype::FLOAT, 0, 0};
        break;
    case Date:
        layout = {clampedSize(daoSize), fldtype::TIMESTAMP, 0, 0};
        break;
    case Text: {
        std::uint16_t length = daoSize == 0 ? 255 : clampedSize(std::min(daoSize + 1, 0xFFFF));
        return {length, fldtype::ZSTRING, 0, static_cast<std::int16_t>(length - 1)};
    }
    case LongBinary:
        return {BlobRecordSize, fldtype::BLOB, LongBinarySubtype, BlobRecordSize};
    case Memo:
        return {BlobRecordSize, fldtype::BLOB, MemoSubtype, BlobRecordSize};
    case Guid:
        return {clampedSize(daoSize), fldtype::BYTES, 0, 16};
    case Decimal:
        return {static_cast<std::uint16_t>(std::tuple_size_v<BcdBytes>), fldtype::BCD, 0,
                static_cast<std::int16_t>(std::clamp(precision, 1, MaxBcdDigits)),
                static_cast<std::int16_t>(std::clamp(scale, 0, MaxBcdDigits))};
    default:
        layout = {clampedSize(daoSize), fldtype::UNKNOWN, 0, 0};
        break;
    }
    layout.units = static_cast<std::int16_t>(layout.length);
    return layout;
}

double timestampFromDate(double daoDate) {
    if (daoDate == 0)
        return 0;
    double days = daoDate;
    if (daoDate < 0) {
        double whole = std::trunc(daoDate);
        days = whole - (daoDate - whole);
    }
    return (days + TimestampEpochDays) * MsPerDay;
}

double dateFromTimestamp(double timestamp) {
    if (timestamp == 0)
        return 0;
    double days = timestamp / MsPerDay - TimestampEpochDays;
    if (days >= 0)
        return days;
    double whole = std::floor(days);
    return whole - (days - whole);
}

} // namespace accessdb::accesstype
