// What a tag says, from the container's label line and the mail class: destination and ZIP,
// content identifier, labelling list, tray size and the tag code the barcode carries.

#include "printouts/ContainerTag.h"
#include "tests/printouts/TagRig.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::TagRig;

namespace {

ContainerTag tagOf(const std::string& classCode, const std::string& label, int32_t pieces = 150,
                   std::initializer_list<std::pair<long, std::string>> perLines = {}) {
    TagRig r(classCode);
    for (const auto& [line, value] : perLines)
        r.ctx.lists.periodicalList[line] = value;
    r.container(label, pieces);
    return DescribeContainer(r.mailing(), 0);
}

} // namespace

TEST(ContainerTag, FiveDigitAutomationTrayOfOneFoot) {
    // mailtype.dat: 504 pieces to a full tray, mm trays; 150 <= 504 x 10.25 / 21.
    ContainerTag t = tagOf("RAL", "CITY ST 12345");
    EXPECT_EQ(t.article, " a 1' mm-type");
    EXPECT_EQ(t.containerType, '1');
    EXPECT_EQ(t.levelWord + "|" + t.levelCode + "|" + t.destinationText, "5-digit|5DG |12345");
    EXPECT_EQ(t.destinationLine, "CITY ST");
    EXPECT_EQ(t.zipText, "12345");
    EXPECT_EQ(t.contentLine, "STD LTR 5D BC");
    EXPECT_EQ(t.listCode, "     ");
    EXPECT_EQ(t.tagCode, "1234554201");
    EXPECT_TRUE(t.stripes);
    EXPECT_EQ(tagOf("RAL", "CITY ST 12345", 247).containerType, '2') << "246.0 pieces fill 1 ft";
}

TEST(ContainerTag, LabelKindsAndClasses) {
    ContainerTag area = tagOf("RAL", "SPRINGFIELD MA 123");
    EXPECT_EQ(area.tagCode, "1230054401");
    EXPECT_EQ(area.listCode, "L002B");

    ContainerTag mixed = tagOf("RNML", "%MXD NORTH TEXAS TX 75099");
    EXPECT_EQ(mixed.levelWord + "|" + mixed.levelCode + "|" + mixed.listCode,
              "mixed adc|MADC|L004 ");
    EXPECT_EQ(mixed.contentNumber + " " + mixed.contentLine, "605 STD LTR MANUAL WKG");
    EXPECT_EQ(mixed.destinationText, "the remaining zip codes");
    EXPECT_EQ(mixed.destinationLine, "MXD NORTH TEXAS TX");
    EXPECT_EQ(mixed.tagCode, "7509960507");
    EXPECT_EQ(tagOf("RAL", "%MXD DALLAS TX 75199").levelWord, "mixed aadc");

    ContainerTag scheme = tagOf("RAL", "#DALLAS TX 752*LETTER SCHEME");
    EXPECT_EQ(scheme.contentLine, "STD LTR BC SCHEME LETTER SCHEME");
    EXPECT_EQ(scheme.destinationText, "scheme 752");
    EXPECT_EQ(scheme.tagCode, "7520054301");

    ContainerTag adc = tagOf("RNAF", "$ADC NORTH TEXAS TX 75099");
    EXPECT_TRUE(adc.sack);
    EXPECT_EQ(adc.article, " an");
    EXPECT_EQ(adc.destinationText, "ADC 75099");
    EXPECT_EQ(adc.tagCode, "75099580  ");
    EXPECT_EQ(adc.barcodeDigits(), "75099580");

    ContainerTag scf = tagOf("PNAF", "SCF DALLAS TX 750*", 40, {{1, "1"}});
    EXPECT_EQ(scf.levelCode + scf.listCode + scf.destinationText, "SCF L002CSCF 750");
    EXPECT_EQ(scf.contentNumber + " " + scf.contentLine, "384 PER FLTS SCF NON BC");

    ContainerTag extra = tagOf("RNML", "CITY ST 12345*BLDG 4**DOCK 9");
    EXPECT_EQ(extra.contentLine, "STD LTR 5D MANUAL BLDG 4");
    EXPECT_EQ(extra.extraLine, "DOCK 9");
    EXPECT_EQ(extra.tagCode, "1234560407");
}

TEST(ContainerTag, NewspapersUseTheirOwnContentNumbers) {
    ContainerTag weekly = tagOf("PAL", "CITY ST 12345", 150, {{1, "0"}});
    EXPECT_EQ(weekly.contentNumber + " " + weekly.contentLine, "442 NEWS LTRS 5D BC");
    ContainerTag monthly = tagOf("PAL", "CITY ST 12345", 150, {{1, "1"}});
    EXPECT_EQ(monthly.contentNumber + " " + monthly.contentLine, "342 PER LTRS 5D BC");
}

TEST(ContainerTag, AreaSortedAsAnotherTakesTheDigitsBeforeTheMark) {
    ContainerTag t = tagOf("RNML", "MID CITIES TX 751! 753");
    EXPECT_EQ(t.zipText, "751");
    EXPECT_EQ(t.destinationLine, "MID CITIES TX");
    EXPECT_EQ(t.tagCode, "7510060607");
}

TEST(ContainerTag, TrayTypeAndMixedListFollowTheSettings) {
    TagRig r("RAF");
    r.ctx.lists.mailerList[4] = "2";
    r.container("%MXD DALLAS TX 75199", 30);
    EXPECT_EQ(DescribeContainer(r.mailing(), 0).listCode, "L802 ");
    r.ctx.lists.mailerList[4] = "1";
    EXPECT_EQ(DescribeContainer(r.mailing(), 0).listCode, "L803 ");

    TagRig emm("RAL");
    emm.ctx.lists.mailTypeList[8] = "1";
    emm.container("CITY ST 12345", 150);
    ContainerTag t = DescribeContainer(emm.mailing(), 0);
    EXPECT_EQ(t.article + t.containerType, " an emm-typeE");
}

TEST(ContainerTag, TagCodesThatCannotBeBarcodesAreFoundWithTheirContainer) {
    TagRig r("RAL");
    r.container("CITY ST 12345", 150);
    r.container("%MXD ", 20);
    std::optional<std::string> problem = FindUnprintableTagCode(r.mailing());
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("tray 2 (\"%MXD \")"), std::string::npos) << *problem;
    EXPECT_NE(problem->find("needs 10 digits"), std::string::npos) << *problem;

    TagRig fine("RNAF");
    fine.container("CITY ST 12345", 150);
    fine.container("CITY ST 123", 150, "3-Digit");
    EXPECT_FALSE(FindUnprintableTagCode(fine.mailing()));
}
