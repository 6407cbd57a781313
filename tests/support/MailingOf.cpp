#include "tests/support/MailingOf.h"

#include "core/presort/PresortDriver.h"

namespace quillan::test {

namespace {

void keep(TestMailing& mailing, const SortedMailing& sorted) {
    mailing.tables = {sorted.pieces(), sorted.cities(), sorted.zipGroups(), sorted.sortGroups(),
                      sorted.containers()};
    mailing.counters = sorted.counters();
    mailing.mailClass = sorted.mailClass();
}

} // namespace

SortedMailing mailingOf(const TestMailing& mailing, const SettingsLists& lists) {
    return SortedMailing(Mailing{mailing.tables, mailing.counters}, mailing.mailClass, lists);
}

SortedMailing runPresort(TestMailing& mailing, AppContext& ctx) {
    SortedMailing sorted =
        RunPresort(Mailing{mailing.tables, mailing.counters}, ctx.lists, ctx.progress());
    SaveSortResults(sorted, ctx.sortResultPath());
    keep(mailing, sorted);
    return sorted;
}

std::optional<SortedMailing> loadSortResults(TestMailing& mailing, AppContext& ctx,
                                             SortResultPart part) {
    try {
        SortedMailing loaded = LoadSortResults(ctx.sortResultPath(), part, ctx.lists);
        keep(mailing, loaded);
        return loaded;
    } catch (const SortResultError&) {
        return std::nullopt;
    }
}

} // namespace quillan::test
