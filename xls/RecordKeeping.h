#pragma once

#include "xls/ExcelVersion.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace xls {

// What becomes of a record read from a file when the workbook is written again in the
// version it was read in. The one rule: what the writer does not make from the model is
// carried through unchanged, in its substream and in its place.
enum class Keeping : uint8_t {
    Made,    // the writer makes it from the model
    Kept,    // carried as read
    Drawing, // carried as read while the sheets' drawings are as read (BIFF8 drawing records)
    Dropped, // made again with other records (STRING, SHRFMLA) or locating them (INDEX, DBCELL)
};

// By the record's id, the version, and whether it stands in the workbook globals (a BIFF4
// file's one substream is a sheet's).
Keeping keepingOf(uint16_t id, ExcelVersion version, bool globals);

// Whether the writer makes a record of this id however the file was (a list: fonts, rows,
// names; or a record it writes when the model asks for it), or, being one of a substream's
// settings, only where the file had one.
bool madeOnlyWhereHeld(uint16_t id);

// Records that mean the same in BIFF5 and BIFF8 (the protection flags and passwords of the
// workbook and its sheets): kept ones go along when a workbook is written from one version
// into the other.
bool sameInBiff5And8(uint16_t id);

// What a person would call the content a kept record holds ("conditional formats"), for
// the refusal of a write that cannot carry it; empty for records that hold nothing of the
// user's (window and cache records of the application).
std::string contentOfRecord(uint16_t id, std::string_view body);

} // namespace xls
