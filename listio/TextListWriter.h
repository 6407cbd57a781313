#pragma once

#include "listio/SortWriterSupport.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quillan {

struct ListFormat;

// One record of a text list with its tray, package and endorsement values: put into the
// list's own output fields where it has them, else added after its fields in the list's
// own form. Every other field keeps its bytes, and a record with more fields than the
// list's count keeps them all.
class TextRecordJoiner {
public:
    TextRecordJoiner(const ListFormat& format, int fieldCount, const ListState& roles);

    std::string join(const std::string& line, const std::string& tray, const std::string& package,
                     const std::string& endorsement);
    // The header line of a merge or bar list with the names of the fields it gains.
    std::string header(const std::string& headerLine) const;
    // Where the records joined so far hold their tray, package and endorsement, counted
    // from 1 ("fields 9 to 11"); empty when nothing was joined or the places cannot be said.
    std::string placesWritten() const;

private:
    bool commaFields() const;
    bool anyColumn() const;
    bool anyNameGained() const;
    int ownFieldCount(const std::string& line) const;
    void notePlaces(const std::array<int, 3>& places);
    void keepFieldsOf(const std::string& line);
    std::string emptyField() const;
    std::string joinFields() const;

    const ListFormat& format_;
    int fieldCount_;
    int columns_[3];
    std::vector<std::string> fields_;          // as written
    std::vector<std::string> texts_;           // as read, for a field written afresh
    std::optional<std::array<int, 3>> places_; // of the first record joined
    bool placesDiffer_ = false;
};

// Rewrites the text list in presort order, each record with its values, the records that
// were not placed after them with zeros. The list is replaced only when all of it was
// written, and only while it still holds what was read; otherwise the user is told and
// nothing changes.
std::optional<ClosingMessage> WriteTextList(const SortInformationJob& job, Notices& notices,
                                            WriterProgress& progress);

} // namespace quillan
