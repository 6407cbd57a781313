#pragma once

#include <cstdint>

namespace xls::record {

// Record ids the stream layer and the tables read below the record loop need by name.
constexpr uint16_t Eof = 0x000A;
constexpr uint16_t Continue = 0x003C;
constexpr uint16_t Sst = 0x00FC;

} // namespace xls::record
