// Whole presorts on the test geography compared byte for byte with sort-result files
// worked out by hand (tests/fixtures/presort/README says how each was checked). With
// QUILLAN_WRITE_GOLDEN set, a differing file is rewritten instead, for a new check by hand.

#include "core/presort/PresortDriver.h"
#include "platform/fs/AtomicFile.h"
#include "tests/core/presort/PresortHarness.h"
#include "tests/support/MailingOf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using namespace quillan;
using test::PresortHarness;

namespace {

struct Scenario {
    const char* file;
    int category, size;
    const char* pieces;
    std::function<void(PresortHarness&)> settings;
};

const Scenario scenarios[] = {
    {"rcof-cosacked.qlPrint", 4, 1,
     "01234x70, -01234x60, 14001x9, 14101x9, 14201x9, 14301x9, -14002x9, -14102x9, -14202x9, "
     "-14302x9, 09001x3, -09002x4",
     [](PresortHarness& h) {
         h.mailType({{4, "1"}, {5, "4"}});
     }},
    {"rnml-adc-cut.qlPrint", 1, 0,
     "14000x5, 14001x5, 14002x5, 14003x5, 14004x5, 14005x5, 14006x5, 14007x5, 14008x5, "
     "14009x5, 14010x5, 14011x5, 14012x5, 14013x5, 14014x5, 14015x5, 14016x5, 14017x5, "
     "14018x5, 14019x5, 14020x5, 14021x5, 14022x5, 14023x5, 14024x5, 14025x5, 14026x5, "
     "14027x5, 14100x25, 14101x25, 14200x50, 14201x60",
     [](PresortHarness& h) {
         h.mailType({{6, "402"}, {7, "510"}, {8, "0"}});
     }},
    {"pnaf-scf.qlPrint", 5, 1, "14001x14, 14101x12, 15001x5, 15101x5, 75001x8, 75101x2, 75201x3",
     [](PresortHarness& h) {
         h.ctx.lists.periodicalList[6] = "24";
         h.ctx.lists.mailerList[3] = "75001";
     }},
    {"ral-scheme-aadc.qlPrint", 3, 0,
     "75001x70, 75201x30, 96701x60, 96901x100, 14001x100, 14201x50", [](PresortHarness&) {}},
    {"rml-bmc-entry.qlPrint", 0, 0, "01234x120, 01235x40, 75001x5, 75002x3",
     [](PresortHarness& h) {
         h.mailType({{6, "120"}, {8, "1"}});
         h.ctx.lists.mailerList[4] = "2";
     }},
};

} // namespace

TEST(GoldenScenarios, SortResultsMatchTheHandCheckedFiles) {
    for (const Scenario& s : scenarios) {
        PresortHarness h;
        s.settings(h);
        h.mailClass(s.category, s.size);
        h.pieces(s.pieces);
        test::runPresort(h.work, h.ctx);
        h.expectConsistent();
        std::string actual = platform::readFileBytes(h.ctx.sortResultPath()).value_or("<none>");
        std::string path = test::fixturePath(std::string("presort/") + s.file);
        std::string expected = platform::readFileBytes(path).value_or("<missing>");
        if (actual != expected && std::getenv("QUILLAN_WRITE_GOLDEN"))
            platform::writeFileAtomically(path, actual);
        EXPECT_EQ(actual, expected) << s.file;
    }
}
