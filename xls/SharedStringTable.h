#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

class XlsStream;

// The workbook's shared strings (the SST record): string cells hold an index into it. Texts
// read from a file keep their rich-text runs and phonetic data and are written back
// unchanged; an added text equal to an entry already there gets that entry's index.
class SharedStringTable {
public:
    enum Option : uint8_t {
        Wide = 0x01,     // the characters are UTF-16LE, else 8-bit
        Phonetic = 0x04, // phonetic data follows the characters
        Rich = 0x08,     // formatting runs follow the characters
    };

    // An entry's characters live in the table's pool: one block for all, so that a table of
    // a hundred thousand strings is read without a hundred thousand allocations. Entries are
    // small and the rarely used parts (use counts, rich-text runs, phonetic data) are kept
    // apart, so that the cells of a large sheet find their texts quickly.
    struct Entry {
        uint32_t charsAt = 0; // charCount bytes, or 2 × charCount when Wide
        uint16_t charCount = 0;
        uint8_t options = 0;
        uint32_t charsSize() const { return (options & Wide) ? 2u * charCount : charCount; }
    };

    // Indexes of 8-bit text in the ANSI code page, and of UTF-16 text. 8-bit text with a
    // character that Latin-1 reads differently (such as "€") is kept as UTF-16, so that it is
    // never written as compressed text other readers would take for control characters.
    int32_t addString(std::string_view text);
    int32_t addWideString(std::u16string_view text);
    // Compressed BIFF8 text: one byte a character, each the character of that code (Latin-1).
    int32_t addCompressed(std::string_view chars) { return add(false, chars); }
    // A text with its formatting runs (4 bytes each: the first character, the font index),
    // as addString and addWideString take it; always an entry of its own.
    int32_t addRichString(std::string_view text, std::string_view runs);
    int32_t addRichWideString(std::u16string_view text, std::string_view runs);
    // One more reference to an entry; raises "SST index out of range (%d:%d)" outside.
    int32_t addRef(int32_t index);
    // The index when a string has it, else the same error as addRef.
    int32_t validIndex(int32_t index) const;

    // The entry's text in the ANSI code page ("?" for characters it lacks), or its
    // UTF-16 text; empty for an index outside the table.
    std::string getString(int32_t index) const;
    // The same into a text the caller keeps, whose room is used again.
    void getString(int32_t index, std::string& text) const;
    std::u16string getWideString(int32_t index) const;

    size_t count() const { return entries_.size(); }
    const Entry& entry(size_t index) const { return entries_.at(index); }
    // The references to an entry: 1 for an added text, 0 for one read from a file, one more
    // for each further reference.
    int32_t useCount(size_t index) const { return useCounts_.at(index); }
    std::string_view chars(size_t index) const;
    std::string_view runs(size_t index) const;
    std::string_view phonetic(size_t index) const;
    // HashXLSString of the entry's character bytes.
    uint16_t hash(size_t index) const;
    int32_t totalUseCount() const { return totalUseCount_; }
    void clear();

    void setMaxRecordSize(int size) { maxRecordSize_ = size; }
    // Equal texts share an entry unless this is switched off.
    void setSearchEqual(bool on) { searchEqual_ = on; }

    // Reads an SST record and its CONTINUE records; the stream stands at the SST header. A
    // table that ends before its stated count at a record boundary keeps what it holds, and
    // the stream is left at the record after it. Damage inside a string raises XlsError;
    // entries read before the error stay.
    void read(XlsStream& stream);
    // Where a string begins in the written records: its byte offset from the start of the
    // SST record's header, and from the start of the header of the record that holds it.
    struct Place {
        uint64_t offset = 0;
        uint16_t inRecord = 0;
    };
    // Writes the table as an SST record with as many CONTINUE records as the maximum record
    // size requires; the place of every string goes into places when given.
    void write(XlsStream& stream, std::vector<Place>* places = nullptr) const;

private:
    // Where the runs and the phonetic data of a read entry are in the pool.
    struct Extras {
        uint32_t index = 0;
        uint32_t runsAt = 0, runsSize = 0; // 4 bytes a run
        uint32_t phoneticAt = 0, phoneticSize = 0;
    };

    int32_t add(bool wide, std::string_view chars);
    int32_t addRich(bool wide, std::string_view chars, std::string_view runs);
    void append(const Entry& entry, int32_t useCount);
    const Extras* extrasOf(size_t index) const;
    uint32_t toPool(std::string_view bytes);
    std::u16string wideText(const Entry& entry) const;
    void indexEntries();
    static uint64_t keyHash(bool wide, std::string_view chars);
    int32_t findEqual(bool wide, std::string_view chars, uint64_t hash) const;
    void insertIndex(uint64_t hash, int32_t index);

    std::vector<Entry> entries_;
    std::vector<int32_t> useCounts_;
    std::vector<Extras> extras_; // in index order
    std::string pool_;
    // An open-addressed index of the first entry of each text: a slot holds the text's hash
    // in its high half and the entry index + 1 in its low half, 0 when free.
    std::vector<uint64_t> slots_;
    size_t slotsUsed_ = 0;
    size_t indexed_ = 0; // entries_[0, indexed_) are in the index
    int32_t totalUseCount_ = 0;
    int maxRecordSize_ = 8224;
    bool searchEqual_ = true;
};

} // namespace xls
