// The print run that follows a sort, every report ticked, printed to PDF through the
// program's own PDF printer: the postage statement, the mail preparation instructions, the
// rate qualification report and the tray and sack tags of a generated national mailing of
// 10,000 and of 100,000 records (Standard automation letters and nonautomation flats, 2 %
// rejected ZIP codes). Reports the CPU time of the run alone (the presort is not counted),
// the peak memory of the process and each file's size and pages. Target at 100,000 records:
// under 2 s of CPU and 300 MB, growing about linearly from 10,000.

#include "bench/BenchSupport.h"
#include "core/DataFiles.h"
#include "core/PostalCharts.h"
#include "core/presort/PresortDriver.h"
#include "platform/fs/ProgramPaths.h"
#include "platform/qt/QtPrinter.h"
#include "printouts/AfterSortRun.h"
#include "printouts/MailPrepInstructions.h"
#include "printouts/TagPrintout.h"
#include "reports/PostageStatement.h"
#include "reports/QualificationReport.h"

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using namespace quillan;
namespace fs = std::filesystem;

namespace {

// Nobody at the printer: every report ticked, all pages, one copy.
class UnattendedJob : public PrintJobControl {
public:
    bool askToPrint(const std::string&, std::optional<AfterSortReport>) override { return true; }
    std::optional<ReportChoice> chooseReports(const ReportChoice&, bool) override {
        ReportChoice all;
        all.ticked.fill(true);
        return all;
    }
    int fromPage() const override { return 1; }
    int toPage() const override { return 9999; }
    int copyCount() const override { return 1; }
    void showPrintingPage(int32_t) override {}
    void closePrintingBox() override {}
};

void fillNationalMailing(AppContext& ctx, int records) {
    std::vector<int> prefixes;
    for (int p = 1; p <= 999; ++p)
        if (chartValue(ctx.lists.threeDigitChart, p) != 0)
            prefixes.push_back(p);
    std::mt19937 random(2024);
    std::uniform_int_distribution<size_t> prefix(0, prefixes.size() - 1);
    std::uniform_int_distribution<int> local(0, 99);
    std::bernoulli_distribution rejected(0.02);
    WorkTables& t = ctx.tables;
    t.seed(false);
    ctx.counters = MailingCounters{};
    for (int r = 0; r < records; ++r) {
        int32_t zip = prefixes[prefix(random)] * 100 + local(random);
        bool bad = rejected(random);
        t.pieceZips.push_back(bad ? -200000 - zip / 10 : zip);
        t.pieceInCounty.push_back(0);
        t.pieceCities.push_back("SOMEWHERE TX");
        ctx.counters.rejectedCount += bad;
    }
    ctx.counters.recordCount = records;
}

struct RunFigures {
    double cpuSeconds = 0;
    std::vector<std::pair<std::string, uintmax_t>> files;
};

RunFigures printAfterSort(AppContext& ctx, const std::string& folder) {
    UnattendedJob job;
    PrintRun run(ctx, job);
    run.printers.printPostageStatement = [&](const SortedMailing& m) {
        PrintPostageStatement(ctx, job, m);
    };
    run.printers.printMailPrepInstructions = [&run](const SortedMailing& m) {
        PrintMailPrepInstructions(run, m, MailPrepReport::Instructions);
    };
    run.printers.printQualificationReport = [&](const SortedMailing& m) {
        PrintQualificationReport(ctx, job, m);
    };
    run.printers.printTags = [&run](const SortedMailing& m) { PrintTags(run, m); };
    SortedMailing mailing = RunPresort(ctx);
    double start = bench::cpuSeconds();
    ctx.flags.justSorted = true;
    PrintReportsAfterSort(run, mailing);
    RunFigures figures;
    figures.cpuSeconds = bench::cpuSeconds() - start;
    for (const auto& entry : fs::directory_iterator(folder))
        figures.files.emplace_back(entry.path().filename().string(), entry.file_size());
    std::sort(figures.files.begin(), figures.files.end());
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    bool within = true;
    std::printf("%-6s %8s %8s %8s  %s\n", "class", "records", "CPU s", "peak MB", "files (bytes)");
    for (const auto& [code, category, size] :
         {std::tuple{"RAL", "3", "0"}, std::tuple{"RNAF", "2", "1"}}) {
        double smallSeconds = 0;
        for (int records : {10000, 100000}) {
            bench::ScratchProgramFolder scratch("quillan-printouts-bench");
            fs::copy(QUILLAN_FORM_BITMAPS, scratch.file("bitmaps"), fs::copy_options::recursive);
            std::string printouts = scratch.file("Printouts");
            fs::create_directories(printouts);
            platform::QtPrinter printer(printouts + "/");
            bench::HeadlessPlatform headless;
            platform::Platform platform = headless.platform();
            AppContext ctx(platform::Platform{platform.ui, printer, platform.help, platform.shell,
                                              platform.config},
                           platform::resolveProgramPaths(scratch.path()), {"list", "NOSTOP"});
            ctx.dataFolder = ctx.paths.dataFolder;
            LoadDataFiles(ctx);
            ctx.lists.mailTypeList[1] = category;
            ctx.lists.mailTypeList[3] = size;
            fillNationalMailing(ctx, records);
            RunFigures figures = printAfterSort(ctx, printouts);
            std::printf("%-6s %8d %8.3f %8.1f ", code, records, figures.cpuSeconds,
                        bench::peakMegabytes());
            for (const auto& [name, bytes] : figures.files)
                std::printf(" %s (%ju)", name.substr(0, name.find(" 20")).c_str(), bytes);
            std::printf("\n");
            if (records == 10000)
                smallSeconds = figures.cpuSeconds;
            else
                within = within && figures.cpuSeconds < 2.0 && bench::peakMegabytes() < 300 &&
                         figures.cpuSeconds < 15 * std::max(smallSeconds, 0.01);
        }
    }
    std::printf(within ? "within target: under 2 s and 300 MB at 100k, about linear\n"
                       : "OUTSIDE TARGET\n");
    return within ? 0 : 1;
}
