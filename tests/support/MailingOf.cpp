#include "tests/support/MailingOf.h"

namespace quillan::test {

SortedMailing mailingOf(const AppContext& ctx) {
    return SortedMailing(ctx.tables, ctx.counters, ctx.mailClass, ctx.lists);
}

} // namespace quillan::test
