#include "tests/core/postage/PeriodicalFixtures.h"

namespace quillan::test {

namespace {

void roundRates(PostageFixture& f) {
    const char* outside[] = {"0.150", "0.170", "0.190", "0.200", "0.230", "0.270", "0.320", "0.380",
                             "0.440", "0.300", "0.290", "0.280", "0.250", "0.240", "0.230", "0.200",
                             "0.190", "0.180", "0.150", "0.001", "0.010", "0.005"};
    for (long place = 1; place <= 22; ++place)
        f.rate(RateTable::PeriodicalRegular + place, outside[place - 1]);
    const char* inCounty[] = {"0.100", "0.080", "0.075", "0.070", "0.065",
                              "0.060", "0.055", "0.050", "0.045", "0.040"};
    for (long place = 1; place <= 10; ++place)
        f.rate(RateTable::PeriodicalInCounty + place, inCounty[place - 1]);
}

void periodicals(PostageFixture& f, MailClass mailClass, const char* ounces, const char* category,
                 const char* advertising, const char* entry) {
    roundRates(f);
    f.useClass(mailClass);
    f.mailType(4, "1");
    f.mailType(5, ounces);
    f.periodical(2, advertising);
    f.periodical(3, category);
    f.mailer(4, entry);
}

} // namespace

void regularPeriodicals(PostageFixture& f) {
    periodicals(f, MailClass::PNAF, "2", "0", "20", "1");
    int32_t mixed = f.container(25, "%MIXED ADC NORTH TEXAS");
    int32_t group = f.group(25, "MA", mixed);
    f.zipGroup(80001, 20, 0, group);
    f.zipGroup(1234, 5, 0, group);
    f.groupOfZip(73001, 30, "3D 730", f.container(30, "OKLAHOMA CITY OK 730"));
    f.groupOfZip(75301, 40, "5D 75301", f.container(40, "DALLAS TX 75301"));
}

void classroomPeriodicals(PostageFixture& f) {
    periodicals(f, MailClass::PNAF, "2", "1", "15", "2");
    f.groupOfZip(75001, 16, "5D 75001", f.container(16, "CARROLLTON TX 75001"));
    f.groupOfZip(73001, 24, "MA", f.container(24, "%MIXED ADC NORTH TEXAS"));
}

void inCountyPeriodicals(PostageFixture& f) {
    periodicals(f, MailClass::PCOF, "4", "0", "0", "0");
    f.periodical(4, "t");
    int32_t fiveDigit = f.container(35, "DALLAS TX 75201");
    int32_t barcoded = f.group(25, "5D 75201", fiveDigit);
    f.zipGroup(75201, 20, 8, barcoded);
    f.zipGroup(75202, 5, 5, barcoded);
    f.groupOfZip(-75201, 10, "5D 75201", fiveDigit, 4, true);
    f.groupOfZip(80001, 12, "MA", f.container(12, "%MIXED ADC NORTH TEXAS"));
}

} // namespace quillan::test
