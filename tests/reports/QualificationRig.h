#pragma once

#include "app/ProgramPrintSession.h"
#include "core/SortedMailing.h"
#include "platform/testing/RecordingPrinter.h"
#include "tests/reports/ScriptedPrintJob.h"
#include "tests/support/MailingOf.h"
#include "tests/support/TestEnvironment.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillan::test {

// One text as the report drew it, in points: where it starts and ends, on which sheet of
// which document, in what style.
struct DrawnText {
    int document = 0;
    int sheet = 1;
    int x = 0;
    int right = 0;
    int y = 0;
    std::string text;
    bool bold = false;
    bool underline = false;
};

// The qualification report of a mailing built row by row over the test geography, printed
// on a recording printer of 72 dots an inch (so that a dot is a point) unless a test asks
// for another.
class QualificationRig {
public:
    explicit QualificationRig(MailClass mailClass,
                              platform::RecordingPrinter::Setup setup = {72, 72, 612, 792});

    TestEnvironment env;
    platform::RecordingPrinter printer;
    std::unique_ptr<AppContext> context;
    AppContext& ctx;
    // The sort being built.
    TestMailing work;
    ScriptedPrintJob job;
    PrintSession session;

    // A tray or sack, of the kind its label gives back from the sort-result file unless
    // another is named; returns its index.
    int32_t container(const std::string& label, const std::string& level = "Basic",
                      std::optional<ContainerKind> kind = std::nullopt);
    // A sort group in tray or sack k, its pieces added to the tray's; returns its index.
    int32_t group(const std::string& label, int32_t pieces, int32_t k, bool nonbarcoded = false);
    // A ZIP group of sort group g (a negative ZIP for pieces without ZIP+4).
    void zip(int32_t zip, int32_t pieces, int32_t g, int32_t inCounty = 0);
    // n groups of `pieces` each in one 5-digit tray per group.
    void fiveDigitTrays(int n, int32_t pieces);

    SortedMailing mailing();
    void print();
    // The texts drawn, in order.
    std::vector<DrawnText> texts() const;
    // The texts drawn on the line of the first text that reads `text` (from `after` on).
    std::vector<DrawnText> lineOf(const std::string& text, size_t after = 0) const;
    std::optional<DrawnText> find(const std::string& text, size_t after = 0) const;
    // The text ending at x on the line at y, or empty.
    std::string textEndingAt(int right, int y) const;
    long count(const std::string& text) const;
    // The rows under the nth summary heading of that text as "label=figure", "_" after an
    // underlined figure, "*" before a bold row and " !WARNING:" after a warning on the
    // line, down to the rule.
    std::vector<std::string> summaryRows(const std::string& heading, size_t occurrence = 0) const;
};

} // namespace quillan::test
