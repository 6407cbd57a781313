// Endorsement lines over the test geography (mailer at DALLAS TX 75201, prefix 752, whose
// ADC is label 5 "ADC NORTH TEXAS TX 75099").

#include "listio/ContainerLabel.h"
#include "tests/support/MailingOf.h"
#include "tests/support/SortTables.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;

namespace {

struct ContainerLabelTest : ::testing::Test {
    test::TestEnvironment env{test::geographyFolder()};
    AppContext& ctx = env.context();
    // The sort the test builds.
    test::TestMailing work;

    void SetUp() override {
        env.load();
        work.mailClass = *MailClass::fromCode("RNAF");
    }

    // One ZIP group of ZIP 01234 owned by a new sort group with this label; its index.
    size_t groupWithLabel(const std::string& label, bool nonbarcoded = false) {
        WorkTables& t = work.tables;
        t.zipGroups.push_back({1234, 3, 0, static_cast<int32_t>(t.sortGroups.size())});
        test::addSortGroup(t, nonbarcoded, 3, label, 1);
        return t.zipGroups.size() - 1;
    }
    std::string labelFor(const std::string& label, bool nonbarcoded = false) {
        return BuildContainerLabel(test::mailingOf(work, ctx.lists),
                                   groupWithLabel(label, nonbarcoded));
    }
};

} // namespace

TEST_F(ContainerLabelTest, LevelLabelsArePaddedToTwentyWithAsterisks) {
    EXPECT_EQ(labelFor("5D 12345"), "*******5-DIGIT 12345");
    EXPECT_EQ(labelFor("3D 752"), "*********3-DIGIT 752");
    EXPECT_EQ(labelFor("SC 750"), "*************SCF 750");
    EXPECT_EQ(labelFor("AD 5"), "***ALL FOR ADC 75099");
    ctx.lists.adcLabels[5] = "ADC DALLAS TX 752*FIRST LINE**X";
    EXPECT_EQ(labelFor("AD 5"), "*****ALL FOR ADC 752");
    ctx.lists.adcLabels[5] = "ADC DALLAS TX 75199";
    EXPECT_EQ(labelFor("AD 5"), "***ALL FOR ADC 75199");
    ctx.lists.aadcLabels[5] = "AADC DALLAS TX 75199";
    EXPECT_EQ(labelFor("AA 5"), "**ALL FOR AADC 75199");
    EXPECT_EQ(labelFor("3S 140"), std::string(20, '*')) << "no endorsement for schemes";
}

TEST_F(ContainerLabelTest, MixedGroupsNameTheMailersOwnDestination) {
    // The pieces are in 012 (Springfield); the mailer's 752 decides.
    EXPECT_EQ(labelFor("MA"), "*****MIXED ADC 75099");
    work.mailClass = *MailClass::fromCode("RAF"); // no ADC: the non-BMC entry label of 752
    ctx.lists.nonBmcLabels[5] = "SCF DALLAS TX 752";
    EXPECT_EQ(labelFor("MA"), "*******MIXED ADC 752");
    ctx.lists.mailerList[4] = "2"; // entered at the BMC: the BMC/ASF entry label
    EXPECT_EQ(labelFor("MA"), "*****MIXED ADC 75199");
    work.mailClass = *MailClass::fromCode("RCOF");
    EXPECT_EQ(labelFor("MA", false), "*****MIXED ADC 75199") << "barcoded co-sacked: entry";
    EXPECT_EQ(labelFor("MA", true), "*****MIXED ADC 75099") << "nonbarcoded co-sacked: ADC";
}

TEST_F(ContainerLabelTest, TrayOnlyLetterClassesCarryNoEndorsement) {
    for (const char* code : {"RAL", "RML", "FAL", "PAL"}) {
        work.mailClass = *MailClass::fromCode(code);
        EXPECT_EQ(labelFor("MA"), "") << code;
        EXPECT_EQ(labelFor("5D 12345"), "") << code;
    }
}

TEST_F(ContainerLabelTest, AnUnreadableDestinationGivesTheFallbackNotAWrongRead) {
    const std::string fallback(20, '*');
    ctx.lists.mailerList[3] = "09001"; // APO prefix 090: ADC chart value 0
    EXPECT_EQ(labelFor("MA"), fallback);
    ctx.lists.mailerList[3] = "75201";
    ctx.lists.adcLabels[5] = "752";
    EXPECT_EQ(labelFor("MA"), fallback) << "label line shorter than its ZIP";
    ctx.lists.adcLabels[5] = "7520"; // fourth from the end not a blank: five are needed
    EXPECT_EQ(labelFor("AD 5"), fallback);
    EXPECT_EQ(labelFor("AD 0"), fallback);
    EXPECT_EQ(labelFor("AD 99"), fallback) << "past the label list";
    size_t unplaced = groupWithLabel("5D 12345");
    work.tables.zipGroups[unplaced].owner = ZipGroup::BelowMinimum;
    EXPECT_EQ(BuildContainerLabel(test::mailingOf(work, ctx.lists), unplaced), fallback);
}
