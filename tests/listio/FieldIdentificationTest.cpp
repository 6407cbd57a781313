// Finding the field roles: keywords, the content guess and its vote, and the checks.

#include "listio/FieldChecks.h"
#include "listio/FieldGuess.h"
#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
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
    EXPECT_EQ(s.zip5Column, 1);
    EXPECT_EQ(s.zip4Column, 2);
    EXPECT_EQ(s.zipColumn, -1);
    EXPECT_EQ(s.cityColumn, 3);
    EXPECT_EQ(s.stateColumn, 4);
}

TEST(FieldKeywords, LaterKeywordWinsAndWholeZipDropsTheParts) {
    ListState s = keywords({"ZIP+4", "NAME", "ZIP"});
    EXPECT_EQ(s.zipColumn, 2);
    s = keywords({"ZIP CODE", "CITY, ST", "SACK", "USER8", "OEL", "SEQUENCE", "COUNTY"});
    EXPECT_EQ(s.zipColumn, 0);
    EXPECT_EQ(s.cityStateColumn, 1);
    EXPECT_EQ(s.trayColumn, 2);
    EXPECT_EQ(s.packageColumn, 3);
    EXPECT_EQ(s.endorsementColumn, 4);
    EXPECT_EQ(s.sortColumn, 5);
    EXPECT_EQ(s.countyColumn, 6);
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
    EXPECT_EQ(s.zipColumn, 3);
    EXPECT_EQ(s.stateColumn, 2);
    EXPECT_EQ(s.cityColumn, 1);
}

TEST(FieldGuess, TenCharacterZipNeedsADashNotABlank) {
    ListState dash = guess({{"75201-1234"}, {"75201/1234"}, {"x"}}, 1);
    EXPECT_EQ(dash.zipColumn, 0);
    ListState blank = guess({{"75201 1234"}, {"75201 1234"}, {"75201 1234"}}, 1);
    EXPECT_EQ(blank.zipColumn, -1);
    ListState letter = guess({{"75201A1234"}, {"75201A1234"}, {""}}, 1);
    EXPECT_EQ(letter.zipColumn, 0);
}

TEST(FieldGuess, CityStateFieldOnlyWithoutAStateField) {
    ListState s =
        guess({{"SAN ANTONIO, TX", "78205"}, {"EL PASO, TX", "79901"}, {"WACO, TX", "76701"}}, 2);
    EXPECT_EQ(s.cityStateColumn, 0);
    EXPECT_EQ(s.cityColumn, -1);
    ListState withState = guess({{"TX", "SAN ANTONIO, TX", "78205"},
                                 {"TX", "EL PASO, TX", "79901"},
                                 {"TX", "WACO, TX", "76701"}},
                                3);
    EXPECT_EQ(withState.cityStateColumn, -1);
    EXPECT_EQ(withState.stateColumn, 0);
}

TEST(FieldGuess, EndorsementLineHasTwoStars) {
    ListState s = guess({{"75201", "****** 3D 752"}, {"75202", "**5D"}, {"75203", "***"}}, 2);
    EXPECT_EQ(s.endorsementColumn, 1);
}

TEST(FieldGuess, FillsOnlyWhatTheNamesLeftOpen) {
    // Named ZIP and ZIP4 parts stay, whatever the first records hold.
    ListState s;
    applyFieldKeywords(s, {"NAME", "ZIP", "ZIP4", "CITY", "STATE"});
    guessFieldsFromContent(s,
                           {{"ANN", "75201", "", "SAN ANTONIO, TX", "TX"},
                            {"BO", "75202", "", "EL PASO, TX", "TX"},
                            {"CY", "75203", "1234", "WACO, TX", "TX"}},
                           5);
    adjustZipRoles(s);
    EXPECT_EQ(s.zip5Column, 1);
    EXPECT_EQ(s.zip4Column, 2);
    EXPECT_EQ(s.zipColumn, -1);
    EXPECT_EQ(s.cityColumn, 3);
    EXPECT_EQ(s.stateColumn, 4);
    EXPECT_EQ(s.cityStateColumn, -1);
    // A named +4 alone is not pushed aside by a whole ZIP found in the content; the unnamed
    // 5-digit part is filled in beside it.
    ListState part;
    applyFieldKeywords(part, {"ZIP4", "POSTCODE", "OTHER"});
    guessFieldsFromContent(part, {{"1234", "75201", "752011234"}, {"", "75202", "752021234"}}, 3);
    adjustZipRoles(part);
    EXPECT_EQ(part.zip4Column, 0);
    EXPECT_EQ(part.zip5Column, 1);
    EXPECT_EQ(part.zipColumn, -1);
}

