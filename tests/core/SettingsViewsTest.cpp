// The typed views of the settings files: what each named line gives, and that a value is
// converted only when it is read.

#include "core/Convert.h"
#include "core/presort/PresortDriver.h"
#include "tests/core/presort/PresortHarness.h"
#include "tests/support/MailingOf.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <set>

using namespace quillan;

TEST(SettingsViews, NamedLinesGiveTheirValues) {
    MailTypeSettings mailType(
        SettingsList({"", "6", "2", "0", "1", "2.5", "120", "504", "1", "70"}));
    EXPECT_EQ(mailType.mailClass(), MailClass::PAL);
    EXPECT_TRUE(mailType.isPeriodicals());
    EXPECT_TRUE(mailType.isAutomation());
    EXPECT_FALSE(mailType.isCoSacked());
    EXPECT_EQ(mailType.rateCategory(), 2);
    EXPECT_TRUE(mailType.hasExactWeight());
    EXPECT_DOUBLE_EQ(mailType.pieceWeight(), 2.5);
    EXPECT_EQ(mailType.packageFigure(), 120);
    EXPECT_EQ(mailType.fullTray(), 504);
    EXPECT_FALSE(mailType.mmTrays());
    EXPECT_DOUBLE_EQ(mailType.sackMaxPounds(), 70.0);

    MailerSettings mailer(SettingsList({"", "DALLAS", "TX", "75201", "2"}));
    EXPECT_EQ(mailer.zipPrefix(), 752);
    EXPECT_TRUE(mailer.entersAtBmc());
    EXPECT_FALSE(mailer.entersAtScf());

    Preferences prefs(SettingsList({"", "0", "1", "1", "0", "1"}));
    EXPECT_TRUE(prefs.addMissingLines());
    EXPECT_TRUE(prefs.writesSeparateFile());
    EXPECT_TRUE(prefs.asksSeparateFileName());
    EXPECT_TRUE(prefs.commaSeparateFile());
    EXPECT_FALSE(prefs.rejectsMissingZip4());
    for (AfterSortReport report : AfterSortReports)
        EXPECT_TRUE(prefs.printsAfterSort(report)) << "older files print every report";
    prefs.setPrintsAfterSort(AfterSortReport::Tags, false);
    EXPECT_EQ(prefs.lines()[9], "f");
    prefs.setLastList("/lists/a.txt");
    EXPECT_EQ(prefs.lines()[10], "/lists/a.txt");
    EXPECT_FALSE(prefs.addMissingLines()) << "a complete file gains nothing";

    EXPECT_EQ(RateTable::line(RateTable::StandardNonprofit, RateTable::PiecePoundRates), 79);
    EXPECT_EQ(RateTable::line(RateTable::PeriodicalAgriculture, 22), RateTable::LastRate);
}

// The first four reports keep lines 6 to 9; one added later takes a line after the last
// list, so that ticking it never overwrites the list's path.
TEST(SettingsViews, LaterReportsNeverTakeTheLastListLine) {
    std::set<long> taken;
    for (int i = 0; i < 8; ++i) {
        const long line = Preferences::lineOf(static_cast<AfterSortReport>(i));
        EXPECT_EQ(line, i < 4 ? Preferences::FirstReport + i : Preferences::LastList + i - 3) << i;
        EXPECT_TRUE(taken.insert(line).second) << "report " << i << " shares line " << line;
    }
    EXPECT_EQ(taken.count(Preferences::LastList), 0u);

    const auto later = static_cast<AfterSortReport>(AfterSortReports.size());
    Preferences prefs(
        SettingsList({"", "0", "1", "1", "0", "1", "t", "f", "t", "f", "/lists/a.txt", "f", "f"}));
    prefs.setPrintsAfterSort(later, true);
    EXPECT_TRUE(prefs.printsAfterSort(later));
    EXPECT_EQ(prefs.lastList(), "/lists/a.txt");
    EXPECT_FALSE(prefs.printsAfterSort(AfterSortReport::Tags));
}

TEST(SettingsViews, AMalformedLineFailsOnlyWhereItIsRead) {
    test::TestEnvironment env;
    env.writeTable("mailtype.dat", "\r\nx\r\n0\r\n0\r\n0\r\n\r\n120\r\n504\r\n0\r\n");
    SettingsList lines;
    lines.loadFromFile(env.tablesFolder() + "mailtype.dat");
    MailTypeSettings mailType(std::move(lines));
    EXPECT_FALSE(mailType.mailClass()) << "a category that is no number names no class";
    EXPECT_THROW(mailType.pieceWeight(), ConvertError);
    try {
        (void)mailType.sackMaxPounds();
        FAIL() << "line 9 is missing";
    } catch (const ListIndexError& e) {
        EXPECT_EQ(e.index(), 9);
        EXPECT_EQ(e.fileName(), env.tablesFolder() + "mailtype.dat");
    }
}

TEST(SettingsViews, ALetterMailingSortsWhateverTheSackWeightSays) {
    test::PresortHarness letters;
    letters.mailClass(3, 0);
    letters.mailType({{9, "heavy"}});
    letters.pieces("01234x200");
    test::runPresort(letters.work, letters.ctx);
    EXPECT_EQ(letters.placedPieces(), 200);

    test::PresortHarness flats;
    flats.mailClass(3, 1);
    flats.mailType({{9, "heavy"}});
    flats.pieces("01234x200");
    EXPECT_THROW(test::runPresort(flats.work, flats.ctx), ConvertError)
        << "flats weigh their sacks";
}
