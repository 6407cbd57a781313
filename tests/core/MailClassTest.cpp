#include "core/MailClass.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace quillan;

namespace {

// Each class with the families the presort, the writer and the reports tell apart:
// standard, periodicals, letters, co-sacked, automation, trays only (no endorsement line).
struct Family {
    const char* code;
    bool standard, periodicals, letters, coSacked, automation, traysOnly;
};

constexpr Family families[] = {
    {"RML", true, false, true, false, false, true},
    {"RNML", true, false, true, false, false, false},
    {"RNAF", true, false, false, false, false, false},
    {"RAL", true, false, true, false, true, true},
    {"RAF", true, false, false, false, true, false},
    {"RCOF", true, false, false, true, false, false},
    {"PNAL", false, true, true, false, false, false},
    {"PNAF", false, true, false, false, false, false},
    {"PAL", false, true, true, false, true, true},
    {"PAF", false, true, false, false, true, false},
    {"PCOF", false, true, false, true, false, false},
    {"FAL", false, false, true, false, true, true},
};

} // namespace

TEST(MailClass, EveryCodeRoundTripsWithItsFamilies) {
    for (const Family& f : families) {
        SCOPED_TRACE(f.code);
        std::optional<MailClass> c = MailClass::fromCode(f.code);
        ASSERT_TRUE(c);
        EXPECT_EQ(c->code(), f.code);
        EXPECT_EQ(c->isStandard(), f.standard);
        EXPECT_EQ(c->isPeriodicals(), f.periodicals);
        EXPECT_EQ(c->isFirstClass(), !f.standard && !f.periodicals);
        EXPECT_EQ(c->isLetters(), f.letters);
        EXPECT_EQ(c->isFlats(), !f.letters);
        EXPECT_EQ(c->isCoSacked(), f.coSacked);
        EXPECT_EQ(c->isAutomation(), f.automation);
        EXPECT_EQ(c->isNonautomation(),
                  !f.automation && !f.coSacked && std::string(f.code) != "RML");
        EXPECT_EQ(c->isTraysOnlyLetters(), f.traysOnly);
        EXPECT_EQ(c->hasEndorsementLine(), !f.traysOnly);
        EXPECT_FALSE(c->reportText().empty());
    }
}

// The families the sort rules ask of the letters and flats: a class missing from one, or
// one too many, sorts and prices its mailings silently wrong.
TEST(MailClass, SortRuleFamiliesHoldExactlyTheirClasses) {
    struct Rule {
        const char* family;
        bool (MailClass::*is)() const;
        std::set<std::string> classes;
    };
    const Rule rules[] = {
        {"automation letters", &MailClass::isAutomationLetters, {"RAL", "PAL", "FAL"}},
        {"AADC letters", &MailClass::isAadcLetters, {"RML", "RAL", "FAL"}},
        {"AADC automation letters", &MailClass::isAadcAutomationLetters, {"RAL", "FAL"}},
        {"unbarcoded letters", &MailClass::isUnbarcodedLetters, {"RML", "RNML", "PNAL"}},
        {"packaged letters", &MailClass::isPackagedLetters, {"RNML", "PNAL"}},
        {"barcoded flats", &MailClass::isBarcodedFlats, {"RAF", "RCOF", "PAF", "PCOF"}},
    };
    for (const Rule& rule : rules) {
        for (const Family& f : families)
            EXPECT_EQ((MailClass::fromCode(f.code).value().*rule.is)(),
                      rule.classes.count(f.code) == 1)
                << rule.family << ": " << f.code;
        EXPECT_FALSE((MailClass().*rule.is)()) << rule.family << ": no class";
    }
}

TEST(MailClass, NoClassHasNoCodeAndNoFamily) {
    MailClass none;
    EXPECT_EQ(none.code(), "");
    EXPECT_FALSE(none.isStandard() || none.isPeriodicals() || none.isFirstClass() ||
                 none.isLetters() || none.isFlats() || none.hasEndorsementLine());
    for (const char* text : {"", "rnaf", "RNA", "RNAFX", " RNAF"})
        EXPECT_FALSE(MailClass::fromCode(text)) << text;
}

TEST(MailClass, CategoriesNameTheirClassByLetterOrFlat) {
    EXPECT_EQ(MailClass::forCategory(3, true), MailClass::RAL);
    EXPECT_EQ(MailClass::forCategory(3, false), MailClass::RAF);
    EXPECT_EQ(MailClass::forCategory(0, false), MailClass::RML) << "size does not matter";
    EXPECT_EQ(MailClass::forCategory(8, false), MailClass::FAL);
    EXPECT_FALSE(MailClass::forCategory(9, true));
    EXPECT_FALSE(MailClass::forCategory(-1, true));
    EXPECT_EQ(MailClass(MailClass::RNML).reportText(), "Non-Machinable Standard - Letters");
}
