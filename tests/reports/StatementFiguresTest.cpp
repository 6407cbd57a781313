// The form each mailing is printed on, and the boxed figures of page 1.

#include "reports/StatementDigits.h"
#include "reports/StatementForm.h"
#include "reports/StatementFormChoice.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace quillan;

namespace {

using Boxes = std::vector<std::string>;

// The forms of a class for permit/affixed x Regular/Nonprofit x 3.3 oz, 3.31 oz and no
// exact weight, in that order.
std::string formsOf(MailClass mailClass) {
    std::string names;
    for (bool permit : {true, false})
        for (const char* rates : {"0", "2"})
            for (const char* weight : {"3.3", "3.31", ""}) {
                MailTypeSettings mailType(SettingsList(
                    {"", "1", rates, "0", *weight ? "1" : "0", *weight ? weight : "9"}));
                names +=
                    (names.empty() ? "" : " ") + statementFormName(mailClass, mailType, permit);
            }
    return names;
}

} // namespace

TEST(StatementFormChoice, ClassPaymentRatesAndWeightChooseTheForm) {
    EXPECT_EQ(formsOf(MailClass::FAL), "3600r 3600r 3600r 3600r 3600r 3600r "
                                       "3600p 3600p 3600p 3600p 3600p 3600p");
    for (MailClass c :
         {MailClass::PNAL, MailClass::PNAF, MailClass::PAL, MailClass::PAF, MailClass::PCOF})
        EXPECT_EQ(formsOf(c), "3541a 3541a 3541a 3541a 3541a 3541a "
                              "3541a 3541a 3541a 3541a 3541a 3541a");
    EXPECT_EQ(formsOf(MailClass::RNML), "3602rs 3602r 3602rs 3602ns 3602n 3602ns "
                                        "3602ps 3602p 3602ps 3602nps 3602np 3602nps");
    EXPECT_EQ(formsOf(MailClass::RAL), "3602r 3602hr 3602r 3602n 3602nhr 3602n "
                                       "3602p 3602hp 3602p 3602np 3602nhp 3602np");
    for (MailClass c : {MailClass::RML, MailClass::RNAF, MailClass::RAF, MailClass::RCOF})
        EXPECT_EQ(formsOf(c), "3602r 3602r 3602r 3602n 3602n 3602n "
                              "3602p 3602p 3602p 3602np 3602np 3602np");
    // Every form the program has is chosen by some mailing.
    std::string all;
    for (MailClass c :
         {MailClass::FAL, MailClass::PAL, MailClass::RNML, MailClass::RAL, MailClass::RML})
        all += formsOf(c) + " ";
    for (const char* name : StatementFormNames)
        EXPECT_NE(all.find(std::string(name) + " "), std::string::npos) << name;
}

TEST(StatementDigits, WeightAndAdvertisingBoxesComeFromTheNumbers) {
    EXPECT_EQ(pieceWeightDigits(3.5, true), (Boxes{"0", "2", "1", "8", "8"}));
    EXPECT_EQ(pieceWeightDigits(3.5, false), (Boxes{"2", "1", "8", "8"}));
    EXPECT_EQ(pieceWeightDigits(1.5, false), (Boxes{"0", "9", "3", "8"}));     // 0.09375 up
    EXPECT_EQ(pieceWeightDigits(2.5, true), (Boxes{"0", "1", "5", "6", "3"})); // 0.15625 up
    EXPECT_EQ(pieceWeightDigits(40, true), (Boxes{"2", "5", "0", "0", "0"}));
    EXPECT_EQ(pieceWeightDigits(200, true), (Boxes{"12", "5", "0", "0", "0"}));

    EXPECT_EQ(advertisingDigits(5.0), (Boxes{"0", "5", "0", "0"})); // typed "5."
    EXPECT_EQ(advertisingDigits(100), (Boxes{"10", "0", "0", "0"}));
    EXPECT_EQ(advertisingDigits(0), (Boxes{"0", "0", "0", "0"}));
    EXPECT_EQ(advertisingDigits(37.5), (Boxes{"3", "7", "5", "0"}));
    EXPECT_EQ(advertisingDigits(12.345), (Boxes{"1", "2", "3", "5"}));
}

TEST(StatementDigits, CassDateFillsEightBoxesWithoutReadingPastAShortLine) {
    EXPECT_EQ(cassDateCharacters("3", "7", "24"), (Boxes{"0", "3", "0", "7", "2", "0", "2", "4"}));
    EXPECT_EQ(cassDateCharacters("12", "31", "2025"),
              (Boxes{"1", "2", "3", "1", "2", "0", "2", "5"}));
    EXPECT_EQ(cassDateCharacters("", "", ""), (Boxes(8, "")));
    EXPECT_EQ(cassDateCharacters("00", "00", "00"), (Boxes(8, ""))) << "not the year 2000";
    EXPECT_EQ(cassDateCharacters("00", "", "0"), (Boxes(8, "")));
    EXPECT_EQ(cassDateCharacters("1", "", "5"), (Boxes{"0", "1", "", "", "2", "0", "0", "5"}));
    EXPECT_EQ(cassDateCharacters("JAN", "X", "24"), (Boxes{"J", "A", "X", "", "2", "0", "2", "4"}));
}

TEST(StatementDigits, TotalWeightHasFiveSignificantDigitsAndNoExponent) {
    EXPECT_EQ(totalWeightText(2700.4375), "2700.4");
    EXPECT_EQ(totalWeightText(1487.25), "1487.3") << "a half rounds up, as money does";
    EXPECT_EQ(totalWeightText(99999.5), "100000");
    EXPECT_EQ(totalWeightText(21.875), "21.875");
    EXPECT_EQ(totalWeightText(33.75), "33.75");
    EXPECT_EQ(totalWeightText(250000.0), "250000");
    EXPECT_EQ(totalWeightText(0), "0");
}
