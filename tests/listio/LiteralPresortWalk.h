#pragma once

#include "listio/PresortOrder.h"
#include "tests/support/MailingOf.h"

#include <vector>

namespace quillan::test {

// The presort order walked the plain way: for every tray, every sort group in it, every
// ZIP group of that sort group, a scan of the whole list from the first record (started
// again once the group's in-county pieces are taken). Slow, and kept only as the reference
// the indexed walk must agree with.
std::vector<PlacedPiece> literalPresortOrder(const TestMailing& mailing,
                                             const SettingsLists& lists);

} // namespace quillan::test
