#pragma once

#include "app/CancelPrintDialog.h"
#include "app/PrintJobDialogs.h"
#include "app/PrintSelectDialog.h"
#include "app/ProgramPrintSession.h"
#include "core/SortedMailing.h"
#include "printouts/PrintRun.h"
#include "tests/support/MailingOf.h"
#include "tests/support/TestEnvironment.h"

#include <string>
#include <vector>

namespace quillan::test {

// A sorted mailing built row by row over the test geography, and a print run over a
// recording printer (72 dpi US Letter unless told otherwise), for the tags, container blocks
// and PAVE records.
class TagRig {
public:
    static platform::RecordingPrinter::Setup letterAt(int dpi, platform::Point offset = {});

    explicit TagRig(const std::string& classCode,
                    platform::RecordingPrinter::Setup setup = letterAt(72),
                    std::vector<std::string> parameters = {});
    // Printing on another printer (the PDF writer); `printer` then stays unused.
    TagRig(const std::string& classCode, platform::PrinterDevice& device);

    TestEnvironment env;
    platform::RecordingPrinter printer;
    AppContext ctx;
    // The sort being built.
    TestMailing work;
    PrintSelectDialog select{ctx};
    CancelPrintDialog box{ctx};
    PrintJobDialogs job{select, box};
    PrintSession session = programPrintSession(ctx, job, env.notices);
    PrintRun run{session};

    // Records of the work tables; each returns its index, which the next ones link to.
    int32_t container(const std::string& label, int32_t pieces,
                      const std::string& level = "5-Digit", const std::string& entry = "None");
    int32_t group(const std::string& label, int32_t pieces, int32_t container,
                  bool nonbarcoded = false);
    void zip(int32_t zip, int32_t pieces, int32_t owner, int32_t inCounty = 0);
    // A container of one package of one ZIP code's pieces.
    int32_t filledContainer(const std::string& label, int32_t pieces, int32_t zip,
                            const std::string& groupLabel, const std::string& level = "5-Digit");

    // The tables as a sort; the counters follow the rows.
    SortedMailing mailing();

    // The range and copies as the after-sort choice leaves them, tags ticked.
    void afterSortChoice(int from, int to, int copies = 1);

    // Log entries of the printer that begin with the word.
    std::vector<std::string> entries(const std::string& word) const;

private:
    void start(const std::string& classCode);
};

} // namespace quillan::test
