#pragma once

#include "app/AppContext.h"
#include "core/presort/PresortContext.h"
#include "tests/support/MailingOf.h"
#include "tests/support/TestEnvironment.h"

#include <memory>
#include <string>
#include <vector>

namespace quillan::test {

// A context over the test geography, ready for a presort of pieces described compactly.
class PresortHarness {
public:
    PresortHarness();

    TestEnvironment env;
    AppContext& ctx;
    // The mailing the test presorts.
    TestMailing work;

    // Sets mailtype.dat lines from {line, text} pairs.
    void mailType(std::initializer_list<std::pair<long, std::string>> lines);
    // Category (line 1) and size (line 3: 0 letter, 1 flat).
    void mailClass(int category, int size);
    // The class the presort context gives, whatever the mail category says ("RNAF").
    void useClass(const std::string& code);

    // A presort of the mailing under the settings the lists hold now; each call takes them
    // afresh.
    PresortContext& presort();

    // Fills the per-record tables from a description such as "01234x70, -01234x60":
    // [-|!]ZIP x count [/in-county] [@city]. "-" marks pieces without ZIP+4 (co-sacked),
    // "!" rejected records (reject code 2).
    void pieces(const std::string& description);

    // Pieces in containers, and the links of every table, checked against each other.
    int64_t placedPieces() const;
    void expectConsistent() const;

private:
    std::string classCode_;
    std::unique_ptr<PresortSettings> settings_;
    std::unique_ptr<PresortContext> presort_;
};

// The pieces of a description as PresortHarness::pieces reads it, into any mailing's
// per-record tables and counters.
void fillPieces(Mailing& mailing, const std::string& description);

// Tables built by hand, numbered as the sort-result file numbers them (tests/support/
// SortTables.h): a ZIP group per entry {zip, pieces, in-county, owner}, and so on, with the
// pieces they are made of.
struct ZipRow {
    int32_t zip, pieces, inCounty, owner;
};
struct GroupRow {
    int32_t pieces;
    std::string label;
    int32_t container;
    bool nonbarcoded = false;
};
void setTables(Mailing& mailing, const std::vector<ZipRow>& zips,
               const std::vector<GroupRow>& groups, const std::vector<int32_t>& containers,
               const std::string& level = "Mixed");

} // namespace quillan::test
