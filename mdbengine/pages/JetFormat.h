#pragma once

// Where things are on the pages of the two Jet file versions: Jet3 (Access 97, 2 KB
// pages, one-byte row offsets) and Jet4 (Access 2000 to 2003, 4 KB pages, two-byte
// offsets and UCS-2 text).

#include <cstdint>

namespace mdbengine::file {

enum class PageType : std::uint8_t {
    Database = 0x00,
    Data = 0x01,
    TableDefinition = 0x02,
    IndexNode = 0x03,
    IndexLeaf = 0x04,
    UsageMap = 0x05,
};

struct JetFormat {
    bool jet4 = false;
    std::uint32_t pageSize = 0;

    // Data pages: free-space word, owning table, row count and the slot table after it.
    std::uint32_t dataFreeSpaceOffset = 2;
    std::uint32_t dataTableOffset = 4;
    std::uint32_t dataRowCountOffset = 0;

    // Table definition block.
    std::uint32_t tdefRowCountOffset = 0;
    std::uint32_t tdefAutonumberOffset = 0;
    std::uint32_t tdefTableTypeOffset = 0;
    std::uint32_t tdefMaxColumnsOffset = 0;
    std::uint32_t tdefVarColumnsOffset = 0;
    std::uint32_t tdefColumnCountOffset = 0;
    std::uint32_t tdefIndexCountOffset = 0;
    std::uint32_t tdefRealIndexCountOffset = 0;
    std::uint32_t tdefUsedPagesOffset = 0;
    std::uint32_t tdefFreePagesOffset = 0;
    std::uint32_t tdefBlockEnd = 0;
    std::uint32_t realIndexCountEntrySize = 0;
    std::uint32_t columnEntrySize = 0;
    std::uint32_t realIndexEntrySize = 0;
    std::uint32_t logicalIndexEntrySize = 0;

    // Column entry fields.
    std::uint32_t columnNumberOffset = 0;
    std::uint32_t columnVarIndexOffset = 0;
    std::uint32_t columnOrdinalOffset = 0;
    std::uint32_t columnMiscOffset = 0;
    std::uint32_t columnFlagsOffset = 0;
    std::uint32_t columnFixedOffsetOffset = 0;
    std::uint32_t columnLengthOffset = 0;

    // Index pages: the links to the pages before and after at the same level and to the last
    // child, the length of the prefix the entries share (one byte in Jet3, two in Jet4), the
    // byte that marks an intermediate page, the bitmap of where entries end and the entries.
    std::uint32_t indexPrevOffset = 0;
    std::uint32_t indexNextOffset = 0;
    std::uint32_t indexTailOffset = 0;
    std::uint32_t indexPrefixOffset = 0;
    std::uint32_t indexIntermediateOffset = 0;
    std::uint32_t indexMaskOffset = 0;
    std::uint32_t indexEntriesOffset = 0;

    // Rows: width of the column count and of the offsets in the variable-column table.
    std::uint32_t rowFieldSize = 0;
    // Slot offsets on a data page: the low bits; the high bits are flags.
    static constexpr std::uint16_t slotOffsetMask = 0x1FFF;
    static constexpr std::uint16_t slotDeleted = 0x8000;
    static constexpr std::uint16_t slotOverflow = 0x4000;

    std::uint32_t slotTableOffset() const { return dataRowCountOffset + 2; }
    std::uint32_t usageMapPagesPerMapPage() const { return (pageSize - 4) * 8; }

    static const JetFormat& version3();
    static const JetFormat& version4();
};

} // namespace mdbengine::file
