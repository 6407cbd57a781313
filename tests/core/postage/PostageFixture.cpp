#include "tests/core/postage/PostageFixture.h"
#include "tests/support/MailingOf.h"

#include "tests/support/SortTables.h"

#include <cstdio>

namespace quillan::test {

PostageFixture::PostageFixture() : env(geographyFolder()), ctx(env.context()) {
    env.load();
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
    work.tables.containers.push_back(test::container(pieces, label, entry, level));
    return static_cast<int32_t>(work.tables.containers.size()) - 1;
}

int32_t PostageFixture::group(int32_t pieces, std::string label, int32_t container,
                              bool nonbarcoded) {
    SortGroup group = sortGroup(label, pieces, 0, nonbarcoded);
    group.container = container;
    work.tables.sortGroups.push_back(group);
    return static_cast<int32_t>(work.tables.sortGroups.size()) - 1;
}

void PostageFixture::zipGroup(int32_t zip, int32_t pieces, int32_t inCounty, int32_t owner) {
    work.tables.zipGroups.push_back({zip, pieces, inCounty, owner});
}

int32_t PostageFixture::groupOfZip(int32_t zip, int32_t pieces, std::string label,
                                   int32_t container, int32_t inCounty, bool nonbarcoded) {
    int32_t g = group(pieces, std::move(label), container, nonbarcoded);
    zipGroup(zip, pieces, inCounty, g);
    return g;
}

SortedMailing PostageFixture::mailing() {
    work.tables.pieces.clear();
    for (const ZipGroup& zip : work.tables.zipGroups)
        work.tables.pieces.resize(work.tables.pieces.size() + static_cast<size_t>(zip.pieces));
    work.counters.rejectedCount = 0;
    return test::mailingOf(work, ctx.lists);
}

} // namespace quillan::test
