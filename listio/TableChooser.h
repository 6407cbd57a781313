#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quillan {

struct ListFormat;

// The person who picks the table of an Access database or the worksheet of an Excel
// workbook that holds the mailing list, when the file has more than one and the command
// line names none of them: the table selector.
class TableChooser {
public:
    virtual ~TableChooser() = default;
    // `format` is the list's format (its part name says what the names are), `names` the
    // tables or sheets in the file's order. The index of the one chosen, or nothing when
    // the person cancelled.
    virtual std::optional<size_t> choose(const ListFormat& format,
                                         const std::vector<std::string>& names) = 0;
};

} // namespace quillan
