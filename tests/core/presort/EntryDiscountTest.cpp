#include "core/presort/EntryDiscount.h"
#include "tests/core/presort/PresortHarness.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::PresortHarness;
using K = GroupKind;

namespace {

struct Entry : PresortHarness {
    Entry(const std::string& zip, const std::string& type, const std::string& code = "RNAF") {
        ctx.lists.mailerList[MailerSettings::Zip] = zip;
        ctx.lists.mailerList[MailerSettings::EntryType] = type;
        useClass(code);
    }
    std::string operator()(GroupKind building, const std::string& key) {
        return std::string(entryText(EntryDiscountFor(presort(), building, entryPrefixOf(key))));
    }
};

} // namespace

TEST(EntryDiscount, OnlyStandardMailEnteredAtAFacilityEarnsOne) {
    EXPECT_EQ(Entry("14001", "2", "FAL")(K::ThreeDigit, "141"), "None");
    EXPECT_EQ(Entry("14001", "2", "PNAF")(K::ThreeDigit, "141"), "None");
    EXPECT_EQ(Entry("14001", "0")(K::ThreeDigit, "141"), "None") << "local entry";
    EXPECT_EQ(Entry("09001", "2")(K::ThreeDigit, "090"), "None")
        << "the mailer's prefix has no DBMC";
}

TEST(EntryDiscount, AsfEntryGivesDscfInItsScfAndDbmcAtMostToAreaContainers) {
    Entry asf("14001", "2"); // DBMC "ASF BUFFALO NY Y 140"
    EXPECT_EQ(asf(K::ThreeDigit, "141"), "DSCF");
    EXPECT_EQ(asf(K::FiveDigit, "140"), "DSCF");
    EXPECT_EQ(asf(K::Adc, "141"), "DBMC");
    EXPECT_EQ(asf(K::Aadc, "141"), "DBMC");
    EXPECT_EQ(asf(K::ThreeDigit, "752"), "None");
}

TEST(EntryDiscount, ScfEntryAtTheSpringfieldAsfGivesDbmcThroughPrefix10) {
    Entry scf("01234", "1"); // SCF "SPRINGFIELD MA 010"
    EXPECT_EQ(scf(K::ThreeDigit, "013"), "DSCF");
    EXPECT_EQ(scf(K::ThreeDigit, "014"), "DBMC") << "same BMC, an SCF of its own";
    EXPECT_EQ(scf(K::ThreeDigit, "752"), "None");
}

TEST(EntryDiscount, KeysThatAreNoPrefixGiveNone) {
    Entry asf("14001", "2");
    EXPECT_EQ(asf(K::ThreeDigit, "1A4"), "None");
    EXPECT_EQ(asf(K::Adc, centerEntryKey("ADCBUFFALO")), "None") << "an entry without a blank";
    EXPECT_EQ(centerEntryKey("ADC BUFFALO NY 14099"), "140");
}

TEST(EntryDiscount, MixedContainerNeedsEveryZipInTheEntryBmc) {
    Entry asf("14001", "2");
    test::setTables(asf.work, {{14001, 5, 0, 1}, {14301, 5, 0, 2}, {75201, 5, 0, 3}},
                    {{5, "AA 1", 1}, {5, "MA", 2}, {5, "MA", 0}}, {5});
    // Being built: the second container, with group 2 (and 3, not yet attached).
    EXPECT_EQ(asf(K::Mixed, ""), "DBMC");
    asf.work.tables.sortGroups[2].container = 1;
    EXPECT_EQ(asf(K::Mixed, ""), "None");
}
