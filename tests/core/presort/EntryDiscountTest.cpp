#include "core/presort/EntryDiscount.h"
#include "tests/core/presort/PresortHarness.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::PresortHarness;

namespace {

struct Entry : PresortHarness {
    Entry(const std::string& zip, const std::string& type, const std::string& code = "RNAF") {
        ctx.lists.mailerList[MailerSettings::Zip] = zip;
        ctx.lists.mailerList[MailerSettings::EntryType] = type;
        useClass(code);
    }
    std::string operator()(const std::string& level, const std::string& key) {
        return EntryDiscountFor(presort(), level, key);
    }
};

} // namespace

TEST(EntryDiscount, OnlyStandardMailEnteredAtAFacilityEarnsOne) {
    EXPECT_EQ(Entry("14001", "2", "FAL")("3D", "141"), "None");
    EXPECT_EQ(Entry("14001", "2", "PNAF")("3D", "141"), "None");
    EXPECT_EQ(Entry("14001", "0")("3D", "141"), "None") << "local entry";
    EXPECT_EQ(Entry("09001", "2")("3D", "090"), "None") << "the mailer's prefix has no DBMC";
}

TEST(EntryDiscount, AsfEntryGivesDscfInItsScfAndDbmcAtMostToAreaContainers) {
    Entry asf("14001", "2"); // DBMC "ASF BUFFALO NY Y 140"
    EXPECT_EQ(asf("3D", "141"), "DSCF");
    EXPECT_EQ(asf("5D", "140"), "DSCF");
    EXPECT_EQ(asf("AD", "141"), "DBMC");
    EXPECT_EQ(asf("AA", "141"), "DBMC");
    EXPECT_EQ(asf("3D", "752"), "None");
}

TEST(EntryDiscount, ScfEntryAtTheSpringfieldAsfGivesDbmcThroughPrefix10) {
    Entry scf("01234", "1"); // SCF "SPRINGFIELD MA 010"
    EXPECT_EQ(scf("3D", "013"), "DSCF");
    EXPECT_EQ(scf("3D", "014"), "DBMC") << "same BMC, an SCF of its own";
    EXPECT_EQ(scf("3D", "752"), "None");
}

TEST(EntryDiscount, KeysThatAreNoPrefixGiveNone) {
    Entry asf("14001", "2");
    EXPECT_EQ(asf("3D", "1A4"), "None");
    EXPECT_EQ(asf("AD", entryKeyOfLabel("$ADCBUFFALO")), "None") << "a label without a blank";
    EXPECT_EQ(entryKeyOfLabel("$ADC BUFFALO NY 14099"), "140");
}

TEST(EntryDiscount, MixedContainerNeedsEveryZipInTheEntryBmc) {
    Entry asf("14001", "2");
    test::setTables(asf.ctx, {{14001, 5, 0, 1}, {14301, 5, 0, 2}, {75201, 5, 0, 3}},
                    {{5, "AA 1", 1}, {5, "MA", 2}, {5, "MA", 0}}, {5});
    asf.ctx.counters.containerCount = 2; // being built: groups 2 (and 3, not yet attached)
    EXPECT_EQ(asf("MXD", ""), "DBMC");
    asf.ctx.tables.sortGroupContainer[3] = 2;
    EXPECT_EQ(asf("MXD", ""), "None");
}
