// CPU time of RunPresort on generated lists over the national tables, for 10,000 and
// 100,000 records, the twelve classes and three spreads of ZIP codes: national (every served
// prefix), regional (the prefixes 750 to 799) and dense (50 ZIP codes, so that trays and
// sacks overflow and packages are cut). Runs
// without a main window, so the progress picture does not pause.

#include "app/AppContext.h"
#include "app/DataFiles.h"
#include "bench/BenchSupport.h"
#include "core/MailClass.h"
#include "core/PostalCharts.h"
#include "core/SortResults.h"
#include "core/presort/PresortDriver.h"
#include "core/presort/PresortError.h"
#include "platform/config/ConfigStore.h"
#include "platform/fs/ProgramPaths.h"
#include "platform/help/HelpViewer.h"
#include "platform/shell/Shell.h"
#include "platform/testing/RecordingPrinter.h"
#include "platform/testing/ScriptedUi.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quillan;
using quillan::bench::cpuSeconds;
using quillan::bench::peakMegabytes;
namespace fs = std::filesystem;

namespace {

struct ClassSetting {
    const char* code;
    const char* category;
    const char* size;
};

enum class Profile { National, Regional, Dense };

const char* profileName(Profile profile) {
    return profile == Profile::National   ? "national"
           : profile == Profile::Regional ? "regional"
                                          : "dense";
}

std::vector<int> servedPrefixes(const AppContext& ctx, Profile profile) {
    std::vector<int> prefixes;
    for (int p = 1; p <= 999; ++p) {
        if (chartValue(ctx.lists.threeDigitChart, p) == 0)
            continue;
        if (profile == Profile::National || (p >= 750 && p <= 799))
            prefixes.push_back(p);
        if (profile == Profile::Dense && prefixes.size() == 10)
            break;
    }
    return prefixes;
}

Mailing fillPieces(AppContext& ctx, int records, Profile profile, unsigned seed, bool coSacked) {
    std::vector<int> prefixes = servedPrefixes(ctx, profile);
    std::mt19937 random(seed);
    std::uniform_int_distribution<size_t> prefix(0, prefixes.size() - 1);
    int localZips = profile == Profile::National ? 100 : profile == Profile::Regional ? 40 : 5;
    std::uniform_int_distribution<int> local(0, localZips - 1);
    std::bernoulli_distribution noZip4(0.3);
    Mailing mailing;
    mailing.tables.pieces.reserve(static_cast<size_t>(records));
    for (int r = 0; r < records; ++r) {
        int32_t zip = prefixes[prefix(random)] * 100 + local(random);
        bool withoutZip4 = coSacked && noZip4(random);
        mailing.tables.pieces.push_back({.zip = zip,
                                         .withoutZip4 = withoutZip4,
                                         .city = mailing.tables.cities.add("SOMEWHERE TX")});
    }
    return mailing;
}

double presortSeconds(AppContext& ctx, const ClassSetting& setting, int records, Profile profile,
                      bool& complete) {
    ctx.lists.mailTypeList[1] = setting.category;
    ctx.lists.mailTypeList[3] = setting.size;
    Mailing mailing =
        fillPieces(ctx, records, profile, 12345, MailClass::fromCode(setting.code)->isCoSacked());
    std::optional<SortedMailing> sorted;
    std::clock_t start = std::clock();
    try {
        sorted.emplace(RunPresort(std::move(mailing), ctx.lists, ctx.progress()));
        SaveSortResults(*sorted, ctx.sortResultPath());
    } catch (const PresortError&) {
        sorted.reset();
    }
    double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    // The sort is freed after the clock stops: freeing it is no part of sorting.
    complete = sorted && sorted->mailClass().code() == setting.code &&
               sorted->counters().placedPieces == sorted->pieceCount();
    return seconds;
}

} // namespace

int main() {
    bench::ScratchProgramFolder scratch("quillan-bench");
    bench::HeadlessPlatform headless;
    AppContext ctx(headless.platform(),
                   platform::resolveProgramPaths(scratch.folder.string() + "/"));
    LoadDataFiles(ctx);
    ctx.lists.mailTypeList[9] = "70";
    const ClassSetting classes[] = {{"RML", "0", "0"},  {"RNML", "1", "0"}, {"RNAF", "2", "1"},
                                    {"RAL", "3", "0"},  {"RAF", "3", "1"},  {"RCOF", "4", "1"},
                                    {"PNAL", "5", "0"}, {"PNAF", "5", "1"}, {"PAL", "6", "0"},
                                    {"PAF", "6", "1"},  {"PCOF", "7", "1"}, {"FAL", "8", "0"}};
    std::printf("%-5s %-9s %10s %10s %7s  %s\n", "class", "profile", "10k s", "100k s", "ratio",
                "placed");
    bool allWithin = true;
    for (const ClassSetting& setting : classes) {
        for (Profile profile : {Profile::National, Profile::Regional, Profile::Dense}) {
            bool complete10 = false, complete100 = false;
            double small = presortSeconds(ctx, setting, 10000, profile, complete10);
            double large = presortSeconds(ctx, setting, 100000, profile, complete100);
            double ratio = small > 0 ? large / small : 0;
            allWithin = allWithin && complete10 && complete100 && large < 1.0 &&
                        (small < 0.005 || ratio < 15);
            std::printf("%-5s %-9s %10.4f %10.4f %7.1f  %s\n", setting.code, profileName(profile),
                        small, large, ratio, complete10 && complete100 ? "all" : "NOT ALL PLACED");
        }
    }
    std::printf(allWithin ? "within target: under 1 s at 100k, ratio under 15\n"
                          : "OUTSIDE TARGET\n");
    return allWithin ? 0 : 1;
}
