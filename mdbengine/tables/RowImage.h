#pragma once

// A row being changed: its parts owned, so that values can be set and the row packed
// again. Deleted columns and bytes nobody reads stay as they were.

#include "mdbengine/tables/Column.h"
#include "mdbengine/tables/RowCodec.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mdbengine::file {

struct TableDefinition;

class RowImage {
public:
    explicit RowImage(const RowView& row);
    // A new row of the table: every column Null, every Boolean false.
    static RowImage blank(const TableDefinition& table);

    // The column's value: its stored bytes, or Null.
    void setValue(const Column& column, std::optional<std::span<const std::uint8_t>> bytes);
    void setBoolean(const Column& column, bool value);

    std::vector<std::uint8_t> pack(const JetFormat& format) const;

private:
    // A variable value: where its bytes are in the storage. A value set again takes new bytes
    // at the end; the old ones are not packed.
    struct Piece {
        std::size_t offset = 0;
        std::size_t length = 0;
    };

    RowImage() = default;
    void reachColumn(std::uint16_t number);
    void setBit(std::uint16_t number, bool on);
    Piece store(std::span<const std::uint8_t> bytes);

    std::uint16_t columnCount_ = 0;
    std::vector<std::uint8_t> fixed_;
    std::vector<std::uint8_t> storage_;
    std::vector<Piece> variable_;
    std::vector<std::uint8_t> padding_;
    std::vector<std::uint8_t> nullMask_;
    bool hasVariableSection_ = true;
};

} // namespace mdbengine::file
