#include "core/presort/FiveDigitLevel.h"
#include "app/RunGuarded.h"
#include "core/MailClass.h"
#include "core/presort/PresortDriver.h"
#include "platform/fs/AtomicFile.h"
#include "tests/core/presort/PresortHarness.h"
#include "tests/support/MailingOf.h"
#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::column;
using test::containerNumbers;
using test::labels;
using test::ownerNumbers;
using test::PresortHarness;
using Flags = std::vector<bool>;

namespace {

// The 5-digit level alone, for mailings the later levels would finish.
void build5Digit(PresortHarness& h) {
    Build5DigitLevel(h.presort());
}

} // namespace

TEST(MailClass, TwelveCodesFromCategoryAndSize) {
    MailTypeSettings lines(SettingsList(std::vector<std::string>(10, "0")));
    auto code = [&](int category, int size) {
        lines[MailTypeSettings::Category] = std::to_string(category);
        lines[MailTypeSettings::SizeCategory] = std::to_string(size);
        return std::string(lines.mailClass().value().code());
    };
    const char* letters[] = {"RML", "RNML", "RNAF", "RAL", "RCOF", "PNAL", "PAL", "PCOF", "FAL"};
    const char* flats[] = {"RML", "RNML", "RNAF", "RAF", "RCOF", "PNAF", "PAF", "PCOF", "FAL"};
    for (int category = 0; category <= 8; ++category) {
        EXPECT_EQ(code(category, 0), letters[category]);
        EXPECT_EQ(code(category, 1), flats[category]);
    }
}

TEST(MailClass, UndefinedCategoryRefusesTheSortNamingTheFile) {
    PresortHarness h;
    h.pieces("01234x200");
    h.mailType({{1, "9"}});
    h.work.mailClass = MailClass::RAL;
    EXPECT_FALSE(runGuarded(h.ctx, [&] { test::runPresort(h.work, h.ctx); }));
    EXPECT_EQ(h.work.mailClass, MailClass::RAL) << "an earlier sort's class stays";
    ASSERT_EQ(h.env.ui.messages().size(), 1u);
    EXPECT_NE(h.env.ui.messages()[0].text.find("mailtype.dat"), std::string::npos);
    EXPECT_TRUE(h.work.tables.containers.empty()) << "nothing was sorted";
}

TEST(FiveDigitLevel, AutomationLettersNeed150PiecesForAGroupAndTray) {
    PresortHarness few;
    few.mailClass(3, 0);
    few.pieces("01234x149");
    build5Digit(few);
    EXPECT_TRUE(few.work.tables.sortGroups.empty());
    EXPECT_EQ(ownerNumbers(few.work.tables), (std::vector<int32_t>{0}));
    test::runPresort(few.work, few.ctx);
    EXPECT_EQ(test::levelTexts(few.work.tables), (std::vector<std::string>{"Mixed AADC"}))
        << "149 pieces go on to the mixed tray";
    few.expectConsistent();

    PresortHarness enough;
    enough.mailClass(3, 0);
    enough.pieces("01234x150@SPRINGFIELD MA");
    test::runPresort(enough.work, enough.ctx);
    EXPECT_EQ(test::levelTexts(enough.work.tables), (std::vector<std::string>{"5-Digit"}));
    EXPECT_EQ(labels(enough.work.tables.containers),
              (std::vector<std::string>{"SPRINGFIELD MA 01234"}));
    EXPECT_EQ(labels(enough.work.tables.sortGroups), (std::vector<std::string>{"5D 01234"}));
    enough.expectConsistent();
}

TEST(FiveDigitLevel, CoSackedPiecesWithAndWithoutZip4ShareOneSack) {
    PresortHarness h;
    h.mailClass(4, 1);
    h.pieces("01234x70, -01234x60");
    test::runPresort(h.work, h.ctx);
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::zip), (std::vector<int32_t>{1234, -1234}));
    EXPECT_EQ(labels(t.sortGroups), (std::vector<std::string>{"5D 01234", "5D 01234"}));
    EXPECT_EQ(column(t.sortGroups, &SortGroup::nonbarcoded), (Flags{false, true}));
    EXPECT_EQ(containerNumbers(t), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(column(t.containers, &Container::pieces), (std::vector<int32_t>{130}));
    EXPECT_EQ(test::levelTexts(t), (std::vector<std::string>{"3/5-Digit"}));
    h.expectConsistent();
}

TEST(FiveDigitLevel, MachinableLettersCutTraysAndUseTheOneFootMinimum) {
    PresortHarness mm;
    mm.mailClass(0, 0);
    mm.mailType({{6, "402"}, {7, "500"}, {8, "0"}});
    mm.pieces("01234x600");
    build5Digit(mm);
    const WorkTables& t = mm.work.tables;
    EXPECT_EQ(column(t.sortGroups, &SortGroup::pieces), (std::vector<int32_t>{500, 100}));
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::pieces), (std::vector<int32_t>{500, 100}));
    EXPECT_EQ(ownerNumbers(t), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(containerNumbers(t), (std::vector<int32_t>{1, 0}))
        << "100 is below the one-foot minimum of 196";

    PresortHarness emm;
    emm.mailClass(0, 0);
    emm.mailType({{6, "402"}, {7, "500"}, {8, "1"}});
    emm.pieces("01234x300");
    build5Digit(emm);
    EXPECT_EQ(column(emm.work.tables.sortGroups, &SortGroup::pieces), (std::vector<int32_t>{300}));
    EXPECT_TRUE(emm.work.tables.containers.empty());
}

