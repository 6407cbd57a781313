#pragma once

#include "core/SortedMailing.h"
#include "printouts/PageLayout.h"

#include <string>

namespace quillan {

// The table of the records whose ZIP codes were refused, below the pen: each record's ZIP as
// it was read, its number in the list, whether it is in the mailing and the problem; or, with
// none, "No problems were noted.". Starts the next page where the table or a row would run
// off this one, and stops at the To page.
void PrintRejectedZips(PageLayout& page, const SortedMailing& mailing);

// One row's texts: the ZIP ("00123"; a form error keeps the digits as read), "rejected" or
// "included", and the problem.
struct RejectedZipRow {
    std::string zip;
    std::string inMailing;
    std::string problem;
};
RejectedZipRow rejectedZipRow(const Piece& piece);

} // namespace quillan
