#pragma once

// Changes to a data page. A rewrite lays the rows out again from the end of the page
// downwards in slot order, so slot numbers (which row ids and indexes name) never change
// and each slot keeps its flag bits; deleted rows give their bytes up. The free-space word
// is the page size less the header, the slot table and the bytes of the rows not deleted;
// pages written elsewhere may understate it, so a new row also checks the room there is.

#include "mdbengine/pages/JetFormat.h"

#include <cstdint>
#include <optional>
#include <span>

namespace mdbengine::file {

class DataPageEditor {
public:
    // Throws FormatError when the page is not a data page or its slot table does not fit.
    DataPageEditor(std::span<std::uint8_t> page, const JetFormat& format);

    // An empty data page of the table whose definition starts at `tablePage`.
    static void initialise(std::span<std::uint8_t> page, const JetFormat& format,
                           std::uint32_t tablePage);

    std::uint16_t rowCount() const;
    std::uint16_t flags(std::uint16_t row) const;
    // The free-space word.
    std::size_t freeSpace() const;

    // The row's bytes become `bytes` and its flags `flags`; false (and no change) when the
    // page cannot hold them.
    bool replaceRow(std::uint16_t row, std::span<const std::uint8_t> bytes, std::uint16_t flags);
    // A new slot holding `bytes`; its number, or nothing when the page has no room (the
    // bytes of deleted rows count as room).
    std::optional<std::uint16_t> addRow(std::span<const std::uint8_t> bytes, std::uint16_t flags);
    // Deleting a row (both flag bits) counts its bytes as free.
    void setFlags(std::uint16_t row, std::uint16_t flags);

private:
    struct Replacement {
        std::uint16_t row;
        std::span<const std::uint8_t> bytes;
        std::uint16_t flags;
    };
    // Lays every row out again from the end of the page, deleted ones without bytes, with
    // the replacement's bytes and flags for its row; false (and no change) when they do not
    // fit.
    bool layOut(std::optional<Replacement> replacement);
    // Where the lowest row starts (the page's end when it has none).
    std::size_t lowestRow() const;
    std::optional<bool> replaceInLayout(std::uint16_t row, std::span<const std::uint8_t> bytes,
                                        std::uint16_t flags);
    std::size_t slotOffset(std::uint16_t row) const;
    std::size_t slotTableEnd(std::size_t rows) const;
    bool deleted(std::uint16_t row) const;
    void setFreeSpace(std::size_t bytes);

    std::span<std::uint8_t> page_;
    const JetFormat& format_;
};

} // namespace mdbengine::file
