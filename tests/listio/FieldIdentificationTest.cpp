// Finding the field roles: keywords, the content guess and its vote, and the checks.

#include "listio/FieldChecks.h"
#include "listio/FieldGuess.h"
#include "listio/ListKinds.h"
#include "tests/listio/ListTestSupport.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;

namespace {

ListState keywords(std::vector<std::string> names) {
    ListState s;
    applyFieldKeywords(s, names);
    adjustZipRoles(s);
    return s;
}

ListState guess(std::vector<std::vector<std::string>> records, int fields) {
    ListState s;
    guessFieldsFromContent(s, records, fields);
    adjustZipRoles(s);
    return s;
}

} // namespace

TEST(FieldKeywords, ZipWithZip4GivesTheParts) {
    ListState s = keywords({"NAME", "ZIP", "ZIP4", "CITY", "STATE"});
    EXPECT_EQ(s.Zip5Column, 1);
    EXPECT_EQ(s.Zip4Column, 2);
    EXPECT_EQ(s.ZipColumn, -1);
    EXPECT_EQ(s.CityColumn, 3);
    EXPECT_EQ(s.StateColumn, 4);
}

TEST(FieldKeywords, LaterKeywordWinsAndWholeZipDropsTheParts) {
    ListState s = keywords({"ZIP+4", "NAME", "ZIP"});
    EXPECT_EQ(s.ZipColumn, 2);
    s = keywords({"ZIP CODE", "CITY, ST", "SACK", "USER8", "OEL", "SEQUENCE", "COUNTY"});
    EXPECT_EQ(s.ZipColumn, 0);
    EXPECT_EQ(s.CityStateColumn, 1);
    EXPECT_EQ(s.TrayColumn, 2);
    EXPECT_EQ(s.PackageColumn, 3);
    EXPECT_EQ(s.EndorsementColumn, 4);
    EXPECT_EQ(s.SortColumn, 5);
    EXPECT_EQ(s.CountyColumn, 6);
}

TEST(FieldGuess, VoteOfThree) {
    EXPECT_EQ(VoteOfThree(2, 2, -1), 2);
    EXPECT_EQ(VoteOfThree(1, 2, 3), -1);
    EXPECT_EQ(VoteOfThree(-1, -1, 4), -1);
    EXPECT_EQ(VoteOfThree(4, 1, 4), 4);
}

TEST(FieldGuess, FiveDigitColumnInTwoOfThreeRecordsIsTheZip) {
    ListState s = guess({{"ANN LEE", "DALLAS", "TX", "75201"},
                         {"BO DIAZ", "WACO", "TX", "7670"},
                         {"CY ROSS", "AUSTIN", "TX", "78701"}},
                        4);
    EXPECT_EQ(s.ZipColumn, 3);
    EXPECT_EQ(s.StateColumn, 2);
    EXPECT_EQ(s.CityColumn, 1);
}

TEST(FieldGuess, TenCharacterZipNeedsADashNotABlank) {
    ListState dash = guess({{"75201-1234"}, {"75201/1234"}, {"x"}}, 1);
    EXPECT_EQ(dash.ZipColumn, 0);
    ListState blank = guess({{"75201 1234"}, {"75201 1234"}, {"75201 1234"}}, 1);
    EXPECT_EQ(blank.ZipColumn, -1);
    ListState letter = guess({{"75201A1234"}, {"75201A1234"}, {""}}, 1);
    EXPECT_EQ(letter.ZipColumn, 0);
}

TEST(FieldGuess, CityStateFieldOnlyWithoutAStateField) {
    ListState s =
        guess({{"SAN ANTONIO, TX", "78205"}, {"EL PASO, TX", "79901"}, {"WACO, TX", "76701"}}, 2);
    EXPECT_EQ(s.CityStateColumn, 0);
    EXPECT_EQ(s.CityColumn, -1);
    ListState withState = guess({{"TX", "SAN ANTONIO, TX", "78205"},
                                 {"TX", "EL PASO, TX", "79901"},
                                 {"TX", "WACO, TX", "76701"}},
                                3);
    EXPECT_EQ(withState.CityStateColumn, -1);
    EXPECT_EQ(withState.StateColumn, 0);
}

