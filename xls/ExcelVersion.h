#pragma once

#include <cstdint>

namespace xls {

// The BIFF version of a workbook file; the order matters, later versions compare greater.
enum class ExcelVersion : uint8_t {
    None = 0,
    Unknown = 1,
    Excel21 = 2, // BIFF2
    Excel30 = 3, // BIFF3
    Excel40 = 4, // BIFF4
    Excel50 = 5, // BIFF5
    Excel97 = 6, // BIFF8
};

// The largest record body of the version; longer bodies go on in CONTINUE records.
constexpr int maxRecordSize(ExcelVersion version) {
    return version < ExcelVersion::Excel97 ? 2080 : 8224;
}

} // namespace xls
