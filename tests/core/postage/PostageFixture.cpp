#include "tests/core/postage/PostageFixture.h"
#include "tests/support/MailingOf.h"

#include "tests/support/SortTables.h"

#include <cstdio>

namespace quillan::test {

PostageFixture::PostageFixture() : env(geographyFolder()), ctx(env.context()) {
    env.load();
    work.tables.seed(false);
    payment("0");
}

void PostageFixture::indexRates() {
    for (long line = 1; line <= RateTable::LastRate; ++line) {
        char text[16];
        std::snprintf(text, sizeof text, "%.4f", line / 10000.0);
        rate(line, text);
    }
}

int32_t PostageFixture::container(int32_t pieces, std::string label, std::string entry,
                                  std::string level) {
    addContainer(work.tables, pieces, label, entry, level);
    return static_cast<int32_t>(work.tables.containerRows()) - 1;
}

int32_t PostageFixture::group(int32_t pieces, std::string label, int32_t container,
                              bool nonbarcoded) {
    addSortGroup(work.tables, nonbarcoded ? 1 : 0, pieces, label, container);
    return static_cast<int32_t>(work.tables.sortGroupRows()) - 1;
}

void PostageFixture::zipGroup(int32_t zip, int32_t pieces, int32_t inCounty, int32_t owner) {
    WorkTables& t = work.tables;
    t.insertZipGroup(t.zipGroupRows(), zip, pieces, inCounty, owner);
}

int32_t PostageFixture::groupOfZip(int32_t zip, int32_t pieces, std::string label,
                                   int32_t container, int32_t inCounty, bool nonbarcoded) {
    int32_t g = group(pieces, std::move(label), container, nonbarcoded);
    zipGroup(zip, pieces, inCounty, g);
    return g;
}

SortedMailing PostageFixture::mailing() {
    const WorkTables& t = work.tables;
    MailingCounters& c = work.counters;
    c.containerCount = static_cast<int32_t>(t.containerRows());
    c.sortGroupCount = static_cast<int32_t>(t.sortGroupRows());
    c.zipGroupCount = static_cast<int32_t>(t.zipGroupRows()) - 1;
    c.recordCount = 0;
    for (size_t z = 1; z < t.zipGroupRows(); ++z)
        c.recordCount += t.zipGroupPieces[z];
    c.rejectedCount = 0;
    return test::mailingOf(work, ctx.lists);
}

} // namespace quillan::test
