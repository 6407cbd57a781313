#include "tests/support/MailingOf.h"

#include "core/presort/PresortDriver.h"

namespace quillan::test {

namespace {

void keepInContext(AppContext& ctx, const SortedMailing& mailing) {
    ctx.tables = mailing.tables();
    ctx.counters = mailing.counters();
    ctx.mailClass = mailing.mailClass();
}

} // namespace

SortedMailing mailingOf(const AppContext& ctx) {
    return SortedMailing(Mailing{ctx.tables, ctx.counters}, ctx.mailClass, ctx.lists);
}

SortedMailing runPresort(AppContext& ctx) {
    SortedMailing sorted = RunPresort(Mailing{ctx.tables, ctx.counters}, ctx.lists, ctx.progress());
    SaveSortResults(sorted, ctx.sortResultPath());
    keepInContext(ctx, sorted);
    return sorted;
}

std::optional<SortedMailing> loadSortResults(AppContext& ctx, SortResultPart part) {
    try {
        SortedMailing loaded = LoadSortResults(ctx.sortResultPath(), part, ctx.lists);
        keepInContext(ctx, loaded);
        return loaded;
    } catch (const SortResultError&) {
        return std::nullopt;
    }
}

} // namespace quillan::test
