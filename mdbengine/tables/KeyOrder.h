#pragma once

// The order of index keys: Null first, numbers (dates, currency, decimals and Booleans among them,
// True before False as the engine stores it) by value, text as its index key orders it (in
// the sort order of the database's version: without regard to case, accents after the
// plain letter, trailing blanks left out), bytes as bytes. A text compared with a number is
// read as one when it is one.

#include "mdbengine/values/Variant.h"

namespace mdbengine::file {

// The sort order texts compare in: that of the database they come from.
enum class TextOrder : bool { Jet3, Jet4 };

inline TextOrder textOrderOf(bool jet4) {
    return jet4 ? TextOrder::Jet4 : TextOrder::Jet3;
}

int compareKeyValues(const Variant& a, const Variant& b, TextOrder order);

// Two texts in the order: as their index keys compare.
int compareTexts(const std::string& a, const std::string& b, TextOrder order);

// A text as a statement compares it: with the case of the letters its key tells apart (those
// beyond the first 256 code points and Windows-1252: 'Ł' and 'ł') folded, so that '=' and
// LIKE find every letter without regard to case while an index keeps its own order. Other
// values stay as they are.
Variant caselessForm(const Variant& value);

// The value as it sorts, to compare many times over: a text becomes the bytes of its key,
// which compare as the text does; other values stay as they are.
Variant sortingForm(const Variant& value, TextOrder order);

} // namespace mdbengine::file
