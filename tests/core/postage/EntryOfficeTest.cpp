// The entry post office named in the report headers and on the tags.

#include "core/postage/EntryOffice.h"
#include "core/Convert.h"
#include "tests/core/postage/PostageFixture.h"

#include <gtest/gtest.h>

using namespace quillan;

namespace {

class EntryOffice : public ::testing::Test {
protected:
    std::string name(const std::string& zip, const std::string& type,
                     MailClass mailClass = MailClass::RNAF) {
        fixture.mailer(3, zip);
        fixture.mailer(4, type);
        const SettingsLists& l = fixture.ctx.lists;
        return EntryOfficeName(l.mailerList, mailClass, l);
    }

    test::PostageFixture fixture;
};

} // namespace

TEST_F(EntryOffice, NamesTheOfficeOfEachKindOfEntry) {
    // Local entry: the mailer's own city, state and ZIP Code as stored.
    fixture.mailer(1, "DALLAS ");
    EXPECT_EQ(name("75201", "0"), "DALLAS  TX 75201");
    // SCF entry: the SCF label whole; a negative chart value names the same label.
    EXPECT_EQ(name("75201", "1"), "DALLAS TX 752");
    EXPECT_EQ(name("75001", "1"), "NORTH TEXAS TX 750");
    // The third kind: the destination BMC, or for Periodicals the ADC, without its kind.
    EXPECT_EQ(name("75201", "2"), "DALLAS TX 75199");
    EXPECT_EQ(name("14001", "2"), "BUFFALO NY Y 140");
    EXPECT_EQ(name("75201", "2", MailClass::PAF), "NORTH TEXAS TX 75099");
    fixture.ctx.lists.dbmcLabels.set(5, "DFW HUB TX 75199");
    EXPECT_EQ(name("75201", "2"), "DFW HUB TX 75199");
}

TEST_F(EntryOffice, IsEmptyWithoutAZipCodeOrAChartLabel) {
    EXPECT_EQ(name("1234", "0"), "");
    EXPECT_EQ(name("1234", "1"), "");
    // Prefix 090 has no destination BMC: never the unused label line 0.
    fixture.ctx.lists.dbmcLabels.set(0, "LINE ZERO");
    EXPECT_EQ(name("09001", "2"), "");
    fixture.ctx.lists.scfChart.set(752, "0");
    EXPECT_EQ(name("75201", "1"), "");
    EXPECT_THROW(name("7X201", "1"), ConvertError);
}
