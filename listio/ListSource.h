#pragma once

#include "listio/FieldRoles.h"

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace quillan {

// One record as a list source hands it out.
struct ListRecord {
    std::vector<std::string> fields;
    // The text line of a text list, as read.
    std::string line;
    // A dBase record marked deleted.
    bool deleted = false;

    // Fills a record of a table, which has no line and no deleted mark: fields 0 .. wanted - 1
    // from `text`, and any fields left from a longer record read before emptied. `text` is
    // called with the field's index and returns its text, or puts it into the field given
    // with the index, whose room then serves record after record.
    template <typename FieldText>
    void fillFields(int wanted, FieldText text) {
        const size_t count = static_cast<size_t>(std::max(wanted, 0));
        fields.resize(std::max(fields.size(), count));
        for (size_t c = 0; c < fields.size(); ++c) {
            if (c >= count)
                fields[c].clear();
            else if constexpr (std::is_invocable_v<FieldText, int, std::string&>)
                text(static_cast<int>(c), fields[c]);
            else
                fields[c] = text(static_cast<int>(c));
        }
        line.clear();
        deleted = false;
    }
};

// Where the records of a mailing list come from. Each kind of list has its own source (text
// lists and dBase tables read their files, Access tables and Excel sheets their
// components), and the field identification, its dialog and the record reader only ever
// ask a source.
class ListSource {
public:
    virtual ~ListSource() = default;

    // The field names of a list that has them (header line, descriptors), else nothing.
    virtual std::vector<std::string> fieldNames() = 0;
    // Reads record k (1-based) with its first `fields` fields as the file holds them; false
    // past the last record. Reading record k + 1 after record k is the cheap case. Throws
    // ListFileError when the file cannot be read.
    virtual bool read(long k, int fields, ListRecord& record) = 0;
    // From now on records are read for these roles: a source whose fields can hold numbers
    // gives a number in a ZIP field the leading zeros its digits lost, and a worksheet whose
    // first row names the fields skips that row. Returns how many of the records counted
    // were such names, not records.
    virtual long readFor(const FieldRoles&) { return 0; }
    // The line that describes a list file of fixed fields before its records (the header of
    // a PAVE file), as read; "" for a list without one.
    virtual std::string describingLine() { return {}; }
};

} // namespace quillan
