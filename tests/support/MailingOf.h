#pragma once

#include "app/AppContext.h"
#include "core/MailClass.h"
#include "core/Mailing.h"
#include "core/SortResults.h"
#include "core/SortedMailing.h"

#include <optional>

namespace quillan::test {

// A mailing a test builds, presorts or reads back by hand, with the class it is sorted
// under: what the sort command holds for its run.
struct TestMailing : Mailing {
    MailClass mailClass;
};

// A copy of the test's mailing as a finished sort, under its class and the lists.
SortedMailing mailingOf(const TestMailing& mailing, const SettingsLists& lists);

// Presorts the mailing under the context's lists as the sort command does, saving the
// context's sort-result file, and leaves the finished sort in the mailing as well.
SortedMailing runPresort(TestMailing& mailing, AppContext& ctx);

// The context's sort-result file read back as a reprint reads it, and put into the mailing
// as well; nothing when it is refused (the mailing is then as it was).
std::optional<SortedMailing> loadSortResults(TestMailing& mailing, AppContext& ctx,
                                             SortResultPart part = SortResultPart::Complete);

} // namespace quillan::test
