// Opens one mailing list unattended, as a "NOSTOP" run does, and reports the CPU time and
// peak memory of the open (counting, field identification and reading every record).
//
//   list_read_bench <program folder with tables/> <list file>
//
// Prints one line: file, kind, records, rejected, CPU seconds, wall seconds, peak MB.

#include "app/DataFiles.h"
#include "bench/BenchSupport.h"
#include "listio/ListComponents.h"
#include "listio/ListFormat.h"
#include "listio/ListReading.h"
#include "platform/testing/RecordingPrinter.h"
#include "platform/testing/ScriptedUi.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

using namespace quillan;
using quillan::bench::cpuSeconds;
using quillan::bench::peakMegabytes;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <program folder> <list file>\n", argv[0]);
        return 2;
    }
    bench::HeadlessPlatform headless;
    platform::ScriptedUi& ui = headless.ui;
    platform::ProgramPaths paths = platform::resolveProgramPaths(argv[1]);
    AppContext ctx(headless.platform(), paths, {argv[2], "NOSTOP"});
    LoadDataFiles(ctx);
    // Unattended ("NOSTOP") the roles are taken as found; nobody is asked.
    struct NobodyAsked : FieldChooser {
        std::optional<FieldRoles> confirm(const FieldProposal& p) override { return p.roles; }
    } chooser;
    struct FirstTable : TableChooser {
        std::optional<size_t> choose(const ListFormat&, const std::vector<std::string>&) override {
            return 0;
        }
    } tables;
    double before = peakMegabytes();
    auto wall = std::chrono::steady_clock::now();
    double cpu = cpuSeconds();
    std::unique_ptr<ListComponents> components;
    ListRequest request;
    request.path = argv[2];
    request.reader = ListReader::Unattended;
    request.components = [&components, &ctx]() -> ListComponents& {
        if (!components)
            components = std::make_unique<ListComponents>(ctx.notices());
        return *components;
    };
    ListPeople people{ctx.notices(), chooser, tables, ctx.progress()};
    ListReading reading = ReadMailingList(request, ctx.lists, people);
    cpu = cpuSeconds() - cpu;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    const bool read = reading.outcome == ReadOutcome::Read;
    const MailingCounters& counters = reading.mailing.counters;
    std::string outcome = !read ? "refused" : std::to_string(reading.mailing.recordCount());
    if (!read && !ui.messages().empty())
        outcome += " (" + ui.messages().back().text.substr(0, 40) + "...)";
    std::printf("%-22s %-22s records %-8s rejected %-6d cpu %.3f s  wall %.3f s  peak %.1f MB "
                "(+%.1f)\n",
                argv[2] + std::string(argv[2]).find_last_of('/') + 1,
                reading.list.format ? reading.list.format->name : "", outcome.c_str(),
                counters.rejectedCount, cpu, seconds, peakMegabytes(), peakMegabytes() - before);
    return 0;
}