// What an earlier sort wrote into the fields named for it looks like a ZIP, a +4, a state or
// a city; the guess must read the list as if they were empty, as when it was never sorted.
TEST(FieldGuess, FieldsNamedForTheSortAreNoCandidates) {
    auto guessNamed = [](const std::vector<std::string>& names,
                         const std::vector<std::vector<std::string>>& records) {
        ListState s;
        applyFieldKeywords(s, names);
        guessFieldsFromContent(s, records, static_cast<int>(names.size()));
        adjustZipRoles(s);
        return s;
    };
    // Package numbers of two digits before the state, sort numbers of four beside the ZIP.
    ListState numbers = guessNamed({"PKG", "NAME", "CITY", "ST", "POSTCODE", "SORT"},
                                   {{"5", "ANN LEE", "DALLAS", "TX", "75201", "58"},
                                    {"79", "BO DIAZ", "WACO", "TX", "76701", "1243"},
                                    {"78", "CY ROSS", "AUSTIN", "TX", "78701", "1228"}});
    EXPECT_EQ(numbers.stateColumn, 3);
    EXPECT_EQ(numbers.zipColumn, 4);
    EXPECT_EQ(numbers.zip4Column, -1);
    EXPECT_EQ(numbers.packageColumn, 0);
    EXPECT_EQ(numbers.sortColumn, 5);
    // A tray number of five digits before the ZIP; an endorsement of letters before the city.
    ListState tray = guessNamed({"OEL", "TOWN", "TRAY", "POSTCODE"},
                                {{"CAR RT SORT", "DALLAS", "00003", "75201"},
                                 {"CAR RT SORT", "WACO", "00003", "76701"},
                                 {"CAR RT SORT", "AUSTIN", "00004", "78701"}});
    EXPECT_EQ(tray.zipColumn, 3);
    EXPECT_EQ(tray.cityColumn, 1);
    EXPECT_EQ(tray.trayColumn, 2);
    EXPECT_EQ(tray.endorsementColumn, 0);
    // A city and state in one field is found past an endorsement that looks like one.
    ListState cityState =
        guessNamed({"ENDORSEMENT", "PLACE", "POSTCODE"}, {{"DALLAS, TX", "EL PASO, TX", "79901"},
                                                          {"DALLAS, TX", "EL PASO, TX", "79902"},
                                                          {"DALLAS, TX", "EL PASO, TX", "79903"}});
    EXPECT_EQ(cityState.cityStateColumn, 1);
    // Unnamed, the same field is still guessed as it always was.
    ListState unnamed = guessNamed({"P", "NAME", "CITY", "ST", "POSTCODE"},
                                   {{"5", "ANN LEE", "DALLAS", "TX", "75201"},
                                    {"79", "BO DIAZ", "WACO", "TX", "76701"},
                                    {"78", "CY ROSS", "AUSTIN", "TX", "78701"}});
    EXPECT_EQ(unnamed.stateColumn, 0);
}

namespace {

struct Checks : ListFixture {
    explicit Checks(std::vector<std::string> parameters = {}) : ListFixture(parameters) {}
    std::vector<std::string> run(const std::string& kind) {
        return checkFieldRoles(reading.list.state, ctx().lists, *formatNamed(kind));
    }
    ListState& roles() { return reading.list.state; }
};

const char* noZip = "Quillan cannot proceed until you tell it which field(s) contains the zip "
                    "codes.";

} // namespace

TEST(FieldChecks, ZipCountyAndStateChecksReportTogether) {
    Checks c;
    c.setLine(&SettingsLists::mailTypeList, 1, "6");
    c.setLine(&SettingsLists::periodicalList, 4, "t");
    c.roles().zip5Column = 1;
    EXPECT_EQ(c.run(KindComma),
              (std::vector<std::string>{
                  noZip,
                  "Quillan cannot proceed until you tell it which field contains the county "
                  "information.",
                  "Quillan cannot proceed until you tell it which field contains the state."}));
    c.roles().zip4Column = 2;
    c.roles().countyColumn = 3;
    c.roles().cityStateColumn = 4;
    EXPECT_TRUE(c.run(KindComma).empty());
    // Outside the Periodicals types the county and state are not needed.
    c.setLine(&SettingsLists::mailTypeList, 1, "2");
    c.roles() = ListState{};
    c.roles().zipColumn = 0;
    EXPECT_TRUE(c.run(KindMerge).empty());
}

