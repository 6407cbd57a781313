#pragma once

#include "core/SortedMailing.h"

#include <stdexcept>
#include <string>

namespace quillan {

// Writes the counters, the container, sort-group and ZIP-group tables and the rejected
// records of a finished sort to the sort-result file at `path`, so that reports and tags
// can be printed again without sorting anew. Throws FileError when the file cannot be
// written (the previous file is then left as it was).
void SaveSortResults(const SortedMailing& mailing, const std::string& path);
// What that file holds for this sort.
std::string SortResultBytes(const SortedMailing& mailing);

// How much of the sort-result file a reprint needs: everything, or only the header and the
// trays and sacks, for the tags.
enum class SortResultPart { Complete, Labels };

// Why the sort-result file cannot be used: there is none, or it does not hold a whole,
// consistent result. The text is the user's message.
class SortResultError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the sort-result file at `path` back: the class, the counters and the tables `part`
// names, under the given settings. Throws SortResultError when there is no file, or when
// it cannot be read or does not hold a whole, consistent result.
SortedMailing LoadSortResults(const std::string& path, SortResultPart part,
                              const SettingsLists& lists);

// The answer of a reprint command when no sort has left its results.
extern const char* const NoSortResultsMessage;

} // namespace quillan
