#pragma once

// Memo and long binary values. The row holds a 12-byte reference: the length with two flag
// bits (0x80: the bytes follow in the row; 0x40: they fill one row of a long-value page;
// neither: a chain of rows, each starting with the pointer to the next), then the pointer
// to the first long-value row.

#include <cstdint>
#include <span>
#include <string>

namespace mdbengine::file {

class PageStore;

inline constexpr std::size_t longValueReferenceSize = 12;
inline constexpr std::uint32_t longValueInRow = 0x80000000;
inline constexpr std::uint32_t longValueSingleRow = 0x40000000;
inline constexpr std::uint32_t longValueLengthMask = 0x3FFFFFFF;
// Long-value pages are data pages whose owner field holds "LVAL".
inline constexpr std::uint32_t longValuePageOwner = 0x4C41564C;

// The stored bytes. Throws FormatError when the reference or the chain is damaged.
std::string readLongValue(PageStore& pages, std::span<const std::uint8_t> reference);

} // namespace mdbengine::file