TEST(FieldChecks, DbaseOutputFieldsNeedWidthAndType) {
    Checks c;
    c.setLine(&SettingsLists::prefsList, 2, "0");
    c.roles().zipColumn = 0;
    c.roles().dbfFieldWidths = {10, 5, 6, 4, 19, 8};
    c.roles().dbfFieldTypes = {'C', 'C', 'N', 'C', 'C', 'D'};
    EXPECT_EQ(c.run(KindDbase), (std::vector<std::string>{
                                    "Quillan cannot proceed until you tell it in which field to "
                                    "put the sorting sequence number."}));
    c.roles().sortColumn = 1;
    EXPECT_EQ(c.run(KindDbase)[0], "The field you chose for the sorting information is too short. "
                                   "It must be able to hold at least 6 characters.");
    c.roles().sortColumn = 2;
    c.roles().trayColumn = 3;
    EXPECT_EQ(c.run(KindDbase)[0], "The field you chose for the tray/sack number is too short. It "
                                   "must be able to hold at least 5 characters.");
    c.roles().trayColumn = -1;
    c.roles().packageColumn = 3;
    EXPECT_EQ(c.run(KindDbase)[0], "The field you chose for package number is too short. It must "
                                   "be able to hold at least 5 characters.");
    c.roles().packageColumn = -1;
    c.roles().endorsementColumn = 4;
    EXPECT_EQ(c.run(KindDbase)[0], "The field you chose for the endorsement line (OEL) is too "
                                   "short. It must be able to hold at least 20 characters.");
    c.roles().endorsementColumn = -1;
    c.roles().trayColumn = 5;
    EXPECT_EQ(c.run(KindDbase),
              (std::vector<std::string>{"The field you chose for the tray/sack number must be a "
                                        "character (type C) or numeric (type N or F) field."}));
    // Into a separate file: the list's own fields are not written.
    c.setLine(&SettingsLists::prefsList, 2, "1");
    c.roles().sortColumn = 1;
    EXPECT_TRUE(c.run(KindDbase).empty());
}

TEST(FieldChecks, FloatFieldsTakeNumbersAsNumericFieldsDo) {
    Checks c;
    c.setLine(&SettingsLists::prefsList, 2, "0");
    c.roles().zipColumn = 0;
    c.roles().dbfFieldWidths = {10, 8, 8, 8, 20};
    c.roles().dbfFieldTypes = {'C', 'F', 'F', 'N', 'F'};
    c.roles().sortColumn = 1;
    c.roles().trayColumn = 2;
    c.roles().packageColumn = 3;
    EXPECT_TRUE(c.run(KindDbase).empty()) << "sort, tray and package in F and N fields";
    c.roles().endorsementColumn = 4;
    EXPECT_EQ(c.run(KindDbase),
              (std::vector<std::string>{"The field you chose for the endorsement line (OEL) must "
                                        "be a character (type C) field."}));
}

TEST(FieldChecks, OutputFieldMayNotBeAnInputField) {
    Checks c;
    c.setLine(&SettingsLists::prefsList, 2, "0");
    c.roles().zipColumn = 0;
    c.roles().cityColumn = 1;
    c.roles().packageColumn = 1;
    EXPECT_EQ(c.run(KindMerge),
              (std::vector<std::string>{"The field you chose for package number already holds the "
                                        "zip code, city, state or county. Please choose another "
                                        "field."}));
}

namespace {

// A person at the field dialog, played by the test: notes what was proposed and answers
// with the roles given, or cancels.
struct ScriptedChooser : FieldChooser {
    std::optional<FieldRoles> answer;
    std::vector<FieldProposal> proposals;
    std::optional<FieldRoles> confirm(const FieldProposal& proposal) override {
        proposals.push_back(proposal);
        return answer;
    }
};

} // namespace

TEST(FieldChooser, ProposalCarriesTheListAndTheRolesFoundAndTheAnswerIsRead) {
    ListFixture f;
    f.setLine(&SettingsLists::prefsList, Preferences::Output, "1");
    std::string path =
        f.write("m.txt", crlf({"NAME,CITY,ZIP", "ANN,DALLAS,75201", "BO,WACO,76701"}));
    ScriptedChooser chooser;
    FieldRoles corrected;
    corrected.zipColumn = 2;
    corrected.cityColumn = 0; // the person's choice stands, right or not
    chooser.answer = corrected;
    f.ui().chooseFile(path);
    EXPECT_EQ(f.read(chooser), path);
    ASSERT_EQ(chooser.proposals.size(), 1u);
    const FieldProposal& p = chooser.proposals[0];
    EXPECT_EQ(p.format, formatNamed(KindMerge));
    EXPECT_EQ(p.path, path);
    EXPECT_EQ(p.records, 2);
    EXPECT_EQ(p.fieldCount, 3);
    EXPECT_EQ(p.roles.zipColumn, 2);
    EXPECT_EQ(p.roles.cityColumn, 1) << "found by its name";
    EXPECT_EQ(f.reading.list.state.roles(), corrected);
    const WorkTables& t = f.reading.mailing.tables;
    EXPECT_EQ(t.cities.text(t.pieces[0].city).substr(0, 4), "ANN ") << "read with the roles chosen";

    chooser.answer.reset();
    f.ui().chooseFile(path);
    EXPECT_EQ(f.read(chooser), "") << "cancelled: nothing is read";
    EXPECT_EQ(f.outcome, ReadOutcome::Cancelled) << "told from a refusal";
    EXPECT_EQ(f.reading.mailing.recordCount(), 0);
}