TEST(FiveDigitLevel, NonmachinableTrayNeedsA150PieceArea) {
    // The area holds the 140-piece group plus the unplaced ZIP groups of the prefix when
    // those reach the group minimum of 10.
    for (auto [description, trays] : {std::pair{"01234x140, 01235x5, 01236x4", 0u},
                                      std::pair{"01234x140, 01235x5, 01236x5", 1u}}) {
        PresortHarness h;
        h.mailClass(1, 0);
        h.mailType({{6, "120"}, {7, "500"}, {8, "1"}});
        h.pieces(description);
        build5Digit(h);
        EXPECT_EQ(h.work.tables.containers.size(), trays) << description;
        if (trays == 1) {
            EXPECT_EQ(levelText(h.work.tables.containers[0].level), "3/5-Digit");
        }
    }
}

TEST(FiveDigitLevel, TagLinesUseUniqueCityLabelsOrTheFirstRecordsCity) {
    PresortHarness h;
    h.mailClass(3, 0);
    h.pieces("01150x150@WESTFIELD MA, 01234x1, 01234x149@springfield ma, 01300x150@springfield ma");
    test::runPresort(h.work, h.ctx);
    EXPECT_EQ(labels(h.work.tables.containers),
              (std::vector<std::string>{"SPRINGFIELD MA 01150", "<<CITY NOT READ>> 01234",
                                        "SPRINGFIELD MA 01300"}))
        << "011 is a unique-city prefix; 01234's first record has no city";
}

TEST(FiveDigitLevel, TrayCutLeavesTheHighestZipsTheirGroups) {
    PresortHarness h;
    h.mailClass(0, 0);
    h.mailType({{6, "402"}, {7, "500"}, {8, "0"}});
    h.pieces("01234x1100, 75201x240, 96801x230, 96802x200");
    build5Digit(h);
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::zip),
              (std::vector<int32_t>{1234, 1234, 1234, 75201, 96801, 96802}));
    EXPECT_EQ(column(t.zipGroups, &ZipGroup::pieces),
              (std::vector<int32_t>{500, 500, 100, 240, 230, 200}));
    EXPECT_EQ(ownerNumbers(t), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(labels(t.sortGroups), (std::vector<std::string>{"5D 01234", "5D 01234", "5D 01234",
                                                              "5D 75201", "5D 96801", "5D 96802"}));
    EXPECT_EQ(containerNumbers(t), (std::vector<int32_t>{1, 2, 0, 3, 4, 5}));
}

TEST(FiveDigitLevel, CompactionKeepsGroupsWithTraysAndTheirFlags) {
    PresortHarness h;
    h.mailClass(0, 0);
    h.mailType({{6, "402"}, {7, "500"}, {8, "0"}});
    h.pieces("01234x600, 75201x240");
    build5Digit(h);
    h.work.tables.sortGroups[2].nonbarcoded = true; // a mark that must follow its group
    CompactSortGroups(h.presort());
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(column(t.sortGroups, &SortGroup::pieces), (std::vector<int32_t>{500, 240}));
    EXPECT_EQ(column(t.sortGroups, &SortGroup::nonbarcoded), (Flags{false, true}));
    EXPECT_EQ(ownerNumbers(t), (std::vector<int32_t>{1, 0, 2}));
    EXPECT_EQ(h.work.counters.piecesDone, h.work.counters.placedPieces);
}

TEST(PresortDriver, SavesTheSortResultFileOfAFiveDigitSort) {
    PresortHarness h;
    h.mailClass(3, 0);
    h.pieces("01234x150@SPRINGFIELD MA, !75201x1@DALLAS TX, 75201x160@DALLAS TX, 01150x152");
    test::runPresort(h.work, h.ctx);
    EXPECT_EQ(platform::readFileBytes(h.ctx.sortResultPath()).value_or("<none>"),
              platform::readFileBytes(test::fixturePath("presort/ral-5digit.qlPrint")).value());
}

TEST(PresortDriver, PiecesBelowTheFiveDigitMinimumGoOnToTheLaterLevels) {
    PresortHarness h;
    h.mailClass(2, 1);
    h.pieces("01234x200, 75201x40");
    test::runPresort(h.work, h.ctx);
    const WorkTables& t = h.work.tables;
    EXPECT_EQ(column(t.containers, &Container::pieces), (std::vector<int32_t>{200, 40}));
    EXPECT_EQ(test::levelTexts(t), (std::vector<std::string>{"3/5-Digit", "Basic"}))
        << "the 40 pieces lie in the mailer's own SCF";
    EXPECT_TRUE(platform::readFileBytes(h.ctx.sortResultPath()).has_value());
    h.expectConsistent();
}