TEST(FieldGuess, EndorsementLineHasTwoStars) {
    ListState s = guess({{"75201", "****** 3D 752"}, {"75202", "**5D"}, {"75203", "***"}}, 2);
    EXPECT_EQ(s.EndorsementColumn, 1);
}

namespace {

struct Checks : ListFixture {
    explicit Checks(std::vector<std::string> parameters = {}) : ListFixture(parameters) {}
    std::vector<std::string> run(const std::string& kind) { return checkFieldRoles(ctx(), kind); }
    ListState& roles() { return ctx().list; }
};

const char* noZip = "Quillan cannot proceed until you tell it which field(s) contains the zip "
                    "codes.";

} // namespace

TEST(FieldChecks, ZipCountyAndStateChecksReportTogether) {
    Checks c;
    c.setLine(&SettingsLists::MailTypeList, 1, "6");
    c.setLine(&SettingsLists::PeriodicalList, 4, "t");
    c.roles().Zip5Column = 1;
    EXPECT_EQ(c.run(KindComma),
              (std::vector<std::string>{
                  noZip,
                  "Quillan cannot proceed until you tell it which field contains the county "
                  "information.",
                  "Quillan cannot proceed until you tell it which field contains the state."}));
    c.roles().Zip4Column = 2;
    c.roles().CountyColumn = 3;
    c.roles().CityStateColumn = 4;
    EXPECT_TRUE(c.run(KindComma).empty());
    // Outside the Periodicals types the county and state are not needed.
    c.setLine(&SettingsLists::MailTypeList, 1, "2");
    c.roles() = ListState{};
    c.roles().ZipColumn = 0;
    EXPECT_TRUE(c.run(KindMerge).empty());
}

TEST(FieldChecks, DbaseOutputFieldsNeedWidthAndType) {
    Checks c;
    c.setLine(&SettingsLists::PrefsList, 2, "0");
    c.roles().ZipColumn = 0;
    c.roles().DbfFieldWidths = {10, 5, 6, 4, 19, 8};
    c.roles().DbfFieldTypes = {'C', 'C', 'N', 'C', 'C', 'D'};
    EXPECT_EQ(c.run(KindDbase), (std::vector<std::string>{
                                    "Quillan cannot proceed until you tell it in which field to "
                                    "put the sorting sequence number."}));
    c.roles().SortColumn = 1;
    EXPECT_EQ(c.run(KindDbase)[0], "The field you chose for the sorting information is too short. "
                                   "It must be able to hold at least 6 characters.");
    c.roles().SortColumn = 2;
    c.roles().TrayColumn = 3;
    EXPECT_EQ(c.run(KindDbase)[0], "The field you chose for the tray/sack number is too short. It "
                                   "must be able to hold at least 5 characters.");
    c.roles().TrayColumn = -1;
    c.roles().PackageColumn = 3;
    EXPECT_EQ(c.run(KindDbase)[0], "The field you chose for package number is too short. It must "
                                   "be able to hold at least 5 characters.");
    c.roles().PackageColumn = -1;
    c.roles().EndorsementColumn = 4;
    EXPECT_EQ(c.run(KindDbase)[0], "The field you chose for the endorsement line (OEL) is too "
                                   "short. It must be able to hold at least 20 characters.");
    c.roles().EndorsementColumn = -1;
    c.roles().TrayColumn = 5;
    EXPECT_EQ(c.run(KindDbase),
              (std::vector<std::string>{"The field you chose for the tray/sack number must be a "
                                        "character or numeric field."}));
    // Into a separate file: the list's own fields are not written.
    c.setLine(&SettingsLists::PrefsList, 2, "1");
    c.roles().SortColumn = 1;
    EXPECT_TRUE(c.run(KindDbase).empty());
}

TEST(FieldChecks, OutputFieldMayNotBeAnInputField) {
    Checks c;
    c.setLine(&SettingsLists::PrefsList, 2, "0");
    c.roles().ZipColumn = 0;
    c.roles().CityColumn = 1;
    c.roles().PackageColumn = 1;
    EXPECT_EQ(c.run(KindMerge),
              (std::vector<std::string>{"The field you chose for package number already holds the "
                                        "zip code, city, state or county. Please choose another "
                                        "field."}));
}
