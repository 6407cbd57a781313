#pragma once

#include "core/SortedMailing.h"
#include "tests/support/MailingOf.h"
#include "tests/support/TestEnvironment.h"

#include <cstdint>
#include <string>

namespace quillan::test {

// A finished sort built by hand over the test geography (the mailer enters locally at
// Dallas 75201): trays or sacks, their groups and the groups' ZIP Codes, under settings
// a test changes line by line.
class PostageFixture {
public:
    PostageFixture();

    TestEnvironment env;
    AppContext& ctx;
    // The sort being built.
    TestMailing work;

    void useClass(MailClass mailClass) { work.mailClass = mailClass; }
    void mailType(long line, std::string text) {
        ctx.lists.mailTypeList.set(line, std::move(text));
    }
    void periodical(long line, std::string text) {
        ctx.lists.periodicalList.set(line, std::move(text));
    }
    void mailer(long line, std::string text) { ctx.lists.mailerList.set(line, std::move(text)); }
    // Permit imprint ("0"), meter ("1") or stamps ("2").
    void payment(std::string text) { ctx.lists.statementList.set(6, std::move(text)); }
    void rate(long line, std::string text) { ctx.lists.ratesList.set(line, std::move(text)); }
    // Every rates.dat line k holds k / 10000, so that an amount tells the line it read.
    void indexRates();

    // Each returns the index of what it adds, which the next ones link to.
    int32_t container(int32_t pieces, std::string label, std::string entry = "None",
                      std::string level = "Basic");
    int32_t group(int32_t pieces, std::string label, int32_t container, bool nonbarcoded = false);
    void zipGroup(int32_t zip, int32_t pieces, int32_t inCounty, int32_t owner);
    // A group holding one ZIP group of all its pieces.
    int32_t groupOfZip(int32_t zip, int32_t pieces, std::string label, int32_t container,
                       int32_t inCounty = 0, bool nonbarcoded = false);

    // The sort as the reports see it: the records are the pieces of the ZIP groups.
    SortedMailing mailing();
};

} // namespace quillan::test
